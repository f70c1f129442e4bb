#!/usr/bin/env bash
# Runs a command with a private virtual X display (Xvfb) for Wine's windows,
# and stops that display afterwards. Exit 77 (skipped) when Xvfb is missing.
# MORVESSAN_XVFB_SCREEN sets its size (WIDTHxHEIGHTxDEPTH) for large dialogs.
# The Wine prefix MORVESSAN_WINEPREFIX is emptied of programs before and after, so
# no program of an earlier run is still tied to a display that is gone.
set -euo pipefail
if ! command -v Xvfb >/dev/null; then
  echo "skipped: Xvfb is not installed (scripts/install-win64-deps.sh installs it)"
  exit 77
fi
number_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 "${MORVESSAN_XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb_pid=$!
end_wine() {
  if [ -n "${MORVESSAN_WINEPREFIX:-}" ] && [ -d "$MORVESSAN_WINEPREFIX" ]; then
    WINEPREFIX="$MORVESSAN_WINEPREFIX" wineserver -k 2>/dev/null || true
  fi
}
end_wine
trap 'end_wine; kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -f "$number_file"' EXIT
for _ in $(seq 1 100); do
  [ -s "$number_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$number_file" ] || { echo "with-xvfb: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$number_file")"
"$@"
