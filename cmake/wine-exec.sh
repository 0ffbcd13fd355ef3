#!/usr/bin/env bash
# Runs one Windows program in the project's Wine prefix. tavi.sh exports the
# environment (prefix, display, locale); the defaults let a developer call ctest
# directly from a build directory made by tavi.sh.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-${TAVI_BUILD:-$here/build}/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
exec wine "$@"
