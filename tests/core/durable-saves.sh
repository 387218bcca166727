#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Saves must survive a power cut: after every rename or link that gives a file
# its name, the folder holding that name is synced. Traces the file tests on a
# real disk and checks each successful rename and link is followed, in the
# same process, by an fsync of a descriptor opened on a folder.
#   durable-saves.sh UNIT_TESTS
set -euo pipefail
unit_tests=$1
command -v strace >/dev/null || { echo "strace is missing: run scripts/deps.sh" >&2; exit 1; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# LeakSanitizer cannot run under a tracer.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" strace -f -qq -e trace=openat,rename,renameat,renameat2,link,linkat,fsync -o "$log" \
  "$unit_tests" --gtest_filter='Disk.*:Roster.*' >/dev/null
awk '
  # pid, then the call; only calls that succeeded count.
  / = -1 / { next }
  /openat\(.*O_DIRECTORY/ { folder[$1 " " $NF] = 1; next }
  /openat\(/ { delete folder[$1 " " $NF]; next }
  /(rename|renameat2?|linkat?)\(/ { names++; if (pending[$1]) late++; pending[$1] = 1; next }
  /fsync\(/ {
    match($0, /fsync\([0-9]+/)
    if (($1 " " substr($0, RSTART + 6, RLENGTH - 6)) in folder) pending[$1] = 0
  }
  END {
    for (p in pending) late += pending[p]
    printf "%d renames and links traced, %d without a folder sync after them\n", names, late
    exit (names == 0 || late != 0)
  }' "$log"
