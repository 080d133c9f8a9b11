"""A whole update of the court-register product: welcome, next, the offer with its rows and news, install,
progress, the after-download box; the installer is fetched into the data folder and started with its
hand-over file beside it; the wizard closes and the one report says the installer was started."""
from kvharness import Harness
from kvproducts import (PROGRAM_NAME, QO_DATA, QO_INSTALLER, QO_LIST, TEXTS, WIZARD_TITLE, catalogue, check,
                        court_product, installer_bytes, wait_offer)

T = TEXTS["de"]

with Harness("outcome_offer_install", lang="de") as h:
    list_before = court_product(h).read_bytes()
    h.serve("/update.ini", catalogue(extra="DS1=Bitte schließen Sie alle Programme.\nDS2=Danke.\n"))
    h.serve(QO_INSTALLER, installer_bytes(h))
    record = h.host_path(QO_DATA + r"\kvinstaller-run.txt")

    run, wizard = check(h)
    wait_offer(h, wizard)
    for text in ("8.1.10", "1,2 MB", "15.03.2025", T["new"]):
        h.wait_shown(wizard, text, 5)
    h.wait_shown(wizard, "Neue Formulare 2025", 10, part=True)
    h.wait_shown(wizard, T["hint"], 5)
    assert h.button(wizard, T["install"])["enabled"], "the install button is not enabled"
    h.screenshot("outcome_offer_install-offer")
    assert not h.reports(), "a report before the user decided"

    h.click(wizard, T["install"])
    h.answer_box(caption=" Information", text="Bitte schließen Sie alle Programme.\rDanke.\r\r", timeout=60)
    h.wait_until(record.exists, 60, "the installer's record")
    h.wait_gone(title=WIZARD_TITLE, timeout=30)
    lines = h.the_report(run, 2)

    started = record.read_bytes().decode("cp1252").split("\r\n")
    assert started[0] == rf'command-line="{QO_DATA}\qorindu.exe"', started[0]
    assert started[3] == "handover=present", started[3]
    handover = h.read_file(QO_DATA + r"\KVInn000.lst").replace("\r\n", "\n").split("\n")
    assert handover[0].lower() == "[innoupdate]", handover
    assert handover[1:7] == ["verinfo=8.1.10", "dat=2025-03-15", "sz=1,2 MB", "dlst=QOOnline.lst",
                             f"sec={PROGRAM_NAME}", "ActS=3"], handover
    assert h.host_path(QO_DATA + r"\qorindu.exe").read_bytes() == installer_bytes(h)
    assert not h.host_path(QO_DATA + r"\update.ini").exists(), "the fetched catalogue was left behind"
    assert h.host_path(QO_LIST).read_bytes() == list_before, "the version list file changed"
    for expected in ("New Version: 8.1.10", "UpdateFile: QORINDU.exe", "Update Date: 2025-03-15",
                     "QO ID: QO-4711", "QO Bezeichnung: Ortsgericht Oberursel", "Old Version: 8.1.9"):
        assert expected in lines, f"{expected!r} not in the report: {lines}"
