"""The secure program: KVUpdateSecure.exe names "https://localhost" for both servers and starts only
installers signed by "Karvell Test Signing". Its runs use the peers' TLS server (peers.sh) and the tests'
own authority (tests/pki/make_pki.sh, made by the win64 build into pki/), whose root only the Wine prefix trusts.

    with Harness("secure_row") as h:
        secure(h)                                    # trust the test root, start the secure program
        h.serve("/qorindu.exe", signed(h, "signed-good.exe"))
        with presented(h, "wrongname"): ...          # the TLS server shows another certificate
"""
import contextlib
import os
import socket
import ssl
import subprocess

from kvharness import wait_until


def pki(h):
    return h.build / "pki"


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def secure(h):
    """The prefix trusts the test root (each time: the prefix may be new), and start_kvupdate starts the
    secure program, installed under the program's usual name."""
    h.wine(h.build / "tests" / "kvtrustroot.exe", windows_path(pki(h) / "root.der"))
    h.program = h.build / "KVUpdateSecure.exe"


def signed(h, installer):
    """The bytes of one of the test installers of the PKI folder."""
    return (pki(h) / installer).read_bytes()


def _presented_certificate():
    context = ssl.create_default_context()
    context.check_hostname = False
    context.verify_mode = ssl.CERT_NONE
    try:
        with socket.create_connection(("127.0.0.1", 443), timeout=2) as raw, \
                context.wrap_socket(raw, server_hostname="localhost") as tls:
            return tls.getpeercert(binary_form=True)
    except OSError:
        return None


def _present(h, name):
    subprocess.run([str(h.source / "tests/e2e/peers.sh"), "certificate", name], check=True,
                   env=dict(os.environ, KV_SOURCE_DIR=str(h.source)))
    wanted = ssl.PEM_cert_to_DER_cert((pki(h) / f"{name}.pem").read_text())
    wait_until(lambda: _presented_certificate() == wanted, 20, f"the TLS server to present {name}.pem")


@contextlib.contextmanager
def presented(h, name):
    """The TLS server presents the test certificate name for the block, localhost.pem again afterwards."""
    _present(h, name)
    try:
        yield
    finally:
        _present(h, "localhost")
