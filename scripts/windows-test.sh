#!/usr/bin/env bash
# The Windows release tested under Wine, from this Debian machine: the core's
# tests and the command line against the Linux build, each under a Chinese
# locale (code page 936) and under C.UTF-8 (code page 1252); both windows
# driven on Xvfb; the installer run silently.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/windows.sh >/dev/null
out=build-windows

export WINEPREFIX=$PWD/$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
# wineboot returns before the new prefix is ready: wait for its server.
LC_ALL=C.UTF-8 wineboot --init >/dev/null 2>&1
wineserver -w
for locale in zh_CN.UTF-8 C.UTF-8; do
  LC_ALL=$locale ctest --test-dir "$out" --output-on-failure
  LC_ALL=$locale bash tests/windows_cli_test.sh "$PWD/${TORVANE_LINUX_BUILD:-build}/torvane-cli" \
    "$PWD/$out/dist/torvane-cli.exe" "$PWD/examples"
done
LC_ALL=zh_CN.UTF-8 bash tests/kill_test.sh wine "$PWD/$out/dist/torvane-cli.exe"
LC_ALL=zh_CN.UTF-8 bash tests/windows_window_test.sh "$PWD/$out/dist/torvane.exe" "$PWD/examples"
LC_ALL=zh_CN.UTF-8 bash tests/windows_workbench_test.sh "$PWD/$out/dist/torvane.exe" \
  "$PWD/${TORVANE_LINUX_BUILD:-build}/torvane-cli" "$PWD/examples"
LC_ALL=zh_CN.UTF-8 bash tests/windows_installer_test.sh "$PWD/$out" "$PWD/examples"
wineserver -k || true
