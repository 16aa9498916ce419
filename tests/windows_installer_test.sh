#!/usr/bin/env bash
# The Windows installer under Wine, on a virtual X display:
#   run silently, it puts the programs in Program Files with an uninstaller,
#   the third-party licences and a Start-menu entry of the window's Chinese
#   name, which starts the window, and one of the workbench's, 坐标转换工作台,
#   which starts the workbench; the installed command line converts the
#   example, and the guide's first command lines, which copy the examples
#   into Documents, convert the copy there; the ZIP holds the same licences;
#   run as a user clicks through it (Return on every page), its finish page
#   starts the window and creates the desktop shortcut it offers;
#   the uninstaller leaves no program, shortcut or registry key behind.
# Usage: windows_installer_test.sh path/to/build-windows path/to/examples
set -u
out=$1
examples=$2
wine=${WINE:-wine}
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

source "$(dirname "${BASH_SOURCE[0]}")/wine_display.sh"

title=测图坐标系与施工坐标系的相互转换
link=$title.lnk
# The workbench's caption begins with its name (a project's name may follow).
workbench_title=坐标转换工作台
workbench_link=$workbench_title.lnk
# end_wine: ends every program Wine runs (the window started by a test).
end_wine() {
  wineserver -k 2>/dev/null
  wineserver -w
}
# find_link WHERE [NAME]: the shortcut NAME (the window's by default) in a
# Start-menu or desktop folder of the prefix.
find_link() { find "$WINEPREFIX/drive_c" -path "*$1*" -name "${2:-$link}" 2>/dev/null | head -n 1; }
registry_key='HKLM\Software\The Torvane authors'
# not COMMAND...: succeeds when the command, quiet, fails.
not() { ! "$@" >/dev/null 2>&1; }
installed=$WINEPREFIX/drive_c/Program\ Files/Torvane

setup=$(ls "$out"/torvane-*-setup.exe)
zip=$(ls "$out"/torvane-*-windows-x64.zip)
check "the installer runs silently" "$wine" "$setup" /S
check "the window is installed" test -f "$installed/torvane.exe"
check "an uninstaller is installed" test -f "$installed/Uninstall.exe"
check "Qt's windows platform plugin is installed" test -f "$installed/platforms/qwindows.dll"

# The licences of what the release carries besides Torvane, each with a
# line of its text, in the installation and in the ZIP.
licences=(
  "README.txt:Licences and notices of what this release"
  "LGPL-3.txt:GNU LESSER GENERAL PUBLIC LICENSE"
  "GPL-3.txt:GNU GENERAL PUBLIC LICENSE"
  "Qt-notices.txt:src/3rdparty/pcre2"
  "MinGW-w64-GCC-runtime.txt:GCC RUNTIME LIBRARY EXCEPTION"
  "MinGW-w64-winpthreads.txt:mingw-w64"
  "CLI11.txt:University of Cincinnati"
  "nlohmann-json.txt:Niels Lohmann"
  "Boost-BSL-1.0.txt:Boost Software License - Version 1.0"
)
unzip -l "$zip" >"$work/zip-list"
for licence in "${licences[@]}"; do
  file=${licence%%:*}
  check "licenses/$file is installed and holds its text" grep -qF "${licence#*:}" "$installed/licenses/$file"
  check "the ZIP holds licenses/$file" grep -qE " torvane-[^ ]*/licenses/$file\$" "$work/zip-list"
done
check "the libpng notice is among Qt's" grep -qF "src/3rdparty/libpng" "$installed/licenses/Qt-notices.txt"

# The Start-menu entry starts the window (it once named bin\torvane.exe).
menu=$(find_link 'Start Menu')
check "a Start-menu entry of the window's name" test -n "$menu"
if [ -n "$menu" ]; then
  # In the background: a shortcut to a missing program keeps start.exe
  # waiting on its message box (找不到文件).
  ("$wine" start /unix "$menu" >/dev/null 2>&1 &)
  check "the Start-menu entry starts the window" test -n "$(find_window "^$title\$")"
fi
end_wine
# The workbench's entry starts torvane.exe --workbench: a window of the
# workbench's caption, which the classic window does not have.
menu=$(find_link 'Start Menu' "$workbench_link")
check "a Start-menu entry $workbench_title" test -n "$menu"
if [ -n "$menu" ]; then
  ("$wine" start /unix "$menu" >/dev/null 2>&1 &)
  check "the Start-menu entry $workbench_title starts the workbench" \
    test -n "$(find_window " - $workbench_title\$")"
fi
end_wine

table=$work/table.txt
(cd "$examples" && "$wine" "$installed/torvane-cli.exe" convert --dx=500 --dy=600 --angle=30.1520 \
  -o - points.csv >"$table")
check "the installed command line converts the example" cmp -s "$table" "$examples/points-construction.txt"

# The guide's first command lines, as a user types them into cmd.exe: the
# examples copied into Documents, the table written beside the copy, never
# into the program folder (a standard user cannot write there; run as root,
# the test sees only where the table goes). Documents is made a folder of
# the prefix's own, not Wine's link to the home folder.
documents=$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -name Documents ! -path '*/Public/*' | head -n 1)
if [ -L "$documents" ]; then
  rm "$documents"
  mkdir "$documents"
fi
tr -d '\r' <"$installed/使用说明.txt" |
  awk '/依次输入/ { on = 1; next } on && /^    / { sub(/^ +/, ""); printf "%s\r\n", $0; next } on { exit }' \
    >"$work/guide.bat"
check "the guide gives command lines to copy the examples first" grep -q xcopy "$work/guide.bat"
"$wine" cmd /c "$(winepath -w "$work/guide.bat")" >/dev/null 2>&1
check "the guide's first conversion writes the table into Documents" \
  cmp -s "$documents/examples/points转化后成果表.txt" "$examples/points-construction.txt"
check "the guide's first conversion leaves the program folder as installed" \
  test ! -e "$installed/examples/points转化后成果表.txt"

# The installer as a user runs it: Return takes the default button of each
# page (next, agree, next, install, finish); the finish page's two options,
# starting the window and the desktop shortcut, are ticked.
"$wine" "$setup" >/dev/null 2>&1 &
started=""
for _ in $(seq 60); do
  started=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1)
  [ -n "$started" ] && break
  installer=$(xdotool search --name 'Torvane' 2>/dev/null | head -n 1)
  if [ -n "$installer" ]; then
    xdotool windowactivate --sync "$installer" 2>/dev/null || xdotool windowfocus "$installer" 2>/dev/null
    xdotool key Return 2>/dev/null
  fi
  sleep 1
done
check "the finish page starts the window" test -n "$started"
check "the finish page creates the desktop shortcut" test -n "$(find_link Desktop)"
end_wine

# Uninstalling removes the programs, both shortcuts and every registry key.
"$wine" "$installed/Uninstall.exe" /S >/dev/null 2>&1
wineserver -w
for _ in $(seq 20); do [ -e "$installed/torvane.exe" ] || break; sleep 0.5; done
check "the uninstaller removes the window" test ! -e "$installed/torvane.exe"
check "the uninstaller removes the Start-menu entry" test -z "$(find_link 'Start Menu')"
check "the uninstaller removes the Start-menu entry $workbench_title" \
  test -z "$(find_link 'Start Menu' "$workbench_link")"
check "the uninstaller removes the desktop shortcut" test -z "$(find_link Desktop)"
# reg query fails on a key that is not there (an empty one passes).
check "the uninstaller leaves no registry key $registry_key" \
  not "$wine" reg query "$registry_key"

summary windows_installer_test
