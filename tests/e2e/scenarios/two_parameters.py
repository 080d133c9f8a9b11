"""Started with only two call parameters: the error box in the user's language, no window, no report, exit code 0."""
from kvharness import Harness

ERROR_BOXES = {
    "de": ("Fehler beim Programmaufruf",
           "Update kann nicht direkt ausgeführt werden, bitte starten Sie das Update im Hauptprogramm"),
    "en": ("Error calling update program",
           "Update program can't be excecuted, please call update from your main application"),
}
# The application window is the program's anchor, not a window the user sees.
NOT_SHOWN = {"#32770", "TApplication"}

for lang, (caption, text) in ERROR_BOXES.items():
    with Harness(f"two_parameters_{lang}", lang=lang) as h:
        run = h.start_kvupdate(["QORIND", "QOFolio"])
        h.wait_window(cls="#32770")
        shown = [w for w in h.windows(exe="KVUpdate.exe", visible=True) if w["class"] not in NOT_SHOWN]
        assert not shown, f"windows beside the error box: {shown}"
        h.answer_box(caption=caption, text=text)
        assert run.wait(30) == 0
        assert not h.reports(), "a report was sent"
