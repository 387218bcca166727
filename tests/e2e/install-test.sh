#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built tree into a scratch prefix and checks what lands where, then
# runs the installed launcher with the program replaced by a stand-in that
# writes down its working folder, its arguments and the files it found.
#
#   tests/e2e/install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=${1:?usage: install-test.sh BUILD_DIR SOURCE_DIR}
source_dir=${2:?usage: install-test.sh BUILD_DIR SOURCE_DIR}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/glyphmoor-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; echo "FAILED: cmake --install" >&2; exit 1; }

# What lands where.
expect_file() {
  [[ -f $prefix/$1 ]] || fail "$1 is not installed"
}
for f in bin/glyphmoor bin/glyphmoor-data bin/glyphmoor-launcher; do
  expect_file "$f"
  [[ -x $prefix/$f ]] || fail "$f is not executable"
done
for f in runes.dat items.dat runewords.dat; do
  expect_file "share/glyphmoor/$f"
  cmp -s "$build/data/$f" "$prefix/share/glyphmoor/$f" || fail "share/glyphmoor/$f differs from the build's"
done
expect_file share/applications/glyphmoor.desktop
for size in 16 32 48 64 128 256; do
  icon=share/icons/hicolor/${size}x${size}/apps/glyphmoor.png
  expect_file "$icon"
  if [[ -f $prefix/$icon ]]; then
    # Width and height from the PNG header, bytes 16 to 23.
    dims=$(od -An -tu1 -j16 -N8 "$prefix/$icon" | tr -s ' ' | sed 's/^ //')
    read -r w0 w1 w2 w3 h0 h1 h2 h3 <<<"$dims"
    width=$(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3))
    height=$(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3))
    [[ $width == "$size" && $height == "$size" ]] || fail "$icon is ${width}x${height}, not ${size}x${size}"
  fi
done
man_pages=(share/man/man6/glyphmoor.6 share/man/man6/glyphmoor-launcher.6 share/man/man1/glyphmoor-data.1)
for page in "${man_pages[@]}"; do
  if [[ -f $prefix/$page.gz ]]; then
    gzip -t "$prefix/$page.gz" || fail "$page.gz is not a valid gzip file"
  else
    expect_file "$page"
  fi
done

# The menu entry.
desktop=$prefix/share/applications/glyphmoor.desktop
for line in '[Desktop Entry]' 'Type=Application' 'Name=Glyphmoor' 'Icon=glyphmoor' 'Categories=Game;' \
            'Exec=glyphmoor-launcher' 'Terminal=false'; do
  grep -qxF "$line" "$desktop" || fail "the desktop entry lacks the line $line"
done
grep -q '^Comment=.' "$desktop" || fail "the desktop entry has no Comment"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
fi

# The manual pages format without warnings, with the version filled in.
if command -v man >/dev/null && command -v groff >/dev/null; then
  for page in share/man/man6/glyphmoor.6 share/man/man1/glyphmoor-data.1; do
    file=$prefix/$page
    [[ -f $file.gz ]] && file=$file.gz
    warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null || true)
    [[ -z $warnings ]] || fail "$page formats with warnings: $warnings"
    text=$(MANWIDTH=80 man -l "$file" 2>/dev/null | col -b)
    grep -q '@[A-Z_]*@' <<<"$text" && fail "$page holds an unfilled @...@ placeholder"
    version=$(sed -n 's/^project(Glyphmoor VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
    grep -q "Glyphmoor $version" <<<"$text" || fail "$page does not name version $version"
  done
fi

# The launcher, with a stand-in program beside it.
report=$scratch/report
cat >"$prefix/bin/glyphmoor" <<EOF
#!/bin/sh
{ pwd; echo "args: \$*"; ls -A; } >"$report"
EOF
chmod +x "$prefix/bin/glyphmoor"
launcher=$prefix/bin/glyphmoor-launcher
samples=$prefix/share/glyphmoor

launch() { # HOME XDG_DATA_HOME(or -) args...
  local home=$1 xdg=$2
  shift 2
  rm -f "$report"
  if [[ $xdg == - ]]; then
    env -u XDG_DATA_HOME HOME="$home" "$launcher" "$@"
  else
    env HOME="$home" XDG_DATA_HOME="$xdg" "$launcher" "$@"
  fi
}
started_in() {
  [[ -f $report ]] && [[ $(head -n1 "$report") == "$1" ]]
}

# First start: the folder is made under ~/.local/share and gets the samples.
home=$scratch/home1
mkdir "$home"
launch "$home" - -style fusion || fail "the launcher failed on a first start"
folder=$home/.local/share/glyphmoor
started_in "$folder" || fail "the program was not started in $folder"
grep -qx 'args: -style fusion' "$report" || fail "the launcher did not pass its arguments on"
for f in runes.dat items.dat runewords.dat; do
  cmp -s "$samples/$f" "$folder/$f" || fail "the first start did not copy $f"
done
[[ -z $(find "$folder" -name '.*partial*') ]] || fail "the launcher left a partial copy behind"

# The player's own data is never replaced.
printf 'mine' >"$folder/runes.dat"
printf 'chars' >"$folder/chars.dat"
launch "$home" - || fail "the launcher failed on a second start"
[[ $(cat "$folder/runes.dat") == mine ]] || fail "a second start replaced the player's runes.dat"
[[ $(cat "$folder/chars.dat") == chars ]] || fail "a second start touched chars.dat"

# A folder holding part of a data set gets nothing added: the samples would
# not match the player's files.
rm "$folder/items.dat" "$folder/runewords.dat"
launch "$home" - || fail "the launcher failed with part of a data set"
[[ ! -e $folder/items.dat && ! -e $folder/runewords.dat ]] || fail "samples were mixed into a player's data set"
started_in "$folder" || fail "the program was not started with part of a data set"

# XDG_DATA_HOME decides the place when it is an absolute path.
home=$scratch/home2
mkdir "$home"
launch "$home" "$scratch/xdg" || fail "the launcher failed with XDG_DATA_HOME set"
started_in "$scratch/xdg/glyphmoor" || fail "XDG_DATA_HOME was not used"
[[ ! -e $home/.local ]] || fail "a folder was made under HOME although XDG_DATA_HOME was set"
(cd "$scratch" && launch "$home" "relative") || fail "the launcher failed with a relative XDG_DATA_HOME"
started_in "$home/.local/share/glyphmoor" || fail "a relative XDG_DATA_HOME was not ignored"
[[ ! -e $scratch/relative ]] || fail "a relative XDG_DATA_HOME made a folder"

# Started through a link in another folder, it still finds the samples.
mkdir "$scratch/links"
ln -s "$launcher" "$scratch/links/glyphmoor-launcher"
home=$scratch/home3
mkdir "$home"
env -u XDG_DATA_HOME HOME="$home" "$scratch/links/glyphmoor-launcher" || fail "the launcher failed through a link"
cmp -s "$samples/runes.dat" "$home/.local/share/glyphmoor/runes.dat" || fail "started through a link, no samples"

# A folder that cannot be made is reported and nothing is started.
touch "$scratch/file"
rm -f "$report"
if env HOME="$scratch" XDG_DATA_HOME="$scratch/file" "$launcher" 2>"$scratch/err"; then
  fail "the launcher succeeded where its folder cannot be made"
fi
grep -q 'glyphmoor-launcher: cannot create' "$scratch/err" || fail "no clear message when the folder cannot be made"
[[ ! -f $report ]] || fail "the program was started without its folder"

if [[ $failures -ne 0 ]]; then
  echo "install-test: $failures check(s) failed" >&2
  exit 1
fi
echo "install-test: the installed tree and the launcher are as expected"
