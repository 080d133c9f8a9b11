"""Fault matrix, the installer download: the offer is fine, but the installer's answer is not - the server
resets or closes the connection in the middle of the body, is gone when the download starts, answers 404,
leaves out the Content-Length, or states more than it sends; or a file planted under the installer's name
is held open by another program. Each row: the transfer error status, no installer started, the user can
still close, one report (the download counts as aborted), and the version list file untouched.
One more row: the installer arrives, but its body is no program; the downloaded file stays held against
other programs while the news box is up, and when its start fails the run says so."""
from faultserver import cut_off, document
from kvharness import Harness
from kvproducts import (QO_DATA, QO_INSTALLER, QO_LIST, TEXTS, WIZARD_TITLE, catalogue, check,
                        close_and_decline_restart, court_product, held_by_box, installer_bytes, rows, wait_offer)

T = TEXTS["de"]
INSTALLER = QO_DATA + r"\qorindu.exe"


def installer_row(installer_route=None, server_gone=False):
    def row(name):
        with Harness(name) as h:
            before = court_product(h).read_bytes()
            body = installer_bytes(h)
            routes = {"/mail.txt": document("Datei geladen"),
                      "/update.ini": document(catalogue().replace("\n", "\r\n"))}
            with h.replaced_server("nginx", routes) as server:
                if installer_route:
                    server.routes[QO_INSTALLER] = installer_route(body)
                run, wizard = check(h)
                wait_offer(h, wizard)
                if server_gone:
                    server.stop()
                h.click(wizard, T["install"])
                h.wait_shown(wizard, T["transfer_error"], 60)
                assert not h.button(wizard, T["install"])["enabled"], "install is enabled after the failure"
                h.wait_shown(wizard, "&" + T["close"], 5)
                h.screenshot(name)
                close_and_decline_restart(h, wizard, T["close"])
                h.the_report(run, 4)
            assert not h.host_path(QO_DATA + r"\kvinstaller-run.txt").exists(), "an installer was started"
            assert not h.host_path(QO_DATA + r"\KVInn000.lst").exists(), "a hand-over file was written"
            assert h.host_path(QO_LIST).read_bytes() == before, "the version list file changed"
    return row


def planted_and_held(name):
    """The download deletes what stands under the installer's name and makes a file of its own; a file that
    another program holds cannot be deleted, so nothing is written into it and the transfer fails."""
    with Harness(name) as h:
        before = court_product(h).read_bytes()
        h.serve("/update.ini", catalogue())
        h.serve(QO_INSTALLER, installer_bytes(h))
        planted = h.write_file(INSTALLER, "planted")
        with h.held_open(INSTALLER):
            run, wizard = check(h)
            wait_offer(h, wizard)
            h.click(wizard, T["install"])
            h.wait_shown(wizard, T["transfer_error"], 60)
            close_and_decline_restart(h, wizard, T["close"])
            h.the_report(run, 4)
        assert planted.read_bytes() == b"planted", "the planted file was written into"
        assert not h.host_path(QO_DATA + r"\kvinstaller-run.txt").exists(), "an installer was started"
        assert h.host_path(QO_LIST).read_bytes() == before, "the version list file changed"


def no_program(name):
    with Harness(name) as h:
        court_product(h)
        h.serve("/update.ini", catalogue(extra="DS1=Bitte schließen Sie alle Programme.\n"))
        h.serve(QO_INSTALLER, b"This is no program.\r\n" * 100)
        run, wizard = check(h)
        wait_offer(h, wizard)
        h.click(wizard, T["install"])
        h.wait_window(cls="#32770", title=" Information", timeout=60)
        tampered = h.tampered(INSTALLER)
        assert not any(tampered.values()), f"another program changed the held installer: {tampered}"
        h.answer_box(caption=" Information")
        held_by_box(h, wizard, " Fehler", [], f"box-{name}")
        assert T["setup_starts"] not in h.shown_texts(wizard), "behind the box the installation still starts"
        box = h.answer_box(caption=" Fehler", timeout=30)
        assert box["text"].startswith("Update Start ist fehlgeschlagen"), box
        h.wait_gone(title=WIZARD_TITLE, timeout=30)
        lines = h.the_report(run, 22)
        assert lines[lines.index("UpdateFile: QORINDU.exe") + 1] == "Start: error 193", lines
        assert not h.host_path(INSTALLER).exists(), "the installer that did not start was left behind"


rows([
    ("fault_installer_reset_mid_body", installer_row(lambda body: cut_off(body, len(body) // 2, reset=True))),
    ("fault_installer_server_gone", installer_row(server_gone=True)),
    ("fault_installer_404", installer_row(lambda body: document("<html>404</html>", status=404,
                                                                content_type="text/html"))),
    ("fault_installer_no_content_length", installer_row(lambda body: document(body, length=None))),
    ("fault_installer_length_beyond_body", installer_row(lambda body: cut_off(body, len(body) - 1000, reset=False))),
    ("fault_installer_planted_and_held", planted_and_held),
    ("fault_installer_no_program", no_program),
])
