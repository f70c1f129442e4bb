#!/usr/bin/env bash
# The Python package installed the three ways the README gives, each then used
# from another folder: cmake --install into a prefix that Debian's Python reads as
# its user site (~/.local), cmake --install into a virtual environment, and
# "pip install ." into another one (offline, reusing the build's configuration).
# Usage: test_python_routes.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source="$1" build="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
check='import morvessan, os
assert morvessan.render(8, 6, preset="Bonfire").shape == (6, 8, 4)
assert os.path.exists(os.path.join(os.path.dirname(morvessan.__file__), "py.typed"))
print(morvessan.__file__)'
cd "$scratch"

# ~/.local for Debian's Python: its user site is PYTHONUSERBASE/lib/python3.X/site-packages.
cmake --install "$build" --prefix "$scratch/user" >/dev/null
found="$(PYTHONUSERBASE="$scratch/user" /usr/bin/python3 -c "$check")" || fail "the user-site install is not importable"
case "$found" in "$scratch/user/"*) ;; *) fail "Python imported $found, not the user-site install" ;; esac

# A virtual environment (NumPy from Debian's site-packages).
/usr/bin/python3 -m venv --system-site-packages "$scratch/venv"
cmake --install "$build" --prefix "$scratch/venv" >/dev/null
found="$("$scratch/venv/bin/python" -c "$check")" || fail "the install into a virtual environment is not importable"
case "$found" in "$scratch/venv/"*) ;; *) fail "the virtual environment imported $found" ;; esac

# pip install . into another, offline, with Debian's setuptools.
/usr/bin/python3 -m venv --system-site-packages "$scratch/pip"
MORVESSAN_BUILD_DIR="$build" "$scratch/pip/bin/pip" install --quiet --no-build-isolation --no-deps --no-index \
  "$source" >"$scratch/pip.log" 2>&1 || { cat "$scratch/pip.log" >&2; fail "pip install . failed"; }
found="$("$scratch/pip/bin/python" -c "$check")" || fail "the pip install is not importable"
case "$found" in "$scratch/pip/"*) ;; *) fail "the pip environment imported $found" ;; esac
# pip's build leaves no files in the source tree.
[ ! -e "$source/morvessan.egg-info" ] || fail "pip left morvessan.egg-info in the source tree"
echo "python install routes: all checks passed"
