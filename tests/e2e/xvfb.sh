# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end scripts. e2e_begin NAME [EXIT_COMMAND] makes $scratch, a folder that
# goes at exit with Xvfb, the processes in $pids and whatever EXIT_COMMAND stops; fail TEXT says
# NAME: FAILED: TEXT, saves the screen as $out/NAME-failure.png and exits. start_xvfb starts Xvfb on
# a free display, exports DISPLAY and a private XDG_RUNTIME_DIR, and sets $xvfb to its pid. window
# TITLE focuses the visible window whose whole title it is and prints its id; character NAME CLVL
# types into the New Character... dialog (they wait $window_wait seconds, type with $type_delay ms
# between keys). shows FOLDER EXPECTED compares what $tool (glyphmoor-data) shows of the files
# there, without highlights and listings, with EXPECTED.
e2e_begin() {
  e2e=$1 on_exit=${2:-} xvfb="" pids="" scratch=$(mktemp -d "${TMPDIR:-/tmp}/glyphmoor-$1.XXXXXX")
  trap 'eval "$on_exit" || :; for p in $pids $xvfb; do kill "$p" && wait "$p"; done 2>/dev/null || :; rm -rf "$scratch"' EXIT
}
fail() {
  echo "$e2e: FAILED: $*" >&2
  import -window root "$out/$e2e-failure.png" 2>/dev/null && echo "$e2e: the screen: $out/$e2e-failure.png" >&2
  exit 1
}
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do [[ -s $1/display ]] && break; sleep 0.1; done
  [[ -s $1/display ]] || { cat "$1/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(head -n1 "$1/display") XDG_RUNTIME_DIR=$1/runtime
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY
}
window() {
  local id
  id=$(timeout "${window_wait:-15}" xdotool search --sync --onlyvisible --name "^$1\$" | head -n1) ||
    fail "no window '$1'"
  xdotool windowfocus --sync "$id"
  echo "$id"
}
character() {
  window 'New Character\.\.\.' >/dev/null
  xdotool type --delay "${type_delay:-40}" "$1"; xdotool key Tab
  xdotool type --delay "${type_delay:-40}" "$2"; xdotool key Return
}
shows() {
  "$tool" show "$1" >"$scratch/shown" 2>&1 || fail "glyphmoor-data show $1: $(cat "$scratch/shown")"
  diff <(echo "$2") <(grep -v '^  highlighted\|^listed\|^  [0-9]* ' "$scratch/shown") ||
    fail "the files in $1 do not hold what was done (above: - expected, + found)"
}
