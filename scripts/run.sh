#!/usr/bin/env bash
# Set up, build the two programs and start the window. Only what the
# programs need is built (152 of the 231 steps of a Debug build): the tests,
# benches and fuzz targets are left to scripts/test.sh, which builds
# everything.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cmake -S . -B build -G Ninja -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
# The window's target exists only where the window is built (grep reads all of
# the list, so that pipefail sees no broken pipe).
targets=(torvane-cli)
if ninja -C build -t targets all 2>/dev/null | grep "^torvane: " >/dev/null; then
  targets+=(torvane)
fi
cmake --build build -j "$(nproc)" --target "${targets[@]}"
if [ -x build/program/torvane ]; then
  exec build/program/torvane
fi
exec build/torvane-cli --help
