#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up and peak memory of Glyphmoor (sample data, ten characters) against
# a bare Qt window of the same size, both as whole processes, offscreen.
# Usage: benchmarks/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build directory}
runs=${2:-20}
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build"/data/{runes,items,runewords}.dat "$work"/
python3 - "$work/chars.dat" <<'PY'
import sys
out = bytearray()
for k in range(10):
    name = f"Hero{k}".encode()
    rec = bytes([k, 10 + 8 * k]) + name + b"\x02" * (15 - len(name)) + b"\x00" * 51 + bytes([k, k, k])
    out += rec
open(sys.argv[1], "wb").write(out)
PY
probe=$(realpath "$build/benchmarks/startup_probe")
bare=$(realpath "$build/benchmarks/bare_window")

measure() { # prints median milliseconds and the largest peak RSS in KiB
  local program=$1 times=() peak=0
  for _ in $(seq "$runs"); do
    local start end rss
    start=$(date +%s%N)
    rss=$( cd "$work" && /usr/bin/time -f %M "$program" 2>&1 >/dev/null | tail -n1 )
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
    (( rss > peak )) && peak=$rss
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  echo "$median $peak"
}

read -r g_us g_kb < <(measure "$probe")
read -r b_us b_kb < <(measure "$bare")
awk -v g="$g_us" -v b="$b_us" -v gk="$g_kb" -v bk="$b_kb" -v n="$runs" 'BEGIN {
  printf "start-up to window shown, median of %d runs: glyphmoor %.1f ms, bare Qt window %.1f ms, ratio %.2f (budget 1.30)\n", n, g/1000, b/1000, g/b
  printf "peak RSS: glyphmoor %.1f MB, bare Qt window %.1f MB, difference %.1f MB (budget 8 MB)\n", gk/1024, bk/1024, (gk-bk)/1024
}'
