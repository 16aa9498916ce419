#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing
# Torvane, then builds into build/. Packages already present are not asked
# for, so a machine that has them needs no network.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libcli11-dev
  qt6-base-dev qt6-translations-l10n fonts-wqy-microhei
  xvfb xauth time
  proj-bin  # cct, the peer the conversions are checked against
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

build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
