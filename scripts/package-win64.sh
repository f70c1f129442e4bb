#!/usr/bin/env bash
# Builds the Windows release package build/win64/Morvessan-<version>-win64.zip:
# XMorvessan.8bf, "Morvessan Presets", "Morvessan Textures", install note, licence.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/install-win64-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "${MORVESSAN_JOBS:-$(nproc)}" --target package-release
