#!/usr/bin/env bash
# Starts or stops the loopback peers of the end-to-end runs: nginx as the
# update server (127.0.0.1:80, and over TLS on 127.0.0.1:443 for "localhost",
# with the report's CGI address handed on to PHP), PHP's built-in server as the
# report server (127.0.0.2:80), tinyproxy (127.0.0.3:8888) and an Xvfb display.
# Each one is stopped by its own pid; both commands may be repeated.
# "certificate NAME" makes the TLS server present the test certificate NAME
# (localhost or wrongname) from the next connection on.
set -euo pipefail
: "${KV_BUILD_DIR:?KV_BUILD_DIR must name the win64 build folder}"
KV_SOURCE_DIR="${KV_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}"
E2E="$KV_BUILD_DIR/e2e"
PEERS="$KV_SOURCE_DIR/tests/e2e/peers"

# A peer that has ended may linger as a zombie until its new parent reaps it.
running() { kill -0 "$1" 2>/dev/null && [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" != Z ]; }

alive() { [ -f "$E2E/$1.pid" ] && running "$(cat "$E2E/$1.pid")"; }

answers() { timeout 1 bash -c "exec 3<>/dev/tcp/$1/$2" 2>/dev/null; }

wait_port() {  # name host port
  local deadline=$((SECONDS + 20))
  until answers "$2" "$3"; do
    if ! alive "$1"; then echo "peers: $1 ended while starting; see $E2E/$1.log" >&2; return 1; fi
    if [ $SECONDS -ge $deadline ]; then echo "peers: $1 does not answer on $2:$3" >&2; return 1; fi
    sleep 0.2
  done
}

launch() {  # name host port command...
  local name="$1" host="$2" port="$3"; shift 3
  alive "$name" && return 0
  if answers "$host" "$port"; then
    echo "peers: $host:$port is taken by another program (another test run?)" >&2
    return 1
  fi
  "$@" >>"$E2E/$name.log" 2>&1 &
  echo $! >"$E2E/$name.pid"
}

configure() {  # template target
  sed -e "s|@E2E@|$E2E|g" -e "s|@SRC@|$KV_SOURCE_DIR|g" "$1" >"$2"
}

free_display() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then echo "$n"; return 0; fi
  done
  return 1
}

launch_display() {
  Xvfb "$1" -screen 0 1280x1024x24 -nolisten tcp -ac >>"$E2E/xvfb.log" 2>&1 &
  echo $! >"$E2E/xvfb.pid"
}

start_display() {
  alive xvfb && return 0
  local attempt n deadline
  for attempt in 1 2 3; do
    n=$(free_display)
    launch_display ":$n"
    deadline=$((SECONDS + 15))
    while alive xvfb && [ $SECONDS -lt $deadline ]; do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then echo ":$n" >"$E2E/display"; return 0; fi
      sleep 0.2
    done
    stop_one xvfb  # another run took the display first
  done
  echo "peers: no Xvfb display could be started" >&2
  return 1
}

# The tests' own authority, made by the win64 build (tests/pki/make_pki.sh).
PKI="$KV_BUILD_DIR/pki"

present_certificate() {  # name
  printf 'ssl_certificate %s/%s.pem;\nssl_certificate_key %s/%s.key;\n' "$PKI" "$1" "$PKI" "$1" \
    >"$E2E/tls-certificate.conf"
}

# nginx reads its configuration again on HUP; connections made from then on
# get the new certificate.
certificate() {  # name
  [ -f "$PKI/$1.pem" ] || { echo "peers: no test certificate $PKI/$1.pem" >&2; return 1; }
  present_certificate "$1"
  alive nginx || { echo "peers: nginx is not running" >&2; return 1; }
  kill -HUP "$(cat "$E2E/nginx.pid")"
}

start() {
  mkdir -p "$E2E/www" "$E2E/screens" "$E2E/nginx-tmp"
  touch "$E2E/reports.jsonl"
  [ -f "$PKI/localhost.pem" ] || { echo "peers: no test PKI in $PKI: build win64 first" >&2; return 1; }
  alive nginx || present_certificate localhost
  configure "$PEERS/nginx.conf.in" "$E2E/nginx.conf"
  configure "$PEERS/tinyproxy.conf.in" "$E2E/tinyproxy.conf"
  launch nginx 127.0.0.1 80 nginx -c "$E2E/nginx.conf" -p "$E2E"
  launch php 127.0.0.2 80 env KV_BUILD_DIR="$KV_BUILD_DIR" php -S 127.0.0.2:80 -t "$PEERS"
  launch tinyproxy 127.0.0.3 8888 tinyproxy -d -c "$E2E/tinyproxy.conf"
  wait_port nginx 127.0.0.1 80
  wait_port nginx 127.0.0.1 443
  wait_port php 127.0.0.2 80
  wait_port tinyproxy 127.0.0.3 8888
  start_display
  echo "peers: running (display $(cat "$E2E/display"))"
}

stop_one() {
  local name="$1" pid deadline
  [ -f "$E2E/$name.pid" ] || return 0
  pid=$(cat "$E2E/$name.pid")
  if running "$pid"; then
    kill "$pid" 2>/dev/null || true
    deadline=$((SECONDS + 10))
    while running "$pid" && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    running "$pid" && kill -9 "$pid" 2>/dev/null
  fi
  rm -f "$E2E/$name.pid"
}

stop() {
  local name
  for name in nginx php tinyproxy xvfb; do stop_one "$name"; done
  rm -f "$E2E/display"
  echo "peers: stopped"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  certificate) certificate "${2:?usage: $0 certificate NAME}" ;;
  *) echo "usage: $0 start|stop|certificate NAME" >&2; exit 2 ;;
esac
