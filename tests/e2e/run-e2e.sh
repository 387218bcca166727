#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs Glyphmoor on a virtual X display (Xvfb, no window manager) and drives it
# with real mouse and keyboard input; see drive_window.py for what it does and
# checks.
#
#   tests/e2e/run-e2e.sh PROGRAM DATA_DIR [OUT_DIR] [--screenshot PNG]
#
# PROGRAM   the built program, e.g. build/src/app/glyphmoor
# DATA_DIR  the folder with runes.dat, items.dat and runewords.dat (build/data)
# OUT_DIR   where screenshot.png, and failure.png when a check fails, go
#           (default: the current directory)
# --screenshot PNG  also copies the picture of the window there; this is how
#           docs/screenshot.png is made
#
# Needs Xvfb, xdotool, xwd and python3 (scripts/deps.sh installs them).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
program=""
data=""
out=""
screenshot=""
while [[ $# -gt 0 ]]; do
  case $1 in
    --screenshot) screenshot=${2:?--screenshot needs a file name}; shift 2 ;;
    -*) echo "run-e2e.sh: unknown option $1" >&2; exit 2 ;;
    *)
      if [[ -z $program ]]; then program=$1
      elif [[ -z $data ]]; then data=$1
      elif [[ -z $out ]]; then out=$1
      else echo "run-e2e.sh: too many arguments" >&2; exit 2
      fi
      shift ;;
  esac
done
if [[ -z $program || -z $data ]]; then
  sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
out=${out:-$PWD}

missing=()
for tool in Xvfb xdotool xwd python3; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "run-e2e.sh: missing ${missing[*]}; run scripts/deps.sh" >&2
  exit 1
fi
[[ -x $program ]] || { echo "run-e2e.sh: no program at $program" >&2; exit 1; }
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out/failure.png" "$out/screenshot.png"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/glyphmoor-e2e.XXXXXX")
xvfb_pid=""
cleanup() {
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# The working folder holds only the three reference files.
mkdir "$scratch/work"
for f in runes.dat items.dat runewords.dat; do
  [[ -f $data/$f ]] || { echo "run-e2e.sh: no $f in $data" >&2; exit 1; }
  cp "$data/$f" "$scratch/work/$f"
done

# Xvfb picks a free display itself and writes its number once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
  3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s $scratch/display ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [[ ! -s $scratch/display ]]; then
  echo "run-e2e.sh: Xvfb did not start:" >&2
  cat "$scratch/xvfb.log" >&2
  exit 1
fi
DISPLAY=:$(head -n1 "$scratch/display")
export DISPLAY
echo "e2e: Xvfb on display $DISPLAY, working folder $scratch/work"

# The program's own environment: no desktop session, no window manager.
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS XDG_SESSION_TYPE WAYLAND_DISPLAY
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Under AddressSanitizer: libxkbcommon-x11 reads the X server's keymap with
# strndup on counted buffers without a final zero, which strict string checks
# report as an overflow although strndup stops at the count. Only the real X
# connection reaches that code; the rest of the checks stay as given.
if [[ -n ${ASAN_OPTIONS:-} ]]; then
  export ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0
fi

status=0
python3 "$here/drive_window.py" "$program" "$scratch/work" "$out" || status=$?
if [[ $status -ne 0 ]]; then
  # Keep what the program wrote, to look at.
  for f in chars.dat settings.dat; do
    [[ -e $scratch/work/$f ]] && cp "$scratch/work/$f" "$out/failed-$f"
  done
  exit "$status"
fi
if [[ -n $screenshot ]]; then
  cp "$out/screenshot.png" "$screenshot"
  echo "e2e: copied the screenshot to $screenshot"
fi
