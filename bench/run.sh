#!/usr/bin/env bash
# Builds and runs the conversion benchmark, then converts a million-point
# file with torvane-cli and reports its peak memory.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
build build
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/torvane-bench 1000000 "$work"
awk 'BEGIN { srand(7); for (i = 1; i <= 1000000; i++)
  printf "P%d , %.3f , %.3f , %.3f\r\n", i, 3400000 + rand() * 1e5, 500000 + rand() * 1e5, rand() * 2000 }' \
  >"$work/million.csv"
/usr/bin/time -f "torvane-cli convert, 1000000 points: %e s, peak memory %M KiB" \
  build/torvane-cli convert --dx=3450000.123 --dy=550000.456 --angle=30.1520 "$work/million.csv"
