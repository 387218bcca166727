#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows packages under Wine on Xvfb, in a fresh Wine prefix, with real
# input (xdotool). The portable zip, unzipped into a folder named in
# non-ASCII letters: the first start makes a character through its dialog,
# ticks by keyboard, Alt+X; glyphmoor-data (built for this machine) reads the
# saved files back. The installer, silently: the Start-menu entry's launcher
# makes %APPDATA%\Glyphmoor and a character is made there; the silent
# uninstaller removes the program and leaves that folder as it was.
#
#   tests/e2e/windows-e2e.sh ZIP SETUP_EXE DATA_TOOL [OUT_DIR]
#
# OUT_DIR (default: the current directory) receives windows-e2e-failure.png, the
# screen when a step failed.
set -euo pipefail
zip=$(realpath "${1:?usage: windows-e2e.sh ZIP SETUP_EXE DATA_TOOL [OUT_DIR]}") setup=$(realpath "$2")
tool=$(realpath "$3") out=$(realpath "${4:-.}")
wine=/usr/lib/wine/wine64

source "$(dirname "$0")/xvfb.sh"
e2e_begin windows-e2e '/usr/lib/wine/wineserver -k 2>/dev/null'
window_wait=30 type_delay=60 # Wine is slower to show a window and to take keys
export WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_xvfb "$scratch"
rm -f "$out/windows-e2e-failure.png"
"$wine" wineboot -i </dev/null >/dev/null 2>&1

# Runs "$@" (a Wine program) to its end within 60 s, with no standard input.
ends() {
  "$@" </dev/null >>"$scratch/wine.log" 2>&1 &
  local pid=$! status=0
  for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running 60 s after: $*"
  wait "$pid" || status=$?
  [[ $status -eq 0 ]] || fail "status $status from: $* ($(tail -n5 "$scratch/wine.log"))"
}
# A character, Space/Down ticks in the rune list (it has the keyboard at
# start), Alt+X: what shows reads back.
play() {
  character "$1" "$2"
  window 'Glyphmoor v[0-9.]*' >/dev/null
  xdotool key --delay 150 space Down Down space Tab space alt+x
}
# What glyphmoor-data shows of one character NAME CLVL played as above, and the default rules.
played() {
  printf '%s\n' "chars.dat: 1 characters" "character 0: '$1', clvl $2" "  runes: 0 2" "  item types: 0" \
    "settings.dat: selected character 0, info: runeword info (3)" \
    "  rune rule: all runes (1), character rule: regardless of characters (3)" \
    "  clvl over 0, clvl under 100, ignore clvl limits: yes"
}

portable=$scratch/Spiele-Ærø
mkdir "$portable" && (cd "$portable" && unzip -q "$zip")
portable=$(echo "$portable"/Glyphmoor-*-win64)
(cd "$portable" && ends "$wine" glyphmoor.exe) &
play "Wren Ashby" 42
wait $! || exit 1
shows "$portable" "$(played "Wren Ashby" 42)"

ends "$wine" "$setup" /S
programs=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Local/Programs/Glyphmoor
entry=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Glyphmoor.lnk
appdata=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Glyphmoor
[[ -f $programs/glyphmoor.exe && -f $entry && ! -e $appdata ]] || fail "not installed in $programs with $entry"
(cd "$scratch" && ends "$wine" start /unix "$entry") # returns before the launcher ends
play "Brann" 7
timeout 60 /usr/lib/wine/wineserver -w || fail "the program is still running 60 s after Alt+X"
shows "$appdata" "$(played Brann 7)"
kept=$(cd "$appdata" && sha256sum -- *)
ends "$wine" "$programs/Uninstall.exe" /S
timeout 60 /usr/lib/wine/wineserver -w # the uninstaller runs on from a copy of itself
[[ ! -e $programs && ! -e $entry ]] || fail "the uninstaller left $(ls -d "$programs" "$entry" 2>/dev/null)"
[[ $(cd "$appdata" && sha256sum -- *) == "$kept" ]] || fail "the uninstaller changed $appdata"
echo "windows-e2e: passed"
