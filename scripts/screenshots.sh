#!/usr/bin/env bash
# Takes the README's screenshots under Wine on a virtual display, into
# docs/images: the grid control in every header style at 100 % and 150 %,
# the main window, the options dialog, the tray menu, the about box, the
# balloon shown at arming, and the prompt. With KELVANE_DPI (144 for 150 %)
# it takes the main window, the options dialog and the prompt at that scale,
# named with the percentage (main-window-150.png, options-150.png,
# prompt-150.png). At 100 % it also takes the main window waiting for a
# program to end (when.png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/x11-lib.sh
. "$root/scripts/x11-lib.sh"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" windows >/dev/null
out="${KELVANE_SHOTS:-$root/docs/images}"
mkdir -p "$out"

prefix=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-shots.XXXXXX")
"$root/scripts/wine-copy-prefix.sh" "$("$root/scripts/wine-prefix.sh")" "$prefix"
display=$("$root/scripts/xvfb-start.sh")
export DISPLAY="$display" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export KELVANE_POWER_LOG="$(winepath -w "$prefix/power.log" 2>/dev/null || echo)"
cleanup() { wineserver -k >/dev/null 2>&1 || true; "$root/scripts/xvfb-start.sh" --stop "$display"; rm -rf "$prefix"; }
trap cleanup EXIT

# Paints the desktop in a calm colour so the windows stand out.
xsetroot -solid '#5B7087' 2>/dev/null || true

# Whether the tray menu, which opens at the pointer, shows.
tray_menu_open() {
  local w
  for w in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
    xwininfo -id "$w" | grep -q 'upper-left X:  13' && return 0
  done
  return 1
}
wait_tray_menu() {
  for _ in $(seq 20); do
    tray_menu_open && return 0
    sleep 0.1
  done
  return 1
}

# Wine reads the DPI when it starts, so each change waits for every Wine
# process to end.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -w
}

# The grid control in each ThemeStyle, with striped rows and with a colour
# scheme, at 100 % and at 150 %; not again for the scaled run of the others.
grid_shot() {
  set_dpi "$1"
  wine "$root/build/windows/kelvane_grid_host.exe" &
  local window
  window=$(wait_window '^Kelvane grid$')
  # The pointer would light up a header under it.
  xdotool mousemove 0 0
  sleep 1  # the first paint of every control
  shoot "$window" "$2"
  wineserver -k
  wineserver -w
}
if [ -z "${KELVANE_DPI:-}" ]; then
  grid_shot 96 "$out/grid-100.png"
  grid_shot 144 "$out/grid-150.png"
fi

# KELVANE_DPI=144 shows the windows at 150 % scaling.
suffix=""
set_dpi "${KELVANE_DPI:-96}"
if [ -n "${KELVANE_DPI:-}" ]; then
  suffix="-$((KELVANE_DPI * 100 / 96))"
fi

# A 40-second countdown: long enough for the tray shots with their retries,
# then the prompt.
for setting in "tUnit 2" "tPeriod 40"; do
  set -- $setting
  wine reg add 'HKCU\Software\Kelvane\CONFIG' /v "$1" /d "$2" /f >/dev/null 2>&1
done

wine "$root/build/windows/kelvane-recording.exe" &
main=$(wait_window '^ Kelvane$')
sleep 1  # the first paint of every control
shoot "$main" "$out/main-window$suffix.png"

# The options dialog, opened with its button's mnemonic and left with Esc.
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --window "$main" alt+o
options=$(wait_window '^Kelvane$')
# The dialog lays out and paints its grid after it shows; a loaded machine
# needs a moment more.
sleep 3
shoot "$options" "$out/options$suffix.png"
xdotool windowfocus --sync "$options" 2>/dev/null || true
xdotool key Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Kelvane$' >/dev/null 2>&1 || break
  sleep 0.1
done

# Arming shows its balloon below Wine's stand-alone tray window (top left).
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --window "$main" alt+e
sleep 3
# The tray's pictures are taken at 100 % only.
if [ -z "$suffix" ]; then
  import -window root -crop 420x150+0+0 +repage "$out/balloon.png"

  # The tray window may take a click only to become active, and a key may
  # come before the menu tracks it: each try starts over until the about box
  # shows.
  about=""
  for _ in $(seq 8); do
    xdotool mousemove 13 24 click 3
    if wait_tray_menu; then
      import -window root -crop 200x140+0+0 +repage "$out/tray-menu.png"
      xdotool windowfocus --sync "$main" 2>/dev/null || true
      xdotool key a
      about=$(wait_window '^About$' 50 2>/dev/null) && break
    fi
    # A menu left open would take the next click.
    if tray_menu_open; then xdotool key Escape; fi
  done
  [ -n "$about" ] || { echo "window '^About$' did not appear" >&2; exit 1; }
  sleep 1
  shoot "$about" "$out/about.png"
  xdotool windowfocus --sync "$about" 2>/dev/null || true
  xdotool key Escape
fi

prompt=$(wait_window '^Kelvane$' 600)
sleep 1
shoot "$prompt" "$out/prompt$suffix.png"

# The When row, armed from the command line to wait for Notepad (100 % only).
if [ -z "$suffix" ]; then
  wineserver -k
  wineserver -w
  wine notepad &
  wait_window 'Notepad' >/dev/null
  wine "$root/build/windows/kelvane-recording.exe" /suspend /when program notepad.exe /noprompt &
  main=$(wait_window '^ Kelvane$')
  sleep 1
  shoot "$main" "$out/when.png"
fi
echo "Screenshots written to $out"
