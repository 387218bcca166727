#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a screen reader meets it, on Xvfb in a private D-Bus session
# with the AT-SPI registry (scripts/deps.sh installs them): atspi_check.py.
#   tests/e2e/atspi-test.sh PROGRAM DATA_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:?program}")
data=${2:?data folder}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/glyphmoor-atspi.XXXXXX")
xvfb_pid=""
trap '[[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir "$scratch/work" && mkdir -m 700 "$scratch/runtime"
cp "$data"/runes.dat "$data"/items.dat "$data"/runewords.dat "$scratch/work/"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $scratch/display ]] && break; sleep 0.1; done
[[ -s $scratch/display ]] || { echo "atspi-test.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$scratch/display") XDG_RUNTIME_DIR=$scratch/runtime
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
dbus-run-session -- /usr/bin/python3 "$here/atspi_check.py" "$program" "$scratch/work"  # Debian's, with the bindings
