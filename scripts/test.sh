#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# the native unit tests, the same under AddressSanitizer and UBSan, and the
# Windows-side and end-to-end tests under Wine on a virtual display.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# --long: the long runs (a million random sequences of the main form's model).
# --soak-full: the soak tests at full size (1,000 task runs, 10,000 ticks,
# 200 openings of each dialog, 1,000 boss-key rounds; about ten minutes).
# --reproducible: also package the committed HEAD from two clean clones and
# compare the files (scripts/check-reproducible.sh, two builds from scratch);
# the test command always runs the quick check on the one build.
reproducible=0
for option in "$@"; do
  case "$option" in
    --long) export KELVANE_MODEL_SEQUENCES=1000000 ;;
    --reproducible) reproducible=1 ;;
    --soak-full) export KELVANE_SOAK_FULL=1 ;;
    *) echo "unknown option: $option" >&2; exit 2 ;;
  esac
done
"$root/scripts/deps.sh" || exit 1
"$root/scripts/build.sh" native sanitize windows fuzz || { echo "0 passed, 1 failed"; exit 1; }
"$root/scripts/wine-prefix.sh" >/dev/null || exit 1

passed=0
failed=0
run_ctest() {
  local name="$1" dir="$2" log
  shift 2
  echo "== testing $name"
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure "$@") 2>&1 | tee "$log"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
  else
    local total bad
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  rm -f "$log"
}

echo "== checking layers"
if "$root/scripts/check-layers.sh"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

run_ctest native "$root/build/native" -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest sanitize "$root/build/sanitize" -j "$(nproc)"
# A smoke run of every fuzz target from its seed corpus (scripts/fuzz.sh runs them long).
run_ctest fuzz "$root/build/fuzz" -j "$(nproc)"

# One virtual display serves every Wine test; each test has its own prefix.
display=$("$root/scripts/xvfb-start.sh") || exit 1
trap '"$root/scripts/xvfb-start.sh" --stop "$display"' EXIT
DISPLAY="$display" run_ctest windows "$root/build/windows"

if [ "$reproducible" -eq 1 ]; then
  echo "== packaging from two clean clones"
  if "$root/scripts/check-reproducible.sh"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
fi

echo
echo "Summary: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
