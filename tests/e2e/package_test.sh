#!/usr/bin/env bash
# scripts/package.sh as a developer types it: the build and the output folder
# given relative to the folder it is started in. The packages are made from a
# stand-in build, since packaging only copies and wraps the build's files.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/build/generated"
for file in kelvane.exe kelvane.debug kelvane-setup-actions.dll generated/kelvane.ico; do
  head -c 4096 /dev/urandom >"$work/build/$file"
done
echo '#define KELVANE_VERSION_TEXT "1.2.3"' >"$work/build/generated/version.h"

cd "$work" || exit 1
output=$("$root/scripts/package.sh" --build build --out dist 2>&1)
rc=$?
failed=0
if [ "$rc" -ne 0 ]; then
  echo "FAIL: package.sh --build build --out dist ended with $rc:"
  echo "$output" | grep -v -e CRITICAL -e "^$" | head -20
  failed=1
fi
for file in kelvane-1.2.3-x64.msi kelvane-1.2.3-x64-portable.zip kelvane-1.2.3-x64.debug SHA256SUMS; do
  if [ ! -s "dist/$file" ]; then
    echo "FAIL: dist/$file was not made"
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "PASS: the packages are in the relative output folder"
exit "$failed"
