#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows build's unit and window tests under Wine, in a fresh Wine
# prefix inside build-windows/, on an Xvfb display: the window tests run on
# Qt's Windows platform, as players do, and without a display Wine makes no
# window at all, not even the hidden one that close requests reach. A test that prints nothing for
# GLYPHMOOR_TEST_QUIET seconds (60) is taken for hung and ends the run. Build
# them first with scripts/build-windows.sh.
#   scripts/test-windows.sh [unit|gui]...
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build-windows
qt=${GLYPHMOOR_QT_MINGW:-$PWD/../shared/qt6-mingw}
wine=/usr/lib/wine/wine64
suites=("$@")
[[ ${#suites[@]} -gt 0 ]] || suites=(unit gui)

# The DLLs a test program needs, beside it: Windows looks there first.
deploy() {
  local dir=$1 gxx=x86_64-w64-mingw32-g++-posix
  cp -u "$qt"/bin/Qt6{Core,Gui,Widgets,Test}.dll "$($gxx -print-file-name=libstdc++-6.dll)" \
    "$($gxx -print-file-name=libgcc_s_seh-1.dll)" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$dir"
  mkdir -p "$dir/platforms" "$dir/styles"
  cp -u "$qt"/plugins/platforms/{qoffscreen,qwindows}.dll "$dir/platforms"
  cp -u "$qt"/plugins/styles/qwindowsvistastyle.dll "$dir/styles"
}

# Runs "$@" with its output in $1, killed once that output stands still for
# $quiet seconds: the tests print as each one starts and ends.
run_watched() {
  local log=$1 size=-1 still=0 now
  shift
  "$@" </dev/null >"$log" 2>&1 &
  local pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    sleep 1
    now=$(stat -c %s "$log")
    [[ $now == "$size" ]] && still=$((still + 1)) || { size=$now; still=0; }
    if [[ $still -ge $quiet ]]; then
      echo "[  FAILED  ] hung for ${quiet} s in: $(grep '^\[ RUN' "$log" | tail -n1)" >>"$log"
      /usr/lib/wine/wineserver -k || true
      wait "$pid"
      return 124
    fi
  done
  wait "$pid"
}

quiet=${GLYPHMOOR_TEST_QUIET:-60}
scratch=$build/test-run
rm -rf "$scratch" && mkdir -p "$scratch"
xvfb=""
trap '/usr/lib/wine/wineserver -k || true; [[ -z $xvfb ]] || kill "$xvfb" 2>/dev/null || true' EXIT
source tests/e2e/xvfb.sh
start_xvfb "$scratch"
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
"$wine" wineboot -i </dev/null >/dev/null 2>&1
# Windows in Wine's own desktop, which manages them as Windows does: on the bare
# X display each window took about 2 s to show (the window tests: 117 s, here 9 s).
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1

status=0
for suite in "${suites[@]}"; do
  case $suite in
    unit) exe=$build/tests/unit_tests.exe ;;
    gui) exe=$build/tests/gui/gui_tests.exe ;;
    *) echo "unknown suite: $suite" >&2; exit 2 ;;
  esac
  deploy "$(dirname "$exe")"
  log=$build/$suite-tests.log
  # No standard input: a Qt program under Wine can hang on an open one.
  if (cd "$(dirname "$exe")" && run_watched "$log" "$wine" "$exe"); then
    echo "Windows $suite tests: $(grep -E '^\[  PASSED  \]' "$log" | tail -n1)"
  else
    echo "Windows $suite tests FAILED (log: $log):" >&2
    grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -40 >&2 || tail -20 "$log" >&2
    status=1
  fi
done
exit $status
