#!/usr/bin/env bash
# Runs a Windows program under Wine at a given screen DPI: sets the prefix's
# LogPixels first (Wine reads it when its first program starts), then runs it.
# Usage: with-dpi.sh DPI WINE-RUN PROGRAM [ARGS...]
set -euo pipefail
dpi="$1"
wine_run="$2"
shift 2
mkdir -p "${MORVESSAN_CAPTURE_DIR:-.}"
"$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
WINEPREFIX="$MORVESSAN_WINEPREFIX" wineserver -w 2>/dev/null || true
# The programs see the folder through Wine's Z: drive, which maps the root.
captures="$(cd "${MORVESSAN_CAPTURE_DIR:-.}" && pwd)"
export MORVESSAN_CAPTURE_DIR="Z:${captures//\//\\}"
exec "$wine_run" "$@"
