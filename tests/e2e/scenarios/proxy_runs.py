"""The proxy question when the system's Internet settings name a proxy: answered No it leaves the wizard
direct; answered Yes the proxy dialog opens, the user enters the proxy (127.0.0.3, port 8888) and applies,
and the whole update then runs through tinyproxy: catalogue and installer pass the proxy, the version list
file keeps the settings, and the report tells the proxy."""
from kvharness import Harness
from kvproducts import (QO_DATA, QO_INSTALLER, QO_LIST, TEXTS, WIZARD_TITLE, catalogue, court_product, held_by_box,
                        installer_bytes, rows, start, wait_offer)

T = TEXTS["de"]
SYSTEM_PROXY = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings]
"ProxyEnable"=dword:00000001
"ProxyServer"="127.0.0.3:8888"
"""
QUESTION = ("Sie sind möglicherweise über einen Proxy mit dem\rInternet verbunden. Möchten Sie die Verbindungs-\r"
            "einstellungen jetzt vornehmen?")


def declined(name):
    with Harness(name, lang="de") as h:
        court_product(h)
        h.import_reg(SYSTEM_PROXY)
        run, wizard = start(h)
        held_by_box(h, wizard, " Information", ["&" + T["next"]], "box-proxy-question-over-the-welcome-page")
        shown = h.answer_box(caption=" Information", text=QUESTION, button="Nein", timeout=30)
        assert not h.windows(title="Verbindungseinstellungen", visible=True), "the dialog opened after No"
        h.close(wizard)
        lines = h.the_report(run, 19)
        assert lines[-2:] == ["Proxy", "Proxy in use? : NO"], lines[-3:]


def through_tinyproxy(name):
    with Harness(name, lang="de") as h:
        court_product(h)
        h.import_reg(SYSTEM_PROXY)
        h.serve("/update.ini", catalogue())
        h.serve(QO_INSTALLER, installer_bytes(h))
        proxy_log = h.e2e / "tinyproxy.log"
        log_before = proxy_log.stat().st_size if proxy_log.exists() else 0
        run, wizard = start(h)
        h.answer_box(caption=" Information", text=QUESTION, button="Ja", timeout=30)
        dialog = h.wait_window(title="Verbindungseinstellungen", timeout=30)
        # The fields in the order the dialog makes them: address, port, user name, password.
        edits = sorted((c for c in h.controls(dialog) if c["class"].lower() == "edit"), key=lambda c: c["id"])
        name_edit, port_edit = edits[0], edits[1]
        # An address without three dots: the plain message window holds the dialog, which stays open.
        h.set_text(name_edit, "127.0.0")
        h.click(dialog, "Übernehmen")
        h.wait_window(cls="#32770", title="KVUpdate", timeout=15)
        assert not h.state_of(dialog).get("enabled") and not h.state_of(wizard).get("enabled"), "input under the box"
        h.answer_box(caption="KVUpdate", text="Ungültige Proxy IP")
        h.wait_until(lambda: h.state_of(dialog).get("enabled"), 10, "the dialog to take input again")
        h.set_text(name_edit, "127.0.0.3")
        h.set_text(port_edit, "8888")
        h.screenshot(f"{name}-dialog")
        h.click(dialog, "Übernehmen")
        h.wait_gone(title="Verbindungseinstellungen", timeout=15)
        stored = h.read_file(QO_LIST)
        for key in ("useP=1", "IP=127.0.0.3", "port=8888", "cpnd=127.0.0.3:8888"):
            assert key in stored, f"{key} not in the version list file: {stored!r}"

        h.click(wizard, T["next"])
        wait_offer(h, wizard)
        h.click(wizard, T["install"])
        record = h.host_path(QO_DATA + r"\kvinstaller-run.txt")
        h.wait_until(record.exists, 60, "the installer's record")
        h.wait_gone(title=WIZARD_TITLE, timeout=30)
        lines = h.the_report(run, 2)
        for expected in ("Proxy in use? : YES", "Proxy Name: 127.0.0.3", "Proxy Port: 8888",
                         "Proxy Complete: 127.0.0.3:8888"):
            assert expected in lines, f"{expected!r} not in the report: {lines[-8:]}"
        passed = proxy_log.read_bytes()[log_before:].decode("latin-1")
        for path in ("/update.ini", QO_INSTALLER):
            assert path in passed, f"{path} did not pass the proxy: {passed[-2000:]}"


rows([("proxy_question_declined", declined), ("proxy_whole_run_through_tinyproxy", through_tinyproxy)])
