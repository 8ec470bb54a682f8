#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that Windows would look for in
# the program's own folder first: anything but the KnownDLLs, which Windows
# always takes from the system folder, and comctl32, which the manifest binds
# to its side-by-side copy. Any other system DLL is loaded from the system
# folder at first use (base/system_library_win32.h).
#
#   check-imports.sh FILE.exe...
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: check-imports.sh FILE.exe..." >&2; exit 2; }
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v objdump) || { echo "no objdump" >&2; exit 2; }

# KnownDLLs common to Windows 7 and every later version, and comctl32.
allowed=(advapi32 clbcatq comdlg32 gdi32 imagehlp imm32 kernel32 msctf msvcrt normaliz nsi ole32 oleaut32
         psapi rpcrt4 sechost setupapi shell32 shlwapi user32 wldap32 ws2_32 comctl32)

bad=0
for file in "$@"; do
  imports=$("$objdump" -p "$file" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sed 's/\.dll$//' | sort -u)
  [ -n "$imports" ] || { echo "$file: no import table found"; bad=1; continue; }
  for name in $imports; do
    if [[ " ${allowed[*]} " != *" $name "* ]]; then
      echo "$file imports $name.dll, which Windows would look for beside the program first"
      bad=1
    fi
  done
done
[ "$bad" -eq 0 ] && echo "imports: only KnownDLLs and comctl32 in $*"
exit "$bad"
