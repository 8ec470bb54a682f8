#!/usr/bin/env bash
# Runs the end-to-end test program under Wine with a key presser beside it,
# so that tests can ask for real key presses (xdotool) by writing a request
# file (see tests/e2e/key-presser.sh).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  DISPLAY=$("$root/scripts/xvfb-start.sh") || exit 1
  export DISPLAY
  trap '"$root/scripts/xvfb-start.sh" --stop "$DISPLAY"' EXIT
fi
requests=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-keys.XXXXXX")
# Wine's drive Z: is the Unix root.
export KELVANE_KEYS_REQUEST="Z:$(sed 's|/|\\|g' <<<"$requests")\\request"
bash "$root/tests/e2e/key-presser.sh" "$requests" &
presser=$!
"$root/scripts/wine-run.sh" "$@"
rc=$?
kill "$presser" 2>/dev/null
wait "$presser" 2>/dev/null
rm -rf "$requests"
exit $rc
