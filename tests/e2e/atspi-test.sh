#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a screen reader meets it, on Xvfb in a private D-Bus session
# with the AT-SPI registry (scripts/deps.sh installs them): atspi_check.py.
#   tests/e2e/atspi-test.sh PROGRAM DATA_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:?program}")
data=${2:?data folder}
source "$here/xvfb.sh"
e2e_begin atspi
mkdir "$scratch/work"
cp "$data"/runes.dat "$data"/items.dat "$data"/runewords.dat "$scratch/work/"
start_xvfb "$scratch"
dbus-run-session -- /usr/bin/python3 "$here/atspi_check.py" "$program" "$scratch/work"  # Debian's, with the bindings
