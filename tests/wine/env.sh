# Sourced by the scripts that run Windows programs: one Wine prefix per build
# folder, made on first use, without Mono or Gecko.
export WINEDEBUG="${KV_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
: "${KV_BUILD_DIR:?KV_BUILD_DIR must name the win64 build folder}"
export WINEPREFIX="${WINEPREFIX:-$KV_BUILD_DIR/wineprefix}"
# KV_WINE names another wine64 loader: the private 32-bit Wine's (tests/wine/wine32.sh).
WINE="${KV_WINE:-/usr/lib/wine/wine64}"
WINESERVER="$(dirname "$WINE")/wineserver"

# Wine's own tools at times exit non-zero without a word (seen with reg,
# never twice in a row): try up to three times, and when all fail say which
# command it was and what it printed.
kv_wine_try() {
  local out
  for _ in 1 2 3; do
    if out="$("$WINE" "$@" 2>&1)"; then return 0; fi
    "$WINESERVER" -w || true
    sleep 1
  done
  printf 'wine %s: failed three times; last output:\n%s\n' "$*" "$out" >&2
  return 1
}

kv_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.kv-ready" ] || [ ! -f "$WINEPREFIX/.kv-headless" ]; then
    mkdir -p "$WINEPREFIX"
    # wineboot from two tests at once would corrupt the prefix.
    (
      flock 9
      if [ ! -f "$WINEPREFIX/.kv-ready" ]; then
        kv_wine_try wineboot -i
        "$WINESERVER" -w
        touch "$WINEPREFIX/.kv-ready"
      fi
      # The Windows tests make windows of their own but have no X display:
      # Wine's null display driver gives them a desktop.
      if [ ! -f "$WINEPREFIX/.kv-headless" ]; then
        kv_wine_try reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
        "$WINESERVER" -w
        touch "$WINEPREFIX/.kv-headless"
      fi
    ) 9>"$WINEPREFIX.lock"
  fi
}
