#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, has lintian, appstreamcli and desktop-file-validate
# judge it, installs it with apt-get (as root or through sudo -n; not when a
# glyphmoor package is installed already), starts it through its menu entry's
# Exec line on Xvfb, makes the first character and purges it again. Then runs
# the launcher of a scratch install beside a stand-in program that writes down
# where and how it was started. Usage: install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=${1:?usage: install-test.sh BUILD_DIR SOURCE_DIR}
source_dir=${2:?usage: install-test.sh BUILD_DIR SOURCE_DIR}
source "$(dirname "$0")/xvfb.sh"
e2e_begin install '[[ $installed == no ]] || apt purge glyphmoor'
installed=no sudo="" out=$build
[[ $(id -u) -eq 0 ]] || sudo="sudo -n"
apt() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -qq -y -o DPkg::Lock::Timeout=300 "$@" >>"$scratch/apt.log" 2>&1; }
version=$(sed -n 's/^project(Glyphmoor VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")

# The package, and what Debian's and the desktop's own checkers say of it. The
# project has no contact address yet: that is the one complaint let through.
cpack -G DEB -B "$scratch/package" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 || fail "cpack: $(cat "$scratch/cpack.log")"
deb=$(echo "$scratch"/package/glyphmoor_"$version"_*.deb)
complaints=$(lintian "$deb" 2>/dev/null | grep -E '^[EW]: ' |
  grep -vE ': (malformed-contact Maintainer|bogus-mail-host-in-debian-changelog) ' || true)
[[ -z $complaints ]] || fail "lintian: $complaints"
root=$scratch/root
dpkg-deb -x "$deb" "$root"
metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
id=$(basename "$metainfo" .metainfo.xml)
appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
  fail "appstreamcli rejects the metainfo: $(cat "$scratch/appstream.log")"
desktop=/usr/share/applications/$id.desktop
desktop-file-validate "$root$desktop" || fail "desktop-file-validate rejects $desktop"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metainfo launches no $id.desktop"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metainfo lacks release $version"
grep -qx "Icon=$id" "$root$desktop" || fail "the desktop entry's icon is not $id"
[[ -f $root/usr/share/icons/hicolor/scalable/apps/$id.svg ]] || fail "no scalable icon $id.svg"
for size in 16 24 32 48 64 128 256; do
  # Width and height from the PNG header, bytes 16 to 23.
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  [[ $(od -An -tu4 --endian=big -j16 -N8 "$icon" 2>/dev/null | xargs) == "$size $size" ]] ||
    fail "$icon is missing or not ${size}x${size}"
done
zcat "$root/usr/share/man/man1/glyphmoor.1.gz" | grep -q "Glyphmoor $version" || fail "the manual page is not of $version"
# What a player types or clicks is the launcher; the program is private.
[[ $(readlink "$root/usr/bin/glyphmoor") == glyphmoor-launcher && -x $root/usr/libexec/glyphmoor/glyphmoor &&
   $(ls "$root/usr/bin") == $'glyphmoor\nglyphmoor-data\nglyphmoor-launcher' ]] ||
  fail "not /usr/bin/glyphmoor the launcher and the program in /usr/libexec/glyphmoor"
grep -q '/usr/libexec/glyphmoor/glyphmoor' "$root/usr/share/doc/glyphmoor/README" ||
  fail "no README in /usr/share/doc/glyphmoor naming the program"

# Installed with apt-get, started as the desktop starts it, and purged.
exec 9>"${TMPDIR:-/tmp}/glyphmoor-install-test.lock"
flock -w 600 9
if dpkg-query -W -f='${Status}' glyphmoor 2>/dev/null | grep -q installed; then
  echo "install-test: a glyphmoor package is installed on this system; not installing" >&2
elif ! $sudo true 2>/dev/null; then
  echo "install-test: neither root nor sudo without a password; not installing" >&2
else
  installed=yes
  apt install "$deb" || { cat "$scratch/apt.log" >&2; fail "apt-get install"; }
  dpkg -L glyphmoor >"$scratch/files"
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  start_xvfb "$scratch"
  player=$scratch/player
  mkdir "$player"
  (cd / && exec env -i PATH=/usr/bin:/bin HOME="$player" DISPLAY="$DISPLAY" sh -c "exec $exec_line") &
  program=$!
  character Ann 12 # the first start asks for a character
  window "Glyphmoor v$version" >/dev/null
  kill -TERM "$program" 2>/dev/null && wait "$program" || true
  folder=$player/.local/share/glyphmoor
  grep -q Ann "$folder/chars.dat" 2>/dev/null || fail "the first character was not saved in $folder"
  apt purge glyphmoor && installed=no || fail "apt-get purge"
  dpkg-query -W glyphmoor >/dev/null 2>&1 && fail "the package is still known to dpkg after the purge"
  while read -r f; do
    [[ -d $f || ! -e $f ]] || fail "$f is left behind"
  done <"$scratch/files"
  [[ ! -e /usr/share/glyphmoor && ! -e /usr/share/doc/glyphmoor ]] || fail "a folder of the package is left behind"
  grep -q Ann "$folder/chars.dat" 2>/dev/null || fail "the purge touched the player's characters"
fi

# The launcher of a scratch install, with a stand-in program in its place
# that writes down where, how and as which process it was started.
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 || fail "cmake --install: $(cat "$scratch/install.log")"
report=$scratch/report
printf '#!/bin/sh\n{ pwd; echo "args: $*"; echo "pid: $$"; ls -A; } >"%s"\nexit 7\n' "$report" \
  >"$prefix/libexec/glyphmoor/glyphmoor"
launcher=$prefix/bin/glyphmoor
samples=$prefix/share/glyphmoor
launch() { # HOME XDG_DATA_HOME: the launcher without a display, its status in $status
  rm -f "$report"
  status=0
  env -u DISPLAY -u QT_QPA_PLATFORM HOME="$1" XDG_DATA_HOME="$2" "$launcher" || status=$?
}
started_in() { [[ -f $report && $(head -n1 "$report") == "$1" ]]; }

# Typed in a folder without data, glyphmoor starts in ~/.local/share/glyphmoor
# and gives it the samples; the launcher becomes the program, whose exit status
# is the launcher's.
mkdir "$scratch/home1" "$scratch/home2" "$scratch/elsewhere"
folder=$scratch/home1/.local/share/glyphmoor
(cd "$scratch/elsewhere" && exec env -u XDG_DATA_HOME -u DISPLAY HOME="$scratch/home1" "$launcher" -style fusion) &
pid=$!
wait "$pid" && status=0 || status=$?
started_in "$folder" || fail "a first start did not start in $folder"
[[ $status -eq 7 ]] || fail "the launcher ended with $status, not with the program's 7"
grep -qx "pid: $pid" "$report" && grep -qx 'args: -style fusion' "$report" ||
  fail "the launcher did not become the program (exec) with its arguments"
[[ -z $(ls -A "$scratch/elsewhere") ]] || fail "a start wrote into the folder it was typed in"
for f in runes.dat items.dat runewords.dat; do cmp -s "$build/data/$f" "$folder/$f" || fail "$f was not copied"; done

# An absolute XDG_DATA_HOME decides the place, a relative one is ignored.
xdg=$scratch/$'xdg-\xff' # a folder name is bytes, not text
launch "$scratch/home2" "$xdg" && started_in "$xdg/glyphmoor" && cmp -s "$samples/runes.dat" "$xdg/glyphmoor/runes.dat" ||
  fail "XDG_DATA_HOME (named in bytes that are no UTF-8) was not used"
[[ ! -e $scratch/home2/.local ]] || fail "a folder was made under HOME although XDG_DATA_HOME was set"
(cd "$scratch" && launch "$scratch/home2" relative && started_in "$scratch/home2/.local/share/glyphmoor") &&
  [[ ! -e $scratch/relative ]] || fail "a relative XDG_DATA_HOME was not ignored"

# A folder that cannot be made is told on standard error and, with a display,
# in a box that waits to be read; nothing is started.
touch "$scratch/file"
launch "$scratch" "$scratch/file" 2>"$scratch/err"
grep -q '^glyphmoor: cannot create the folder .* set XDG_DATA_HOME' "$scratch/err" && [[ $status -eq 1 && ! -f $report ]] ||
  fail "no clear message, or a start, when the folder cannot be made"
[[ -n $xvfb ]] || start_xvfb "$scratch"
env -u QT_QPA_PLATFORM HOME="$scratch" XDG_DATA_HOME="$scratch/file" "$launcher" 2>/dev/null &
pid=$!
window 'Error\.\.\.' >/dev/null && xdotool key Return # the box when the folder cannot be made
timeout 10 tail --pid="$pid" -f /dev/null || { kill "$pid"; fail "the launcher did not end after its box"; }
wait "$pid" && status=0 || status=$?
[[ $status -eq 1 && ! -f $report ]] || fail "after its box the launcher ended with $status or started the program"

echo "install-test: the package and the launcher are as expected"
