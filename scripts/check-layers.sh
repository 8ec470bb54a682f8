#!/usr/bin/env bash
# Fails when a source file includes a folder above its own layer. The layers,
# lowest first; a folder may include itself and any folder before it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
layers=(base resources power conditions tasks tray controls about prompt bosskeys options core app)

rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

bad=0
cd "$root" || exit 1
while IFS= read -r file; do
  own=$(rank "${file%%/*}")
  [ "$own" -ge 0 ] || continue
  while IFS= read -r line; do
    target=$(sed -E 's/^#include "([^"]+)".*/\1/' <<<"$line")
    [[ "$target" == */* ]] || continue
    theirs=$(rank "${target%%/*}")
    if [ "$theirs" -lt 0 ] || [ "$theirs" -gt "$own" ]; then
      echo "$file includes $target, which is not below ${file%%/*}/"
      bad=1
    fi
  done < <(grep -E '^#include "' "$file")
done < <(git ls-files --cached --others --exclude-standard '*.h' '*.cpp' | grep -vE '^(tests|bench)/')
[ "$bad" -eq 0 ] && echo "layers: every include points down"
exit "$bad"
