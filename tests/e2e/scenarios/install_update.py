"""An offered update is installed: next, the offer with its news panel, install, the after-download
news box; the installer is fetched into a product data folder whose name has a blank, started from
there with its path quoted, finds its hand-over file, and the wizard closes."""
from pathlib import Path

from kvharness import Harness
from kvproducts import TEXTS, held_by_box, wait_offer

WIZARD_TITLE = "Karvell Netrefresh Tool V 8.1.10"
# "qeonline.lst" keeps its data in the wizard's own folder.
DATA_FOLDER = r"C:\ProgramData\Karvell\QE Folio"
CATALOGUE = """[other]
verinfo=9.9.9
[qerisu]
verinfo=8.1.10
prog=QE Folio
ufn=QERISU.exe
sz=0,7 MB
dat=2025-01-15
CD1=Neu: schnellere Suche
CE1=New: faster search
DS1=Bitte sichern Sie vor der Installation Ihre Daten.
"""
VERSION_LIST = """[PName]
name=QE Folio Gericht
[QE Folio Gericht]
verinfo=8.1.9
prog=QE Folio
dat=2024-06-01
ActS=2
"""
HANDOVER_KEYS = ["verinfo=8.1.10", "dat=2025-01-15", "sz=0,7 MB", "dlst=qeonline.lst", "sec=QE Folio Gericht",
                 "ActS=2"]

with Harness("install_update", lang="de") as h:
    h.import_reg(r"""REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Karvell\QERIS]
"Path"="C:\\ProgramData\\Karvell\\QE Folio"
"AppNamen"="QE Folio Gericht"
"VER"="8.1.9"
""")
    h.write_file(DATA_FOLDER + r"\qeonline.lst", VERSION_LIST)
    h.serve("/update.ini", CATALOGUE)
    h.serve("/mail.txt", "Datei geladen")
    h.serve("/qerisu.exe", (h.build / "tests" / "kvinstaller.exe").read_bytes())
    record = h.host_path(DATA_FOLDER + r"\kvinstaller-run.txt")

    run = h.start_kvupdate(["QERIS", "QEFolio", "U", "qeonline.lst"], folder=DATA_FOLDER)
    wizard = h.wait_window(title=WIZARD_TITLE, timeout=60)
    h.click(wizard, "Weiter")

    texts = lambda: [c["text"] for c in h.controls(wizard)]
    wait_offer(h, wizard)
    h.wait_until(lambda: any("Neu: schnellere Suche" in t for t in texts()), 30, "the news panel")
    shown = texts()
    for expected in ("8.1.10", "0,7 MB", "15.01.2025"):
        assert expected in shown, f"{expected!r} not on the check page: {shown}"
    h.screenshot("install_update-offer")

    h.click(wizard, "Update laden")
    # The news box holds the wizard: its cancel button does nothing until the box is answered.
    held_by_box(h, wizard, " Information", [TEXTS["de"]["setup_starts"]], "box-news-after-download-over-its-page")
    h.click(wizard, "Abbrechen")
    assert not h.windows(cls="#32770", title="Programm starten...", exe="KVUpdate.exe"), "cancelled under the box"
    # The four news lines of messages 29-32, joined by CR; the catalogue gives only the first.
    h.answer_box(caption=" Information", text="Bitte sichern Sie vor der Installation Ihre Daten.\r\r\r", timeout=60)

    h.wait_until(record.exists, 60, "the installer's record")
    h.wait_gone(title=WIZARD_TITLE, timeout=60)
    h.the_report(run, 2, timeout=60)

    lines = record.read_bytes().decode("cp1252").split("\r\n")
    installer = DATA_FOLDER + r"\qerisu.exe"
    assert lines[0] == f'command-line="{installer}"', lines[0]
    assert lines[2] == f"program={installer}", lines[2]
    assert lines[3] == "handover=present", lines[3]
    section = [line for line in lines[4:] if line]
    assert section[0].lower() == "[innoupdate]", section
    assert section[1:7] == HANDOVER_KEYS, section
    assert Path(h.host_path(DATA_FOLDER + r"\KVInn000.lst")).read_bytes().decode("cp1252").split("\r\n")[1:7] \
        == HANDOVER_KEYS
