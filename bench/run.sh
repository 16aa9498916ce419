#!/usr/bin/env bash
# Builds Torvane and runs the side-by-side benchmark against PROJ's cct:
# a million points converted by both, alternately, five rounds each, their
# results compared point by point; then the window's largest file.
# Usage: bash bench/run.sh [POINTS] [ROUNDS]
# With TORVANE_MARCH=native in the environment, Torvane is built for this
# machine's processor (into build-native/); the results stay the same.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
dir=build
if [ -n "${TORVANE_MARCH:-}" ]; then
  dir=build-$TORVANE_MARCH
  build "$dir" -DTORVANE_BUILD_APP=OFF -DTORVANE_MARCH="$TORVANE_MARCH"
else
  build build
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$dir"/torvane-bench "$dir"/torvane-cli "$(command -v cct)" "${1:-1000000}" "${2:-5}" "$work"
