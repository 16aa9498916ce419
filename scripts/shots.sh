#!/usr/bin/env bash
# Set up, build and render the window to PNG files in the folder given
# (default /tmp/torvane-shots): resting.png, two_point.png, help.png; then
# the first page of the example's calibration report (K5 a check point) to
# docs/report.png, for the README, with poppler's pdftoppm.
set -euo pipefail
out=$(realpath -m "${1:-/tmp/torvane-shots}")
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
build build
xvfb-run -a build/program/torvane-shots "$out"
report=$(mktemp -d)
trap 'rm -rf "$report"' EXIT
build/program/torvane --report="$report/report.pdf" --points=examples/control-points.csv \
  --check-points=K5 --operator=张工
pdftoppm -r 60 -png -f 1 -l 1 -singlefile "$report/report.pdf" docs/report
echo docs/report.png
