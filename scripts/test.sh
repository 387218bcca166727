#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every test, compiling each kind of build once:
#   build-asan/     the unit and window tests under AddressSanitizer and
#                   UndefinedBehaviorSanitizer;
#   build-release/  the optimised program as it ships: the end-to-end tests
#                   (the window on Xvfb, the Debian package) and a short run
#                   of the benchmarks;
#   build-fuzz/     each fuzz target for a bounded time (GLYPHMOOR_FUZZ_SECONDS,
#                   5 s; `scripts/fuzz.sh 3600` is the long run);
#   build-windows/  when Qt for MinGW is found, the Windows build's unit and
#                   window tests under Wine, and its zip and installer end to
#                   end (Wine on Xvfb).
# Warnings are errors in both CMake builds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
source scripts/configure.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
started=$SECONDS

echo "=== build-asan: configure and build"
configure . build-asan -DCMAKE_BUILD_TYPE=Debug -DGLYPHMOOR_SANITIZE=ON -DGLYPHMOOR_WERROR=ON -DGLYPHMOOR_UNIT_TESTS=ON
cmake --build build-asan -j"$jobs" --target unit_tests gui_tests
echo "=== build-asan: unit and window tests"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE e2e

echo "=== build-release: configure and build"
# -O2 without debug information: GCC 12 warns falsely at -O3.
configure . build-release -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DGLYPHMOOR_WERROR=ON -DGLYPHMOOR_UNIT_TESTS=OFF
cmake --build build-release -j"$jobs"
echo "=== build-release: end-to-end tests and benchmarks"
ctest --test-dir build-release --output-on-failure -j"$jobs"

echo "=== fuzzing"
scripts/fuzz.sh "${GLYPHMOOR_FUZZ_SECONDS:-5}"
# The Windows build's tests under Wine, whenever Qt for MinGW is there.
qt_mingw=${GLYPHMOOR_QT_MINGW:-$PWD/../shared/qt6-mingw}
if [[ -f $qt_mingw/lib/cmake/Qt6/Qt6Config.cmake ]]; then
  echo "=== build-windows: cross-build and packages, unit and window tests, both packages end to end under Wine"
  GLYPHMOOR_QT_MINGW=$qt_mingw GLYPHMOOR_HOST_DATA_TOOL=$PWD/build-release/src/tools/glyphmoor-data \
    scripts/build-windows.sh package unit_tests gui_tests
  GLYPHMOOR_QT_MINGW=$qt_mingw scripts/test-windows.sh unit gui
  tests/e2e/windows-e2e.sh build-windows/Glyphmoor-*-win64.zip build-windows/Glyphmoor-*-win64-setup.exe \
    build-release/src/tools/glyphmoor-data build-windows
else
  echo "=== Windows stage skipped: no Qt for MinGW at $qt_mingw (set GLYPHMOOR_QT_MINGW)"
fi
echo "=== all tests passed in $((SECONDS - started)) s"
