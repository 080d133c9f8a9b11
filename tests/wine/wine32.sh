#!/usr/bin/env bash
# Sets up a private 32-bit Wine in one folder, for the i686 build's tests:
# the i386 packages of Wine at the installed wine64 version are downloaded
# and unpacked (not installed) into a sysroot, and qemu's user-mode emulator
# runs the 32-bit loader. Nothing outside the folder changes: no package is
# installed, no architecture added, no binfmt handler registered.
#
#   tests/wine/wine32.sh DIR     sets DIR up unless it is ready; prints DIR/root/usr/lib/wine/wine64
#
# The 64-bit side is a copy of the machine's wine64 inside the sysroot: Wine
# starts its other loader by a name built from its own folder, so the 32-bit
# one must sit beside it. Idempotent; a failed set-up is tried again next time,
# and a new wine64 version sets it up anew.
set -euo pipefail
DIR="$(mkdir -p "$1" && cd "$1" && pwd)"
ROOT="$DIR/root"
READY="$DIR/.kv-ready"
LOADER="$ROOT/usr/lib/wine/wine64"

# What Wine loads at run time beside its declared dependencies (X, fonts,
# TLS, D-Bus, Kerberos); the declared closure comes from apt-cache.
RUNTIME_LIBRARIES=(libx11-6 libxext6 libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1
  libxxf86vm1 libxfixes3 libfreetype6 libfontconfig1 libgnutls30 libdbus-1-3 libkrb5-3 libgssapi-krb5-2)

fail() { echo "wine32: $*" >&2; exit 1; }

# The machine's own archives, for i386 too, and the backports suite of its
# release (qemu-user there runs Wine's 32-bit loader; the release's own does not).
private_apt() {
  local apt="$DIR/apt" codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  mkdir -p "$apt/sources" "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/prefs"
  : >"$apt/status"
  cp /etc/apt/sources.list.d/*.sources "$apt/sources/" 2>/dev/null ||
    fail "no deb822 sources in /etc/apt/sources.list.d"
  awk -v suite="$codename" -v RS= '
    $0 ~ "Suites:[^\n]*[ \t]" suite "([ \t]|\n|$)" {
      match($0, /URIs:[^\n]*/); uris = substr($0, RSTART, RLENGTH)
      keyring = ""; if (match($0, /Signed-By:[^\n]*/)) keyring = substr($0, RSTART, RLENGTH) "\n"
      match($0, /Components:[^\n]*/); components = substr($0, RSTART, RLENGTH)
      printf "Types: deb\n%s\nSuites: %s-backports\n%s\n%s\n", uris, suite, components, keyring
      exit
    }' "$apt"/sources/*.sources >"$apt/sources/backports.sources"
  [ -s "$apt/sources/backports.sources" ] || fail "no archive of the release $codename in the apt sources"
  cat >"$apt/apt.conf" <<EOF
APT::Architectures { "amd64"; "i386"; };
Dir::State::Lists "$apt/lists";
Dir::State::status "$apt/status";
Dir::Cache "$apt/cache";
Dir::Etc::SourceList "/dev/null";
Dir::Etc::SourceParts "$apt/sources";
Dir::Etc::Preferences "/dev/null";
Dir::Etc::PreferencesParts "$apt/prefs";
EOF
  export APT_CONFIG="$apt/apt.conf"
  apt-get update -qq >"$DIR/apt-update.log" 2>&1 || fail "apt-get update failed: $(tail -3 "$DIR/apt-update.log")"
}

# Every i386 package of the closure, by name.
closure() {
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
    --no-enhances "$@" | sed -n 's/^\([a-z0-9][^ <>]*\):i386$/\1/p' | sort -u
}

download() {
  local qemu
  qemu=$(apt-cache madison qemu-user | awk -F'|' '$3 ~ /backports/ {gsub(/ /, "", $2); print $2; exit}')
  [ -n "$qemu" ] || fail "no qemu-user in the backports suite"
  mkdir -p "$DIR/debs"
  local packages=()
  mapfile -t packages < <(closure "wine32:i386=$version" "libwine:i386=$version" "${RUNTIME_LIBRARIES[@]/%/:i386}")
  [ ${#packages[@]} -gt 20 ] || fail "the i386 closure of wine32 $version is too small: ${packages[*]}"
  (
    cd "$DIR/debs"
    apt-get download -qq "wine32:i386=$version" "libwine:i386=$version" "${packages[@]/%/:i386}" \
      "qemu-user=$qemu" >"$DIR/download.log" 2>&1
  ) || fail "apt-get download failed: $(tail -3 "$DIR/download.log")"
}

unpack() {
  rm -rf "$ROOT"
  mkdir -p "$ROOT"
  local deb
  for deb in "$DIR"/debs/*.deb; do dpkg-deb -x "$deb" "$ROOT"; done
  # The sysroot's own library cache: without it the i386 loader looks through the machine's.
  printf '%s\n' /lib/i386-linux-gnu /usr/lib/i386-linux-gnu >"$ROOT/etc/ld.so.conf"
  ldconfig -r "$ROOT"
}

# The 64-bit side beside the 32-bit one; the 32-bit loader behind a script
# that runs it under the emulator and names itself as the loader to start again.
assemble() {
  local wine_dir="$ROOT/usr/lib/wine"
  local part
  mkdir -p "$ROOT/usr/lib/x86_64-linux-gnu/wine"
  # Hard links where the folder shares the machine's file system: 650 MB less.
  for part in x86_64-unix x86_64-windows; do
    cp -al "/usr/lib/x86_64-linux-gnu/wine/$part" "$ROOT/usr/lib/x86_64-linux-gnu/wine/" 2>/dev/null ||
      cp -a "/usr/lib/x86_64-linux-gnu/wine/$part" "$ROOT/usr/lib/x86_64-linux-gnu/wine/"
  done
  cp -a /usr/lib/wine/wine64 /usr/lib/wine/wineserver "$wine_dir/"
  mv "$wine_dir/wine" "$wine_dir/wine.i386"
  cat >"$wine_dir/wine" <<EOF
#!/bin/sh
WINELOADERNOEXEC=1 exec "$ROOT/usr/bin/qemu-i386" -0 "\$0" -L "$ROOT" "$wine_dir/wine.i386" "\$@"
EOF
  chmod +x "$wine_dir/wine"
  # Wine's 32-bit DLLs import mingw's zlib1.dll, which Wine loads only as a
  # builtin: marked as libwine's installation script marks it (unpacking runs no script).
  local zlib=/usr/i686-w64-mingw32/lib/zlib1.dll
  { head -c 64 "$zlib"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$zlib"; } \
    >"$ROOT/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
}

# The set-up follows the machine's wine64: both sides must be one version.
version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null) || fail "wine64 is not installed"
if [ "$(cat "$READY" 2>/dev/null)" != "$version" ]; then
  [ -f /usr/i686-w64-mingw32/lib/zlib1.dll ] || fail "the i686 zlib1.dll (libz-mingw-w64) is missing"
  started=$SECONDS
  private_apt
  download
  unpack
  assemble
  "$ROOT/usr/bin/qemu-i386" --version >"$DIR/qemu-version" || fail "qemu-i386 does not run"
  rm -rf "$DIR/debs"
  echo "$version" >"$READY"
  # Counted after the machine's Wine, so that the hard links to it count there.
  size=$(du -sh /usr/lib/x86_64-linux-gnu/wine "$DIR" | tail -1 | cut -f1)
  echo "wine32: set up in $((SECONDS - started)) s, $size in $DIR" >&2
fi
echo "$LOADER"
