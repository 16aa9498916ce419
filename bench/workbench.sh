#!/usr/bin/env bash
# The workbench's live solve: a cell of a 1,000-point site edited, the site
# solved again and the window painted, table and plot.
# Usage: bash bench/workbench.sh [POINTS] [EDITS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j "$(nproc)" --target torvane-bench-workbench >/dev/null
build-release/torvane-bench-workbench "${1:-1000}" "${2:-41}"
