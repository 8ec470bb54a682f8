#!/usr/bin/env bash
# Packages the committed HEAD twice, each from a clean clone in a folder of
# its own (different names and depths), and compares the SHA-256 of the exe,
# the zip and the installer. Each clone builds the release targets from
# scratch, a few minutes apiece.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-clones.XXXXXX")
trap 'rm -rf "$work"' EXIT
commit=$(git -C "$root" rev-parse HEAD) || exit 1
echo "== packaging $commit from two clean clones"

clones=("$work/a/kelvane" "$work/second/deeper/kelvane-build")
for clone in "${clones[@]}"; do
  git clone -q --no-hardlinks "$root" "$clone" && git -C "$clone" checkout -q "$commit" || exit 1
  echo "== $clone"
  (cd "$clone" && scripts/package.sh --out "$clone/out") >"$clone.log" 2>&1 || { cat "$clone.log"; exit 1; }
  unzip -q "$clone/out/"*-portable.zip kelvane.exe -d "$clone/unzipped" || exit 1
done

failed=0
for file in unzipped/kelvane.exe "out/*-portable.zip" "out/*.msi"; do
  sums=()
  for clone in "${clones[@]}"; do
    # shellcheck disable=SC2086
    sums+=("$(cd "$clone" && sha256sum $file | cut -d' ' -f1)")
  done
  if [ "${sums[0]}" = "${sums[1]}" ]; then
    echo "same:    ${sums[0]}  $file"
  else
    echo "DIFFERS: ${sums[0]} / ${sums[1]}  $file"
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "reproducible: both clones gave the same files"
exit "$failed"
