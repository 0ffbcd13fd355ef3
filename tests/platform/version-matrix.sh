#!/usr/bin/env bash
# End-to-end tests with Wine reporting other Windows versions, in a copy of
# the project's prefix, so that the prefix itself never changes:
#
#   version-matrix.sh BIN_DIR VERSION...       (Wine's names: winxp, win7, win10)
#
# Under each version:
# - a whole command-line update and the exit code of each outcome, and the
#   start with a missing system library (app_test);
# - the owner-drawn menu measured, and after XP drawn, in both styles
#   (owner_menu_test);
# - the style that the menu draws by default, which is XP's on XP only.
# Wine reads the version when a program starts: one session of the copy
# serves every version.
set -u
bin=$(cd "$1" && pwd)
shift
build=$(cd "$bin/.." && pwd)
source=${WINEPREFIX:-$build/wineprefix}
copy=$build/wineprefix-versions

[ -f "$source/.tavi-prefix" ] || { echo "FAILED: no prefix in $source: run ./tavi.sh test"; exit 1; }
# A copy made before the prefix was made anew is made anew too.
if [ ! -f "$copy/.tavi-prefix" ] || [ "$source/.tavi-prefix" -nt "$copy/.tavi-prefix" ]; then
  rm -rf "$copy" "$copy.new"
  cp -a "$source" "$copy.new" && mv "$copy.new" "$copy" || { echo "FAILED: could not copy $source"; exit 1; }
fi
# Drive D: of its own, beside the copy's own system directory.
mkdir -p "$build/drive_d-versions"
ln -sfn "$build/drive_d-versions" "$copy/dosdevices/d:"

export WINEPREFIX=$copy WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all} LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# The copy's server and services end with the script.
trap 'wineserver -k >/dev/null 2>&1' EXIT
# The first program starts the copy's services, which inherit its handles:
# they get none that the script reads from.
wine cmd /c exit >/dev/null 2>&1 </dev/null

# Runs a test program with a filter; passes on GoogleTest's own verdict.
run_tests() {
  local out rc
  out=$(cd "$bin" && wine "./$1" --gtest_filter="$2" 2>&1 </dev/null)
  rc=$?
  printf '%s\n' "$out"
  [ $rc -eq 0 ] && grep -q '^\[  PASSED  \] [0-9]* tests\?\.' <<<"$out" && ! grep -q '^\[  FAILED  \]' <<<"$out"
}

# The parts of a version that fail, or nothing.
run_version() {
  local version=$1 reported style expected=0 failed=
  wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$version" /f >/dev/null 2>&1 </dev/null
  reported=$(wine cmd /c ver 2>/dev/null </dev/null | grep -o '[0-9][0-9]*\.[0-9][0-9]*\.[0-9]*' | head -1)
  echo "== $version: Wine reports Windows $reported" >&2
  case "$version:$reported" in
    winxp:5.1.*|win7:6.1.*|win10:10.0.*) ;;
    *) echo " the reported version ($reported)"; return ;;
  esac
  run_tests app_test.exe 'AppTest.CommandLineRunInstallsThePackageAndClosesByItself:AppTest.ExitCodeFollowsTheFinalStatusText:StartupLibraryTest.*' >&2 ||
    failed+=" app_test"
  # The paint tests are written for a Windows after XP: they begin by asserting
  # that XP's style is not the default, and their expected colours follow.
  local menus='OwnerMenuMeasuring.*:OwnerMenuPainting.*'
  [ "$version" = winxp ] && menus='OwnerMenuMeasuring.*'
  run_tests owner_menu_test.exe "$menus" >&2 || failed+=" owner_menu_test"
  (cd "$bin" && wine ./menu_style_probe.exe >/dev/null 2>&1 </dev/null)
  style=$?
  [ "$version" = winxp ] && expected=1
  echo "== $version: the menu draws the $([ $style = 1 ] && echo XP || echo classic) style by default" >&2
  [ $style = $expected ] || failed+=" the menu's default style (probe answered $style)"
  echo "$failed"
}

status=0
for version in "$@"; do
  failed=$(run_version "$version")
  if [ -n "$failed" ]; then
    echo "FAILED under $version:$failed"
    status=1
  else
    echo "passed under $version"
  fi
done
exit $status
