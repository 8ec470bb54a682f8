#!/usr/bin/env bash
# Real keyboard and mouse input for the end-to-end tests: waits for
# "<dir>/request", which holds the arguments of one xdotool command (for
# example "key ctrl+F1", "keydown ctrl+F1 sleep 2 keyup ctrl+F1" or
# "mousemove 12 33 click 3"), runs it and removes the request to say it is
# done. Before keys it focuses the program's main window: Wine delivers
# hotkeys only while one of its windows has the focus.
set -u
dir="$1"
while true; do
  if [ -f "$dir/request" ]; then
    command=$(cat "$dir/request")
    window=$(xdotool search --onlyvisible --name '^ Kelvane$' 2>/dev/null | head -1)
    if [ -n "$window" ] && [[ "${command%% *}" == key* ]]; then
      xdotool windowfocus "$window" 2>/dev/null
      for _ in $(seq 40); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
        sleep 0.05
      done
    fi
    xdotool $command
    rm -f "$dir/request"
  fi
  sleep 0.05
done
