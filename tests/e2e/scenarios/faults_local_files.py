"""Fault matrix, the machine's own files and registry: a hand-over file that cannot be written, a data
folder that refuses the catalogue, a version list file that refuses the useP correction, registry values
of the wrong type, a missing registry key, missing settings files. Each row: no crash or hang, the message
for it, one report, and the version list file byte for byte as it was (except the writes made on purpose)."""
import shutil

from kvharness import DEFAULT_PRODUCT_FOLDER, Harness, ScenarioError
from kvproducts import (QO_DATA, QO_INSTALLER, QO_LIST, QO_PARAMETERS, QO_SETTINGS, TEXTS, WIZARD_TITLE, catalogue,
                        check, close_and_decline_restart, court_product, installer_bytes, reachable, rows, start,
                        version_list, wait_any_text, wait_offer)

T = TEXTS["de"]
HANDOVER = QO_DATA + r"\KVInn000.lst"


def handover_refused(name):
    with Harness(name) as h:
        before = court_product(h).read_bytes()
        earlier = h.write_file(HANDOVER, "[innoupdate]\nverinfo=8.1.9\n").read_bytes()
        h.serve("/update.ini", catalogue())
        h.serve(QO_INSTALLER, installer_bytes(h))
        with h.read_only(HANDOVER):
            run, wizard = check(h)
            wait_offer(h, wizard)
            h.click(wizard, T["install"])
            box = h.answer_box(caption=" Fehler", timeout=60)
            assert box["text"].startswith("Update Start ist fehlgeschlagen"), box
            # The wizard has done its work: it closes by itself, without the restart question.
            h.wait_gone(title=WIZARD_TITLE, timeout=30)
            h.the_report(run, 22)
        assert not h.host_path(QO_DATA + r"\kvinstaller-run.txt").exists(), "the installer was started"
        assert h.host_path(HANDOVER).read_bytes() == earlier
        assert h.host_path(QO_LIST).read_bytes() == before


# The libraries the program loads at run time and the one it no longer imports, under their own names.
PLANTED = ("wininet.dll", "wintrust.dll", "crypt32.dll", "rasapi32.dll", "riched20.dll", "netapi32.dll")
PLANTED_CWD = r"C:\ProgramData\Karvell\planted"


def planted_libraries(name):
    """Libraries of system names beside the program and in its current folder, with Wine told to prefer
    such native ones: the program takes the system's and runs as ever."""
    with Harness(name) as h:
        court_product(h)
        h.serve("/update.ini", catalogue())
        planted = h.build / "tests" / "kvplanted.dll"
        folders = [h.host_path(DEFAULT_PRODUCT_FOLDER), h.host_path(PLANTED_CWD)]
        for folder in folders:
            folder.mkdir(parents=True, exist_ok=True)
            for library in PLANTED:
                shutil.copyfile(planted, folder / library)
        h.env["WINEDLLOVERRIDES"] += ";" + ",".join(n[:-4] for n in PLANTED) + "=n,b"
        run = h.start_kvupdate(QO_PARAMETERS, cwd=PLANTED_CWD)
        wizard = h.wait_window(title=WIZARD_TITLE, timeout=60)
        h.click(wizard, T["next"])
        wait_offer(h, wizard)
        h.close(wizard)
        h.the_report(run, 19)
        loaded = [str(marker) for folder in folders for marker in folder.glob("*.loaded")]
        assert not loaded, f"planted libraries were loaded: {loaded}"


def data_folder_refuses_catalogue(name):
    with Harness(name) as h:
        before = court_product(h).read_bytes()
        h.serve("/update.ini", catalogue())
        with h.read_only(QO_DATA):
            run, wizard = check(h)
            h.wait_shown(wizard, T["catalogue_error"], 60)
            close_and_decline_restart(h, wizard, T["cancel"])
            h.the_report(run, 5)
        assert h.host_path(QO_LIST).read_bytes() == before


def list_refuses_correction(name):
    with Harness(name) as h:
        before = court_product(h, list_extra="useP=1\nIP=10.0.0.1\nport=3128\ncpnd=10.0.0.1:3128\n").read_bytes()
        with h.read_only(QO_LIST):
            run = h.start_kvupdate(QO_PARAMETERS)
            box = h.answer_box(caption=" Fehler", timeout=60)
            assert box["text"].startswith("Die Proxy-Einstellung konnte nicht gespeichert werden:\r"), box
            wizard = h.wait_window(title=WIZARD_TITLE, timeout=30)
            h.wait_shown(wizard, T["welcome"] + " QO Folio Online Update Assistenten", 10)
            h.wait_shown(wizard, "&" + T["next"], 5)
            h.close(wizard)
            h.the_report(run, 19)
        assert h.host_path(QO_LIST).read_bytes() == before


def registry_wrong_type(name):
    with Harness(name) as h:
        court_product(h)
        h.import_reg(r"""REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Karvell\QORIND]
"VER"=dword:00000819
"Comp"=hex:4b,61,6e,7a,6c,65,69
""")
        run = h.start_kvupdate(QO_PARAMETERS)
        shown = h.answer_box(caption=" Fehler", timeout=60)
        assert shown["text"].startswith("Ungültiger Datentyp für 'Comp'"), shown

        def wizard_after_the_boxes():
            for box in h.windows(cls="#32770", exe="KVUpdate.exe", visible=True):
                h.log(f"further box: {h.answer_box(caption=box['text'])}")
            return next(iter(h.windows(title=WIZARD_TITLE, exe="KVUpdate.exe", visible=True)), None)
        wizard = h.wait_until(wizard_after_the_boxes, 60, "the wizard after the registry boxes")
        page = wait_any_text(h, wizard, [T["welcome"] + " QO Folio Online Update Assistenten", T["no_reference"]])
        h.log(f"the wizard shows {page!r}")
        h.screenshot(name)
        h.close(wizard)
        h.the_report(run, 19)


def registry_key_missing(name):
    with Harness(name) as h:
        reachable(h)
        h.write_file(QO_LIST, version_list())
        h.write_file(QO_SETTINGS, "[QOData]\nAgent=Ortsgericht Oberursel\n")
        h.serve("/update.ini", catalogue())
        run, wizard = check(h)
        wait_offer(h, wizard)
        close_and_decline_restart(h, wizard, T["cancel"])
        lines = h.the_report(run, 5)
        assert "Install Path: " in lines and "QO ID: " in lines, lines


def settings_files_missing(name):
    with Harness(name) as h:
        court_product(h, settings=False)
        h.serve("/update.ini", catalogue(version="8.1.9"))
        run, wizard = check(h)
        h.wait_shown(wizard, T["none"], 60)
        close_and_decline_restart(h, wizard, T["close"])
        lines = h.the_report(run, 1)
        for expected in ("QO Bezeichnung: kein Eintrag", "Amtsgericht Name:  ", "Manuelle TGB-Nr: undefiniert"):
            if expected not in lines:
                raise ScenarioError(f"{expected!r} not in the report: {lines}")


rows([
    ("fault_handover_file_read_only", handover_refused),
    ("fault_data_folder_read_only", data_folder_refuses_catalogue),
    ("fault_version_list_read_only", list_refuses_correction),
    ("fault_planted_libraries", planted_libraries),
    ("fault_registry_wrong_type", registry_wrong_type),
    ("fault_registry_key_missing", registry_key_missing),
    ("fault_settings_files_missing", settings_files_missing),
])
