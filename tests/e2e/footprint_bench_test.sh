#!/usr/bin/env bash
# The footprint bench's verdict (scripts/bench.sh exits 1 when a figure
# misses its target): run against a stand-in for kelvane.exe that starts at
# once, holds next to no memory and is idle while disarmed, but keeps a core
# busy once armed, the bench must fail; armed, only the 500 ms tick is allowed.
#
#   footprint_bench_test.sh BUILD_DIR   (a Windows build with kelvane_footprint_bench.exe)
set -uo pipefail
build=$(cd "${1:?usage: footprint_bench_test.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-footprint.XXXXXX")
trap 'rm -rf "$work"' EXIT

for file in kelvane_footprint_bench.exe kelvane_floor.exe; do
  [ -f "$build/$file" ] || { echo "FAILED: $build/$file is missing"; exit 1; }
  cp "$build/$file" "$work/"
done
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -municode -mwindows -static -I"$root" \
  "$root/tests/e2e/helpers/busy_when_armed.cpp" -o "$work/kelvane.exe" || { echo "FAILED: stand-in"; exit 1; }

"$root/scripts/wine-run.sh" "$work/kelvane_footprint_bench.exe" >"$work/out.txt" 2>&1
rc=$?
cat "$work/out.txt"
grep -q "CPU over 20 s armed" "$work/out.txt" || { echo "FAILED: the bench printed no armed figure (rc $rc)"; exit 1; }
if [ "$rc" -eq 1 ]; then
  echo "ok: a program busy while armed misses the armed target"
  exit 0
fi
echo "FAILED: a program that keeps a core busy while armed passes the bench (rc $rc)"
exit 1
