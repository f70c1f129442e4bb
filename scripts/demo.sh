#!/usr/bin/env bash
# Installs what is missing, builds, and renders a texture of the shipped preset
# library (the built-in default when it is missing) into morvessan-demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "${MORVESSAN_JOBS:-$(nproc)}" --target morvessan
build/native/cli/morvessan render morvessan-demo.png
echo "Wrote $(pwd)/morvessan-demo.png"
