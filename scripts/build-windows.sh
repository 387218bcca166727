#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Glyphmoor for 64-bit Windows into build-windows/: glyphmoor.exe,
# glyphmoor-data.exe, the unit and window test programs, and with `package`
# the portable zip and the installer. Qt for MinGW comes from
# GLYPHMOOR_QT_MINGW, or else ../shared/qt6-mingw beside the checkout. The data
# tool the build runs is GLYPHMOOR_HOST_DATA_TOOL, or else one built for this
# machine in build-windows/host.
#   scripts/build-windows.sh [package] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/configure.sh

qt=${GLYPHMOOR_QT_MINGW:-$PWD/../shared/qt6-mingw}
if [[ ! -f $qt/lib/cmake/Qt6/Qt6Config.cmake ]]; then
  echo "No Qt for MinGW at $qt: set GLYPHMOOR_QT_MINGW to one (see README.md, Windows)." >&2
  exit 2
fi
package=0
if [[ ${1:-} == package ]]; then
  package=1
  shift
fi
targets=("$@")
[[ ${#targets[@]} -gt 0 || $package -eq 1 ]] || targets=(glyphmoor glyphmoor-data unit_tests gui_tests)
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

fresh_unless_ninja build-windows
host_tool=${GLYPHMOOR_HOST_DATA_TOOL:-}
if [[ -z $host_tool ]]; then
  configure . build-windows/host -DCMAKE_BUILD_TYPE=Debug -DGLYPHMOOR_GUI=OFF -DGLYPHMOOR_TESTS=OFF \
    -DGLYPHMOOR_WERROR=ON
  cmake --build build-windows/host -j"$jobs" --target glyphmoor-data
  host_tool=$PWD/build-windows/host/src/tools/glyphmoor-data
fi

configure . build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DGLYPHMOOR_WERROR=ON \
  -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DGLYPHMOOR_HOST_DATA_TOOL="$host_tool"
[[ $package -eq 0 ]] || targets+=(glyphmoor glyphmoor-data glyphmoor-launcher)
cmake --build build-windows -j"$jobs" --target "${targets[@]}"
if [[ $package -eq 1 ]]; then
  rm -f build-windows/Glyphmoor-*-win64*.{zip,exe}
  (cd build-windows && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
  ls build-windows/Glyphmoor-*-win64.zip build-windows/Glyphmoor-*-win64-setup.exe
fi
