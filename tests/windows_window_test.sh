#!/usr/bin/env bash
# The Windows window, run under Wine on a virtual X display and used as a
# user would: it appears with its title; 500 / 600 / 30.1520 typed into the
# parameter boxes, 坐  标  系  转  换  计  算 pressed and the example typed
# into the file dialog write the same table as the Linux build, and so does
# a point file named in neither code page 936 nor 1252; 成果浏览 then starts
# Notepad on the result's path. First the resources of both programs and
# the users' guide beside them.
# Usage: windows_window_test.sh path/to/torvane.exe path/to/examples [SCREENSHOT_DIR]
set -u
exe=$1
examples=$2
shots=${3:-}
wine=${WINE:-wine}
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# Screenshots for looking at a failure, with scrot where present.
shot() { [ -n "$shots" ] && scrot -o "$shots/$1.png" 2>/dev/null; return 0; }

# Beside the window in the release: the command line and the users' guide.
# Both programs carry the icon, their own version information and the
# manifest (per-monitor DPI awareness v2, Windows 10 and 11), read with
# icoutils' wrestool; the guide names the oldest Windows it runs on.
folder=$(dirname "$exe")
for program in torvane torvane-cli; do
  file=$folder/$program.exe
  check "$program.exe has the icon" grep -q 'type=group_icon' <<<"$(wrestool -l "$file")"
  check "$program.exe is named in its version information" grep -qx "$program.exe" \
    <<<"$(wrestool -x --raw --type=16 "$file" | iconv -f UTF-16LE -t UTF-8 -c | tr '\0' '\n')"
  manifest=$(wrestool -x --raw --type=24 "$file")
  check "$program.exe is per-monitor DPI aware" grep -qF '>PerMonitorV2<' <<<"$manifest"
  check "$program.exe is made for Windows 10" \
    grep -qF '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' <<<"$manifest"
done
check "使用说明.txt names Windows 10, with CR LF" grep -q $'Windows 10 或 Windows 11.*\r$' "$folder/使用说明.txt"

source "$(dirname "${BASH_SOURCE[0]}")/wine_display.sh"
cp "$examples/points.csv" "$work/"
title=测图坐标系与施工坐标系的相互转换
("$wine" "$exe" >/dev/null 2>&1 &)
main_window "^$title\$" "the window appears with its title" windows_window_test
sleep 2
shot resting

# Results are waited for up to 30 s: Wine on a machine busy with builds.
# Positions inside the window's client area, in pixels (15 twips a pixel):
# the parameter boxes Text9 to Text11 and the buttons Com1 and Command1.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.5; }
type_into() {  # type_into X Y TEXT: replaces the box's text
  click "$1" "$2"
  xdotool key ctrl+a BackSpace
  xdotool type --delay 50 "$3"
}
type_into 156 209 500
type_into 156 241 600
type_into 156 273 30.1520
shot typed
click 244 328  # 坐  标  系  转  换  计  算: the file dialog opens
dialog=$(find_window '^选取要转换的坐标文件$')
check "the file dialog opens with its title" test -n "$dialog"
sleep 3  # the name box takes the keyboard once the dialog has drawn itself
shot dialog
xdotool type --delay 30 "Z:${work//\//\\}\\points.csv"
xdotool key Return
result="$work/points转化后成果表.txt"
for _ in $(seq 150); do [ -f "$result" ] && break; sleep 0.2; done
sleep 1
check "the table is the Linux build's" cmp -s "$result" "$examples/points-construction.txt"
shot converted

# A name in neither code page 936 nor 1252 (Hangul, Greek), pasted over the
# name the dialog offers again. It is pasted, not typed: xdotool types a
# character outside the keyboard map by remapping a key for it, and on a
# busy machine Wine reads some of those keys after the map has moved on
# (측점 arrived as 측).
cp "$examples/points.csv" "$work/측점 Ω.csv"
click 244 328
dialog=$(find_window '^选取要转换的坐标文件$')
sleep 3
printf '%s' "Z:${work//\//\\}\\측점 Ω.csv" | xclip -selection clipboard 2>/dev/null
xdotool key End shift+Home  # Wine's name box takes no Ctrl+A
xdotool key ctrl+v
sleep 0.5
shot pasted
xdotool key Return
result="$work/측점 Ω转化后成果表.txt"
for _ in $(seq 150); do [ -f "$result" ] && break; sleep 0.2; done
sleep 1
check "a name outside the ANSI code page converts too" \
  cmp -s "$result" "$examples/points-construction.txt"

click 428 328  # 成   果   浏   览: the last result
notepad=
for _ in $(seq 150); do
  notepad=$(pgrep -a -f 'notepad.exe' | head -n 1)
  [ -n "$notepad" ] && break
  sleep 0.2
done
sleep 2
shot notepad
check "Notepad is started on the result's path" grep -qF 'notepad.exe Z:'"${work//\//\\}"'\측점 Ω转化后成果表.txt' <<<"$notepad"

summary windows_window_test
