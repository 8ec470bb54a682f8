#!/usr/bin/env bash
# Builds the requested configurations: native, sanitize, windows (default:
# these three), fuzz, bench. KELVANE_TARGETS="a b" builds only those targets
# of each.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(native sanitize windows)
for config in "${configs[@]}"; do
  case "$config" in
    native)   cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null ;;
    sanitize) cmake -S "$root" -B "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DKELVANE_SANITIZE=ON >/dev/null ;;
    windows)  cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null ;;
    fuzz)     cmake -S "$root" -B "$root/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_FUZZ=ON \
                -DCMAKE_CXX_COMPILER=clang++ >/dev/null ;;
    bench)    cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release -DKELVANE_BENCHMARKS=ON >/dev/null ;;
    *) echo "unknown configuration: $config" >&2; exit 2 ;;
  esac
  echo "== building $config"
  targets=()
  for target in ${KELVANE_TARGETS:-}; do targets+=(--target "$target"); done
  cmake --build "$root/build/$config" -j "$jobs" "${targets[@]}"
done
