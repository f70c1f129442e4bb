#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: native, then the same
# suite under the address and undefined-behaviour sanitizers, the renderer's,
# the plug-in's and the hostile hosts' tests under the thread sanitizer (the
# native-tsan preset builds only those programs and runs only their tests), then the 64-bit
# and 32-bit Windows builds (mingw-w64) with their test programs run under
# Wine, a short run of every fuzz target from its seeds, and both release
# packages. Sources must follow .clang-format (scripts/format.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# The win64 packages first: a package of the i386 architecture that cannot be had
# while a mirror's package list is mid-sync (install status 75) stops the 32-bit
# Windows tests only. Everything else still runs, and the end of the run says
# loudly what did not; MORVESSAN_REQUIRE_ALL=1 makes that a failure. A package
# missing for any other reason fails the run at once.
scripts/install-win64-deps.sh
presets=(native native-asan native-tsan win64 win32)
missing_win32=""
win32_status=0
scripts/install-win32-deps.sh || win32_status=$?
case "$win32_status" in
  0) ;;
  75)
    missing_win32="the 32-bit Windows packages could not be installed while a Debian package list was mid-sync (see above)"
    presets=(native native-asan native-tsan win64)
    echo "== win32: not run: $missing_win32"
    ;;
  *) exit "$win32_status" ;;
esac
jobs="${MORVESSAN_JOBS:-$(nproc)}"

echo "== format"
scripts/format.sh --check

passed=0
skipped=0
for preset in "${presets[@]}"; do
  echo "== $preset"
  started=$SECONDS
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  built=$SECONDS
  echo "== $preset: built in $((built - started)) s"
  log="build/$preset/ctest-output.txt"
  # Under Wine a program now and then fails to start at all (no output, no status
  # of its own); such a test gets one more run. Native tests get none.
  # Wine's tests wait more than they compute, and now and then one stalls in Wine
  # for minutes, holding its slot: they run one more at a time than there are cores.
  again=()
  parallel="$jobs"
  case "$preset" in win*) again=(--repeat until-pass:2) parallel=$((jobs + 1)) ;; esac
  ctest --preset "$preset" -j "$parallel" "${again[@]}" | tee "$log"
  count="$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log" | tail -n 1)"
  skips="$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log" || true)"
  passed=$((passed + ${count:-0} - skips))
  skipped=$((skipped + skips))
  echo "== $preset: tested in $((SECONDS - built)) s (built and tested in $((SECONDS - started)) s)"
done

echo "== fuzz targets"
started=$SECONDS
MORVESSAN_JOBS="$jobs" tests/fuzz/smoke.sh 10
echo "== fuzz targets: built and run in $((SECONDS - started)) s"

for preset in "${presets[@]}"; do
  case "$preset" in win*) ;; *) continue ;; esac
  echo "== $preset release package"
  started=$SECONDS
  cmake --build --preset "$preset" --target package-release
  tests/install/test_windows_package.sh "$(ls build/"$preset"/Morvessan-CLI-*-"$preset".zip)" "build/$preset/wine-run"
  echo "== $preset release package: built in $((SECONDS - started)) s"
done

# A failing test has stopped the script already, so none failed if it gets here.
echo "Tests: $passed passed, 0 failed, $skipped skipped"
if [ -n "$missing_win32" ]; then
  echo "NOT COMPLETE: the 32-bit Windows tests did not run: $missing_win32" >&2
  echo "Run scripts/test.sh again once the mirror has synced." >&2
  if [ "${MORVESSAN_REQUIRE_ALL:-0}" = 1 ]; then exit 1; fi
fi
