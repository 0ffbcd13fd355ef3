#!/usr/bin/env bash
# Captures the control gallery into docs/screenshots/ as PNG files.
# Run through ./tavi.sh screenshots, which builds, and starts Xvfb and the
# Wine prefix; each gallery page saves a picture of itself and closes.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BIN=${TAVI_BUILD:?}/bin
OUT=$ROOT/docs/screenshots
mkdir -p "$OUT"

shoot() {
  local page=$1 name=$2 bmp="gallery-$1.bmp"
  rm -f "$BIN/$bmp"
  (cd "$BIN" && wine gallery.exe "$page" "$bmp" </dev/null)
  [ -s "$BIN/$bmp" ] || { echo "screenshots: the $page page saved no picture" >&2; exit 1; }
  # No timestamps in the files, so that an unchanged picture stays byte-equal.
  convert "$BIN/$bmp" -strip -define png:exclude-chunks=date,time "$OUT/$name.png"
  rm -f "$BIN/$bmp"
  echo "$OUT/$name.png"
}

shoot buttons image-button-states
shoot tile bitmap-dialog-tile
shoot center bitmap-dialog-center
shoot stretch bitmap-dialog-stretch
shoot menu-classic owner-menu-classic
shoot menu-xp owner-menu-xp
