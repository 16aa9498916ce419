#!/usr/bin/env bash
# Set up, build and run every test: once as built, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then build and check the
# Debian package, and the Windows release under Wine.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
export QT_QPA_PLATFORM=offscreen

build build
ctest --test-dir build --output-on-failure -j "$(nproc)"

build build-asan -DCMAKE_BUILD_TYPE=Debug -DTORVANE_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

# The Debian package, built from a hardened Release build and checked.
bash scripts/package-test.sh

# The Windows build, tested under Wine.
bash scripts/windows-test.sh
