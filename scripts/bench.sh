#!/usr/bin/env bash
# Benchmarks of the Windows program under Wine, in one throwaway prefix each:
#  - footprint (bench/footprint_win32.cpp): start to visible window, peak
#    memory and CPU disarmed and armed, each against the native floor
#    (bench/floor_win32.cpp) that this run builds beside the program;
#  - firing latency (bench/firing_latency_win32.cpp): from the target of a
#    two-second countdown to the power call in the recording build's log,
#    over six armings of the real program.
# Exits 1 when a figure misses its target.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" || exit 1
"$root/scripts/build.sh" windows >/dev/null || exit 1
"$root/scripts/wine-prefix.sh" >/dev/null || exit 1
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $( (wine64 --version || wine --version) 2>/dev/null | head -n 1)"
status=0
"$root/scripts/wine-run.sh" "$root/build/windows/kelvane_footprint_bench.exe" || status=1
"$root/scripts/wine-run.sh" "$root/build/windows/kelvane_firing_bench.exe" || status=1
exit $status
