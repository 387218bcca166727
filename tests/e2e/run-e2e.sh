#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A smoke test of the real program on a virtual X display (Xvfb) with real
# input (xdotool): a first character from the start-up dialog, ticks from the
# button column, two Filters commands, a second character from the File menu,
# and the Exit button, in a folder whose name is no UTF-8; a second copy
# started there meanwhile is refused. glyphmoor-data then reads back what was
# saved.
#
#   tests/e2e/run-e2e.sh PROGRAM DATA_TOOL DATA_DIR [OUT_DIR]
#
# DATA_DIR holds runes.dat, items.dat and runewords.dat (build/data). OUT_DIR
# (default: the current directory) receives screenshot.png, the window with a
# filled runeword list, and e2e-failure.png, the screen when a step failed.
# Needs Xvfb, xdotool and ImageMagick (scripts/deps.sh installs them).
set -euo pipefail
program=$(realpath "${1:?usage: run-e2e.sh PROGRAM DATA_TOOL DATA_DIR [OUT_DIR]}") tool=$(realpath "$2") data=$3
out=$(realpath "${4:-.}")

source "$(dirname "$0")/xvfb.sh"
e2e_begin e2e
work=$scratch/$'work-\xff\xfe' # a folder name is bytes, not text
mkdir -p "$work" "$out"
rm -f "$out/e2e-failure.png"
cp "$data"/runes.dat "$data"/items.dat "$data"/runewords.dat "$work/"
start_xvfb "$scratch"
export QT_QPA_PLATFORM=xcb
# Under AddressSanitizer: libxkbcommon-x11 reads the server's keymap with
# strndup on counted buffers without a final zero, which strict string checks
# take for an overflow.
[[ -z ${ASAN_OPTIONS:-} ]] || export ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0

(cd "$work" && exec "$program") >"$scratch/program.log" 2>&1 &
app=$!
pids=$app # stopped at exit, unless it ends first
character "Wren Ashby" 42   # the roster is empty: the program asks first
main=$(window 'Glyphmoor v[0-9.]*')
# A fixed size: the window manager is offered no sizing border, no maximise box.
hints=$(xprop -id "$main" _MOTIF_WM_HINTS)
[[ $hints == *"= 0x3, 0x2c, 0x3a, 0x0, 0x0" ]] || fail "the frame's hints offer more than a fixed window has: $hints"
(cd "$work" && exec "$program") >"$scratch/second.log" 2>&1 &
second=$!
window 'Info\.\.\.' >/dev/null                           # already running with these files
xdotool key Return
status=0
wait "$second" || status=$?
[[ $status -eq 1 ]] || fail "a second copy in the same folder ended with status $status, not 1"
main=$(window 'Glyphmoor v[0-9.]*')
xdotool key --delay 100 alt+a alt+i                      # All Runes, All Items
xdotool key --delay 100 alt+t Down Return                # at least one of the selected runes
xdotool key --delay 100 alt+t Down Down Down Return      # the selected character's level
sleep 0.5
import -window "$main" "$out/screenshot.png" || fail "no screenshot"
xdotool key --delay 100 alt+f Return                     # File > New character
character "Brann" 7
window 'Glyphmoor v[0-9.]*' >/dev/null
xdotool key --delay 100 alt+c alt+w alt+x                # Common, All Weapons, Exit
for _ in $(seq 150); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program is still running 15 s after Exit"
wait "$app" || fail "the program ended with status $?: $(cat "$scratch/program.log")"
pids=""

# Slots, names, levels, ticks and highlighted rows as saved, the filter
# settings, and what the program lists for the selected character.
expected="chars.dat: 2 characters
character 0: 'Wren Ashby', clvl 42
  runes: $(seq -s ' ' 0 32)
  item types: $(seq -s ' ' 0 17)
character 1: 'Brann', clvl 7
  runes: $(seq -s ' ' 0 10)
  item types: $(seq -s ' ' 0 10)
settings.dat: selected character 1, info: runeword info (3)
  rune rule: any rune (2), character rule: the selected character (1)
  clvl over 0, clvl under 100, ignore clvl limits: yes"
shows "$work" "$expected"
grep -q "^listed for character 1: [1-9][0-9]* runewords" "$scratch/shown" || fail "nothing listed for Brann"
extra=$(ls "$work" | grep -vx 'runes.dat\|items.dat\|runewords.dat\|chars.dat\|settings.dat' || true)
[[ -z $extra ]] || fail "unexpected files in the working folder: $extra"
echo "e2e: passed; $(grep '^listed' "$scratch/shown")"
