#!/usr/bin/env bash
# Checks Windows programs and libraries of the build with objdump: every
# imported library is a Windows system library, and with --exports NAMES the
# export table holds exactly those names.
# Usage: check-pe.sh OBJDUMP [--exports "NAME..."] FILE...
set -euo pipefail
objdump="$1"; shift
exports=""
if [ "${1:-}" = "--exports" ]; then exports="$2"; shift 2; fi
[ "$#" -gt 0 ] || { echo "check-pe: no files given" >&2; exit 2; }

# Libraries every Windows installation has; the C run-time is the system's msvcrt.
system_libraries=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll winmm.dll ws2_32.dll version.dll msimg32.dll "
status=0
for file in "$@"; do
  before="$status"
  dump="$("$objdump" -p "$file")" || { echo "check-pe: $file: objdump failed" >&2; status=1; continue; }
  imports="$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)"
  [ -n "$imports" ] || { echo "check-pe: $file: no import table" >&2; status=1; }
  for library in $imports; do
    case "$system_libraries" in
      *" $library "*) ;;
      *) case "$library" in api-ms-win-*) ;; *) echo "check-pe: $file imports $library, not a Windows system library" >&2; status=1 ;; esac ;;
    esac
  done
  if [ -n "$exports" ]; then
    found="$(printf '%s\n' "$dump" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')"
    wanted="$(printf '%s\n' $exports | sort | tr '\n' ' ')"
    if [ "$found" != "$wanted" ]; then
      echo "check-pe: $file exports '${found% }', expected '${wanted% }'" >&2; status=1
    fi
  fi
  [ "$status" -eq "$before" ] && echo "check-pe: $file: imports ${imports//$'\n'/ }${exports:+; exports $exports}"
done
exit "$status"
