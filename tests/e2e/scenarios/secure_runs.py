"""The secure program over HTTPS: the catalogue, the installer and the report go to "https://localhost" (the
peers' TLS server, whose certificate the tests' own root vouches for). The installer is started only when the
expected signer signed it; one by another signer of the same authority, one by a signer of an authority
nobody trusts, one altered after signing and one unsigned are each refused: message 93 on the status line
and in a box, the file gone, no hand-over file, one report 23 saying why, the version list file as it was.
A whole run also passes through tinyproxy (a CONNECT tunnel), and a server certificate for another name
gives the no-connection path without anything fetched or reported. The maker's kvcatalog.exe check, given the
signer, judges the installer on the server as the secure program did, in the same words."""
from contextlib import nullcontext

from kvharness import Harness, ScenarioError
from kvproducts import (QO_DATA, QO_INSTALLER, QO_LIST, TEXTS, WIZARD_TITLE, catalogue, catalogue_check, check,
                        close_and_decline_restart, court_product, rows, unchanged)
from kvsecure import presented, secure, signed

T = TEXTS["de"]
REFUSED = ("Die geladene Update-Datei trägt keine gültige Signatur von Karvell.\rDas Update wird aus "
           "Sicherheitsgründen nicht gestartet.\rBitte wenden Sie sich an Karvell.")
RECORD = QO_DATA + r"\kvinstaller-run.txt"
# The wizard's own proxy, kept even on a direct connection (useP=2).
PROXY_KEYS = "useP=2\nIP=127.0.0.3\nport=8888\ncpnd=127.0.0.3:8888\n"
# A proxy of its own that asks for its user and password before it opens a tunnel.
ASKING_PROXY_KEYS = "useP=2\nIP=127.0.0.4\nport=8888\nuser=anna\npaw=geheim\ncpnd=127.0.0.4:8888\n"


def secure_check(h, installer, list_extra=""):
    """The court product, the catalogue and the installer on the update server, the secure program at its
    check page; returns (version list bytes, run, wizard)."""
    secure(h)
    before = court_product(h, list_extra=list_extra).read_bytes()
    h.serve("/update.ini", catalogue())
    h.serve(QO_INSTALLER, signed(h, installer))
    run, wizard = check(h)
    return before, run, wizard


def signature_findings(h):
    """The findings of kvcatalog.exe check on the served installer's signature."""
    status, findings = catalogue_check(h, "--signer", "Karvell Test Signing")
    return status, [line for line in findings.splitlines() if "Signature: " in line]


def install(h, wizard):
    h.wait_shown(wizard, T["offer"], 60)
    h.click(wizard, T["install"])


def all_over_tls(h, paths):
    requests = h.requests()
    plain = [r for r in requests if not r.endswith(" https")]
    if plain:
        raise ScenarioError(f"requests without TLS: {plain}")
    for path in paths:
        if not any(f'"GET {path}' in r for r in requests):
            raise ScenarioError(f"{path} was not requested over TLS: {requests}")


def started(list_extra="", asking_proxy=False):
    """The expected signer's installer is started; the whole run went over TLS."""
    def row(name):
        with Harness(name) as h:
            proxy_log = h.e2e / ("tinyproxy-127.0.0.4.log" if asking_proxy else "tinyproxy.log")
            log_before = proxy_log.stat().st_size if proxy_log.exists() else 0
            proxy = h.extra_proxy("127.0.0.4", ["BasicAuth anna geheim"]) if asking_proxy else nullcontext()
            with proxy:
                _, run, wizard = secure_check(h, "signed-good.exe", list_extra)
                install(h, wizard)
                h.wait_until(h.host_path(RECORD).exists, 60, "the installer's start")
                h.wait_gone(title=WIZARD_TITLE, timeout=30)
                h.the_report(run, 2)
            all_over_tls(h, ["/update.ini", QO_INSTALLER, "/cgi-bin/instup.php"])
            refusals = signature_findings(h)[1]
            if refusals:
                raise ScenarioError(f"kvcatalog refuses the installer the program started: {refusals}")
            if list_extra:
                tunnels = proxy_log.read_bytes()[log_before:].decode("latin-1").count("CONNECT localhost:443")
                if tunnels < 2:
                    raise ScenarioError(f"{tunnels} tunnels through tinyproxy, expected one for the catalogue "
                                        "and one for the installer")
    return row


def refused(installer, why):
    """The installer is refused: message 93, the file deleted, not started, one report 23 that says why."""
    def row(name):
        with Harness(name) as h:
            before, run, wizard = secure_check(h, installer)
            install(h, wizard)
            h.wait_window(cls="#32770", title=" Fehler", timeout=60)
            h.wait_shown(wizard, REFUSED.split("\r")[0], 5)
            h.answer_box(caption=" Fehler", text=REFUSED)
            lines = h.the_report(run, 23)
            reason = lines[lines.index("UpdateFile: QORINDU.exe") + 1]
            if reason != "Signature: " + why:
                raise ScenarioError(f"reason line {reason!r}, expected 'Signature: {why}'")
            for left in (QO_DATA + r"\qorindu.exe", RECORD, QO_DATA + r"\KVInn000.lst"):
                if h.host_path(left).exists():
                    raise ScenarioError(f"{left} exists after the refusal")
            unchanged(h, QO_LIST, before)
            status, findings = signature_findings(h)
            if status != 2 or len(findings) != 1 or f"qorindu.exe: Signature: {why}: " not in findings[0]:
                raise ScenarioError(f"kvcatalog check: exit {status}, {findings}")
    return row


def wrong_name(name):
    """A certificate for another host: the catalogue cannot be had, nothing is fetched or reported."""
    with Harness(name) as h:
        with presented(h, "wrongname"):
            before, run, wizard = secure_check(h, "signed-good.exe")
            box = h.answer_box(caption=" Fehler", timeout=60)
            if not box["text"].startswith(T["offline"]):
                raise ScenarioError(f"not the no-connection box: {box}")
            h.wait_shown(wizard, "&" + T["retry"], 10)
            close_and_decline_restart(h, wizard, T["close"])
            h.no_report(run)
        if h.requests():
            raise ScenarioError(f"fetched despite the wrong name: {h.requests()}")
        unchanged(h, QO_LIST, before)


rows([
    ("secure_signed_by_the_maker", started()),
    ("secure_signed_by_another_signer", refused("signed-other.exe", "signer 'Karvell Other Signing' not accepted")),
    ("secure_signed_under_a_stranger_root", refused("signed-stranger.exe", "untrusted root")),
    ("secure_altered_after_signing", refused("signed-altered.exe", "altered")),
    ("secure_unsigned", refused("unsigned.exe", "not signed")),
    ("secure_through_tinyproxy", started(PROXY_KEYS)),
    ("secure_through_a_proxy_that_asks", started(ASKING_PROXY_KEYS, asking_proxy=True)),
    ("secure_wrong_server_name", wrong_name),
])
