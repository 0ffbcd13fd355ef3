#!/usr/bin/env bash
# Applies a sample package to a sample TAVI installation under Wine and shows
# what the update did. Called by `./tavi.sh demo`, which has built everything,
# started the display and the prefix and exported TAVI_BUILD, WINEPREFIX and
# DISPLAY.
#
#   tools/demo.sh                 the unattended run: TAVIUpdata.exe PKG 1 1
#   tools/demo.sh --interactive   the tool without arguments, for a person
#                                 at a display (pick D:\TAVIDemo\sample.tv2bck)
#   tools/demo.sh --screenshots   the unattended run and the interactive start,
#                                 captured into docs/screenshots/main-*.png
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${TAVI_BUILD:?run through ./tavi.sh demo}
BIN=$BUILD/bin
SAMPLES=$BUILD/demo
DRIVE_D=$BUILD/drive_d
SYSDIR=$WINEPREFIX/drive_c/windows/system32
INSTALL=$DRIVE_D/TAVI                  # D:\TAVI, the sample workstation
WORK=$DRIVE_D/TAVIDemo                 # D:\TAVIDemo, the package and its sources
PACKAGE_WIN='D:\TAVIDemo\sample.tv2bck'
SHOTS=$BUILD/demo-screenshots
BEFORE=$BUILD/demo-before             # the installation as it was before the run

mode=${1:-run}
case "$mode" in
  run|--interactive|--screenshots) ;;
  *) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
esac

say() { printf '%s\n' "$*"; }
section() { printf '\n== %s\n' "$*"; }

# The four version parts of a file's version resource, or "-" without one.
version_of() {
  local v
  v=$(i686-w64-mingw32-windres -i "$1" -O rc 2>/dev/null | awk '/^ FILEVERSION/ { $1 = ""; gsub(/[ ]/, ""); gsub(/,/, "."); print; exit }')
  echo "${v:--}"
}

# ---------------------------------------------------------------------------
# The sample installation and the package

lay_out_installation() {
  rm -rf "$INSTALL" "$WORK"
  mkdir -p "$INSTALL/System/BIN" "$INSTALL/Data" "$WORK"
  cp "$SAMPLES/installed/Meter.dll" "$SAMPLES/installed/Report.dll" \
     "$SAMPLES/installed/Comm.dll" "$INSTALL/System/BIN/"
  cp "$SAMPLES/installed/TAVIMain.exe" "$INSTALL/"
  printf '[LINE]\r\nCOUNT=2\r\nNAME1=Line 1\r\nNAME2=Line 2\r\n' >"$INSTALL/Data/Lines.ini"
  # The master copy of the system library, and the library itself.
  cp "$BIN/Plinth.dll" "$INSTALL/System/BIN/Plinth.dll"
  cp "$BIN/Plinth.dll" "$SYSDIR/plinth.dll"
  # Installed files dated earlier today: a file that the update copies takes
  # the package's time, so "copied again" shows even when the bytes are equal.
  local early
  early=$(date +%Y%m%d)0000.01
  find "$INSTALL" -type f -exec touch -t "$early" {} +
  touch -t "$early" "$SYSDIR/plinth.dll"
}

build_package() {
  local src=$WORK/source
  mkdir -p "$src/System/BIN" "$src/Camera" "$src/Data"
  cp "$SAMPLES/package/Meter.dll" "$SAMPLES/package/Report.dll" \
     "$SAMPLES/package/Comm.dll" "$src/System/BIN/"
  cp "$BIN/Plinth.dll" "$src/System/BIN/Plinth.dll"
  cp "$SAMPLES/package/Camera.dll" "$src/Camera/"
  printf '[LINE]\r\nCOUNT=3\r\nNAME1=Line 1\r\nNAME2=Line 2\r\nNAME3=Line 3\r\n' >"$src/Data/Lines.ini"
  printf '[STATION]\r\nID=0571-01\r\n' >"$src/Data/Station.ini"
  wine "$BIN/tv2pack.exe" create "$PACKAGE_WIN" --root 'D:\TAVI' 'D:\TAVIDemo\source' \
    --name "TAVI demo package" --version "20.11.7.6" </dev/null
  say ""
  wine "$BIN/tv2pack.exe" list "$PACKAGE_WIN" </dev/null
}

# ---------------------------------------------------------------------------
# Screenshots: the display is captured while the tool runs; the first and the
# last pictures that show a window are the "during" and "after" pictures.

capture() { xwd -root -display "$DISPLAY" 2>/dev/null | convert xwd:- -trim +repage "png:$1" 2>/dev/null; }

# True when the picture shows more than a bare (black) screen.
shows_window() {
  local size
  size=$(identify -format '%w' "$1" 2>/dev/null || echo 0)
  [ "${size:-0}" -gt 50 ]
}

# Captures while the process runs; prints the first and last useful picture.
capture_while_running() {
  local pid=$1 prefix=$2 n=0 first= last= deadline=$((SECONDS + 120))
  while kill -0 "$pid" 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then
      echo "the tool did not close by itself within 120 s; ending it" >&2
      kill "$pid" 2>/dev/null || true
      break
    fi
    local f=$SHOTS/$prefix-$(printf %03d $n).png
    capture "$f" || true
    if [ -f "$f" ] && shows_window "$f"; then
      [ -n "$first" ] || first=$f
      last=$f
    else
      rm -f "$f"
    fi
    n=$((n + 1))
    sleep 0.2
  done
  echo "$first $last"
}

# ---------------------------------------------------------------------------
# The report

snapshot() {  # lists every file under the installation with its checksum and time
  (cd "$INSTALL" && find . -type f -printf '%P %T@ ' -exec md5sum {} \; | awk '{ print $1, $2, $3 }')
}

report() {
  local before=$1 src=$WORK/source
  section "Files of the package"
  printf '  %-24s %-10s %-10s %-10s %s\n' "destination (D:\\TAVI\\)" "package" "before" "after" "result"
  local rel
  while read -r rel; do
    local dest=$INSTALL/$rel win=${rel//\//\\}
    local old_line old_sum old_time now_sum now_time result
    old_line=$(awk -v r="$rel" '$1 == r' <<<"$before")
    old_sum=$(awk '{ print $3 }' <<<"$old_line")
    old_time=$(awk '{ print $2 }' <<<"$old_line")
    if [ -f "$dest" ]; then
      now_sum=$(md5sum "$dest" | awk '{ print $1 }')
      now_time=$(stat -c %.10Y "$dest" 2>/dev/null || stat -c %Y "$dest")
    else
      now_sum= now_time=
    fi
    local v_pkg v_old v_now
    v_pkg=$(version_of "$src/$rel")
    v_old=$([ -n "$old_line" ] && version_of "$BEFORE/$rel" || echo -)
    v_now=$([ -n "$now_sum" ] && version_of "$dest" || echo -)
    if [ -z "$now_sum" ]; then
      result="MISSING"
    elif [ -z "$old_line" ]; then
      result="installed (new)"
    elif [ "$now_sum" = "$old_sum" ] && [ "${now_time%.*}" = "${old_time%.*}" ]; then
      if [ "$(printf '%s\n' "$v_pkg" "$v_old" | sort -V | tail -n 1)" = "$v_old" ] && [ "$v_pkg" != "$v_old" ]; then
        result="kept (the installed version is newer)"
      else
        result="NOT UPDATED"
      fi
    elif [ "$v_pkg" = "-" ]; then
      result="installed (no version: always copied)"
    elif [ "$v_pkg" = "$v_old" ]; then
      result="installed (same version: copied again)"
    else
      result="installed (newer version)"
    fi
    printf '  %-24s %-10s %-10s %-10s %s\n' "$win" "$v_pkg" "$v_old" "$v_now" "$result"
  done < <(cd "$src" && find . -type f -printf '%P\n' | sort)

  section "System library"
  if cmp -s "$SYSDIR/plinth.dll" "$src/System/BIN/Plinth.dll" \
     && [ "$(stat -c %Y "$SYSDIR/plinth.dll")" != "$SYSDIR_TIME" ]; then
    say "  C:\\windows\\system32\\plinth.dll replaced from the package (the tool then loads it again)"
  else
    say "  C:\\windows\\system32\\plinth.dll NOT replaced"
  fi

  section "Staging directory"
  if [ -e "$WORK/TAVIBACKTmp" ]; then
    say "  D:\\TAVIDemo\\TAVIBACKTmp is STILL THERE:"
    ls -la "$WORK/TAVIBACKTmp" | sed 's/^/    /'
  else
    say "  D:\\TAVIDemo\\TAVIBACKTmp is gone"
  fi
}

# ---------------------------------------------------------------------------

run_unattended() {
  section "Sample installation under D:\\TAVI"
  lay_out_installation
  (cd "$INSTALL" && find . -type f | sort | sed 's|^\./|  D:\\TAVI\\|; s|/|\\|g')
  say "  C:\\windows\\system32\\plinth.dll"
  # The old files, kept aside to show their versions afterwards.
  rm -rf "$BEFORE"
  cp -a "$INSTALL" "$BEFORE"
  local before
  before=$(snapshot)
  SYSDIR_TIME=$(stat -c %Y "$SYSDIR/plinth.dll")

  section "Sample package D:\\TAVIDemo\\sample.tv2bck"
  build_package

  section "One of the suite's programs is running: D:\\TAVI\\TAVIMain.exe"
  wine "$INSTALL/TAVIMain.exe" </dev/null >/dev/null 2>&1 &
  local main_pid=$!
  sleep 1

  section "TAVIUpdata.exe \"$PACKAGE_WIN\" 1 1"
  rm -rf "$SHOTS"
  mkdir -p "$SHOTS"
  local started=$SECONDS
  wine "$BIN/TAVIUpdata.exe" "$PACKAGE_WIN" 1 1 </dev/null >/dev/null 2>&1 &
  local pid=$!
  local shots
  shots=$(capture_while_running "$pid" run)
  local status=0
  wait "$pid" || status=$?
  say "  the tool closed by itself after $((SECONDS - started)) s (exit status $status)"
  if kill -0 "$main_pid" 2>/dev/null; then
    say "  TAVIMain.exe is STILL RUNNING"
    kill "$main_pid" 2>/dev/null || true
  else
    say "  TAVIMain.exe was ended by the update"
  fi
  wait "$main_pid" 2>/dev/null || true

  report "$before"

  section "Screenshots"
  local during=${shots%% *} after=${shots##* }
  if [ -n "$during" ]; then
    cp "$during" "$SHOTS/main-running.png"
    cp "$after" "$SHOTS/main-finished.png"
    rm -f "$SHOTS"/run-*.png
    say "  during the run: $SHOTS/main-running.png"
    say "  after the run:  $SHOTS/main-finished.png"
  else
    say "  no window was captured"
  fi
}

run_interactive() {
  [ -f "$WORK/sample.tv2bck" ] || { lay_out_installation; build_package >/dev/null; }
  say "TAVIUpdata.exe is starting on display $DISPLAY."
  say "Press TAVI升级 and pick $PACKAGE_WIN; close the window to end the demo."
  wine "$BIN/TAVIUpdata.exe" </dev/null
}

# The interactive start, captured and closed again.
capture_interactive_start() {
  wine "$BIN/TAVIUpdata.exe" </dev/null >/dev/null 2>&1 &
  local pid=$!
  sleep 4
  capture "$SHOTS/main-interactive.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

case "$mode" in
  run) run_unattended ;;
  --interactive) run_interactive ;;
  --screenshots)
    run_unattended
    capture_interactive_start
    mkdir -p "$ROOT/docs/screenshots"
    cp "$SHOTS"/main-*.png "$ROOT/docs/screenshots/"
    section "Copied to docs/screenshots/"
    ls "$ROOT"/docs/screenshots/main-*.png | sed 's/^/  /'
    ;;
esac
