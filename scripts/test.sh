#!/usr/bin/env bash
# Set up, build and run every test: once as built (the hardened Release
# build that the Debian package is made from, which is then checked), once
# under AddressSanitizer and UndefinedBehaviorSanitizer; then the Windows
# release under Wine, compared with that Linux build.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
export QT_QPA_PLATFORM=offscreen

# The Debian package, built from a hardened Release build, its tests run
# there and the package checked.
bash scripts/package-test.sh

build build-asan -DCMAKE_BUILD_TYPE=Debug -DTORVANE_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

# The Windows build, tested under Wine.
TORVANE_LINUX_BUILD=build-deb bash scripts/windows-test.sh
