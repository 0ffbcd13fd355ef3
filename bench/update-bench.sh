#!/usr/bin/env bash
# The whole update as a line runs it: TAVIUpdata.exe PKG 1 1 on a package of
# 2,000 files of 100 kB (200 MB), all new, into one destination folder, timed
# from process start to exit, and the same with show-log 0. The baseline, in
# the same run, is the platform's own floor for the same job: Plinth.dll's
# UnCompressFile alone (plinth_unpack_bench.exe) plus Wine's xcopy of the
# 2,000 staged files into the destination folder, process start included.
# Medians of three; every run starts from the same state (destination empty,
# no staging folder, and the page cache dropped where that is permitted).
# The same package signed, with its key trusted, is run in turn with them
# (TAVIUpdata.exe SIGNED 1 1): checking the signature must add at most 5 %.
# Then the install phase against a CopyFileA loop (engine_install_bench.exe).
# Prints ratios (goal 2.0 or below). Called by bench/run.sh with the prefix ready.
set -euo pipefail
build=${TAVI_BUILD:?TAVI_BUILD is not set}
runs=${UPDATE_BENCH_RUNS:-3}
bin=$build/bin
sysdir=$WINEPREFIX/drive_c/windows/system32
work=$build/drive_d/UpdateBench   # D:\UpdateBench
source_dir=$work/source
pkg_dir=$work/pkg
dest=$work/dest
staged=$work/staged
PKG_WIN='D:\UpdateBench\pkg\bench.tv2bck'
SIGNED_WIN='D:\UpdateBench\pkg\signed.tv2bck'
KEYS='HKLM\SOFTWARE\TAVI\UpdateKeys'
DEST_WIN='D:\UpdateBench\dest'
STAGED_WIN='D:\UpdateBench\staged'
FILES=2000

source "$(dirname "$0")/common.sh"
count_files() { find "$1" -maxdepth 1 -type f 2>/dev/null | wc -l; }

for exe in TAVIUpdata.exe Plinth.dll plinth_unpack_bench.exe tv2pack.exe engine_install_bench.exe; do
  [ -e "$bin/$exe" ] || { echo "update-bench: build first ($bin/$exe)" >&2; exit 1; }
done

# The data and the package, made once per build directory.
if [ ! -f "$work/.made-v1" ]; then
  rm -rf "$work"
  mkdir -p "$source_dir" "$pkg_dir"
  python3 - "$source_dir" "$FILES" <<'PY'
import os, random, sys
rng = random.Random(20261217)
for i in range(int(sys.argv[2])):
    with open(os.path.join(sys.argv[1], f'file{i:04d}.bin'), 'wb') as f:
        f.write(rng.randbytes(100_000))
PY
  wine "$bin/tv2pack.exe" create "$PKG_WIN" --root "$DEST_WIN" 'D:\UpdateBench\source' \
    --name "update bench" --version "1.0" >/dev/null 2>&1 </dev/null \
    || { echo "update-bench: tv2pack could not make the package" >&2; exit 1; }
  touch "$work/.made-v1"
fi
if [ ! -f "$work/.signed-v1" ]; then
  rm -f "$work"/bench-key.* "$pkg_dir/signed.tv2bck"
  cp "$pkg_dir/bench.tv2bck" "$pkg_dir/signed.tv2bck"
  { wine "$bin/tv2pack.exe" keygen bench-key --out 'D:\UpdateBench' &&
    wine "$bin/tv2pack.exe" sign "$SIGNED_WIN" --key 'D:\UpdateBench\bench-key.key'; } >/dev/null 2>&1 </dev/null \
    || { echo "update-bench: tv2pack could not sign the package" >&2; exit 1; }
  touch "$work/.signed-v1"
fi

# The tool loads the library from the system directory; the one there is put back at the end.
saved_library=$(mktemp)
had_library=0
if [ -f "$sysdir/plinth.dll" ]; then cp "$sysdir/plinth.dll" "$saved_library"; had_library=1; fi
restore_library() {
  if [ "$had_library" = 1 ]; then cp "$saved_library" "$sysdir/plinth.dll"; else rm -f "$sysdir/plinth.dll"; fi
  rm -f "$saved_library"
}
# Signing is on only for the signed runs; the machine's keys are put back at the end.
saved_keys=$(mktemp -u).reg
had_keys=0
if wine reg export "$KEYS" "$(winepath -w "$saved_keys")" /y >/dev/null 2>&1 </dev/null; then had_keys=1; fi
signing() {  # on|off
  wine reg delete "$KEYS" /f >/dev/null 2>&1 </dev/null || true
  if [ "$1" = on ]; then wine reg import 'D:\UpdateBench\bench-key.reg' >/dev/null 2>&1 </dev/null; fi
}
restore() {
  restore_library
  signing off
  if [ "$had_keys" = 1 ]; then wine reg import "$(winepath -w "$saved_keys")" >/dev/null 2>&1 </dev/null; fi
  rm -f "$saved_keys"
}
trap restore EXIT
cp "$bin/Plinth.dll" "$sysdir/plinth.dll"
signing off

cache_note="page cache dropped before each run"
fresh_state() {
  rm -rf "$dest" "$staged" "$pkg_dir/TAVIBACKTmp"
  mkdir -p "$dest"
  sync
  if ! { echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null; then
    cache_note="page cache NOT dropped (not permitted here)"
  fi
}

declare -A tool_ms
run_tool() {  # show-log flag, or "signed" for the signed package with show-log 1
  fresh_state
  local t0 rc=0 package=$PKG_WIN flag=$1
  if [ "$1" = signed ]; then package=$SIGNED_WIN flag=1; signing on; fi
  t0=$(now_ms)
  wine "$bin/TAVIUpdata.exe" "$package" "$flag" 1 >/dev/null 2>&1 </dev/null || rc=$?
  tool_ms[$1]+="$(( $(now_ms) - t0 )) "
  if [ "$1" = signed ]; then signing off; fi
  local n
  n=$(count_files "$dest")
  if [ "$rc" != 0 ] || [ "$n" != "$FILES" ] || [ -e "$pkg_dir/TAVIBACKTmp" ]; then
    echo "update-bench: the run with show-log $1 ended with $rc, installed $n files, staging folder $([ -e "$pkg_dir/TAVIBACKTmp" ] && echo left || echo gone)" >&2
    exit 1
  fi
}

unpack_ms=() xcopy_ms=()
run_floor() {
  fresh_state
  mkdir -p "$staged"
  local result answer t0
  result=$(wine "$bin/plinth_unpack_bench.exe" "$PKG_WIN" "$STAGED_WIN" </dev/null | tr -d '\r')
  answer=$(sed -n 's/^answer: //p' <<<"$result")
  [ "$answer" -ge 1 ] 2>/dev/null || { echo "update-bench: UnCompressFile answered '$answer'" >&2; exit 1; }
  unpack_ms+=($(sed -n 's/^ms: //p' <<<"$result" | awk '{printf "%d", $1}'))
  rm -f "$staged/TAVIBK.cfg"  # the files only, as the run installs them
  t0=$(now_ms)
  wine xcopy "$STAGED_WIN\\*" "$DEST_WIN\\" /Q /Y >/dev/null 2>&1 </dev/null
  xcopy_ms+=($(( $(now_ms) - t0 )))
  [ "$(count_files "$dest")" = "$FILES" ] || { echo "update-bench: xcopy copied $(count_files "$dest") files" >&2; exit 1; }
}

echo "package: $(stat -c %s "$pkg_dir/bench.tv2bck" | awk '{printf "%.0f MB", $1/1e6}'), $FILES files of 100 kB into one folder, every file new"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for ((i = 1; i <= runs; i++)); do
  # The three take turns at going first.
  case $((i % 3)) in
    1) run_tool 1; run_tool signed; run_tool 0; run_floor ;;
    2) run_floor; run_tool signed; run_tool 1; run_tool 0 ;;
    0) run_tool 0; run_floor; run_tool 1; run_tool signed ;;
  esac
done
diff -rq "$source_dir" "$dest" >/dev/null || { echo "update-bench: the installed files differ from the package's" >&2; exit 1; }
rm -rf "$dest" "$staged"

u=$(printf '%s\n' "${unpack_ms[@]}" | median)
x=$(printf '%s\n' "${xcopy_ms[@]}" | median)
t1=$(printf '%s\n' ${tool_ms[1]} | median)
t0=$(printf '%s\n' ${tool_ms[0]} | median)
ts=$(printf '%s\n' ${tool_ms[signed]} | median)
floor=$(( ${u%.*} + ${x%.*} ))
echo "runs: $runs, $cache_note; load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "TAVIUpdata.exe PKG 1 1:           median ${t1} ms   [${tool_ms[1]% }]"
echo "TAVIUpdata.exe PKG 0 1:           median ${t0} ms   [${tool_ms[0]% }]"
echo "TAVIUpdata.exe SIGNED 1 1:        median ${ts} ms   [${tool_ms[signed]% }] (key trusted)"
echo "UnCompressFile alone:             median ${u} ms   [${unpack_ms[*]}]"
echo "xcopy of the staged files:        median ${x} ms   [${xcopy_ms[*]}] (process start included)"
awk -v t="$t1" -v f="$floor" 'BEGIN {printf "ratio whole run / (UnCompressFile + xcopy): %.2f (goal 2.0 or below; 1.3 the stretch)\n", t / f}'
awk -v t="$t0" -v f="$floor" 'BEGIN {printf "ratio with show-log 0:                      %.2f\n", t / f}'
awk -v s="$ts" -v t="$t1" 'BEGIN {printf "ratio signed / unsigned (PKG 1 1):          %.3f (goal 1.05 or below)\n", s / t}'

# The install phase alone, 5,000 small files, against a CopyFileA loop.
(cd "$bin" && wine "$bin/engine_install_bench.exe" 2>/dev/null </dev/null | tr -d '\r')
