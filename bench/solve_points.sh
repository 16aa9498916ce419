#!/usr/bin/env bash
# Time and peak memory of `torvane-cli solve --points` on a large site: a
# common-point file is made up, then solved under /usr/bin/time -v, once
# for each output format.
# Usage: bash bench/solve_points.sh [POINTS] [KIND] [CLI]
#   POINTS  common points, default 100000
#   KIND    noisy:  survey coordinates from a known rotation and translation,
#                   4 mm of noise, every 997th point 40-240 mm off in X and
#                   in Y, written to 0.1 mm (the default)
#           exact:  construction = survey moved by whole metres, no rotation,
#                   no noise: every distance agrees, every residual is 0
#           rounded: turned by 30°, both grids written to 1 mm: residuals
#                   are the rounding alone
#   CLI     torvane-cli to run, default build/torvane-cli
set -euo pipefail
points=${1:-100000}
kind=${2:-noisy}
cli=${3:-build/torvane-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v n="$points" -v kind="$kind" 'BEGIN {
  srand(20240611)
  pi = atan2(0, -1)
  theta = (kind == "rounded") ? pi / 6 : 0.5627
  c = cos(theta); s = sin(theta)
  for (i = 1; i <= n; i++) {
    xc = (rand() - 0.5) * 2000; yc = (rand() - 0.5) * 2000
    if (kind == "exact") {
      xc = int(xc); yc = int(yc)
      printf "P%d, %d, %d, %d, %d\n", i, xc + 3412, yc + 5127, xc, yc
      continue
    }
    xs = 3412.586 + c * xc - s * yc
    ys = 5127.349 + s * xc + c * yc
    if (kind == "rounded") {
      printf "P%d, %.3f, %.3f, %.3f, %.3f\n", i, xs, ys, xc, yc
      continue
    }
    # Box-Muller: two normal deviates of 4 mm.
    r = sqrt(-2 * log(1 - rand())) * 0.004; a = 2 * pi * rand()
    xs += r * cos(a); ys += r * sin(a)
    if (i % 997 == 0) { xs += 0.04 + 0.2 * rand(); ys -= 0.04 + 0.2 * rand() }
    printf "P%d, %.4f, %.4f, %.4f, %.4f\n", i, xs, ys, xc, yc
  }
}' >"$work/points.csv"

for format in text json; do
  echo "== $points common points ($kind), --format=$format"
  /usr/bin/time -v "$cli" solve --points="$work/points.csv" --format="$format" \
    >"$work/out" 2>"$work/time" || { cat "$work/time"; exit 1; }
  grep -E 'Elapsed \(wall clock\)|Maximum resident set size' "$work/time"
  if [ "$format" = text ]; then sed -n '/^Distances/,$p' "$work/out"; else grep '"pair_count"' "$work/out"; fi
done
