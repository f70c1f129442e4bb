#!/usr/bin/env bash
# Makes the README's example pictures (docs/examples/) by running the very commands
# the README shows between its "examples" markers; --check compares instead of writing.
# usage: scripts/make-examples.sh [--check] [PROGRAM]   (default build/native/cli/morvessan)
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
if [ "${1:-}" = --check ]; then
  check=1
  shift
fi
program="$(realpath "${1:-build/native/cli/morvessan}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The indented command lines between the markers, continuation lines joined.
sed -n '/^<!-- examples -->$/,/^<!-- \/examples -->$/p' README.md |
  sed -n 's/^    //p' | sed -e ':a' -e '/\\$/N; s/\\\n *//; ta' >"$work/commands"
if [ ! -s "$work/commands" ]; then
  echo "make-examples: no commands between <!-- examples --> markers in README.md" >&2
  exit 1
fi
(
  cd "$work"
  while IFS= read -r line; do
    eval "\"\$program\" ${line#morvessan } --quiet"
  done <commands
)

status=0
for picture in docs/examples/*.jpg docs/examples/*.png; do
  name="$(basename "$picture")"
  if [ ! -f "$work/$name" ]; then
    echo "make-examples: the README's commands make no $name" >&2
    status=1
  elif [ "$check" = 1 ]; then
    if ! cmp -s "$work/$name" "$picture"; then
      echo "make-examples: $picture is not what the README's commands give" >&2
      status=1
    fi
  else
    cp "$work/$name" "$picture"
  fi
done
exit "$status"
