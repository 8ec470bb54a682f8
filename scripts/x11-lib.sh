# Helpers for scripts that look at windows on an X display (sourced).

# Prints the id of the first visible window whose name matches the regex,
# waiting up to the given tenths of a second (20 seconds by default).
wait_window() {
  local id
  for _ in $(seq "${2:-200}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "window '$1' did not appear" >&2
  return 1
}

# Saves the screen area of a window to a PNG file.
shoot() {
  local geometry
  geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4}/Absolute upper-left Y/{y=$4}/Width/{w=$2}/Height/{h=$2}END{print w"x"h"+"x"+"y}')
  import -window root -crop "$geometry" +repage "$2"
}
