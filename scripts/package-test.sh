#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it: the test
# suite on the hardened Release build that was packaged, then
# tests/package_test.sh on the package (lintian, the desktop entry, the
# metainfo, the files, the manual pages, the unpacked programs, apt's
# simulated installation).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/package.sh
version=$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)
deb=build/torvane_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
  echo "package-test.sh: scripts/package.sh left no $deb" >&2
  exit 1
fi
QT_QPA_PLATFORM=offscreen ctest --test-dir build-deb --output-on-failure -j "$(nproc)"
bash tests/package_test.sh "$deb" "$PWD/examples"
