# A display for the Windows programs' windows, sourced by the tests that
# start them under Wine, after checks.sh and with $work set.

# A free display number, told by the server itself. Wine's server and Xvfb
# end, and $work is removed, when the test ends.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.2; done
export DISPLAY=:$(cat "$work/display")
# A Wine server started without a display (by console programs) would keep
# every later window off the screen: the test starts its own.
wineserver -k 2>/dev/null
wineserver -w

# find_window REGEX [TRIES]: the first window of that name, looked for every
# half second (a minute by default). A search that meets a window Wine
# closes in the meantime fails with BadWindow: it is simply tried again.
find_window() {
  local found=""
  for _ in $(seq "${2:-120}"); do
    found=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
    [ -n "$found" ] && break
    sleep 0.5
  done
  echo "$found"
}

# main_window REGEX DESCRIPTION TEST: sets $window to the program's window
# of that name, checked as DESCRIPTION; without it the test TEST ends there,
# as nothing more can be driven.
main_window() {
  window=$(find_window "$1")
  check "$2" test -n "$window"
  if [ -z "$window" ]; then
    summary "$3"
    exit 1
  fi
}
