#!/usr/bin/env bash
# A short run of every libFuzzer target from its seed corpus in tests/fuzz/corpus/
# (the folder named as the target without "fuzz_"): builds the fuzz preset, runs
# each target for SECONDS (default 30) and prints its executions; fails on a finding.
# Usage: tests/fuzz/smoke.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds="${1:-30}"
build="$(realpath -m "${2:-build/fuzz}")"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j "${MORVESSAN_JOBS:-2}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
findings="$build/fuzz-findings"
mkdir -p "$findings"
status=0
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  seeds="$PWD/tests/fuzz/corpus/${name#fuzz_}"
  # New inputs go to a scratch folder; the seed corpus in the tree is only read.
  mkdir -p "$work/$name"
  args=("$work/$name")
  [ -d "$seeds" ] && args+=("$seeds")
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
       -artifact_prefix="$findings/$name-" "${args[@]}" >"$work/$name.log" 2>&1; then
    echo "$name: $(awk '/stat::number_of_executed_units/ {print $2}' "$work/$name.log") executions in ${seconds} s"
  else
    echo "$name: FAILED (the input is kept in $findings)"
    tail -n 40 "$work/$name.log"
    status=1
  fi
done
exit "$status"
