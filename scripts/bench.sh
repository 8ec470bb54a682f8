#!/usr/bin/env bash
# Benchmarks of the Windows program under Wine. Today: the firing latency,
# from the target of a two-second countdown to the power call, over six
# armings of the real program (bench/firing_latency_win32.cpp).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" || exit 1
"$root/scripts/build.sh" windows >/dev/null || exit 1
"$root/scripts/wine-prefix.sh" >/dev/null || exit 1
"$root/scripts/wine-run.sh" "$root/build/windows/kelvane_firing_bench.exe"
