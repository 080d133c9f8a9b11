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

kv_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.kv-ready" ] || [ ! -f "$WINEPREFIX/.kv-headless" ]; then
    mkdir -p "$WINEPREFIX"
    # wineboot from two tests at once would corrupt the prefix.
    (
      flock 9
      if [ ! -f "$WINEPREFIX/.kv-ready" ]; then
        "$WINE" wineboot -i >/dev/null 2>&1
        "$WINESERVER" -w
        touch "$WINEPREFIX/.kv-ready"
      fi
      # The Windows tests make windows of their own but have no X display:
      # Wine's null display driver gives them a desktop.
      if [ ! -f "$WINEPREFIX/.kv-headless" ]; then
        "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        "$WINESERVER" -w
        touch "$WINEPREFIX/.kv-headless"
      fi
    ) 9>"$WINEPREFIX.lock"
  fi
}
