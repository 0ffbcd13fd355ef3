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
#   ./tavi.sh fuzz [SECONDS [OPTIONS]]  fuzz the package reader natively (default
#                                  600 s; OPTIONS go to libFuzzer, e.g. -runs=N)
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
  python3 p7zip-full libarchive-tools g++ zlib1g-dev
  dpkg-dev make autoconf automake libtool
)
# Only for ./tavi.sh fuzz.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

missing_packages() {
  local p
  for p in "${DEB_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# Reads apt-get update's output on standard input and prints, once each, the
# repositories and suites whose index failed to download, as "URI SUITE".
failed_suites() {
  sed -n 's|.*Failed to fetch \([a-z0-9+]*://[^ ]*\)/dists/\([^/ ]*\)/.*|\1 \2|p' | sort -u
}

# Copies the machine's sources (from $2, default /etc/apt) into directory $1,
# leaving out the suites listed on standard input ("URI SUITE" lines). Handles
# the one-line format (.list) and the deb822 format (.sources).
sources_without() {
  local dir=$1 etc=${2:-/etc/apt} drop f
  drop=$(cat)
  for f in "$etc"/sources.list "$etc"/sources.list.d/*.list "$etc"/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v drop="$drop" -v deb822="$([[ $f == *.sources ]] && echo 1)" '
      BEGIN {
        n = split(drop, lines, "\n")
        for (i = 1; i <= n; i++) if (split(lines[i], w, " ") == 2) { sub(/\/$/, "", w[1]); gone[w[1] " " w[2]] = 1 }
      }
      function bare(u) { sub(/\/$/, "", u); return u }
      # One-line format: "deb [options] URI SUITE COMPONENTS..."
      !deb822 {
        line = $0; sub(/\[[^]]*\]/, "", line); split(line, f, " ")
        if ((f[1] == "deb" || f[1] == "deb-src") && (bare(f[2]) " " f[3]) in gone) next
        print; next
      }
      # deb822: a stanza loses the failed suites; a stanza left without any goes.
      function flush(   i, k, u, s, keep, out) {
        if (nst == 0) return
        keep = ""
        ns = split(suites, s, " ")
        for (k = 1; k <= ns; k++) {
          out = 0
          nu = split(uris, u, " ")
          for (i = 1; i <= nu; i++) if ((bare(u[i]) " " s[k]) in gone) out = 1
          if (!out) keep = keep " " s[k]
        }
        if (ns == 0 || keep != "") {
          for (i = 1; i <= nst; i++) print (i == suiteline ? "Suites:" keep : st[i])
          print ""
        }
        nst = 0; uris = ""; suites = ""; suiteline = 0
      }
      /^[ \t]*$/ { flush(); next }
      {
        st[++nst] = $0
        if ($1 == "URIs:") { uris = $0; sub(/^URIs:/, "", uris) }
        if ($1 == "Suites:") { suites = $0; sub(/^Suites:/, "", suites); suiteline = nst }
      }
      END { flush() }
    ' "$f" >"$dir/$(basename "$f")"
  done
}

# "URI SUITE" lines as one readable list: "SUITE (URI), ...".
suite_names() { awk '{ printf "%s%s (%s)", (NR > 1 ? ", " : ""), $2, $1 }' <<<"$1"; }

# apt speaks English here: the script reads its messages, and the prefix's
# locale is exported above.
apt_install() {
  LC_ALL=C DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
}

# Installs the packages that are missing (all of them with TAVI_FORCE_INSTALL=1).
# An index that fails to download (a mirror in mid-sync, say) does not stop the
# set-up: the install is tried once more without the suites whose index failed.
install_deps() {
  local missing failed= out try
  missing=$(missing_packages)
  [ -n "${TAVI_FORCE_INSTALL:-}" ] && missing="${DEB_PACKAGES[*]}"
  if [ -n "$missing" ]; then
    log "installing: $(echo $missing)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
    fi
    out=$(mktemp)
    for try in 1 2 3; do
      if LC_ALL=C apt-get update -q 2>&1 | tee "$out" >&2; then failed=; break; fi
      failed=$(failed_suites <"$out")
      [ "$try" = 3 ] || { log "apt-get update failed; trying again in 5 s"; sleep 5; }
    done
    rm -f "$out"
    # shellcheck disable=SC2086
    if ! apt_install $missing; then
      if [ -n "$failed" ]; then
        local dir
        dir=$(mktemp -d)
        sources_without "$dir" <<<"$failed"
        log "leaving out $(suite_names "$failed") for this install only: its package index failed to download"
        # shellcheck disable=SC2086
        apt_install -o Dir::Etc::SourceParts="$dir" -o Dir::Etc::SourceList=/dev/null $missing || true
        rm -rf "$dir"
      fi
      missing=$(missing_packages)
      if [ -n "$missing" ]; then
        log "could not install: $(echo $missing)"
        if [ -n "$failed" ]; then
          log "the package index of $(suite_names "$failed") failed to download (a mirror in mid-sync, say): run this again later"
        else
          log "see apt-get's messages above; run this again once they are dealt with"
        fi
        exit 1
      fi
    fi
  fi
  if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    log "generating the zh_CN.UTF-8 locale"
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

# ---------------------------------------------------------------------------
# libsodium
#
# The package signatures' Ed25519 comes from libsodium, which Debian packages
# for Linux only: its source package is fetched with apt-get source, the
# source archive checked against the checksum below, its build scripts made
# with autoreconf (the archive has none, as for Debian's own build), and the
# library cross-built once, static, into the build directory. --enable-minimal leaves
# out the deprecated parts and those only other high-level calls use
# (xchacha20, scrypt, ristretto255, the low-level curve arithmetic); the
# Ed25519 signatures, Ed25519ph with them, stay.
SODIUM_ORIG=libsodium_1.0.18.orig.tar.gz
SODIUM_ORIG_SHA256=d59323c6b712a1519a5daf710b68f5e7fde57040845ffec53850911f10a5d4f4
SODIUM_CONFIGURE=(--host=i686-w64-mingw32 --disable-shared --enable-static --enable-minimal --disable-ssp
  --without-pthreads --disable-dependency-tracking CC=i686-w64-mingw32-gcc-posix CFLAGS=-O2)

# The machine's Debian archive for suite $1, as a deb-src entry of its main
# component, from the sources under $2 (default /etc/apt); nothing when none
# carries that suite.
debian_source_entry() {
  local suite=$1 etc=${2:-/etc/apt} f entry
  for f in "$etc"/sources.list "$etc"/sources.list.d/*.list "$etc"/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    entry=$(awk -v suite="$suite" -v deb822="$([[ $f == *.sources ]] && echo 1)" '
      function has(list, word,   w, n, i) { n = split(list, w, " "); for (i = 1; i <= n; i++) if (w[i] == word) return 1; return 0 }
      # One-line format: "deb [options] URI SUITE COMPONENTS..."
      !deb822 {
        line = $0; opts = ""
        if (match(line, /\[[^]]*\]/)) { opts = substr(line, RSTART, RLENGTH) " "; line = substr(line, 1, RSTART - 1) substr(line, RSTART + RLENGTH) }
        split(line, w, " ")
        if (w[1] == "deb" && w[3] == suite) { print "deb-src " opts w[2] " " suite " main"; exit }
        next
      }
      function flush(   u) {
        if (has(types, "deb") && has(suites, suite)) {
          split(uris, u, " ")
          print "deb-src " (key != "" ? "[signed-by=" key "] " : "") u[1] " " suite " main"; found = 1; exit
        }
        types = uris = suites = key = ""
      }
      /^[ \t]*$/ { flush(); next }
      $1 == "Types:" { types = $0; sub(/^Types:/, "", types) }
      $1 == "URIs:" { uris = $0; sub(/^URIs:/, "", uris) }
      $1 == "Suites:" { suites = $0; sub(/^Suites:/, "", suites) }
      $1 == "Signed-By:" { key = $2 }
      END { if (deb822 && !found) flush() }
    ' "$f")
    if [ -n "$entry" ]; then echo "$entry"; return; fi
  done
}

# Runs "apt-get ARGS..." (after an update) in folder $1/get with an apt of
# its own that reads only source entry $2: its sources, lists and cache live
# in $1, so the machine's apt is left as it was. Three tries; the output goes
# to $1/apt.log, shown when the last try fails.
private_apt() {
  local dir=$1 entry=$2 try
  shift 2
  mkdir -p "$dir/apt/parts" "$dir/apt/lists/partial" "$dir/apt/cache/archives/partial" "$dir/get"
  echo "$entry" >"$dir/apt/parts/tavi.list"
  local apt=(apt-get -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$dir/apt/parts"
    -o Dir::State::Lists="$dir/apt/lists" -o Dir::Cache="$dir/apt/cache")
  for try in 1 2 3; do
    if LC_ALL=C "${apt[@]}" update >"$dir/apt.log" 2>&1 &&
      (cd "$dir/get" && LC_ALL=C "${apt[@]}" "$@" >>"$dir/apt.log" 2>&1); then
      return 0
    fi
    [ "$try" = 3 ] || { log "apt-get $1 failed ($entry); trying again in 5 s"; sleep 5; }
  done
  cat "$dir/apt.log" >&2
  return 1
}

# The machine's Debian suite, as /etc/os-release names it.
machine_suite() { (. /etc/os-release && echo "${VERSION_CODENAME:-}"); }

# Downloads libsodium's source package into $1/get.
fetch_sodium_source() {
  local dir=$1 suite entry
  suite=$(machine_suite)
  entry=$(debian_source_entry "$suite")
  if [ -z "$entry" ]; then
    log "none of the machine's apt sources is a Debian archive for '$suite'; libsodium's source cannot be fetched"
    return 1
  fi
  private_apt "$dir" "$entry" source --download-only libsodium ||
    { log "libsodium's source package could not be fetched ($entry): run this again later"; return 1; }
}

# Builds libsodium into $BUILD/libsodium-KEY unless it is there; the key
# follows the source archive and the options, so a change of either builds
# it anew. Sets SODIUM_DIR.
ensure_libsodium() {
  local key tmp started=$SECONDS got
  key=$(printf '%s\n' "$SODIUM_ORIG_SHA256" "${SODIUM_CONFIGURE[@]}" | sha256sum | cut -c1-12)
  SODIUM_DIR=$BUILD/libsodium-$key
  [ -f "$SODIUM_DIR/.built" ] && return
  log "building libsodium for i686-w64-mingw32, once for this build directory"
  tmp=$(mktemp -d)
  if ! fetch_sodium_source "$tmp"; then rm -rf "$tmp"; exit 1; fi
  got=$(sha256sum "$tmp/get/$SODIUM_ORIG" 2>/dev/null | cut -d' ' -f1)
  if [ "$got" != "$SODIUM_ORIG_SHA256" ]; then
    log "$SODIUM_ORIG: SHA-256 ${got:-(no such file)}, expected $SODIUM_ORIG_SHA256; not used"
    rm -rf "$tmp"
    exit 1
  fi
  # dpkg-source checks the other files against the .dsc and applies Debian's patches.
  rm -rf "$SODIUM_DIR"
  if ! (dpkg-source -x "$tmp"/get/libsodium_*.dsc "$tmp/libsodium" &&
    cd "$tmp/libsodium" && autoreconf -fi && ./configure --prefix="$SODIUM_DIR" "${SODIUM_CONFIGURE[@]}" &&
    make -j"$(nproc)" && make install) >"$tmp/build.log" 2>&1; then
    tail -n 40 "$tmp/build.log" >&2
    log "libsodium did not build"
    rm -rf "$tmp"
    exit 1
  fi
  touch "$SODIUM_DIR/.built"
  rm -rf "$tmp"
  log "libsodium built in $((SECONDS - started)) s"
}

# ---------------------------------------------------------------------------
# 32-bit programs on a kernel that runs none
#
# Some machines run 64-bit user code only: every i386 execve answers ENOEXEC
# and there is no 32-bit code segment, so neither wine32 nor a WoW64 Wine can
# start a 32-bit program. There Wine's 32-bit side runs under qemu's user-mode
# emulator, registered with binfmt_misc for i386 ELF files. Bookworm's qemu
# (7.2) needs about an hour to start Wine, which reserves the whole 4 GiB
# address space page by page; from 8.1 on the guest space is reserved at once
# and a prefix is made in seconds, so the emulator comes from
# bookworm-backports, through an apt of its own, unpacked into the build
# directory rather than installed (its binaries are static).
QEMU_DIR=$BUILD/qemu
I386_BINFMT=/proc/sys/fs/binfmt_misc
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# The machine's entry for suite $1's backports, as a deb entry of its main
# component; nothing when no source carries suite $1.
backports_entry() {
  debian_source_entry "$1" "${2:-/etc/apt}" | sed "s/^deb-src /deb /; s/ $1 main\$/ $1-backports main/"
}

# Sets TAVI_EMULATED when Wine's 32-bit side runs under the emulator.
TAVI_EMULATED=
ensure_i386() {
  local qemu=$QEMU_DIR/usr/bin/qemu-i386 entry
  [ -e "$I386_BINFMT/tavi-i386" ] && { TAVI_EMULATED=1; return; }
  /usr/lib/wine/wine --version >/dev/null 2>&1 && return
  TAVI_EMULATED=1
  log "this kernel starts no 32-bit program; Wine's 32-bit side runs under qemu-i386"
  if [ ! -x "$qemu" ]; then
    entry=$(backports_entry "$(machine_suite)")
    [ -n "$entry" ] || { log "no Debian archive among the machine's apt sources; qemu cannot be fetched"; exit 1; }
    rm -rf "$QEMU_DIR.tmp"
    if ! private_apt "$QEMU_DIR.tmp" "$entry" download qemu-user; then
      log "qemu-user could not be fetched ($entry): run this again later"
      exit 1
    fi
    dpkg-deb -x "$QEMU_DIR".tmp/get/qemu-user_*.deb "$QEMU_DIR"
    rm -rf "$QEMU_DIR.tmp"
  fi
  log "$("$qemu" --version | head -n 1)"
  if [ ! -e "$I386_BINFMT/register" ] && ! mount -t binfmt_misc binfmt_misc "$I386_BINFMT"; then
    log "binfmt_misc cannot be mounted (this needs root)"
    exit 1
  fi
  # F: the kernel opens the emulator now, so it serves in every mount namespace.
  # Another run may have registered it meanwhile.
  printf ':tavi-i386:M::%s:%s:%s:F\n' "$I386_MAGIC" "$I386_MASK" "$qemu" >"$I386_BINFMT/register" 2>/dev/null ||
    [ -e "$I386_BINFMT/tavi-i386" ] || { log "the emulator could not be registered with binfmt_misc"; exit 1; }
  /usr/lib/wine/wine --version >/dev/null 2>&1 || { log "Wine does not start under $qemu"; exit 1; }
}

# ---------------------------------------------------------------------------
# Display

XVFB_PID=
cleanup() {
  if [ -n "${WINE_STARTED:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}

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
  ensure_i386
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
  ensure_libsodium
  cmake -S "$ROOT" -B "$BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
    -DTAVI_SODIUM_DIR="$SODIUM_DIR" \
    -DCMAKE_BUILD_TYPE=Release \
    -DTAVI_WERROR="${CI:+ON}" >/dev/null
  cmake --build "$BUILD"
}

# The package reader under libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer, natively. Seeds: the common writers' packages,
# fuzz/seeds and fuzz/regressions. A finding is written into fuzz/regressions/,
# whose every input ./tavi.sh test replays.
fuzz() {
  local seconds=${1:-600} dir=$BUILD/fuzz
  [ $# -gt 0 ] && shift
  cmake -S "$ROOT/fuzz" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DPLINTH_FUZZER=ON >/dev/null
  cmake --build "$dir"
  mkdir -p "$dir/corpus"
  bash "$ROOT/tests/plinth/make-writer-packages.sh" "$dir/writers" >/dev/null
  "$dir/zip_reader_fuzz" -max_total_time="$seconds" -max_len=16384 -print_final_stats=1 \
    -artifact_prefix="$ROOT/fuzz/regressions/" "$@" \
    "$dir/corpus" "$dir/writers" "$ROOT/fuzz/seeds" "$ROOT/fuzz/regressions"
}

run_tests() {
  start_wine
  # A test program's time limit; emulated, the longest (app_test) needs more.
  ctest --test-dir "$BUILD" --output-on-failure --timeout "$([ -n "$TAVI_EMULATED" ] && echo 2400 || echo 600)" "$@"
}

main() {
  trap cleanup EXIT
  local cmd=${1:-} script
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
    fuzz)
      DEB_PACKAGES+=("${FUZZ_PACKAGES[@]}")
      install_deps
      fuzz "$@"
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
      sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
      exit 2
      ;;
  esac
}

# Sourced (by the set-up test), it only defines its functions.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then main "$@"; fi
