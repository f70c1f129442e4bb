#!/usr/bin/env bash
# Unpacks a Windows command-line package and uses it under Wine as a user would:
# the presets and texture pictures beside morvessan.exe are found.
# Usage: test_windows_package.sh PACKAGE.zip WINE_RUN
set -euo pipefail
package="$(realpath "$1")" wine_run="$(realpath "$2")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
(cd "$scratch" && cmake -E tar xf "$package")
program="$(ls "$scratch"/*/morvessan.exe)"
folder="$(dirname "$program")"
for file in README.txt LICENSE.txt THIRD-PARTY-LICENCES.txt "Morvessan Presets/Essentials.txt" "Morvessan Textures/Canvas.png"; do
  [ -s "$folder/$file" ] || fail "$(basename "$package") lacks $file"
done
(cd "$scratch" && "$wine_run" "$program" presets list) | grep -q "^Essentials " ||
  fail "the packaged program does not list its presets"
(cd "$scratch" && "$wine_run" "$program" render --quiet --size 32x24 --preset Bonfire fire.png) ||
  fail "the packaged program cannot render a shipped preset"
[ -s "$scratch/fire.png" ] || fail "the packaged program wrote no picture"
echo "$(basename "$package"): the command line runs from the unpacked package"
