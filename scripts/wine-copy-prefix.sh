#!/usr/bin/env bash
# Copies a Wine prefix cheaply: the large folder of system libraries, which
# Wine never writes to, is hard-linked; everything else is copied.
set -euo pipefail
from="$1"
to="$2"
mkdir -p "$to"
tar -C "$from" --exclude=./drive_c/windows/system32 --exclude=./.kelvane-template -cf - . | tar -C "$to" -xf -
if [ -d "$from/drive_c/windows/system32" ]; then
  cp -al "$from/drive_c/windows/system32" "$to/drive_c/windows/system32"
fi
