#!/usr/bin/env bash
# Installs the Debian packages the native build, its tests and benchmarks need,
# and nothing when they are all present already.
set -euo pipefail

packages=(
  cmake ninja-build g++ gcc clang lld libclang-rt-14-dev clang-format pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev libjpeg62-turbo-dev zlib1g-dev libexif-dev libdeflate-dev
  libnoise-dev # the benchmarks' peer
  dpkg-dev     # dpkg-shlibdeps, for the Debian package's dependencies
  python3-dev pybind11-dev python3-numpy python3-pytest # the Python module and its tests
  python3-pip python3-venv python3-setuptools           # pip install . and the install routes' tests
  libcpp-httplib-dev nlohmann-json3-dev                 # the studio's server and its requests
  chromium chromium-driver python3-selenium             # the studio's page tested in a browser
)
if [ "$#" -gt 0 ]; then
  packages+=("$@")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

. "$(dirname "$0")/apt-lists.sh"
echo "Installing: ${missing[*]}"
apt_refresh
apt_install "${missing[@]}"
