#!/usr/bin/env bash
# Installs the built program into a scratch prefix, and unpacks its Debian package
# into a scratch root, then uses each as a user would. Usage: test_install.sh BUILD_DIR
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# A file list with checksums, to show that nothing under a prefix changed.
snapshot() { (cd "$1" && find . -type f -exec md5sum {} + | sort); }

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
export HOME="$scratch/home"
unset XDG_DATA_HOME MORVESSAN_PRESET_FOLDER MORVESSAN_TEXTURE_FOLDER
mkdir -p "$HOME"
program="$scratch/prefix/bin/morvessan"
share="$scratch/prefix/share"

# Shipped presets and texture pictures are found under share/.
"$program" presets list | grep -q "^Essentials " || fail "presets list does not show the shipped files"
"$program" render --size 32x24 --preset Bonfire "$scratch/fire.png" >/dev/null
"$program" render --size 32x24 "$scratch/showcase.png" | grep -q "preset '" ||
  fail "render without a preset does not take the library's showcase"
for file in "$share/man/man1/morvessan.1" "$share/bash-completion/completions/morvessan" \
  "$share/doc/morvessan/copyright"; do
  [ -s "$file" ] || fail "$file is not installed"
done
bash -n "$share/bash-completion/completions/morvessan" || fail "the completion script is not valid bash"

# The Python package goes where the interpreter reads it for the prefix (its
# site-packages here, as for ~/.local) and finds the presets installed beside it.
package="$(ls -d "$scratch"/prefix/lib/python3*/site-packages/morvessan 2>/dev/null || true)"
if [ -n "$package" ]; then
  for file in __init__.py __init__.pyi py.typed; do
    [ -f "$package/$file" ] || fail "the installed Python package lacks $file"
  done
  PYTHONPATH="$(dirname "$package")" /usr/bin/python3 -c \
    "import morvessan; assert morvessan.render(8, 6, preset='Bonfire').shape == (6, 8, 4)" ||
    fail "the installed Python module does not render a shipped preset"
fi

# The user's presets go to ~/.local/share/morvessan, created on the first write;
# a shipped file gets a copy there, and the installation is never written.
before="$(snapshot "$scratch/prefix")"
"$program" presets add --preset-file Mine --category Tests --name First >/dev/null
own="$HOME/.local/share/morvessan"
[ -f "$own/Mine.txt" ] || fail "a new preset file is not in $own"
"$program" presets add --preset-file Essentials --category Tests --name Second >/dev/null
grep -q "Preset 'Bonfire'" "$own/Essentials.txt" || fail "the user's copy of Essentials lost the shipped presets"
grep -q "Preset 'Second'" "$own/Essentials.txt" || fail "the user's copy of Essentials lacks the added preset"
[ "$before" = "$(snapshot "$scratch/prefix")" ] || fail "the installation was written into"
"$program" presets list | grep -q "^Mine " || fail "the user's file is not listed beside the shipped ones"
XDG_DATA_HOME="$scratch/data" "$program" presets add --preset-file Other --category C --name N >/dev/null
[ -f "$scratch/data/morvessan/Other.txt" ] || fail "XDG_DATA_HOME is not honoured"

# A moved prefix still finds its files.
mv "$scratch/prefix" "$scratch/moved"
"$scratch/moved/bin/morvessan" render --size 32x24 --preset Second "$scratch/second.png" >/dev/null ||
  fail "a moved installation does not find its presets"

# The Debian package holds the same, depends on what the program links, and runs unpacked.
cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >/dev/null
deb="$(ls "$scratch/package"/morvessan_*.deb)"
dpkg-deb -f "$deb" Depends | grep -q "libpng16-16" || fail "the package does not depend on libpng"
dpkg-deb -f "$deb" Depends | grep -q "libdeflate0" || fail "the package does not depend on libdeflate (the small PNG level)"
dpkg -x "$deb" "$scratch/root"
root="$scratch/root/usr"
[ -s "$root/share/man/man1/morvessan.1" ] || fail "the package lacks the manual page"
[ -s "$root/share/bash-completion/completions/morvessan" ] || fail "the package lacks the completion"
"$root/bin/morvessan" render --size 32x24 --preset Bonfire "$scratch/packaged.png" >/dev/null
cmp -s "$scratch/fire.png" "$scratch/packaged.png" || fail "the packaged program draws another picture"
if [ -n "$package" ]; then
  # Under /usr the package goes to Debian's dist-packages, which its Python reads.
  ls -d "$root"/lib/python3*/dist-packages/morvessan >/dev/null 2>&1 || fail "the Debian package lacks the Python package"
fi
echo "install and package: all checks passed"
