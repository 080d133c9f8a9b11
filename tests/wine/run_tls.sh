#!/usr/bin/env bash
# Runs the TLS tests of win_tests.exe (WinInternetTls.*) against TLS servers of
# the tests' own authority: python3 on 127.0.0.1:4443 with the certificate for
# DNS:localhost, on 127.0.0.1:4444 with one for another name.
#
#   run_tls.sh BUILD_DIR WIN_TESTS_EXE PKI_DIR TRUST_ROOT_EXE
#
# Everything runs in a network namespace of its own, so the fixed ports meet
# nothing else on the machine; and with a Wine prefix of its own, because
# Wine's sockets belong to its wineserver, which must start inside the
# namespace too.
set -euo pipefail
trap 'echo "run_tls.sh: line $LINENO failed (status $?): $BASH_COMMAND" >&2' ERR
if [ -z "${KV_TLS_NETNS:-}" ]; then
  exec unshare --net env KV_TLS_NETNS=1 "$0" "$@"
fi
ip link set lo up

KV_BUILD_DIR="$1"; tests_exe="$2"; pki="$3"; trust_exe="$4"
export WINEPREFIX="$KV_BUILD_DIR/wineprefix-tls"
source "$(dirname "$0")/env.sh"
kv_wine_prefix

serve() { # port name
  python3 - "$1" "$pki/$2.pem" "$pki/$2.key" <<'PY' &
import http.server, ssl, sys

class Document(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = b"Datei geladen"
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass

server = http.server.HTTPServer(("127.0.0.1", int(sys.argv[1])), Document)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(sys.argv[2], sys.argv[3])
server.socket = context.wrap_socket(server.socket, server_side=True)
server.serve_forever()
PY
  pids+=($!)
}

pids=()
stop() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  "$WINESERVER" -k 2>/dev/null || true
}
trap stop EXIT

serve 4443 localhost
serve 4444 wrongname
for port in 4443 4444; do
  for _ in $(seq 100); do
    python3 -c "import socket,sys; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null && break
    sleep 0.1
  done
done

"$WINE" "$trust_exe" "Z:$pki/root.der"
KV_TLS_PORTS="4443 4444" "$WINE" "$tests_exe" --gtest_filter='WinInternetTls.*'
