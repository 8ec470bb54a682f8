#!/usr/bin/env bash
# Release files that depend on their contents only, checked on one build:
# packaged twice, a day apart by the clock, by a copy of the scripts in
# another folder, with another time zone, umask and temporary folder, the
# installer and the zip come out byte for byte the same; the exe carries no
# link time and no path of the build machine. The
# full check, two builds from clean clones in different folders, is
# scripts/check-reproducible.sh (scripts/test.sh --reproducible).
#
#   reproducible_test.sh BUILD_DIR   (a Windows build: kelvane.exe and the rest)
set -uo pipefail
# shellcheck source=tests/e2e/support/release_checks.sh
. "$(dirname "$0")/support/release_checks.sh" reproducible "$@"
# Whether a file holds a text nowhere.
lacks() { ! grep -qaF "$2" "$1"; }

# Signing is another matter (scripts/package.sh's own test); these runs are unsigned.
unset KELVANE_SIGN_PFX KELVANE_SIGN_PASSWORD
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) || die "not a git checkout"
"$root/scripts/package.sh" --build "$build" --out "$work/first" >/dev/null 2>&1 || die "package.sh"
elsewhere="$work/another/checkout"
mkdir -p "$elsewhere" "$work/tmp"
cp -r "$root/scripts" "$root/packaging" "$elsewhere/"
(umask 077 && TZ=Pacific/Kiritimati TMPDIR="$work/tmp" faketime -f +1d \
  "$elsewhere/scripts/package.sh" --build "$build" --out "$work/second" >/dev/null 2>&1) || die "package.sh a day later"
for file in kelvane-1.0.0-x64.msi kelvane-1.0.0-x64-portable.zip; do
  check "$file is the same" same_file "$work/first/$file" "$work/second/$file"
done
check "the installer's package code is a fixed one" \
  bash -c "msiinfo suminfo '$work/first/kelvane-1.0.0-x64.msi' | grep -q 'UUID): {[0-9A-F-]*-8[0-9A-F]\{3\}-'"
check "the exe carries no link time" \
  bash -c "x86_64-w64-mingw32-objdump -p '$build/kelvane.exe' | grep -q 'Time/Date.*Jan  1 00:00:00 1970'"
check "the exe names no folder of the build machine" lacks "$build/kelvane.exe" "$root"
check "nor do its symbols" lacks "$build/kelvane.debug" "$root"
report
