#!/usr/bin/env bash
# The demo: a whole update of a demo product against local servers, by the
# secure program (KVUpdateSecure.exe): both servers over HTTPS and an installer
# signed by the expected signer. Starts the peers of the end-to-end runs (nginx
# over TLS as the update server and the front of the report server, PHP behind
# it, tinyproxy) with a demo catalogue, then runs the wizard under wine64: with
# a $DISPLAY the user clicks through it; without one it is driven
# automatically and leaves a screenshot of each page and the received report
# in the folder it names, and refreshes the README's pictures (docs/demo).
# Every server it started is stopped when it ends, also when interrupted.
# `make demo` builds win64 and the Linux kvcatalog first.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
export KV_BUILD_DIR="$root/build/win64"
export KV_SOURCE_DIR="$root"
out="$root/build/demo/$(date +%Y%m%d-%H%M%S)"
[ -x "$root/build/linux/kvcatalog" ] || { echo "demo: $root/build/linux/kvcatalog is missing; run 'make demo'" >&2; exit 1; }
for needed in KVUpdateSecure.exe tests/kvdriver.exe tests/kvinstaller.exe tests/kvtrustroot.exe; do
  [ -f "$KV_BUILD_DIR/$needed" ] || { echo "demo: $KV_BUILD_DIR/$needed is missing; run 'make demo'" >&2; exit 1; }
done

# The catalogue goes out only when the maker's check finds no error in it.
catalogue="$root/tests/e2e/demo_update.ini"
echo "demo: kvcatalog check $catalogue"
status=0
"$root/build/linux/kvcatalog" check "$catalogue" || status=$?
[ "$status" -lt 2 ] || { echo "demo: the demo catalogue has errors; not served" >&2; exit 1; }

stop_servers() { "$root/tests/e2e/peers.sh" stop >/dev/null 2>&1 || true; }
trap stop_servers EXIT
trap 'exit 130' INT TERM

"$root/tests/e2e/peers.sh" start
display_args=()
[ -n "${DISPLAY:-}" ] && display_args=(--display "$DISPLAY")
PYTHONPATH="$root/tests/e2e" PYTHONDONTWRITEBYTECODE=1 python3 "$root/tests/e2e/demo_run.py" "$out" "${display_args[@]}"
if [ -z "${DISPLAY:-}" ]; then
  mkdir -p "$root/docs/demo"
  rm -f "$root/docs/demo/"*.png
  cp "$out"/*.png "$root/docs/demo/"
fi
echo "demo: results in $out"
ls "$out"
