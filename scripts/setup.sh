#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing
# Torvane, then builds into build/. Packages already present are not asked
# for, so a machine that has them needs no network.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(
  cmake ninja-build g++ pkg-config
  ccache  # keeps compiled objects outside the clone, so a later run rebuilds only what changed
  libgtest-dev libgmock-dev libcli11-dev
  nlohmann-json3-dev  # nlohmann's JSON, headers only, which reads and writes project files
  libssl-dev  # OpenSSL's libcrypto, the SHA-256 of the files a calibration report names
  libboost-dev  # Boost.Math's F distribution, headers only, for the scale's F test
  qt6-base-dev qt6-translations-l10n
  # The fonts the report tests name (cmake/test_fonts.cmake): the Chinese
  # ones the program prefers, and a Latin one for a system without them.
  fonts-wqy-microhei fonts-noto-cjk fonts-dejavu-core
  xvfb xauth time
  openbox x11-utils  # a window manager to frame the window, xprop and xwininfo to measure it
  unicode-data  # EastAsianWidth.txt, which scripts/east_asian_wide.sh reads
  proj-bin  # cct, the peer the conversions are checked against
  python3-yaml  # the YAML reader of tests/run_cases.py, which runs the tables of tests/cli_cases/
  gdal-bin  # ogr2ogr and ogrinfo, which run the PROJ pipeline on DXF and CSV files
  python3-ezdxf  # writes and reads back the drawings of tests/dxf_test.py, an independent DXF reader
  poppler-utils  # pdftotext, pdffonts, pdfinfo and pdftoppm read the calibration report's PDF back
  python3-matplotlib  # ezdxf's drawing add-on renders scripts/dxf_pictures.sh's pictures with it
  # The Windows build: MinGW-w64, GoogleTest's sources, dpkg-dev to unpack
  # Debian's Qt source, Wine to run it all, NSIS for the installer, icoutils
  # for the icon, xdotool to drive the window under Wine, and a Chinese
  # locale so that Wine runs with code page 936.
  g++-mingw-w64-x86-64-posix googletest dpkg-dev wine wine64 nsis icoutils xdotool locales
  procps  # pgrep, which finds Notepad started by the window
  xclip  # puts a file name outside the keyboard map on the clipboard, for pasting into Wine
  # The Debian package: dpkg-dev's dpkg-buildflags, dpkg-shlibdeps and
  # dpkg-parsechangelog (above), file for CPack's dependency scan, and the
  # checks: lintian, desktop-file-validate, appstreamcli, man and lexgrog.
  file lintian desktop-file-utils appstream man-db
  shared-mime-info  # update-mime-database, which reads the project files' MIME type
  ${TORVANE_EXTRA_PACKAGES:-}
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

# Wine takes its code page from the locale, and a locale that is not
# generated reads file names and arguments as ASCII.
if ! locale -a 2>/dev/null | grep -qx 'zh_CN.utf8'; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# Objects are kept, like the cross-built Qt, outside the clone; paths are
# taken relative to the clone, so another clone of the same sources finds
# them too.
export CCACHE_DIR=${CCACHE_DIR:-${TORVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/torvane}/ccache}
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-3G}

build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
