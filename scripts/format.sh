#!/usr/bin/env bash
# Formats every C and C++ source of the repository with clang-format and the
# project's .clang-format; with --check it changes nothing and fails on a difference.
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format="${CLANG_FORMAT:-clang-format}"
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = "--check" ]; then
  if ! "$clang_format" --dry-run --Werror "${files[@]}"; then
    echo "format: some files differ from .clang-format; run scripts/format.sh" >&2
    exit 1
  fi
  echo "format: ${#files[@]} files follow .clang-format"
else
  "$clang_format" -i "${files[@]}"
fi
