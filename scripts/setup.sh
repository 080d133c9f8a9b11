#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on a fresh Debian 12
# machine. Idempotent: installs only what is missing, updates the package
# lists at most once per run.
set -euo pipefail

packages=(
  cmake make g++ python3 file locales
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 xvfb x11-utils xdotool imagemagick fonts-liberation
  nginx-light php-cli tinyproxy curl
  openssl osslsigncode
  libcpp-httplib-dev
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes the user's country from LANG: the end-to-end runs use a German
# and an English locale.
for loc in de_DE.UTF-8 en_US.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qix "${loc/UTF-8/utf8}"; then
    sed -i "s/^# *\($loc UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$loc UTF-8" /etc/locale.gen || echo "$loc UTF-8" >>/etc/locale.gen
    need_locales=1
  fi
done
if [ -n "${need_locales:-}" ]; then
  echo "setup: generating locales"
  locale-gen >/dev/null
fi

# The packaged servers must not run as system services: the tests start
# their own instances on loopback. Only the services' own pids are stopped.
for svc in nginx tinyproxy; do
  if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet "$svc" 2>/dev/null; then
    systemctl stop "$svc" || true
    systemctl disable "$svc" >/dev/null 2>&1 || true
  fi
  for pidfile in "/run/$svc.pid" "/run/$svc/$svc.pid"; do
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null && [ -x "/etc/init.d/$svc" ]; then
      "/etc/init.d/$svc" stop >/dev/null 2>&1 || true
    fi
  done
done

# GoogleTest comes as sources.
if [ ! -f /usr/src/googletest/CMakeLists.txt ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq googletest >/dev/null
fi
