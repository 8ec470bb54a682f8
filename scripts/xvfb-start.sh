#!/usr/bin/env bash
# Starts a virtual X display on a free number and prints its name (":N");
# "--stop :N" ends it again.
set -euo pipefail
if [ "${1:-}" = "--stop" ]; then
  pidfile="/tmp/kelvane-xvfb${2#:}.pid"
  [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
  rm -f "$pidfile"
  exit 0
fi
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
number=$(tr -d '\n' <"$fdfile")
rm -f "$fdfile"
[ -n "$number" ] || { kill "$pid" 2>/dev/null; echo "Xvfb did not start" >&2; exit 1; }
echo "$pid" >"/tmp/kelvane-xvfb$number.pid"
echo ":$number"
