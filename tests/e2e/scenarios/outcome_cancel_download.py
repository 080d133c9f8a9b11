"""Cancelling the installer download while the server stalls in the middle of the body: the progress shows
what came, "Abbrechen" stops the transfer, the restart question follows, the window closes and the program
ends within seconds although the server never finishes; the one report says the download was aborted, the
version list file is untouched and no installer is started."""
import time

from faultserver import document, stall
from kvharness import Harness
from kvproducts import (QO_DATA, QO_INSTALLER, QO_LIST, TEXTS, WIZARD_TITLE, catalogue, check, court_product,
                        installer_bytes, wait_offer)

T = TEXTS["de"]

with Harness("outcome_cancel_download", lang="de") as h:
    before = court_product(h).read_bytes()
    body = installer_bytes(h)
    routes = {"/mail.txt": document("Datei geladen"), "/update.ini": document(catalogue().replace("\n", "\r\n"))}
    with h.replaced_server("nginx", routes) as server:
        server.routes[QO_INSTALLER] = stall(body, 64 * 1024, server.stopping)
        run, wizard = check(h)
        wait_offer(h, wizard)
        h.click(wizard, T["install"])
        h.wait_shown(wizard, f"Bytes von {len(body)} Bytes geladen", 30, part=True)
        h.screenshot("outcome_cancel_download-progress")
        cancelled = time.monotonic()
        h.click(wizard, T["cancel"])
        h.answer_restart("QO Folio")
        h.wait_gone(title=WIZARD_TITLE, timeout=15)
        h.the_report(run, 4, timeout=15)
        h.log(f"ended {time.monotonic() - cancelled:.1f} s after the cancel")
        assert time.monotonic() - cancelled < 15, "the program did not end soon after the cancel"
    assert not h.host_path(QO_DATA + r"\kvinstaller-run.txt").exists(), "an installer was started"
    assert h.host_path(QO_LIST).read_bytes() == before, "the version list file changed"
