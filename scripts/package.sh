#!/usr/bin/env bash
# Builds the Debian packages build/torvane-cli_VERSION-REVISION_ARCH.deb
# (the command line) and build/torvane_VERSION-REVISION_ARCH.deb (the
# window): a Release build in build-deb/ with Debian's build flags
# (dpkg-buildflags, every hardening feature), installed under /usr and
# packed by CPack (cmake/debian_package.cmake, packaging/linux/). Prints the
# packages' paths, the command line's first.
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

rm -f "$out"/torvane_*.deb "$out"/torvane-cli_*.deb build/torvane_*.deb build/torvane-cli_*.deb
(cd "$out" && cpack -G DEB >/dev/null)
made=("$out"/*.deb)
debs=()
for name in torvane-cli torvane; do
  found=("$out"/"$name"_*.deb)
  if [ ${#found[@]} -ne 1 ] || [ ! -f "${found[0]}" ]; then
    echo "package.sh: CPack made ${made[*]}, not one $name package" >&2
    exit 1
  fi
  debs+=("${found[0]}")
done
if [ ${#made[@]} -ne 2 ]; then
  echo "package.sh: CPack made ${made[*]}, not two packages" >&2
  exit 1
fi

# The packages' version is the project's with the Debian changelog's
# revision: a project version without its changelog entry, or without its
# release in the metainfo, stops here.
changelog_version=$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)
for deb in "${debs[@]}"; do
  version=$(dpkg-deb --field "$deb" Version)
  if [ "$version" != "$changelog_version" ]; then
    echo "package.sh: $(basename "$deb") is $version, packaging/linux/changelog's top entry $changelog_version" >&2
    exit 1
  fi
done
metainfo=packaging/linux/io.github.torvane.Torvane.metainfo.xml
if ! grep -q "<release version=\"${version%-*}\"" "$metainfo"; then
  echo "package.sh: $metainfo has no <release> of version ${version%-*}" >&2
  exit 1
fi

mkdir -p build
for deb in "${debs[@]}"; do
  cp "$deb" build/
  echo "build/$(basename "$deb")"
done
