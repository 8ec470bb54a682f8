# Sourced by the tests of the release files, with the test's name and its
# argument, the build folder:
#
#   . "$(dirname "$0")/support/release_checks.sh" NAME "$@"
#
# Sets `build`, `root` (the checkout) and `work`, a throwaway folder removed
# at the exit; `check` counts what fails and `report` ends the test with it.
# shellcheck shell=bash disable=SC2034
build=$(cd "${2:?usage: $1_test.sh BUILD_DIR}" && pwd) || exit 1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-$1.XXXXXX")
trap 'rm -rf "$work"' EXIT
test_name=$1

failures=0
check() {
  local what="$1"
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
die() { echo "FAILED: $*"; exit 1; }
same_file() { cmp -s "$1" "$2"; }

report() {
  echo
  if [ "$failures" -eq 0 ]; then
    echo "$test_name test: all checks passed"
  else
    echo "$test_name test: $failures failed"
  fi
  [ "$failures" -eq 0 ]
}
