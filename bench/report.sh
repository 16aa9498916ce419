#!/usr/bin/env bash
# The time `torvane --report=OUT.pdf` takes on a site of many common points
# (by default 300 and 10000, each with 4 mm of noise, a few points off by
# centimetres, two check points), with no display: the median of five runs,
# each timed on its own, and the PDF's pages; the README promises 1 s. Run
# it on a Release build.
# Usage: bash bench/report.sh [POINTS...] [TORVANE]
#   POINTS   the sites' sizes, as one word: "300 10000" by default
#   TORVANE  the program to time; default: build-release/program/torvane,
#            built first (Release)
set -euo pipefail
sizes=${1:-300 10000}
torvane=${2:-}
if [ -z "$torvane" ]; then
  source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
  build build-release -DCMAKE_BUILD_TYPE=Release
  torvane=build-release/program/torvane
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
for points in $sizes; do
  awk -v n="$points" 'BEGIN {
    srand(20261209)
    pi = atan2(0, -1)
    c = cos(0.5627); s = sin(0.5627)
    for (i = 1; i <= n; i++) {
      xc = (rand() - 0.5) * 2000; yc = (rand() - 0.5) * 2000
      xs = 3412586.2 + c * xc - s * yc
      ys = 512734.9 + s * xc + c * yc
      r = sqrt(-2 * log(1 - rand())) * 0.004; a = 2 * pi * rand()
      xs += r * cos(a); ys += r * sin(a)
      if (i % 97 == 0) { xs += 0.04 + 0.2 * rand() }
      printf "P%d, %.4f, %.4f, %.4f, %.4f\n", i, xs, ys, xc, yc
    }
  }' >"$work/points.csv"

  times=()
  for run in 1 2 3 4 5; do
    start=$(date +%s.%N)
    "$torvane" --report="$work/report.pdf" --points="$work/points.csv" --model=similarity \
      --check-points=P2,P3
    end=$(date +%s.%N)
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk -v n="$points" '
    { t[NR] = $1 }
    END { printf "%d points: runs %s %s %s %s %s s, median %.3f s\n", n, t[1], t[2], t[3], t[4], t[5], t[3] }'
  pdfinfo "$work/report.pdf" | grep -E '^(Pages|File size):'
done
