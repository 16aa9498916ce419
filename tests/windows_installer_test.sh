#!/usr/bin/env bash
# The Windows installer, run silently under Wine: the programs land in
# Program Files with an uninstaller and a Start-menu entry of the window's
# Chinese name, and the installed command line converts the example.
# Usage: windows_installer_test.sh path/to/build-windows path/to/examples
set -u
out=$1
examples=$2
wine=${WINE:-wine}
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

setup=$(ls "$out"/torvane-*-setup.exe)
check "the installer runs silently" "$wine" "$setup" /S
installed=$WINEPREFIX/drive_c/Program\ Files/Torvane
check "the window is installed" test -f "$installed/torvane.exe"
check "an uninstaller is installed" test -f "$installed/Uninstall.exe"
check "Qt's windows platform plugin is installed" test -f "$installed/platforms/qwindows.dll"
menu=$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name '测图坐标系与施工坐标系的相互转换.lnk' | head -n 1)
check "a Start-menu entry of the window's name" test -n "$menu"

table=$(mktemp)
trap 'rm -f "$table"' EXIT
(cd "$examples" && "$wine" "$installed/torvane-cli.exe" convert --dx=500 --dy=600 --angle=30.1520 \
  -o - points.csv >"$table")
check "the installed command line converts the example" cmp -s "$table" "$examples/points-construction.txt"

summary windows_installer_test
