#!/usr/bin/env bash
# Start-up counted in what the machine's load cannot move: the requests a
# program makes to Wine's server (wineserver) from its first instruction
# until its main window is visible, by kind, and the DLLs it has loaded by
# then. On a small shared machine a start's time goes mostly to these round
# trips and to waiting for the server's turn on a core, so the counts are
# the figures to compare between builds; scripts/bench.sh gives the time.
# Each program starts once untraced first, as the benchmark's first start
# does, with the benchmark's settings and with the desktop already running.
#
#   startup-trace.sh [EXE...]   (default: kelvane.exe and kelvane_floor.exe
#                                of build/windows)
# KELVANE_TRACE_KEEP=dir keeps each program's server log in dir.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Runs inside the display: one program, its server log in $2.
trace_one() {
  local exe=$1 log=$2 name started program keeper tid
  name=$(basename "$exe")
  wineserver -f -d1 -p0 2>>"$log" &
  for setting in "TrayTips False" "StartUp 0" "Prompt False" "Method 1" "tUnit 0" "tPeriod 1"; do
    set -- $setting
    wine reg add 'HKCU\Software\Kelvane\CONFIG' /v "$1" /d "$2" /f >/dev/null 2>&1
  done
  # A program of the prefix that keeps running, so that the desktop and the
  # tray stay up between the two starts, as they do in the benchmark.
  coproc KEEPER { wine cmd >/dev/null 2>&1; }
  keeper=$KEEPER_PID
  for run in warm traced; do
    started=$(wc -l <"$log")
    if [ "$run" = traced ]; then
      WINEDEBUG=+loaddll wine "$exe" >/dev/null 2>>"$log" &
    else
      wine "$exe" >/dev/null 2>&1 &
    fi
    program=$!
    # Until one of its threads shows a window (SWP_SHOWWINDOW, 0x40), for
    # at most 20 s; the untraced start is given 3 s.
    for _ in $(seq 200); do
      if [ "$run" = warm ]; then sleep 3 && break; fi
      tid=$(tail -n +"$started" "$log" | grep -m1 "trace:loaddll:.*$name\"" | cut -d: -f1)
      [ -n "$tid" ] && tail -n +"$started" "$log" | grep -q "^$tid: set_window_pos( swp_flags=[0-9a-f]*[4-7c-f][0-9a-f], " &&
        break
      sleep 0.1
    done
    kill "$program" 2>/dev/null
    wait "$program" 2>/dev/null
  done
  kill "$keeper" 2>/dev/null
  wineserver -k
  wait
}

if [ "${1:-}" = --inside ]; then
  shift
  trace_one "$@"
  exit 0
fi

[ $# -gt 0 ] || set -- "$root/build/windows/kelvane.exe" "$root/build/windows/kelvane_floor.exe"
template=$("$root/scripts/wine-prefix.sh") || exit 1
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-trace.XXXXXX")
trap 'rm -rf "$work"' EXIT

for exe in "$@"; do
  name=$(basename "$exe")
  prefix="$work/prefix"
  rm -rf "$prefix"
  "$root/scripts/wine-copy-prefix.sh" "$template" "$prefix"
  log="$work/$name.log"
  : >"$log"
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ -n "${DISPLAY:-}" ]; then
    trace_one "$exe" "$log"
  else
    xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside "$exe" "$log"
  fi
  [ -n "${KELVANE_TRACE_KEEP:-}" ] && mkdir -p "$KELVANE_TRACE_KEEP" && cp "$log" "$KELVANE_TRACE_KEEP/"
  # The traced start's thread names itself in its first loader line; its
  # requests are counted up to the one that shows a window of some size.
  awk -v exe="$name" '
    function hex(s,   i, n, c) {
      n = 0
      for (i = 1; i <= length(s); i++) { c = index("0123456789abcdef", substr(tolower(s), i, 1)); n = n * 16 + c - 1 }
      return n
    }
    tid == "" && index($0, "trace:loaddll:") && index(tolower($0), tolower(exe) "\"") {
      split($0, f, ":"); tid = f[1]; next
    }
    tid == "" { next }
    index($0, tid ":trace:loaddll:") {
      dll = $0; sub(/.*\\/, "", dll); sub(/".*/, "", dll); dlls = dlls " " dll; next
    }
    substr($0, 1, length(tid) + 2) == tid ": " {
      rest = substr($0, length(tid) + 3)
      if (rest ~ /^[a-z_]+\(/ && rest !~ /^[a-z_]+\(.*\) = /) {
        kind = rest; sub(/\(.*/, "", kind); count[kind]++; total++
        if (kind == "set_window_pos" && match(rest, /swp_flags=[0-9a-f]+/)) {
          flags = hex(substr(rest, RSTART + 10, RLENGTH - 10))
          if (int(flags / 64) % 2 == 1 && match(rest, /window=\{-?[0-9]+,-?[0-9]+;-?[0-9]+/)) {
            split(substr(rest, RSTART + 8, RLENGTH - 8), r, /[,;]/)
            if (r[3] - r[1] >= 100) { shown = 1; exit }
          }
        }
      }
    }
    END {
      if (!shown) { printf "%s: its window was not seen to show\n", exe; exit 1 }
      printf "%s: %d requests to the server before its window shows\n", exe, total
      printf "  DLLs loaded by then:%s\n", dlls
      n = 0
      for (k in count) order[++n] = k
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (count[order[j]] > count[order[i]]) { t = order[i]; order[i] = order[j]; order[j] = t }
      printf "  most frequent:"
      for (i = 1; i <= n && i <= 8; i++) printf " %s %d", order[i], count[order[i]]
      printf "\n"
    }' "$log" || status=1
done
exit "${status:-0}"
