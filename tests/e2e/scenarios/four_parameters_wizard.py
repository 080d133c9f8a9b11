"""Started as a product starts it, with four call parameters: the wizard window opens with its title."""
from kvharness import Harness

WIZARD_TITLE = "Karvell Netrefresh Tool V 8.1.10"

with Harness("four_parameters_wizard", lang="de") as h:
    h.import_reg(r"""REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Karvell\QORIND]
"Path"="C:\\Program Files (x86)\\Karvell\\QOFolio"
"VER"="8.1.9"
""")
    run = h.start_kvupdate(["QORIND", "QOFolio", "U", "QOOnline.lst"])
    wizard = h.wait_window(title=WIZARD_TITLE, timeout=60)
    h.screenshot("four_parameters_wizard")
    assert run.running()
    assert len(h.windows(title=WIZARD_TITLE, exe="KVUpdate.exe", visible=True)) == 1
