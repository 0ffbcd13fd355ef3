#!/usr/bin/env bash
# Runs one Windows program in the project's Wine prefix. tavi.sh exports the
# environment (prefix, display, locale); the defaults let a developer call ctest
# directly from a build directory made by tavi.sh.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-${TAVI_BUILD:-$here/build}/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# Its output goes through files: processes that Wine starts for the program
# (a console host, the desktop) inherit its standard handles and may outlive
# it, and a pipe they held would keep ctest waiting for its end.
# They live beside the prefix, with the rest of the build's state.
dir=$(mktemp -d "$(dirname "$WINEPREFIX")/wine-exec.XXXXXX")
trap 'rm -rf "$dir"' EXIT
# Made here: the program's side opens them only once it has started, and a
# tail that came first would find nothing to follow.
: >"$dir/out"
: >"$dir/err"
wine "$@" >>"$dir/out" 2>>"$dir/err" &
pid=$!
tail -n +1 -f --pid="$pid" "$dir/err" >&2 &
tail -n +1 -f --pid="$pid" "$dir/out"
wait "$!"
wait "$pid"
