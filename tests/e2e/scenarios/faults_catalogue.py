"""Fault matrix, the update server and its catalogue: the server is down, or a fault server answers the
catalogue request with an error status, a page that is no catalogue, garbage, nothing, far too much, or a
catalogue whose form is odd. Each row: no crash or hang, the catalogue's message for it, one report, and the
version list file byte for byte as it was."""
from faultserver import document
from kvharness import Harness
from kvproducts import (PROGRAM_NAME, QO_DATA, QO_LIST, TEXTS, WIZARD_TITLE, catalogue, check,
                        close_and_decline_restart, court_product, held_by_box, installer_bytes, rows, wait_any_text,
                        wait_offer)

T = TEXTS["de"]
OFFLINE_BOX = T["offline"]
PRODUCT_FOLDER = r"C:\Program Files (x86)\Karvell\QOFolio"
OUTSIDE = QO_DATA + r"\other.exe"


def served(body, **kwargs):
    return {"/mail.txt": document("Datei geladen"), "/update.ini": document(body, **kwargs)}


def crlf(text):
    return text.replace("\n", "\r\n").encode("cp1252")


def close_reports(h, run, wizard, reason, caption=T["close"]):
    close_and_decline_restart(h, wizard, caption)
    return h.the_report(run, reason)


def offline_row(routes=None, down=False):
    """The catalogue cannot be had: the no-connection box over the check page that says so, the retry
    button, report 5 on close."""
    def row(name):
        with Harness(name) as h:
            before = court_product(h).read_bytes()
            with (h.peer_down("nginx") if down else h.replaced_server("nginx", routes)):
                run, wizard = check(h)
                held_by_box(h, wizard, " Fehler", [T["connection_error"]], f"box-no-connection-{name}")
                box = h.answer_box(caption=" Fehler", timeout=60)
                assert box["text"].startswith(OFFLINE_BOX), box
                wait_any_text(h, wizard, [T["connection_error"], "Update Referenz"], 10)
                h.wait_shown(wizard, "&" + T["retry"], 5)
                close_reports(h, run, wizard, 5)
            assert h.host_path(QO_LIST).read_bytes() == before
    return row


def transfer_error_row(routes):
    """The server answered with an error: the transfer error status, no box, report 5 on close."""
    def row(name):
        with Harness(name) as h:
            before = court_product(h).read_bytes()
            with h.replaced_server("nginx", routes):
                run, wizard = check(h)
                h.wait_shown(wizard, T["catalogue_error"], 60)
                assert not h.windows(cls="#32770", exe="KVUpdate.exe", visible=True), "a box for an error status"
                # The local state read again after the failure gives the button its cancel caption.
                close_reports(h, run, wizard, 5, T["cancel"])
            assert h.host_path(QO_LIST).read_bytes() == before
            assert not h.host_path(r"C:\ProgramData\Karvell\QOFolio\update.ini").exists()
    return row


def outcome_row(body, shown, reason_now, more=None, **kwargs):
    """The catalogue arrives (odd as it is) and leads to an outcome: no update (report 1 at once) or an
    offer (report 5 when the user closes without installing)."""
    def row(name):
        with Harness(name) as h:
            before = court_product(h).read_bytes()
            with h.replaced_server("nginx", served(body, **kwargs)):
                run, wizard = check(h)
                if shown == T["offer"]:
                    wait_offer(h, wizard, timeout=120)
                else:
                    h.wait_shown(wizard, shown, 120)
                if more:
                    more(h, wizard)
                lines = close_reports(h, run, wizard, reason_now, T["cancel"] if shown == T["offer"] else T["close"])
            assert h.host_path(QO_LIST).read_bytes() == before
            assert not h.host_path(r"C:\ProgramData\Karvell\QOFolio\update.ini").exists(), "catalogue left behind"
            return lines
    return row


def offer_rows_complete(h, wizard):
    for text in ("8.1.10", "1,2 MB", "15.03.2025"):
        h.wait_shown(wizard, text, 5)


def news_cut_to_100(h, wizard):
    h.wait_shown(wizard, "N" * 100, 10, part=True)
    assert not any("N" * 101 in t for t in h.shown_texts(wizard)), "a news line longer than 100 characters"


TEN_MB = ("; " + "x" * 98 + "\n") * (10 * 1024 * 1024 // 101) + catalogue()
PCODES = catalogue(version="8.1.9", extra="".join(f"PCode{i}=QO{i:05d}\n" for i in range(1, 10001))
                   + "ActS=9\nPCode0=QO-4711\n").replace("PCode150=QO00150", "PCode150=QO-4711")
BIG_VALUES = catalogue(extra="CD2=" + "N" * 100 * 1024 + "\nCE2=" + "N" * 100 * 1024 + "\n"
                       + "UPD1=" + "u" * 100 * 1024 + "\n")
NUL_BYTES = crlf("[qorindu]\nverinfo=8.1.10\nprog=QO Folio\n") + b"CD3=a\x00b\nsz=1,2\x00 MB\n\x00\x00\x00\n" + \
    crlf("dat=2025-03-15\nufn=QORINDU.exe\n")

def restart_row(exc, starts):
    """The catalogue's "exc" names what "Ja" on the restart question starts. Copies of the test installer stand
    in for the product's program and for a program outside its folder; each records its start beside itself.
    Only the product's own program starts; for anything else the box says the product cannot be started."""
    def row(name):
        with Harness(name) as h:
            court_product(h)
            for program in (PRODUCT_FOLDER + r"\qofolio.exe", OUTSIDE):
                h.host_path(program).parent.mkdir(parents=True, exist_ok=True)
                h.host_path(program).write_bytes(installer_bytes(h))
            h.serve("/update.ini", catalogue(extra=f"exc={exc}\n"))
            record = h.host_path(PRODUCT_FOLDER + r"\kvinstaller-run.txt")
            run, wizard = check(h)
            wait_offer(h, wizard)
            h.click(wizard, T["cancel"])
            h.answer_restart(PROGRAM_NAME, start=True)
            if starts:
                h.wait_until(record.exists, 30, "the product's start")
            else:
                box = h.answer_box(caption=T["error_caption"], timeout=30)
                assert box["text"].startswith(PROGRAM_NAME + " kann nicht gestartet werden"), box
            h.wait_gone(title=WIZARD_TITLE, timeout=30)
            h.the_report(run, 5)
            assert record.exists() == starts, "the product's program started" if record.exists() else "not started"
            assert not h.host_path(QO_DATA + r"\kvinstaller-run.txt").exists(), "a program outside the folder started"
    return row


rows([
    ("fault_update_server_down", offline_row(down=True)),
    ("fault_catalogue_404", transfer_error_row(served("<html><body>404 Not Found</body></html>", status=404,
                                                      content_type="text/html"))),
    ("fault_catalogue_500", transfer_error_row(served("<html><body>500</body></html>", status=500,
                                                      content_type="text/html"))),
    ("fault_catalogue_empty_body", offline_row(served(b""))),
    ("fault_catalogue_html_page", outcome_row(crlf("<html><head><title>Wartung</title></head>\n<body>Der Server "
                                                   "wird gewartet.</body></html>\n"), T["none"], 1)),
    ("fault_catalogue_binary_garbage", outcome_row(bytes(range(256)) * 64 + b"\xff\xfe[\x00]\r\n=\x81\x8d",
                                                   T["none"], 1)),
    ("fault_catalogue_10_mb", outcome_row(crlf(TEN_MB), T["offer"], 5, offer_rows_complete)),
    ("fault_catalogue_10000_pcodes", outcome_row(crlf(PCODES), T["none"], 1)),
    ("fault_catalogue_100_kb_values", outcome_row(crlf(BIG_VALUES), T["offer"], 5, news_cut_to_100)),
    ("fault_catalogue_nul_bytes", outcome_row(NUL_BYTES, T["offer"], 5)),
    ("fault_catalogue_no_final_newline", outcome_row(crlf(catalogue().rstrip("\n").replace("dat=2025-03-15\n", "")
                                                          + "\ndat=2025-03-15"), T["offer"], 5, offer_rows_complete)),
    ("fault_catalogue_lf_only", outcome_row(catalogue().encode("cp1252"), T["offer"], 5, offer_rows_complete)),
    ("fault_restart_exc_with_a_quote", restart_row(OUTSIDE + '" /x', False)),
    ("fault_restart_exc_outside_the_product", restart_row(OUTSIDE, False)),
    ("fault_restart_exc_climbing_out", restart_row(r"..\..\..\ProgramData\Karvell\QOFolio\other.exe", False)),
    ("fault_restart_exc_full_path", restart_row(PRODUCT_FOLDER + r"\qofolio.exe", True)),
    ("fault_restart_exc_bare_name", restart_row("qofolio.exe", True)),
])
