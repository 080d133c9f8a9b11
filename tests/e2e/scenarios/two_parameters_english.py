"""Started with two call parameters under an English locale: the error box in English, exit code 0."""
from kvharness import Harness

with Harness("two_parameters_english", lang="en") as h:
    run = h.start_kvupdate(["QORIND", "QOFolio"])
    h.answer_box(caption="Error calling update program",
                 text="Update program can't be excecuted, please call update from your main application")
    assert run.wait(30) == 0
    assert not h.windows(exe="KVUpdate.exe", visible=True)
