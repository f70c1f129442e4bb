#!/usr/bin/env bash
# Builds the Windows release packages, two per architecture:
# build/win64/Morvessan-<version>-win64.zip and build/win32/Morvessan-<version>-win32.zip,
# each with XMorvessan.8bf, its help, "Morvessan Presets", "Morvessan Textures",
# install note and licence; and build/win64/Morvessan-CLI-<version>-win64.zip (and
# win32) with morvessan.exe, the same folders, README and licence.
# Usage: scripts/package-windows.sh [win64|win32]...
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ "${#presets[@]}" -gt 0 ] || presets=(win64 win32)
scripts/install-deps.sh
scripts/install-win32-deps.sh
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "${MORVESSAN_JOBS:-$(nproc)}" --target package-release
done
