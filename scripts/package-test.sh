#!/usr/bin/env bash
# Builds the Debian packages (scripts/package.sh) and checks them: the test
# suite on the hardened Release build that was packaged, then
# tests/package_test.sh on the packages (lintian, the desktop entry, the
# metainfo, the files, the manual pages, the unpacked programs, apt's
# simulated installation).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/package.sh
version=$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)
arch=$(dpkg --print-architecture)
cli_deb=build/torvane-cli_${version}_$arch.deb
app_deb=build/torvane_${version}_$arch.deb
for deb in "$cli_deb" "$app_deb"; do
  if [ ! -f "$deb" ]; then
    echo "package-test.sh: scripts/package.sh left no $deb" >&2
    exit 1
  fi
done
QT_QPA_PLATFORM=offscreen ctest --test-dir build-deb --output-on-failure -j "$(nproc)"
bash tests/package_test.sh "$cli_deb" "$app_deb" "$PWD/examples"
