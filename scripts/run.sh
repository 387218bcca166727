#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Glyphmoor and starts it in ./run, a working folder that holds the
# sample data files (copied there the first time) and your chars.dat and
# settings.dat.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target glyphmoor sample_data

mkdir -p run
for f in runes.dat items.dat runewords.dat; do
  [[ -e "run/$f" ]] || cp "build/data/$f" "run/$f"
done
cd run
exec ../build/src/app/glyphmoor
