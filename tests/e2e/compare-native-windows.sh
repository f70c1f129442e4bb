#!/usr/bin/env bash
# Applies the same parameter blocks to the same pictures with the native
# command line and with morvessan.exe --module XMorvessan.8bf under Wine (64-bit
# or 32-bit build), and requires byte-identical output files and written-back blocks.
# Usage: compare-native-windows.sh win64|win32 NATIVE_BUILD MORVESSAN_EXE MODULE WINE_RUN TEXTURES PRESETS WORK
set -euo pipefail
trap 'echo "FAILED: line $LINENO: $BASH_COMMAND (status $?)"' ERR
arch="$1" native_build="$2" exe="$3" module="$4" wine_run="$5" textures="$6" presets="$7" work="$8"

native="$native_build/cli/morvessan"
inputs_tool="$native_build/tests/e2e/make_e2e_inputs"
if [ ! -x "$native" ] || [ ! -x "$inputs_tool" ]; then
  echo "skipped: the native build ($native_build) has no morvessan or make_e2e_inputs; build the native preset first"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work/in" "$work/native" "$work/$arch"
# The wood block applies a texture picture, named relative to the working folder.
cp "$textures/Canvas.png" "$work/in/Canvas.png"
"$inputs_tool" "$work/in" "in/Canvas.png"

# The module finds its folders beside itself: a copy of it here gets the same
# presets and pictures as the native program, as an installed module would.
module_dir="$work/module"
mkdir -p "$module_dir"
cp "$module" "$module_dir/"
module="$module_dir/$(basename "$module")"
mkdir -p "$module_dir/Morvessan Textures" "$module_dir/Morvessan Presets"
cp "$textures"/*.png "$module_dir/Morvessan Textures/"
if [ -d "$presets" ]; then
  cp "$presets"/* "$module_dir/Morvessan Presets/"
fi

# Runs morvessan.exe with the module under Wine in the work folder. A run that fails
# without a word and without writing OUTPUT is Wine failing to start the program
# (seen very rarely): said, and tried once more, with BLOCK (when given) copied back
# first. Our program always explains its own failures on stderr.
under_wine() { # NAME OUTPUT BLOCK ARGUMENTS...
  local name="$1" output="$2" block="$3" attempt rc
  shift 3
  for attempt in 1 2; do
    rc=0
    (cd "$work" && "$wine_run" "$exe" --module "$module" "$@") 2>"$work/$arch/$name.err" || rc=$?
    [ "$rc" -eq 0 ] && return 0
    cat "$work/$arch/$name.err" >&2
    if [ "$attempt" -eq 2 ] || [ -s "$work/$arch/$name.err" ] || [ -e "$work/$output" ]; then
      echo "FAILED: $name: morvessan.exe under Wine exited with status $rc"
      exit 1
    fi
    echo "note: $name: Wine exited with status $rc before the program said anything; running it again"
    [ -z "$block" ] || cp "$work/in/$block" "$work/$arch/$name.bin"
  done
}

# name, block, input, extra options
cases=(
  "cloud-rgb|cloud.bin|rgb.png|"
  "fire-rgb|fire.bin|rgb.png|"
  "marble-selection|marble.bin|rgb.png|--mask IN/mask.png"
  "wood-four-planes|wood.bin|rgba.png|"
  "cloud-overwrite-rgba|cloud-overwrite.bin|rgba.png|"
  "fire-rect|fire.bin|rgba.png|--rect 17,9,150,120"
  "marble-jpeg|marble.bin|photo.jpg|"
  "marble-steps|marble.bin|rgb.png|--set transformation=1e12,0,0,0,1e12,0,0,0,1 --zoom 0.001 --rotate 33 --scale 1.7,0.4 --move 3.5,-2"
)
status=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name block input extra <<<"$entry"
  for side in native "$arch"; do
    cp "$work/in/$block" "$work/$side/$name.bin"
  done
  # shellcheck disable=SC2086
  (cd "$work" && "$native" apply --quiet --params "native/$name.bin" ${extra//IN/in} "in/$input" "native/$name.png")
  # shellcheck disable=SC2086
  under_wine "$name" "$arch/$name.png" "$block" apply --quiet --params "$arch/$name.bin" ${extra//IN/in} \
    "in/$input" "$arch/$name.png"
  for file in "$name.png" "$name.bin"; do
    if ! cmp -s "$work/native/$file" "$work/$arch/$file"; then
      echo "DIFFERENT: $file (native and $arch module under Wine)"
      status=1
    fi
  done
  [ "$status" -eq 0 ] && echo "same: $name"
done
# Renders in a pattern space: a tile, and a frame of a tiled, evolving loop; and
# grain over several PNG strips at each compression level (zlib's strategies chosen
# strip by strip, libdeflate's strips joined).
renders=(
  "tile-marble|--size 96x64 --type marble --seed 9 --rotate 20 --zoom 1.7 --tileable|tile-marble.png"
  "loop-cloud|--size 96x64 --type cloud --tileable --loop 6 --per-frame-evolve 0.4 --frame-range 3:3|loop-cloud-%d.png"
  "level-fast|--size 700x1100 --type fire --seed 3 --grain 15 --compression fast|level-fast.png"
  "level-default|--size 700x1100 --type fire --seed 3 --grain 15 --compression default|level-default.png"
  "level-small|--size 700x1100 --type fire --seed 3 --grain 15 --compression small|level-small.png"
)
for entry in "${renders[@]}"; do
  IFS='|' read -r name options output <<<"$entry"
  # shellcheck disable=SC2086
  (cd "$work" && "$native" render --quiet $options "native/$output")
  file="${output//%d/3}"
  # shellcheck disable=SC2086
  under_wine "$name" "$arch/$file" "" render --quiet $options "$arch/$output"
  if ! cmp -s "$work/native/$file" "$work/$arch/$file"; then
    echo "DIFFERENT: $file (native and $arch module under Wine)"
    status=1
  fi
  [ "$status" -eq 0 ] && echo "same: $name"
done
# Every case rendered something of its own (a run that did nothing would pass the comparison).
if [ "$(cat "$work"/native/*.png | wc -c)" -eq 0 ] ||
   [ "$(md5sum "$work"/native/*.png | cut -d' ' -f1 | sort -u | wc -l)" -ne "$((${#cases[@]} + ${#renders[@]}))" ]; then
  echo "SAME PICTURE: two cases gave the same output"
  status=1
fi
exit "$status"
