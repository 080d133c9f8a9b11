"""Special updates aimed at one installation: the court-register product whose installation ID (registry
"Inster") is a PCode target, and the valuation product "hu2online.lst" whose serial number ends in an SCode
target. The offer shows the special version text and news lines, the installer of that installation is
fetched and started, the hand-over carries the catalogue's action number, and the report (reason 2) has the
special-update lines."""
from kvharness import Harness
from kvproducts import (QO_DATA, TEXTS, catalogue, check, court_product, installer_bytes, reachable, rows,
                        start, WIZARD_TITLE)

T = TEXTS["de"]
HUG = r"C:\ProgramData\Karvell\HUG"
BEMESSA_FOLDER = r"C:\Program Files (x86)\Karvell\Bemessa"
SPECIAL_KEYS = "ActS=5\nverinfos=Sonderstand Mai\nszs=3,4 MB\ndats=2025-05-20\n"


def install_special(h, wizard, run, data_folder, installer_url):
    h.wait_shown(wizard, "Sonderstand Mai", 60)
    h.wait_shown(wizard, "3,4 MB", 5)
    h.wait_shown(wizard, "20.05.2025", 5)
    h.screenshot(f"{h.name}-offer")
    h.click(wizard, T["install"])
    record = h.host_path(data_folder + r"\kvinstaller-run.txt")
    h.wait_until(record.exists, 60, "the special installer's record")
    h.wait_gone(title=WIZARD_TITLE, timeout=30)
    lines = h.the_report(run, 2)
    assert lines[3:6] == ["=" * 56, "Special Update Process", "Version Info: Sonderstand Mai"], lines[:8]
    handover = h.read_file(data_folder + r"\KVInn000.lst").replace("\r\n", "\n").split("\n")
    assert "ActS=5" in handover and "dat=2025-05-20" in handover, handover
    assert any(r'"GET ' + installer_url + " " in r for r in h.requests()), h.requests()
    return lines


def court_register(name):
    with Harness(name, lang="de") as h:
        court_product(h, version="8.1.10", qoid="QO4711")
        h.serve("/update.ini", catalogue(version="8.1.10", extra="PCode1=QO0001\nPCode2=QO4711\n" + SPECIAL_KEYS))
        h.serve("/qorindQO4711.exe", installer_bytes(h))
        run, wizard = check(h)
        h.wait_shown(wizard, " Spezielles Update für QO Folio", 60, part=True)
        h.wait_shown(wizard, " Ort: Ortsgericht Oberursel", 5, part=True)
        lines = install_special(h, wizard, run, QO_DATA, "/qorindQO4711.exe")
        assert "QO SpecAction: 5" in lines and "QO ID: QO4711" in lines, lines


def valuation(name):
    with Harness(name, lang="de") as h:
        reachable(h)
        h.import_reg(r"""REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Karvell\HU2013MAK]
"Path"="C:\\Program Files (x86)\\Karvell\\Bemessa"
"VER"="5.2.0"
""")
        h.write_file(HUG + r"\hu2online.lst",
                     "[PName]\nname=Bemessa\n[Bemessa]\nverinfo=5.2.0\nprog=Bemessa\ndat=2025-02-01\nActS=1\n")
        h.write_file(HUG + r"\h2gut.ini", "[Setup]\nSN=HU2-19-00427Q\nVER=5.2.0\n[POS]\nUFlags=0\n")
        h.serve("/update.ini", "[hu2013maku]\nverinfo=5.2.0\nprog=Bemessa\nufn=hu2013maku.exe\nsz=9 MB\n"
                               "dat=2025-01-01\nSCode1=3X\nSCode2=7Q\n" + SPECIAL_KEYS)
        h.serve("/hu2013mak7Q.exe", installer_bytes(h))
        run, wizard = start(h, ["HU2013MAK", "Bemessa", "u", "hu2online.lst"], folder=BEMESSA_FOLDER)
        h.click(wizard, T["next"])
        h.wait_shown(wizard, " Spezielles Update für Bemessa", 60, part=True)
        h.wait_shown(wizard, " Seriennummer: HU2-19-00427Q", 5, part=True)
        lines = install_special(h, wizard, run, HUG, "/hu2013mak7Q.exe")
        assert "HU Seriennummer: HU2-19-00427Q" in lines, lines
        assert "UFlags=" in h.read_file(HUG + r"\h2gut.ini"), "the day stamp was not written on close"


rows([("outcome_special_update_court_register", court_register), ("outcome_special_update_valuation", valuation)])
