#!/usr/bin/env bash
# Installs what the 32-bit Windows build and its run under Wine need beyond the
# 64-bit one, and nothing when it is all present: i686 mingw-w64 and wine32.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-win64-deps.sh

. scripts/apt-lists.sh
# wine32 is an i386 package: the machine must accept that architecture first.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture for wine32"
  $apt_sudo dpkg --add-architecture i386
  apt_refresh
fi

scripts/install-deps.sh \
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev \
  wine32:i386
