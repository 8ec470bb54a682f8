#!/usr/bin/env bash
# The program driven as the README's pictures are taken: every window opens
# from the keyboard or the tray with the pointer elsewhere, and each picture
# shows a painted window (not a black or an empty box). The options dialog
# opened by its mnemonic with the pointer away once never painted.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
shots=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-shots-test.XXXXXX")
trap 'rm -rf "$shots"' EXIT
if ! KELVANE_SHOTS="$shots" "$root/scripts/screenshots.sh" >"$shots/log" 2>&1; then
  echo "FAIL: the screenshots run ended early:"
  tail -n 5 "$shots/log"
  exit 1
fi
failed=0
for picture in main-window options prompt about tray-menu when; do
  file="$shots/$picture.png"
  if [ ! -s "$file" ]; then
    echo "FAIL: no $picture.png"
    failed=1
    continue
  fi
  # A painted window has light areas and dark text; an unpainted one is
  # one colour.
  spread=$(convert "$file" -colorspace Gray -format '%[fx:maxima-minima]' info:)
  if awk -v s="$spread" 'BEGIN { exit !(s < 0.3) }'; then
    echo "FAIL: $picture.png is one colour (spread $spread)"
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "PASS: every window was painted"
exit "$failed"
