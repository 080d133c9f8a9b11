#!/usr/bin/env bash
# Runs one Windows console program (a test executable) under wine64 (or $KV_WINE).
set -euo pipefail
KV_BUILD_DIR="$1"; shift
source "$(dirname "$0")/env.sh"
kv_wine_prefix
exec "$WINE" "$@"
