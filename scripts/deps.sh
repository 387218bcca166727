#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Glyphmoor
# need, skipping those already there. Safe to run any number of times.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config strace
  googletest libgtest-dev libgmock-dev
  qt6-base-dev libgl-dev libxcb1-dev fonts-dejavu-core fonts-dejavu-extra
  clang libclang-rt-14-dev
  libbenchmark-dev time
  xvfb xdotool x11-utils imagemagick desktop-file-utils python3
  librsvg2-bin dpkg-dev file lintian appstream
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 nsis zip unzip
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
