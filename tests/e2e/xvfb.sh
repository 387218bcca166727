# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end scripts: start_xvfb SCRATCH starts Xvfb on a free
# display, exports DISPLAY and a private XDG_RUNTIME_DIR, and sets $xvfb to its
# pid for the caller's clean-up. window TITLE focuses the visible window whose
# whole title it is and prints its id; character NAME CLVL types into the New
# Character... dialog. Both call the caller's fail when there is no window
# (they wait $window_wait seconds, type with $type_delay ms between keys).
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
