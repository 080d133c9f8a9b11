"""A second start while the wizard runs raises the first window (restores it when minimised) and ends at once,
without a window of its own."""
from kvharness import Harness

WIZARD_TITLE = "Karvell Netrefresh Tool V 8.1.10"
PARAMETERS = ["QORIND", "QOFolio", "U", "QOOnline.lst"]

with Harness("second_instance", lang="de") as h:
    first = h.start_kvupdate(PARAMETERS)
    h.wait_window(title=WIZARD_TITLE, timeout=60)
    second = h.start_kvupdate(PARAMETERS)
    assert second.wait(30) == 0
    assert first.running(), "the first instance ended"
    wizards = h.windows(title=WIZARD_TITLE, exe="KVUpdate.exe", visible=True)
    assert len(wizards) == 1, f"wizard windows: {wizards}"
    assert not h.windows(cls="#32770", exe="KVUpdate.exe", visible=True), "the second start showed a box"

with Harness("second_instance_minimised", lang="de") as h:
    first = h.start_kvupdate(PARAMETERS)
    wizard = h.wait_window(title=WIZARD_TITLE, timeout=60)
    h.minimize(wizard)
    second = h.start_kvupdate(PARAMETERS)
    assert second.wait(30) == 0
    h.wait_until(lambda: h.shown(wizard), 10, "the wizard to be restored")
    assert len(h.windows(title=WIZARD_TITLE, exe="KVUpdate.exe", visible=True)) == 1
