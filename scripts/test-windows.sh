#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows build's unit and window tests under Wine, in a fresh Wine
# prefix inside build-windows/, with the offscreen platform (set by the window
# tests' main(): Wine hands no QT_ variable to a Windows program). Build them
# first with scripts/build-windows.sh.
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

export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
"$wine" wineboot -i </dev/null >/dev/null 2>&1
trap '/usr/lib/wine/wineserver -k || true' EXIT

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
  if (cd "$(dirname "$exe")" && timeout 600 "$wine" "$exe" --gtest_brief=1 </dev/null >"$log" 2>&1); then
    echo "Windows $suite tests: $(grep -E '^\[  PASSED  \]' "$log" || echo passed)"
  else
    echo "Windows $suite tests FAILED (log: $log):" >&2
    grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -40 >&2 || tail -20 "$log" >&2
    status=1
  fi
done
exit $status
