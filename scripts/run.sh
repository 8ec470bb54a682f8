#!/usr/bin/env bash
# Installs what is missing, builds kelvane.exe and starts it under Wine. On a
# desktop it runs on your display with its own Wine prefix, so its settings
# persist between runs. Without a display it starts on a virtual one, saves a
# screenshot to out/kelvane.png and quits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/x11-lib.sh
. "$root/scripts/x11-lib.sh"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" windows >/dev/null
exe="$root/build/windows/kelvane.exe"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-user}"
if [ ! -d "$WINEPREFIX" ]; then
  "$root/scripts/wine-copy-prefix.sh" "$("$root/scripts/wine-prefix.sh")" "$WINEPREFIX"
fi

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi

display=$("$root/scripts/xvfb-start.sh")
trap '"$root/scripts/xvfb-start.sh" --stop "$display"' EXIT
export DISPLAY="$display"
xsetroot -solid '#5B7087' 2>/dev/null || true
wine "$exe" &
main=$(wait_window '^ Kelvane$')
sleep 1  # let the first paint finish
mkdir -p "$root/out"
shoot "$main" "$root/out/kelvane.png"
echo "No display: Kelvane ran on a virtual one; see out/kelvane.png"
wineserver -k
