"""Products, catalogues and the user's usual moves, shared by the whole-run
scenarios and the fault matrix.

The court-register product QO Folio is the scenarios' usual caller: started
as QORIND QOFolio U QOOnline.lst from its program folder, it keeps its data
(version list file, fetched catalogue, installer) below the common data folder
and reads the catalogue section "qorindu"; its installer is "qorindu.exe".
"""
import os
import re

from kvharness import ScenarioError, wait_until

WIZARD_TITLE = "Karvell Netrefresh Tool V 8.1.10"
QO_PARAMETERS = ["QORIND", "QOFolio", "U", "QOOnline.lst"]
QO_DATA = r"C:\ProgramData\Karvell\QOFolio"
QO_LIST = QO_DATA + r"\QOOnline.lst"
QO_SETTINGS = QO_DATA + r"\hgut.ini"
QO_INSTALLER = "/qorindu.exe"
PROGRAM_NAME = "QO Folio"
INSTALLED = "8.1.9"

QO_REGISTRY = r"""REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Karvell\QORIND]
"Path"="C:\\Program Files (x86)\\Karvell\\QOFolio"
"AppNamen"="QO Folio"
"AppPC"="KANZLEI-PC"
"IDate"="2024-05-02"
"Inster"="{qoid}"
"""

# Texts of the catalogue (German / English).
TEXTS = {
    "de": {
        "next": "Weiter", "close": "Schließen", "cancel": "Abbrechen", "install": "Update laden",
        "finish": "Beenden", "offer": "Es liegt ein neues Update vor !", "none": "Es liegt leider kein neues Update vor.",
        "outdated": "Leider ist Ihre Programmversion veraltet.", "hint": "Bitte klicken Sie \"Update laden\" um das Update auszuführen",
        "transfer_error": "Transfer Fehler, bitte versuchen Sie es später wieder.",
        "catalogue_error": "Fehler bei Dateitransfer!", "connection_error": "Verbindungsfehler...",
        "retry": "Online Update prüfen", "error_caption": "Fehler",
        "offline": "Sie sind nicht mit dem Internet verbunden oder Ihre Firewall blockiert",
        "welcome": "Willkommen zum", "no_reference": "Online Update ist nicht möglich da Programm Referenz nicht gefunden wurde.",
        "current": "Aktuelle Version:", "new": "Neue Version:", "setup_starts": "Bitte warten, Installation startet...",
    },
    "en": {
        "next": "Next", "close": "Close", "cancel": "Cancel", "install": "Install", "finish": "Close",
        "offer": "New Update is available !", "none": "Sorry, no Update available.",
        "outdated": "Sorry, program version to outdated.", "hint": "Please click \"Install\" to run the update",
        "transfer_error": " Transfer Error! Close Program and try again later.",
        "catalogue_error": "Error while transferring Data!", "connection_error": "connection error...",
        "retry": "Check Online Update", "error_caption": "Error",
        "offline": "You are not connected to the internet or your firewall blocks",
        "welcome": "Welcome to the", "no_reference": "Can't find program reference file. Online Update impossible.",
        "current": "Current Version:", "new": "New Version:", "setup_starts": "Please wait, setup will start shortly...",
    },
}


def version_list(version=INSTALLED, extra=""):
    return (f"[PName]\nname={PROGRAM_NAME}\n[{PROGRAM_NAME}]\nverinfo={version}\nprog=QO Folio\n"
            f"dat=2025-01-15\nFII=2019-03-01\nActS=3\nexc=C:\\Program Files (x86)\\Karvell\\QOFolio\\qofolio.exe\n{extra}")


def catalogue(version="8.1.10", extra="", section="qorindu"):
    return (f"[other]\nverinfo=99.9\n[{section}]\nverinfo={version}\nprog=QO Folio\nufn=QORINDU.exe\n"
            f"sz=1,2 MB\ndat=2025-03-15\nCD1=Neue Formulare 2025\nCE1=New forms 2025\n{extra}")


def court_product(h, version=INSTALLED, list_extra="", qoid="QO-4711", agent="Ortsgericht Oberursel",
                  settings=True):
    """The court-register product installed: registry key, version list file, court settings file."""
    reachable(h)
    h.import_reg(QO_REGISTRY.format(qoid=qoid))
    list_path = h.write_file(QO_LIST, version_list(version, list_extra))
    if settings:
        h.write_file(QO_SETTINGS, f"[QOData]\nAgent={agent}\nEMail=og@example.org\nTelefon=06171 1234\n"
                                  "[Setup]\nHT=SN-2019-0815\nMTBN=1\n[AData]\n1=Amtsgericht\n2=Bad Homburg\n")
    return list_path


def reachable(h):
    """The update server's connection probe answers, for machines whose system reports no connection."""
    h.serve("/mail.txt", "Datei geladen")


def installer_bytes(h):
    return (h.build / "tests" / "kvinstaller.exe").read_bytes()


def start(h, parameters=QO_PARAMETERS, **kwargs):
    """Starts the wizard; returns (run, wizard window)."""
    run = h.start_kvupdate(parameters, **kwargs)
    wizard = h.wait_window(title=WIZARD_TITLE, timeout=60)
    return run, wizard


def press_next(h, wizard, lang="de"):
    h.click(wizard, TEXTS[lang]["next"])


def check(h, lang="de", parameters=QO_PARAMETERS):
    """Starts the wizard and presses next; returns (run, wizard)."""
    run, wizard = start(h, parameters)
    press_next(h, wizard, lang)
    return run, wizard


def close_and_decline_restart(h, wizard, caption, lang="de", program=PROGRAM_NAME):
    """The check page's close/cancel button, then No to the restart question."""
    h.click(wizard, caption)
    h.answer_restart(program, lang)
    h.wait_gone(title=WIZARD_TITLE, timeout=30)


def close_check_page(h, wizard, lang="de", program=PROGRAM_NAME):
    """Closes the check page by whichever close or cancel button it shows, then No to the restart question."""
    t = TEXTS[lang]
    captions = {c["text"].replace("&", "") for c in h.controls(wizard) if c["class"].lower() == "button" and c["visible"]}
    caption = next((c for c in (t["close"], t["cancel"], t["finish"]) if c in captions), None)
    if caption is None:
        raise ScenarioError(f"no close button on the check page: {sorted(captions)}")
    close_and_decline_restart(h, wizard, caption, lang, program)


def failed_check(h, wizard, timeout=60.0):
    """Waits for the check to fail: either the no-connection box (answered; "offline") or the transfer error
    status ("error"). Which one comes depends on whether the system reports a connection."""
    def seen():
        if h.windows(cls="#32770", title=" Fehler", exe="KVUpdate.exe", visible=True):
            box = h.answer_box(caption=" Fehler")
            if not box["text"].startswith(TEXTS["de"]["offline"]) and not box["text"].startswith(TEXTS["en"]["offline"]):
                raise ScenarioError(f"unexpected box {box}")
            return "offline"
        shown = h.shown_texts(wizard)
        return "error" if TEXTS["de"]["catalogue_error"] in shown or TEXTS["en"]["catalogue_error"] in shown else None
    return wait_until(seen, timeout, "the failed check")


def held_by_box(h, wizard, caption, page_texts, picture):
    """A box of the program is up (not yet answered): the wizard behind it takes no input and already shows
    the page that the handler set up to the box (page_texts); the screenshot keeps the picture of it."""
    h.wait_window(cls="#32770", title=caption, timeout=60)
    if h.state_of(wizard).get("enabled"):
        raise ScenarioError(f"the wizard takes input while the box {caption!r} is up")
    shown = h.shown_texts(wizard)
    missing = [text for text in page_texts if text not in shown]
    if missing:
        raise ScenarioError(f"behind the box {caption!r} the wizard shows {shown}, not {missing}")
    h.screenshot(picture)


def expect_no_box(h, seconds=1.0):
    """No message box of the program is open (a short look, for the rows that must not show one)."""
    boxes = h.windows(cls="#32770", exe="KVUpdate.exe", visible=True)
    if boxes:
        raise ScenarioError(f"unexpected message box: {boxes}")


def unchanged(h, windows_path, before):
    after = h.host_path(windows_path).read_bytes()
    if after != before:
        raise ScenarioError(f"{windows_path} changed: {before[:120]!r} -> {after[:120]!r}")


def rows(name_and_functions):
    """Runs the rows of a matrix scenario one after another; each row's failure is logged by name, and
    the scenario fails at the end naming every failed row."""
    failed = []
    wanted = os.environ.get("KV_ROWS", "").split(",") if os.environ.get("KV_ROWS") else None
    for name, function in name_and_functions:
        if wanted and name not in wanted:
            continue
        print(f"--- row {name}", flush=True)
        try:
            function(name)
            print(f"--- row {name}: passed", flush=True)
        except Exception as error:  # a row's failure must not hide the next rows
            print(f"--- row {name}: FAILED: {error!r}", flush=True)
            failed.append(name)
    if failed:
        raise SystemExit(f"failed rows: {', '.join(failed)}")


def wait_offer(h, wizard, lang="de", timeout=60.0):
    """The offer page: its headline, or the install hint that replaces it a second later (a slow look may
    see only the hint)."""
    return wait_any_text(h, wizard, [TEXTS[lang]["offer"], TEXTS[lang]["hint"]], timeout)


def wait_any_text(h, window, texts, timeout=30.0):
    """Waits until one of the texts is shown; returns it."""
    def found():
        shown = h.shown_texts(window)
        return next((t for t in texts if t in shown), None)
    return wait_until(found, timeout, f"one of {texts}")


def served(h, name):
    """The Windows path of a document the update server serves."""
    return "Z:" + str(h.www / name).replace("/", "\\")


def catalogue_check(h, *options):
    """kvcatalog.exe check on the catalogue the update server serves, with the installers beside it; returns
    its exit code and its findings."""
    result = h.wine(h.build / "kvcatalog.exe", "check", served(h, "update.ini"), "--installers", served(h, ""),
                    *options, check=False)
    return result.returncode, result.stdout.decode("utf-8")


def explanation_agrees(h, wizard, outcome, box=None, lang="de", qoid="QO-4711"):
    """The maker's kvcatalog.exe, given the catalogue the wizard fetched and the product's version list file,
    names the wizard's outcome; the headline, status line and buttons it names are on the wizard's page, and the
    box it names is the box the wizard showed (`box`, as answered)."""
    said = h.wine(h.build / "kvcatalog.exe", "explain", served(h, "update.ini"), "--product", QO_PARAMETERS[0], "--edition",
                  QO_PARAMETERS[2], "--list", QO_LIST, "--language", lang, "--qo-id", qoid).stdout.decode("utf-8")
    lines = said.splitlines()
    if lines[0] != f"outcome: {outcome}":
        raise ScenarioError(f"kvcatalog says {lines[0]!r}, the wizard showed {outcome}")
    texts = [line.split(": ", 1)[1] for line in lines if line.startswith(("headline: ", "status: "))]
    texts += [caption for line in lines if line.startswith("buttons: ") for caption in re.findall(r'"([^"]*)"', line)]
    shown = h.shown_texts(wizard)
    missing = [text for text in texts if text not in shown]
    if missing:
        raise ScenarioError(f"kvcatalog names {missing}, the wizard shows {shown}")
    if box is not None:
        words = " ".join(box["text"].split())
        if words not in " ".join(said.split()):
            raise ScenarioError(f"the wizard's box {words!r} is not the one kvcatalog names:\n{said}")
