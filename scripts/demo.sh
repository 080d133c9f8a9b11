#!/usr/bin/env bash
# Shows the wizard as a product would start it: a demo product with its
# version list file beside a copy of KVUpdate.exe, run under wine64 on the
# current display (or on a private Xvfb), and a screenshot of each stage
# saved into build/demo/. Builds nothing: `make demo` builds win64 first.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/win64"
demo="$root/build/demo"
exe="$build/KVUpdate.exe"
[ -f "$exe" ] || { echo "demo: $exe is missing; run 'make demo'" >&2; exit 1; }

started_x=""
wine_pid=""
cleanup() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null || true
  [ -n "${WINEPREFIX:-}" ] && /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$started_x" ] && kill "$started_x" 2>/dev/null || true
}
trap cleanup EXIT

# Waits up to $2 seconds for the command $1 to succeed.
wait_for() {
  local deadline=$((SECONDS + $2))
  until eval "$1" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.3
  done
}

if [ -z "${DISPLAY:-}" ]; then
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  started_x=$!
  export DISPLAY=":$n"
  wait_for "xdpyinfo" 10 || { echo "demo: Xvfb did not start" >&2; exit 1; }
fi

rm -rf "$demo/app" "$demo"/*.png
mkdir -p "$demo/app"
cp "$exe" "$demo/app/"
printf '[PName]\r\nname=Demo\r\n\r\n[Demo]\r\nverinfo=8.1.9\r\nprog=Karvell Demo\r\ndat=2025-06-30\r\n' >"$demo/app/demo.lst"

export KV_BUILD_DIR="$build"
export WINEPREFIX="$demo/wineprefix"
source "$root/tests/wine/env.sh"
kv_wine_prefix
export LANG=de_DE.UTF-8

cd "$demo/app"
"$WINE" KVUpdate.exe QORIND QOFolio u demo.lst &
wine_pid=$!

if ! wait_for "xdotool search --onlyvisible --name Netrefresh" 30; then
  echo "demo: the wizard window did not appear" >&2
  exit 1
fi
sleep 1  # let the first paint finish
import -window root "$demo/welcome.png"

# The menu button lies at (10, 393) in the client area, 90 x 28 pixels.
window=$(xdotool search --onlyvisible --name Netrefresh | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 55)) $((Y + 407)) click 1
sleep 1
import -window root "$demo/menu.png"
xdotool key Escape
echo "demo: screenshots in $demo"
