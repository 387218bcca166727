#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs every test twice: once in a plain build with
# warnings as errors, once under AddressSanitizer and UndefinedBehaviorSanitizer;
# then runs each fuzz target for a bounded time (GLYPHMOOR_FUZZ_SECONDS, 10 s;
# `scripts/fuzz.sh 3600` is the long run, an hour per target).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  echo "=== $dir: configure and build"
  cmake -S . -B "$dir" -DGLYPHMOOR_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "=== $dir: tests"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DGLYPHMOOR_SANITIZE=ON
echo "=== fuzzing"
scripts/fuzz.sh "${GLYPHMOOR_FUZZ_SECONDS:-10}"
echo "=== all tests passed"
