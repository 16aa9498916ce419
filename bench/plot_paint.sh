#!/usr/bin/env bash
# Builds Torvane and times the painting of the workbench's site plot: 1000
# common points with names and residuals, off screen.
# Usage: bash bench/plot_paint.sh [POINTS] [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
build build
QT_QPA_PLATFORM=offscreen build/torvane-bench-plot "${1:-1000}" "${2:-50}"
