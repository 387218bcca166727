#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the optimised program and prints every performance figure: the core
# pass, the window's operations, loading, and start-up and memory against a
# bare Qt window. Usage: scripts/bench.sh [RUNS_FOR_STARTUP]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j"$(nproc)" --target glyphmoor_bench startup_probe bare_window sample_data

export QT_QPA_PLATFORM=offscreen
echo "=== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), load $(cut -d' ' -f1-3 /proc/loadavg)"
build-bench/benchmarks/glyphmoor_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.2
echo "=== start-up and memory"
benchmarks/startup.sh build-bench "${1:-20}"
