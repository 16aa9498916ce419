#!/usr/bin/env bash
# Set up, build and render the window to PNG files in the folder given
# (default /tmp/torvane-shots): resting.png, two_point.png, help.png.
set -euo pipefail
out=$(realpath -m "${1:-/tmp/torvane-shots}")
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
build build
xvfb-run -a build/program/torvane-shots "$out"
