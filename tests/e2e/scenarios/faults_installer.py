"""Fault matrix, the installer download: the offer is fine, but the installer's answer is not - the server
resets or closes the connection in the middle of the body, is gone when the download starts, answers 404,
leaves out the Content-Length, or states more than it sends. Each row: the transfer error status, no
installer started, the user can still close, one report (the download counts as aborted), and the version
list file untouched."""
from faultserver import cut_off, document
from kvharness import Harness
from kvproducts import (QO_DATA, QO_INSTALLER, QO_LIST, TEXTS, catalogue, check, close_and_decline_restart,
                        court_product, installer_bytes, rows, wait_offer)

T = TEXTS["de"]


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


rows([
    ("fault_installer_reset_mid_body", installer_row(lambda body: cut_off(body, len(body) // 2, reset=True))),
    ("fault_installer_server_gone", installer_row(server_gone=True)),
    ("fault_installer_404", installer_row(lambda body: document("<html>404</html>", status=404,
                                                                content_type="text/html"))),
    ("fault_installer_no_content_length", installer_row(lambda body: document(body, length=None))),
    ("fault_installer_length_beyond_body", installer_row(lambda body: cut_off(body, len(body) - 1000, reset=False))),
])
