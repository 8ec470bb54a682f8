#!/usr/bin/env bash
# Fuzzes the portable core's readers of outside text with libFuzzer.
#
#   scripts/fuzz.sh [--runs N] [--time SECONDS] [TARGET...]
#       Builds build/fuzz and runs each target (default: all of fuzz/*_fuzz.cpp)
#       for N inputs (default 10,000,000) or SECONDS, whichever ends first.
#       The corpus grows in
#       build/fuzz/corpus/TARGET, started from fuzz/corpus/TARGET; what fails
#       is kept in out/fuzz-findings/TARGET. Prints the runs each target
#       survived; exits 1 when any target failed.
#   scripts/fuzz.sh --smoke RUNS BINARY SEEDS
#       One short run from the seed corpus, leaving it as it is (the test
#       command's fuzz tests).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--smoke" ]; then
  runs=$2 binary=$3 seeds=$4
  work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-fuzz.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  # New inputs go to the first folder, so the seeds stay untouched; a
  # finding is printed with its bytes and the run fails.
  "$binary" -runs="$runs" -seed=1 -max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work" "$seeds" >"$work/log" 2>&1
  rc=$?
  grep -E '^(stat::number_of_executed_units|Done [0-9]+ runs)' "$work/log"
  if [ "$rc" -ne 0 ]; then
    tail -n 60 "$work/log"
    for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
      [ -e "$f" ] && { echo "finding $(basename "$f"):"; od -A d -c "$f" | head -n 20; }
    done
  fi
  exit "$rc"
fi

runs=10000000
seconds=""
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --time) seconds=$2; shift 2 ;;
    -*) echo "unknown option: $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
"$root/scripts/deps.sh" || exit 1
"$root/scripts/build.sh" fuzz >/dev/null || exit 1
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" _fuzz.cpp)"); done
fi
limit=(-runs="$runs")
[ -n "$seconds" ] && limit+=(-max_total_time="$seconds")

failed=0
for target in "${targets[@]}"; do
  corpus="$root/build/fuzz/corpus/$target"
  findings="$root/out/fuzz-findings/$target"
  mkdir -p "$corpus" "$findings"
  log="$root/build/fuzz/$target.log"
  start=$(date +%s)
  "$root/build/fuzz/${target}_fuzz" "${limit[@]}" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1
  rc=$?
  done_runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n 1)
  cover=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1)
  result="ok"
  if [ "$rc" -ne 0 ]; then
    result="FAILED (rc $rc; findings in out/fuzz-findings/$target, log $log)"
    failed=1
  fi
  printf '%-18s %12s runs in %5ss, %s: %s\n' "$target" "${done_runs:-?}" "$(( $(date +%s) - start ))" \
    "${cover:-cov: ?}" "$result"
done
exit "$failed"
