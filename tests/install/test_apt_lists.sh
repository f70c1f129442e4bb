#!/usr/bin/env bash
# The install script against an apt-get whose list refresh fails in part, as when
# one mirror's index is mid-sync: it goes on and installs, and names the failed
# list only when a package really cannot be installed.
set -uo pipefail
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failed=0
check() { # description, condition...
  local what="$1"
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failed=1; fi
}

# A fake apt-get (and sudo, for runs as a user) ahead of the real ones on PATH.
mkdir -p "$scratch/bin"
cat >"$scratch/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "$*" >>"$FAKE_LOG"
case "$1" in
  update)
    [ "${FAKE_UPDATE:-fail}" = ok ] && exit 0
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/by-hash/SHA256/0123  File has unexpected size (2432 != 2408). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
  install) [ "${FAKE_INSTALL:-ok}" = ok ] ;;
esac
FAKE
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$scratch/bin/sudo"
chmod +x "$scratch/bin/apt-get" "$scratch/bin/sudo"
run() {
  FAKE_LOG="$scratch/log" MORVESSAN_APT_PAUSE=0 PATH="$scratch/bin:$PATH" \
    bash "$source_dir/scripts/install-deps.sh" morvessan-no-such-package >"$scratch/out" 2>&1
}

: >"$scratch/log"
run
status=$?
check "a partly failed refresh does not stop an install that works" [ "$status" -eq 0 ]
check "the refresh is tried three times" [ "$(grep -c '^update' "$scratch/log")" -eq 3 ]
check "the missing package is installed" grep -q '^install .*morvessan-no-such-package' "$scratch/log"
check "the user is told the lists are partly old" grep -q 'Some package lists could not be refreshed' "$scratch/out"

: >"$scratch/log"
FAKE_INSTALL=fail run
status=$?
check "an install that fails while a list is missing says the mirror may be why" [ "$status" -eq 75 ]
check "it names the package" grep -q 'Cannot install: .*morvessan-no-such-package' "$scratch/out"
check "it names the list that could not be fetched" grep -q 'binary-i386/by-hash.*unexpected size' "$scratch/out"
check "the install is tried again after fresh refreshes" [ "$(grep -c '^install' "$scratch/log")" -eq 4 ]
# With every list refreshed, a package that cannot be installed is a plain failure.
: >"$scratch/log"
FAKE_UPDATE=ok FAKE_INSTALL=fail run
status=$?
check "an install that fails with fresh lists fails plainly" [ "$status" -eq 1 ]
check "it is not tried again" [ "$(grep -c '^install' "$scratch/log")" -eq 1 ]
exit "$failed"
