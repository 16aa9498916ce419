#!/usr/bin/env bash
# Builds the Debian package build/torvane_VERSION-REVISION_ARCH.deb: a
# Release build in build-deb/ with Debian's build flags (dpkg-buildflags,
# every hardening feature), installed under /usr and packed by CPack
# (cmake/debian_package.cmake, packaging/linux/). Prints the package's path.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
out=build-deb

# Debian's flags with every hardening feature of Debian 12's dpkg: -O2 -g,
# -fstack-protector-strong, -D_FORTIFY_SOURCE=2, -Wformat with
# -Werror=format-security, and linking with -z relro -z now (PIE is the
# compiler's default). CMake has no CPPFLAGS: they go with the C++ flags.
# The project has no C code; CFLAGS are exported all the same.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
build "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTORVANE_BUILD_APP=ON \
  -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" \
  -DCMAKE_MODULE_LINKER_FLAGS="$LDFLAGS"

rm -f "$out"/torvane_*.deb build/torvane_*.deb
(cd "$out" && cpack -G DEB >/dev/null)
debs=("$out"/torvane_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package.sh: CPack made ${debs[*]}, not one package" >&2
  exit 1
fi
deb=${debs[0]}

# The package's version is the project's with the Debian changelog's
# revision: a project version without its changelog entry, or without its
# release in the metainfo, stops here.
version=$(dpkg-deb --field "$deb" Version)
changelog_version=$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)
if [ "$version" != "$changelog_version" ]; then
  echo "package.sh: the package is $version, packaging/linux/changelog's top entry $changelog_version" >&2
  exit 1
fi
metainfo=packaging/linux/io.github.torvane.Torvane.metainfo.xml
if ! grep -q "<release version=\"${version%-*}\"" "$metainfo"; then
  echo "package.sh: $metainfo has no <release> of version ${version%-*}" >&2
  exit 1
fi

mkdir -p build
cp "$deb" build/
echo "build/$(basename "$deb")"
