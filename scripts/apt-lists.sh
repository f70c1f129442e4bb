# Sourced by the install scripts: package-list refreshes and installs that go on
# when one mirror's index is mid-sync, and say which list failed only when a
# package is really missing.

apt_sudo=""
[ "$(id -u)" -ne 0 ] && apt_sudo="sudo"
apt_unrefreshed=""

# Refreshes the package lists, a few times over when some fail; never fatal, since
# the packages wanted may still be installable from the lists there are.
apt_refresh() {
  local attempt output
  for attempt in 1 2 3; do
    if output="$($apt_sudo apt-get update -qq 2>&1)"; then
      apt_unrefreshed=""
      return 0
    fi
    apt_unrefreshed="$(printf '%s\n' "$output" | grep -E '^(E|W|Err):' || printf '%s\n' "$output" | tail -n 3)"
    [ "$attempt" -lt 3 ] && sleep "$((attempt * ${MORVESSAN_APT_PAUSE:-5}))"
  done
  echo "Some package lists could not be refreshed; going on with the lists there are:" >&2
  printf '%s\n' "$apt_unrefreshed" | sed 's/^/  /' >&2
  return 0
}

# Installs packages; on failure names the lists that could not be refreshed. When a
# list was missing, the install is tried again after fresh refreshes, some minutes
# apart: a mirror's sync is over in minutes, and the packages of a foreign
# architecture may need the very list that was missing. Fails with
# apt_mirror_status when a list stayed missing, so that a caller can tell a
# mirror mid-sync from a package that does not exist; with 1 otherwise.
apt_mirror_status=75
apt_install() {
  local round
  for round in 1 2 3 4; do
    if DEBIAN_FRONTEND=noninteractive $apt_sudo apt-get install -y -qq --no-install-recommends "$@"; then
      return 0
    fi
    [ -n "$apt_unrefreshed" ] && [ "$round" -lt 4 ] || break
    echo "Trying again after refreshing the package lists (round $round of 3)" >&2
    sleep "$((round * 12 * ${MORVESSAN_APT_PAUSE:-5}))"
    apt_refresh
  done
  echo "Cannot install: $*" >&2
  if [ -n "$apt_unrefreshed" ]; then
    echo "These package lists could not be refreshed, which may be why:" >&2
    printf '%s\n' "$apt_unrefreshed" | sed 's/^/  /' >&2
    return "$apt_mirror_status"
  fi
  return 1
}
