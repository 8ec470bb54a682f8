#!/usr/bin/env bash
# Makes the template Wine prefix once (64-bit, no window manager needed) and
# prints its path. Test runs copy it rather than booting Wine each time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
template="${KELVANE_WINE_TEMPLATE:-$root/build/wine-template}"
stamp="$template/.kelvane-template"
wanted="$(wine --version 2>/dev/null || echo none)"

mkdir -p "$(dirname "$template")"
exec 9>"$template.lock"
flock 9
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$wanted" ]; then
  rm -rf "$template"
  export WINEPREFIX="$template" WINEARCH=win64 WINEDEBUG=-all
  # No Mono or Gecko downloads and no desktop menu entries for test prefixes.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  wineboot -i >/dev/null 2>&1
  # Without a window manager, Wine waits 2 s for each hidden foreign window
  # unless its windows are unmanaged.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
  wineserver -w
  echo "$wanted" >"$stamp"
fi
echo "$template"
