#!/usr/bin/env bash
# Installs what is missing, builds, and renders the built-in default texture
# into morvessan-demo.png with the command-line host.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "${MORVESSAN_JOBS:-$(nproc)}" --target morvessan
build/native/host/morvessan render morvessan-demo.png
echo "Wrote $(pwd)/morvessan-demo.png"
