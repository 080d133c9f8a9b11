"""The run's report reaches the report server once, as the PHP script decodes it; without the server the run
ends all the same and shows nothing about it."""
import os
import re
import subprocess
from pathlib import Path

from kvharness import Harness, ScenarioError, wait_until

WIZARD_TITLE = "Karvell Netrefresh Tool V 8.1.10"
PARAMETERS = ["QORIND", "QOFolio", "U", "QOOnline.lst"]
COURT = "Ortsgericht Bad Homburg v.d.Höhe"
SUBJECT = "NetRefresh: QO Folio - " + COURT
PAGE_HEAD = '<html><head><title>Meldung</title></head><body bgcolor="white">'
PAGE_TAIL = "</body></html>"


def configured(name):
    """A value of the program's configuration, such as ReportRecipient1."""
    source = (Path(os.environ["KV_BUILD_DIR"]) / "generated" / "kv_config_default.cpp").read_text(encoding="utf-8")
    match = re.search(name + r' = "([^"]*)"', source)
    if not match:
        raise ScenarioError(f"{name} not in kv_config_default.cpp")
    return match.group(1)


def court_product(h):
    h.import_reg(r"""REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Karvell\QORIND]
"Path"="C:\\Program Files (x86)\\Karvell\\QOFolio"
"AppNamen"="QO Folio"
"Comp"="Müller & Söhne <Notariat>"
"VER"="8.1.9"
""")
    h.write_file(r"C:\ProgramData\Karvell\QOFolio\QOOnline.lst",
                 "[PName]\nname=QO Folio\n[QO Folio]\nverinfo=8.1.9\nprog=QO Folio\ndat=2025-01-15\n")
    h.write_file(r"C:\ProgramData\Karvell\QOFolio\hgut.ini",
                 f"[QOData]\nAgent={COURT}\n[AData]\n1=Amtsgericht\n2=Bad Homburg\n[Setup]\nMTBN=0\n")


def close_by_the_close_box(h):
    run = h.start_kvupdate(PARAMETERS)
    wizard = h.wait_window(title=WIZARD_TITLE, timeout=60)
    h.close(wizard)

    def ended_without_a_box():
        boxes = h.windows(cls="#32770", exe="KVUpdate.exe", visible=True)
        if boxes:
            raise ScenarioError(f"a message box appeared: {boxes}")
        return not run.running()
    wait_until(ended_without_a_box, 30, "the end of the run")
    assert run.wait(5) == 0, "the run did not end normally"


def page_lines(page):
    assert page.startswith(PAGE_HEAD + "<p>") and page.endswith("</p>" + PAGE_TAIL), page[:200]
    body = page[len(PAGE_HEAD) + 3:-len("</p>" + PAGE_TAIL)]
    unescape = lambda line: line.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", '"').replace("&amp;", "&")
    return [unescape(line) for line in body.split("<br>")]


with Harness("report_delivery", lang="de") as h:
    court_product(h)
    before = len(h.reports())
    close_by_the_close_box(h)
    reports = wait_until(lambda: h.reports()[before:], 10, "the report at the report server")
    assert len(reports) == 1, f"{len(reports)} report requests: {reports}"
    report = reports[0]
    h.log(f"report parameters: {sorted(report)}")
    assert list(report) == ["botschaft", "email", "betr", "email2"], list(report)
    assert report["betr"] == SUBJECT, report["betr"]
    assert report["email"] == configured("ReportRecipient1"), report["email"]
    assert report["email2"] == configured("ReportRecipient2"), report["email2"]
    lines = page_lines(report["botschaft"])
    assert lines[0] == SUBJECT, lines[:2]
    assert lines[1] == "Update wurde über Kreuz beendet nicht Button", lines[:2]
    assert "Company: Müller & Söhne <Notariat>" in lines, lines
    assert "Amtsgericht Name: Amtsgericht Bad Homburg" in lines, lines
    assert "Manuelle TGB-Nr: automatik" in lines, lines
    assert lines[-2:] == ["Proxy", "Proxy in use? : NO"], lines[-2:]

with Harness("report_server_down", lang="de") as h:
    court_product(h)
    php_pid = h.e2e / "php.pid"
    before = len(h.reports())
    os.kill(int(php_pid.read_text()), 15)
    try:
        wait_until(lambda: subprocess.run(["bash", "-c", "exec 3<>/dev/tcp/127.0.0.2/80"],
                                          stderr=subprocess.DEVNULL).returncode != 0, 10, "the report server to stop")
        close_by_the_close_box(h)
    finally:
        subprocess.run([str(h.source / "tests/e2e/peers.sh"), "start"], check=True,
                       env=dict(os.environ, KV_SOURCE_DIR=str(h.source)))
    assert len(h.reports()) == before, "a report arrived although the server was down"
