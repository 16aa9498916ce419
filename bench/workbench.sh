#!/usr/bin/env bash
# The workbench's live solve: a cell of a 1,000-point site edited, the site
# solved again and the window painted, table and plot.
# Usage: bash bench/workbench.sh [POINTS] [EDITS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
build build-release -DCMAKE_BUILD_TYPE=Release
build-release/torvane-bench-workbench "${1:-1000}" "${2:-41}"
