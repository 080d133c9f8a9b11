"""Fault matrix, the proxy and the report server: the wizard's proxy refuses (tinyproxy with a deny rule) or
is not there; the report server is down, answers only after 30 s, or answers 500. Each row: no crash or hang,
the message for it, and the program ends in time; the report rows check what reached the report server."""
import time

from faultserver import document, late, unauthorized
from kvharness import Harness
from kvproducts import (QO_DATA, QO_INSTALLER, QO_LIST, TEXTS, WIZARD_TITLE, catalogue, check,
                        close_and_decline_restart, court_product, installer_bytes, rows, start, close_check_page,
                        failed_check, wait_offer)

T = TEXTS["de"]
# useP 2: the user insists on the proxy, so a direct system connection does not switch it off.
DENYING = "useP=2\nIP=127.0.0.4\nport=8888\ncpnd=127.0.0.4:8888\n"
ABSENT = "useP=2\nIP=127.0.0.9\nport=8888\ncpnd=127.0.0.9:8888\n"
# A proxy that asks for its user and password (tinyproxy's BasicAuth).
ASKING = "useP=2\nIP=127.0.0.4\nport=8888\nuser=anna\npaw=geheim\ncpnd=127.0.0.4:8888\n"
ASKING_RULES = ["BasicAuth anna geheim"]
CREDENTIALS = ("anna", "geheim", "YW5uYTpnZWhlaW0=")  # the last: base64 of anna:geheim


def proxy_row(settings, deny):
    def row(name):
        with Harness(name) as h:
            before = court_product(h, list_extra=settings).read_bytes()
            h.serve("/update.ini", catalogue())
            proxy = h.extra_proxy("127.0.0.4", ["Deny 127.0.0.0/8"]) if deny else None
            if proxy:
                proxy.__enter__()
            try:
                run, wizard = check(h)
                h.log(f"the proxy's failure shows as {failed_check(h, wizard)}")
                close_check_page(h, wizard)
                lines = h.the_report(run, 5)
                assert "Proxy Complete: " + settings.split("cpnd=")[1].strip() in lines, lines[-8:]
            finally:
                if proxy:
                    proxy.__exit__(None, None, None)
            assert not [r for r in h.requests() if "update.ini" in r], "the catalogue went around the proxy"
            assert h.host_path(QO_LIST).read_bytes() == before
    return row


def proxy_asks_for_credentials(name):
    """The proxy gets its user and password: catalogue and installer pass it, and the installer starts."""
    with Harness(name) as h:
        court_product(h, list_extra=ASKING)
        h.serve("/update.ini", catalogue())
        h.serve(QO_INSTALLER, installer_bytes(h))
        with h.extra_proxy("127.0.0.4", ASKING_RULES):
            run, wizard = check(h)
            wait_offer(h, wizard)
            h.click(wizard, T["install"])
            h.wait_until(h.host_path(QO_DATA + r"\kvinstaller-run.txt").exists, 60, "the installer's record")
            h.wait_gone(title=WIZARD_TITLE, timeout=30)
            h.the_report(run, 2)
        passed = (h.e2e / "tinyproxy-127.0.0.4.log").read_text(encoding="latin-1")
        for path in ("/update.ini", QO_INSTALLER):
            assert path in passed, f"{path} did not pass the proxy: {passed[-2000:]}"


def server_asks_for_credentials(name):
    """Behind the asking proxy, an update server that answers 401 gets nothing of the proxy's credentials."""
    with Harness(name) as h:
        court_product(h, list_extra=ASKING)
        with h.extra_proxy("127.0.0.4", ASKING_RULES), \
                h.replaced_server("nginx", {"/update.ini": unauthorized(), "/mail.txt": unauthorized()}) as server:
            run, wizard = check(h)
            h.log(f"the refused catalogue shows as {failed_check(h, wizard)}")
            close_check_page(h, wizard)
            h.the_report(run, 5)
        assert server.requests, "nothing passed the proxy"
        for request in server.requests:
            head = repr(request.headers)
            assert "Authorization" not in head and not any(c in head for c in CREDENTIALS), request.headers


def report_server_row(make_route=None, down=False):
    """The user closes by the close box; the program must end within 6 s of that, whatever the report server
    does."""
    def row(name):
        with Harness(name) as h:
            court_product(h)
            context = h.peer_down("php") if down else h.replaced_server("php", {})
            with context as server:
                if server is not None:
                    server.prefix_routes["/cgi-bin/instup.php"] = make_route(server)
                run, wizard = start(h)
                closed = time.monotonic()
                h.close(wizard)
                h.finish(run, 20)
                took = time.monotonic() - closed
                h.log(f"ended {took:.1f} s after the close")
                assert took < 6, f"the program ended {took:.1f} s after the close"
                if server is not None:
                    requests = [r for r in server.requests if r.path.startswith("/cgi-bin/instup.php")]
                    assert len(requests) == 1, f"{len(requests)} report requests: {requests}"
                    assert "Kreuz" in requests[0].path, requests[0]
    return row


rows([
    ("fault_proxy_refuses", proxy_row(DENYING, deny=True)),
    ("fault_proxy_absent", proxy_row(ABSENT, deny=False)),
    ("proxy_asks_for_its_credentials", proxy_asks_for_credentials),
    ("fault_server_asks_for_the_proxy_credentials", server_asks_for_credentials),
    ("fault_report_server_down", report_server_row(down=True)),
    ("fault_report_server_slow", report_server_row(lambda server: late(30, stop_event=server.stopping))),
    ("fault_report_server_500", report_server_row(lambda server: document("<html>500</html>", status=500,
                                                                          content_type="text/html"))),
])
