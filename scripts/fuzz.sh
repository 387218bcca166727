#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of tests/fuzz with clang and runs each one for
# a bounded time on a copy of its seed corpus, then prints per target how many
# inputs ran and whether it crashed. Exits non-zero when any target crashed
# (or could not be built). Installs nothing: scripts/deps.sh does that.
#
#   scripts/fuzz.sh                 10 seconds per target
#   scripts/fuzz.sh 3600            an hour per target
#   scripts/fuzz.sh 60 roster runes only these targets
#
# Environment: GLYPHMOOR_FUZZ_SECONDS (seconds per target when no argument is
# given), GLYPHMOOR_FUZZ_BUILD (build directory, default build-fuzz),
# GLYPHMOOR_FUZZ_JOBS (build jobs, and targets fuzzed at once, default 2).
# Crash inputs are kept in <build>/crashes/<target>/; the working corpus lives
# in a scratch directory that is removed afterwards, so the repository is
# never written to.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/configure.sh

all_targets=(runes items runewords roster settings roundtrip datadecompile)

seconds=${GLYPHMOOR_FUZZ_SECONDS:-10}
if [[ $# -gt 0 ]]; then
  seconds=$1
  shift
fi
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [[ "$seconds" -lt 1 ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]" >&2
  echo "targets: ${all_targets[*]}" >&2
  exit 2
fi
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  if [[ ! " ${all_targets[*]} " =~ " $t " ]]; then
    echo "unknown target '$t'; targets: ${all_targets[*]}" >&2
    exit 2
  fi
done

build=${GLYPHMOOR_FUZZ_BUILD:-build-fuzz}
jobs=${GLYPHMOOR_FUZZ_JOBS:-2}
for tool in clang++ cmake ninja; do
  command -v "$tool" >/dev/null || { echo "fuzz.sh: $tool is missing; run scripts/deps.sh" >&2; exit 1; }
done

echo "=== fuzz: configure and build in $build"
fresh_unless_ninja "$build"
mkdir -p "$build"
if ! { CC=clang CXX=clang++ configure tests/fuzz "$build" -DCMAKE_CXX_COMPILER=clang++ &&
       cmake --build "$build" -j"$jobs" --target $(printf 'fuzz_%s ' "${targets[@]}"); } >"$build/build.log" 2>&1; then
  tail -n 40 "$build/build.log"
  echo "=== fuzz: the targets did not build (log: $build/build.log)"
  exit 1
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/glyphmoor-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# Fuzzes target $1 and writes its line of the summary to $scratch/$1/result,
# and the first error of a crash after it.
fuzz_target() {
  local t=$1 work="$scratch/$1" status=0 runs corpus keep artifacts
  mkdir -p "$work/corpus" "$work/artifacts"
  if [[ -d "tests/fuzz/corpus/$t" ]]; then
    cp -R "tests/fuzz/corpus/$t/." "$work/corpus/"
  fi
  local options=(-max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1
                 -artifact_prefix="$work/artifacts/")
  [[ -f "tests/fuzz/$t.dict" ]] && options+=(-dict="tests/fuzz/$t.dict")

  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
    "$build/fuzz_$t" "${options[@]}" "$work/corpus" >"$work/log" 2>&1 || status=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n1)
  [[ -n "$runs" ]] || runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$work/log" | tail -n1)
  [[ -n "$runs" ]] || runs="?"
  corpus=$(find "$work/corpus" -type f | wc -l)
  shopt -s nullglob
  artifacts=("$work"/artifacts/*)
  shopt -u nullglob
  if [[ $status -eq 0 && ${#artifacts[@]} -eq 0 ]]; then
    printf '%-14s %12s executions  corpus %5s  ok\n' "$t" "$runs" "$corpus" >"$work/result"
  else
    keep="$build/crashes/$t"
    mkdir -p "$keep"
    for a in "${artifacts[@]}"; do cp "$a" "$keep/"; done
    cp "$work/log" "$keep/fuzz.log"
    { printf '%-14s %12s executions  corpus %5s  CRASHED (exit %s): see %s\n' \
             "$t" "$runs" "$corpus" "$status" "$keep"
      grep -m1 -E 'ERROR: |runtime error|^[a-z].*: .*(differs|not|no )' "$work/log" || true; } >"$work/result"
  fi
}

# The targets run side by side, as many at once as build jobs: each is one
# process on one core.
for t in "${targets[@]}"; do
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do wait -n || true; done
  echo "=== fuzz: $t for ${seconds}s"
  fuzz_target "$t" &
done
wait

echo "=== fuzz: ${seconds}s per target"
failed=0
for t in "${targets[@]}"; do
  cat "$scratch/$t/result" 2>/dev/null || echo "$t: no result"
  grep -q ' ok$' "$scratch/$t/result" 2>/dev/null || failed=1
done
if [[ $failed -ne 0 ]]; then
  echo "=== fuzz: a target crashed"
  exit 1
fi
echo "=== fuzz: no crash"
