#!/usr/bin/env bash
# Presses keys for the end-to-end tests: waits for "<dir>/request", which
# holds xdotool key names (for example "ctrl+F1"), focuses the program's main
# window (Wine delivers hotkeys only while one of its windows has the focus),
# presses the keys and removes the request to say it is done.
set -u
dir="$1"
while true; do
  if [ -f "$dir/request" ]; then
    keys=$(cat "$dir/request")
    window=$(xdotool search --onlyvisible --name '^ Kelvane$' 2>/dev/null | head -1)
    if [ -n "$window" ]; then
      xdotool windowfocus "$window" 2>/dev/null
      for _ in $(seq 40); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
        sleep 0.05
      done
    fi
    xdotool key $keys
    rm -f "$dir/request"
  fi
  sleep 0.05
done
