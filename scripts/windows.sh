#!/usr/bin/env bash
# Builds Torvane for 64-bit Windows on this Debian machine, with MinGW-w64
# and a Qt cross-built from Debian's own source (built once, then cached),
# and leaves the release in build-windows/:
#   dist/                              the programs, Qt, the runtime, README, LICENSE, examples,
#                                      licenses/ (the third-party licences and notices)
#   torvane-VERSION-windows-x64.zip    that folder
#   torvane-VERSION-setup.exe          an installer with a Start-menu entry, an optional
#                                      desktop shortcut and an uninstaller
set -euo pipefail
source "$(dirname "$0")/setup.sh"
out=build-windows

# The Linux build draws the icon's images: build/, or the one that
# TORVANE_LINUX_BUILD names, already built (the test command's packaged one).
linux=${TORVANE_LINUX_BUILD:-build}
[ -n "${TORVANE_LINUX_BUILD:-}" ] || build "$linux"
qt=$(bash scripts/windows-qt.sh | tail -n 1)

# A build made against another Qt keeps that Qt's paths in its cache.
if [ -f "$out/CMakeCache.txt" ] && ! grep -qxF "Qt6_DIR:PATH=$qt/lib/cmake/Qt6" "$out/CMakeCache.txt"; then
  rm -rf "$out/CMakeCache.txt" "$out/CMakeFiles"
fi
mkdir -p "$out/icon"
QT_QPA_PLATFORM=offscreen "$linux"/desktop/torvane-icon "$out/icon"
icotool -c -o "$out/icon/torvane.ico" "$out/icon/icon-16.png" "$out/icon/icon-32.png"

build "$out" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTORVANE_BUILD_APP=ON \
  -DTORVANE_WINDOWS_PREFIXES="$qt" -DTORVANE_QT_PREFIX="$qt" \
  -DQT_HOST_PATH=/usr -DQt6HostInfo_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo \
  -DTORVANE_WINDOWS_ICON="$PWD/$out/icon/torvane.ico"

rm -rf "$out/dist"
cmake --install "$out" --prefix "$out/dist" --strip >/dev/null
rm -f "$out"/torvane-*.zip "$out"/torvane-*-setup.exe
(cd "$out" && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
ls "$out"/torvane-*.zip "$out"/torvane-*-setup.exe
