#!/usr/bin/env bash
# Set up, build and start the program.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
build build
if [ -x build/program/torvane ]; then
  exec build/program/torvane
fi
exec build/torvane-cli --help
