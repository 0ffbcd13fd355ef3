#!/usr/bin/env bash
# The project's one entry point: installs what is missing, builds the 32-bit
# Windows programs, and runs them under Wine in a prefix of the project's own.
#
#   ./tavi.sh test                 install, build, run the whole test suite
#   ./tavi.sh build                build into build/ (products in build/bin/)
#   ./tavi.sh wine PROGRAM ARGS    run a Windows program in the project's prefix
#   ./tavi.sh screenshots          capture the control gallery into docs/screenshots/
#   ./tavi.sh demo [--interactive] apply a sample package to a sample installation
#   ./tavi.sh bench                run the benchmarks in bench/
#
# TAVI_BUILD chooses another build directory (default: build/ beside this script).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
BUILD=${TAVI_BUILD:-$ROOT/build}
export TAVI_BUILD=$BUILD
export WINEPREFIX=$BUILD/wineprefix
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# Without LC_ALL Wine falls back to code page 1252 where the C library lacks
# the locale; with both set the ANSI code page is 936 (GBK).
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
DRIVE_D=$BUILD/drive_d

log() { printf '[tavi] %s\n' "$*" >&2; }

# ---------------------------------------------------------------------------
# Packages

DEB_PACKAGES=(
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  libz-mingw-w64-dev googletest cmake ninja-build
  wine wine32:i386 xvfb xauth x11-apps imagemagick python3-pil
  fonts-arphic-uming locales unzip zip
)

missing_packages() {
  local p
  for p in "${DEB_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_deps() {
  local missing
  missing=$(missing_packages)
  if [ -n "$missing" ]; then
    log "installing: $(echo $missing)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
    fi
    apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
  fi
  if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    log "generating the zh_CN.UTF-8 locale"
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

# ---------------------------------------------------------------------------
# Display

XVFB_PID=
cleanup() {
  if [ -n "${WINE_STARTED:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}
trap cleanup EXIT

ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  # Xvfb picks a free display itself and writes its number to the pipe.
  local fifo n=
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 </dev/null &
  XVFB_PID=$!
  read -r -t 30 n <"$fifo" || true
  rm -f "$fifo"
  [ -n "$n" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$n"
  log "Xvfb on $DISPLAY"
}

# ---------------------------------------------------------------------------
# Wine prefix

wine_quiet() { wine "$@" >/dev/null 2>&1 </dev/null; }

ensure_prefix() {
  mkdir -p "$BUILD" "$DRIVE_D"
  if [ ! -f "$WINEPREFIX/.tavi-prefix" ]; then
    log "creating the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    # Song-style CJK font for the dialogs' SimSun, and Wine-drawn captions,
    # since Xvfb runs without a window manager.
    local font='AR PL UMing CN' name
    for name in '宋体' SimSun NSimSun; do
      wine_quiet reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /t REG_SZ /d "$font" /f
    done
    wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f
    wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
    wineserver -w
    touch "$WINEPREFIX/.tavi-prefix"
  fi
  ln -sfn "$DRIVE_D" "$WINEPREFIX/dosdevices/d:"
}

# One wineserver and the prefix's services for the whole run. They start here,
# with their output going nowhere: the services inherit the first Windows
# process's handles, and a pipe they held would never reach end of file.
start_wine() {
  ensure_display
  ensure_prefix
  # A server that already runs for the prefix (started by hand) is used as it
  # is, and left running at the end.
  if wineserver -p >/dev/null 2>&1 </dev/null; then WINE_STARTED=1; fi
  wine_quiet cmd /c exit
}

# ---------------------------------------------------------------------------
# Build

build() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DTAVI_WERROR="${CI:+ON}" >/dev/null
  cmake --build "$BUILD"
}

run_tests() {
  start_wine
  ctest --test-dir "$BUILD" --output-on-failure --timeout 600 "$@"
}

cmd=${1:-}
[ $# -gt 0 ] && shift
case "$cmd" in
  test)
    install_deps
    build
    run_tests "$@"
    ;;
  build)
    install_deps
    build
    ;;
  wine)
    [ $# -ge 1 ] || { echo "usage: $0 wine PROGRAM [ARGS...]" >&2; exit 2; }
    start_wine
    wine "$@"
    ;;
  screenshots|demo|bench)
    install_deps
    build
    start_wine
    script="$ROOT/tools/$cmd.sh"
    [ "$cmd" = bench ] && script="$ROOT/bench/run.sh"
    [ -x "$script" ] || { echo "$cmd: not available yet ($script)" >&2; exit 2; }
    "$script" "$@"
    ;;
  *)
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
