"""Started with two call parameters under a German locale: the error box in German, no window, exit code 0."""
from kvharness import Harness

with Harness("two_parameters_german", lang="de") as h:
    reports_before = len(h.reports())
    run = h.start_kvupdate(["QORIND", "QOFolio"])
    box = h.wait_window(cls="#32770")
    others = [w for w in h.windows(exe="KVUpdate.exe", visible=True) if w["hwnd"] != box["hwnd"]]
    assert not others, f"windows beside the error box: {others}"
    h.answer_box(caption="Fehler beim Programmaufruf",
                 text="Update kann nicht direkt ausgeführt werden, bitte starten Sie das Update im Hauptprogramm")
    assert run.wait(30) == 0
    assert len(h.reports()) == reports_before, "a report was sent"
