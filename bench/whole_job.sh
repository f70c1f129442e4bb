#!/bin/sh
# The whole job through the command line against the peer's (bench/peer): times,
# ratios and peak memory; the PNG levels' times and sizes; the render's paths (tile,
# evolving noise, blur, grain) beside the plain one; then render's peak memory at
# large sizes.
#
# usage: bench/whole_job.sh [BUILD_DIR] [--busy]
#   BUILD_DIR  a native build (default build/native) with morvessan and morvessan_peer_job
#   --busy     also 1 against 2 threads beside a loop that keeps one core busy
#
# Each figure is the median of 5 runs, ours and the peer's interleaved; memory is the
# largest resident size /usr/bin/time reports. The render is the default block
# (a --params file that does not exist yet) at 4096x4096.
set -eu

build=build/native
busy=no
for arg in "$@"; do
  case "$arg" in
    --busy) busy=yes ;;
    *) build=$arg ;;
  esac
done
ours="$build/cli/morvessan"
peer="$build/bench/morvessan_peer_job"
for program in "$ours" "$peer"; do
  [ -x "$program" ] || { echo "whole_job.sh: $program is missing (build the native preset with libnoise-dev)" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "whole_job.sh: /usr/bin/time is missing (Debian's time package)" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM

# measure NAME COMMAND...: appends "seconds cpu-seconds peak-kB" to $scratch/NAME; the
# time from the clock in nanoseconds (time's own is in hundredths, coarse for jobs
# of a fifth of a second).
measure() {
  name=$1
  shift
  rm -f "$scratch/block"
  started=$(date +%s%N)
  /usr/bin/time -f '%U %S %M' -o "$scratch/one" "$@" >/dev/null 2>&1 || {
    echo "whole_job.sh: failed: $*" >&2
    exit 1
  }
  ended=$(date +%s%N)
  awk -v ns=$((ended - started)) '{ printf "%.3f %.2f %s\n", ns / 1e9, $1 + $2, $3 }' "$scratch/one" >>"$scratch/$name"
}

runs=5

# median NAME FIELD: the median of the runs' FIELD (1 seconds, 2 cpu, 3 kB).
median() {
  cut -d' ' -f"$2" "$scratch/$1" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1fx", a / b; else print "-" }'
}

# speedup A B: A / B to two places, for figures near one another.
speedup() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "-" }'
}

mb() {
  awk -v k="$1" 'BEGIN { printf "%.0f MB", k / 1024 }'
}


echo "Whole job at 4096x4096, default block, median of 5 (peer: libnoise Perlin, 8 octaves)"
echo
echo "| output | threads | morvessan | peak memory | CPU time | peer | peer memory | x peer |"
echo "|---|---|---|---|---|---|---|---|"
for format in bmp png jpg; do
  for threads in 1 2; do
    for run in $(seq $runs); do
      measure "ours-$format-$threads" "$ours" render --quiet --threads "$threads" --size 4096x4096 \
        --params "$scratch/block" "$scratch/out.$format"
      measure "peer-$format-$threads" "$peer" 4096x4096 "$threads" "$scratch/peer.$format"
    done
    o=$(median "ours-$format-$threads" 1)
    p=$(median "peer-$format-$threads" 1)
    echo "| $format | $threads | $o s | $(mb "$(median "ours-$format-$threads" 3)") | $(median "ours-$format-$threads" 2) s |" \
      "$p s | $(mb "$(median "peer-$format-$threads" 3)") | $(ratio "$p" "$o") |"
  done
done

# The PNG levels on what `morvessan render --size 4096x4096 out.png` draws (the
# showcase; no --params): the bitmap job's CPU time is the render's, the rest of a
# PNG job's is the encoding.
echo
echo "PNG levels: render --size 4096x4096 out.png (the showcase), 1 thread, median of $runs"
echo
echo "| output | time | CPU time | CPU beyond the bitmap job | size |"
echo "|---|---|---|---|---|"
for level in bmp fast default small; do
  out="$scratch/show.png"
  options="--compression $level"
  [ "$level" = bmp ] && out="$scratch/show.bmp" options=""
  for run in $(seq $runs); do
    # shellcheck disable=SC2086
    measure "show-$level" "$ours" render --quiet --threads 1 --size 4096x4096 $options "$out"
  done
  size=$(wc -c <"$out")
  rm -f "$out"
  extra=$(awk -v a="$(median "show-$level" 2)" -v b="$(median show-bmp 2)" 'BEGIN { printf "%.2f s", a - b }')
  echo "| ${options:-bmp} | $(median "show-$level" 1) s | $(median "show-$level" 2) s | $extra |" \
    "$(awk -v b="$size" 'BEGIN { printf "%.2f MB", b / 1e6 }') |"
done

# The render's paths beside the plain one: the default block at 2048x2048 on one
# thread, written as a bitmap so that only the render differs; timings only.
echo
echo "The render's paths: default block, 2048x2048, 1 thread, bitmap, median of $runs"
echo
echo "| path | time | CPU time | x plain |"
echo "|---|---|---|---|"
for path in plain tileable evolve blur grain; do
  case "$path" in
    plain) options="" ;;
    tileable) options="--tileable" ;;
    evolve) options="--frames 2 --frame-range 1:1 --per-frame-evolve 0.5" ;;
    blur) options="--blur 10" ;;
    grain) options="--grain 20" ;;
  esac
  for run in $(seq $runs); do
    # shellcheck disable=SC2086
    measure "path-$path" "$ours" render --quiet --threads 1 --size 2048x2048 --params "$scratch/block" $options \
      "$scratch/path-%d.bmp"
  done
  rm -f "$scratch"/path-*.bmp
  echo "| $path | $(median "path-$path" 1) s | $(median "path-$path" 2) s |" \
    "$(speedup "$(median "path-$path" 2)" "$(median path-plain 2)") |"
done

# What two cores give this machine's jobs at best: two 1-thread jobs side by side
# against one alone (on a shared host the second core is often worth less than one).
echo
echo "The machine's own scaling: two 1-thread JPEG jobs side by side against one alone, median of $runs"
echo
for run in $(seq $runs); do
  measure alone "$ours" render --quiet --threads 1 --size 4096x4096 --params "$scratch/block" "$scratch/out.jpg"
  started=$(date +%s%N)
  "$ours" render --quiet --threads 1 --size 4096x4096 --params "$scratch/block-a" "$scratch/a.jpg" &
  first=$!
  "$ours" render --quiet --threads 1 --size 4096x4096 --params "$scratch/block-b" "$scratch/b.jpg"
  wait "$first"
  ended=$(date +%s%N)
  rm -f "$scratch/block-a" "$scratch/block-b"
  awk -v ns=$((ended - started)) 'BEGIN { printf "%.3f\n", ns / 1e9 }' >>"$scratch/together"
done
alone=$(median alone 1)
together=$(median together 1)
two=$(median ours-jpg-2 1)
one=$(median ours-jpg-1 1)
echo "| one alone | two side by side | ceiling for 2 threads | 2 threads above (jpg) |"
echo "|---|---|---|---|"
echo "| $alone s | $together s | $(speedup "$(awk -v a="$alone" 'BEGIN { print 2 * a }')" "$together") | $(speedup "$one" "$two") |"

echo
echo "Peak memory of render (2 threads)"
echo
echo "| size | bmp | png | jpg |"
echo "|---|---|---|---|"
# 65500 is the widest JPEG; past 32767 the filter works in 32-bit coordinates.
for size in 8192x8192 16384x16384 65500x4096; do
  line="| $size |"
  for format in bmp png jpg; do
    /usr/bin/time -f '%M' -o "$scratch/one" "$ours" render --quiet --threads 2 --size "$size" \
      --params "$scratch/block" "$scratch/big.$format" >/dev/null 2>&1
    rm -f "$scratch/block" "$scratch/big.$format"
    line="$line $(mb "$(cat "$scratch/one")") |"
  done
  echo "$line"
done

if [ "$busy" = yes ]; then
  echo
  echo "Beside a busy loop (one core kept busy), BMP at 4096x4096, median of 5"
  echo
  echo "| threads | time | CPU time |"
  echo "|---|---|---|"
  sh -c 'while :; do :; done' &
  loop=$!
  for run in $(seq $runs); do
    for threads in 1 2; do
      measure "busy-$threads" "$ours" render --quiet --threads "$threads" --size 4096x4096 \
        --params "$scratch/block" "$scratch/out.bmp"
    done
  done
  kill "$loop"
  for threads in 1 2; do
    echo "| $threads | $(median "busy-$threads" 1) s | $(median "busy-$threads" 2) s |"
  done
fi
