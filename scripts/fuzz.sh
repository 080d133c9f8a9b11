#!/usr/bin/env bash
# Builds the libFuzzer targets with clang-14 (ASan + UBSan), runs each for at
# least a million executions on its kept corpus, merges new coverage back into
# the corpus and prints a table. A crash leaves its input in
# tests/fuzz/crashers/<target>/ and makes the run fail.
set -uo pipefail
cd "$(dirname "$0")/.."
RUNS="${KV_FUZZ_RUNS:-1000000}"
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j"${JOBS:-2}" >/dev/null || exit 1
bin=build/fuzz/tests/fuzz
work=build/fuzz/work
status=0
rows=()
for exe in "$bin"/fuzz_*; do
  target=${exe##*/fuzz_}
  corpus=tests/fuzz/corpus/$target
  crashers=tests/fuzz/crashers/$target
  mkdir -p "$corpus" "$crashers" "$work/$target"
  rm -rf "$work/$target"/*
  start=$(date +%s.%N)
  "$exe" -runs="$RUNS" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$crashers/" \
    "$work/$target" "$corpus" >"$work/$target.log" 2>&1
  rc=$?
  secs=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
  execs=$(grep -o 'Done [0-9]* runs' "$work/$target.log" | grep -o '[0-9]*' || echo 0)
  # Keep only inputs that add coverage.
  mkdir -p "$work/$target.min"
  "$exe" -merge=1 "$work/$target.min" "$corpus" "$work/$target" >/dev/null 2>&1
  rm -rf "${corpus:?}"/* && cp "$work/$target.min"/* "$corpus"/ 2>/dev/null
  rm -rf "$work/$target.min"
  result=ok
  if [ $rc -ne 0 ]; then result="FINDING (see $crashers, $work/$target.log)"; status=1; fi
  rows+=("$(printf '%-14s %10s %8.1f %8s  %s' "$target" "${execs:-0}" "$secs" "$(ls "$corpus" | wc -l)" "$result")")
done
printf '%-14s %10s %8s %8s  %s\n' target executions seconds corpus result
printf '%s\n' "${rows[@]}"
exit $status
