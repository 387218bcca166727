# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the build scripts. Builds use Ninja, which builds every target
# asked for at once across the cores, where make builds them one after
# another.

# A build folder that another generator made is removed: CMake cannot switch
# one, and it is made afresh.
fresh_unless_ninja() {
  local build=$1
  if [[ -f $build/CMakeCache.txt ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt"; then
    echo "$build was made by another generator: configuring it afresh with Ninja"
    rm -rf "$build"
  fi
}

# configure SOURCE BUILD [cmake option...]
configure() {
  local source=$1 build=$2
  shift 2
  fresh_unless_ninja "$build"
  cmake -G Ninja -S "$source" -B "$build" "$@" >/dev/null
}
