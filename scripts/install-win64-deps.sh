#!/usr/bin/env bash
# Installs what the Windows build and its test run under Wine need, and nothing
# when it is all present already: mingw-w64 (posix threads), zlib for mingw,
# Wine, Xvfb, ImageMagick, GoogleTest sources, dpkg-dev for apt-get source, and
# the help compiler (fp-utils: chmcmd) with a reader for its test (libchm-bin).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  mingw-w64-tools mingw-w64-x86-64-dev libz-mingw-w64-dev \
  wine wine64 xvfb imagemagick googletest dpkg-dev fp-utils libchm-bin
