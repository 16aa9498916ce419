#!/usr/bin/env bash
# The workbench's start time: `torvane --workbench` from its start to its
# first frame, against a bare Qt window of as many widgets (labels) and the
# same size, started alternately; the medians and their ratio (the
# workbench should take at most 1.2 times the bare window's).
# Usage: bash bench/workbench_start.sh [RUNS] [BUILD]
#   RUNS   starts of each, default 20
#   BUILD  the build folder, default build (built here first: the program
#          and torvane-bench-start only)
# On a virtual X display (xvfb-run) by default; with QT_QPA_PLATFORM=offscreen
# in the environment, headless instead.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-20}
dir=${2:-build}
[ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja >/dev/null
cmake --build "$dir" -j "$(nproc)" --target torvane torvane-bench-start >/dev/null
run=("$dir/program/torvane-bench-start" "$dir/program/torvane" "$runs")
if [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then
  "${run[@]}"
else
  xvfb-run --auto-servernum --server-args='-screen 0 1920x1080x24 -nolisten tcp' "${run[@]}"
fi
