#!/usr/bin/env bash
# Builds Qt (Core, Gui, Widgets, PrintSupport and the windows platform
# plugin) for 64-bit Windows from Debian's own qt6-base source package, the
# same version as the Linux build's Qt, with Debian's host Qt tools (moc,
# rcc, uic). Shared libraries, so that users may replace Qt's DLLs as its
# LGPL asks.
#
# The result is kept outside the clone, keyed by the source version and the
# options below, so a machine builds it once:
#   ${TORVANE_CACHE:-~/.cache/torvane}/qt6-base-VERSION-mingw64-KEY
# Prints that folder on its last line of standard output.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD

version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  # Only what the windows need: PDF writing and printing for the report.
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DFEATURE_printsupport=ON -DFEATURE_pdf=ON
  -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
  -DFEATURE_textodfwriter=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
  -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF -DFEATURE_style_fusion=OFF
  # Windows draws text with its own font engines and shapes Chinese and
  # Latin text without HarfBuzz. The DirectWrite engine is built only with
  # Direct2D, and the Windows print engine does not link with half of it.
  -DFEATURE_freetype=OFF -DFEATURE_harfbuzz=OFF -DFEATURE_directwrite=OFF
  # Debian's source leaves out the Wacom wintab headers the tablet code needs.
  -DFEATURE_tabletevent=OFF
  # Qt's own copies of zlib, libpng, FreeType, HarfBuzz and PCRE2: nothing
  # of the build machine's may be found.
  -DFEATURE_pkg_config=OFF
  # OpenGL stays at its default (dynamic): with it off, 6.4.2's windows
  # platform plugin does not compile.
)
key=$(printf '%s\n' "$version" "${options[@]}" | sha256sum | cut -c1-12)
cache=${TORVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/torvane}
prefix=$cache/qt6-base-$version-mingw64-$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work=$cache/qt6-base-$version-work
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/sources"
# A deb-src twin of the machine's own apt sources, used by this fetch only.
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && sed -n 's/^Types:.*\bdeb\b.*$/Types: deb-src/;p' "$f" >"$work/apt/sources/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$work/apt/sources/list.list"
fi
# Its lists and cache stay in the work folder: the machine's own apt state
# is neither read nor changed.
apt_opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/apt/sources"
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
  -o APT::Sandbox::User=root)
# A source that has no deb-src side fails here; the one that has Qt is
# checked by the fetch below.
apt-get "${apt_opts[@]}" update -qq >&2 || true
(cd "$work" && apt-get "${apt_opts[@]}" source -qq "qt6-base=$version" >&2)
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)

cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr \
  -DQt6HostInfo_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo \
  "${options[@]}" >&2
cmake --build "$work/build" -j "$(nproc)" >&2
cmake --install "$work/build" --strip >&2
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
