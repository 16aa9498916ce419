#!/usr/bin/env bash
# Builds Torvane and runs the side-by-side benchmark against PROJ's cct:
# a million points converted by both, alternately, five rounds each, their
# results compared point by point; then the window's largest file.
# Usage: bash bench/run.sh [POINTS] [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
build build
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/torvane-bench build/torvane-cli "$(command -v cct)" "${1:-1000000}" "${2:-5}" "$work"
