#!/usr/bin/env bash
# The window as a desktop shows it, on a virtual X display.
# State: a window manager (openbox) that frames a window only once it is
# mapped manages the screen.
# Action: the window starts.
# Expected: its outer frame, title bar and borders included, is centred on
# the screen to within half a pixel each way. Then the window ended by the
# session's signals (below).
# Usage: window_frame_test.sh path/to/torvane
set -u
app=$1
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
readonly screen_width=1024 screen_height=768

Xvfb -displayfd 3 -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp \
  3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  kill "${pids[@]}" "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# wait_for COMMAND...: true once the command succeeds, tried for up to 20 s.
wait_for() {
  for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.2; done
  return 1
}
wait_for test -s "$work/display"
export DISPLAY=:$(cat "$work/display")

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
check "openbox manages the screen" wait_for sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
QT_QPA_PLATFORM=xcb "$app" >/dev/null 2>&1 &
pids+=($!)
find_window() { xdotool search --name '^测图坐标系与施工坐标系的相互转换$' | head -n 1 | grep .; }
wait_for find_window
window=$(find_window)
check "the window appears" test -n "$window"
if [ -z "$window" ]; then
  summary window_frame_test
  exit 1
fi
framed() { xprop -id "$window" _NET_FRAME_EXTENTS | grep -q '= '; }
check "openbox frames it" wait_for framed

# The outer frame: the client area's place and size with the frame's
# extents (left, right, top, bottom) around it.
outer() {
  local left right top bottom x y width height
  read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print "x=" $4 }
    /Absolute upper-left Y/ { print "y=" $4 } /Width:/ { print "width=" $2 }
    /Height:/ { print "height=" $2 }')"
  echo "$((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))"
}
# Twice the distance of the frame's centre from the screen's, across and
# down: 0, or 1 where the size does not halve.
centred() {
  local x y width height
  read -r x y width height < <(outer)
  echo "outer frame at ($x, $y), $width x $height, on a $screen_width x $screen_height screen"
  for twice in $((2 * x + width - screen_width)) $((2 * y + height - screen_height)); do
    [ "$twice" -ge 0 ] && [ "$twice" -le 1 ] || return 1
  done
}
# The window is centred again once the frame is known: a slow start may
# take a while to get there.
check "the frame is centred" wait_for centred
centred

# State: the window or the workbench running, its Qt settings in a
# temporary folder (Torvane-XXXXXX). Action: SIGTERM, or SIGHUP as at a
# logout. Expected: the folder removed, as on Ctrl+Q, and the program
# ended by the signal (128 + its number).
for row in "TERM 143" "HUP 129" "TERM 143 --workbench" "HUP 129 --workbench"; do
  read -r signal status mode <<<"$row"
  tmp=$work/tmp-$signal$mode
  mkdir "$tmp"
  TMPDIR=$tmp QT_QPA_PLATFORM=xcb "$app" $mode >/dev/null 2>&1 &
  pid=$!
  pids+=("$pid")
  check "$signal$mode: its settings folder is made" wait_for sh -c "ls -d '$tmp'/Torvane-*"
  sleep 0.5  # the event loop running
  kill -"$signal" "$pid"
  { wait "$pid"; } 2>/dev/null  # without bash's word of the signal
  equal "$signal$mode: ended by the signal" "$status" "$?"
  equal "$signal$mode: its settings folder is removed" "" "$(ls -A "$tmp" | grep '^Torvane-')"
done
summary window_frame_test
