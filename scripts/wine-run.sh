#!/usr/bin/env bash
# Runs one Windows program under Wine in a throwaway copy of the template
# prefix and returns its exit code. Without a display it brings its own
# virtual one. KELVANE_KEEP_PREFIX=dir keeps the prefix at that path instead.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
template=$("$here/wine-prefix.sh") || exit 1

prefix="${KELVANE_KEEP_PREFIX:-}"
if [ -z "$prefix" ]; then
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-wine.XXXXXX")
  trap 'WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1; rm -rf "$prefix"' EXIT
fi
"$here/wine-copy-prefix.sh" "$template" "$prefix"

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c 'wine "$@"; rc=$?; wineserver -k >/dev/null 2>&1; exit $rc' wine "$@"
  rc=$?
else
  wine "$@"
  rc=$?
  wineserver -k >/dev/null 2>&1
fi
exit $rc
