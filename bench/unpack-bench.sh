#!/usr/bin/env bash
# Unpacking a package of about 200 MB in 2,000 files (compressible text and
# incompressible data mixed): Plinth.dll's UnCompressFile under Wine against
# Info-ZIP's unzip natively, on the same file, median of several runs.
# Prints the ratios (goal: 1.0 or below) and the unpack's peak memory (goal:
# under 32 MB). Called by bench/run.sh with the Wine prefix ready.
set -euo pipefail
build=${TAVI_BUILD:?TAVI_BUILD is not set}
runs=${UNPACK_BENCH_RUNS:-5}
bin=$build/bin
work=$build/bench-unpack
data=$work/data
pkg=$work/bench.tv2bck
winpath() { printf 'Z:%s' "${1//\//\\}"; }
source "$(dirname "$0")/common.sh"

for tool in unzip python3; do
  command -v "$tool" >/dev/null || { echo "unpack-bench: $tool is missing" >&2; exit 1; }
done
[ -x "$bin/plinth_unpack_bench.exe" ] || { echo "unpack-bench: build first ($bin/plinth_unpack_bench.exe)" >&2; exit 1; }

# The data, made once per build directory: 1,000 text files of 2 KB to 200 KB
# and 1,000 random ones of 2 KB to 340 KB, about 270 MB that pack into a
# package of about 200 MB.
if [ ! -f "$work/.made-v2" ]; then
  rm -rf "$work"
  mkdir -p "$data"
  python3 - "$data" <<'PY'
import os, random, sys
out = sys.argv[1]
rng = random.Random(20261209)
words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 9))) for _ in range(3000)]
total = 0
for i in range(2000):
    size = rng.randint(2_000, 198_000) if i % 2 == 0 else rng.randint(2_000, 338_000)
    path = os.path.join(out, f'{"text" if i % 2 == 0 else "data"}{i:04d}.{"txt" if i % 2 == 0 else "bin"}')
    with open(path, 'wb') as f:
        if i % 2 == 0:
            lines, n = [], 0
            while n < size:
                line = f'{i:04d} {n:08d} ' + ' '.join(rng.choice(words) for _ in range(rng.randint(4, 14))) + '\r\n'
                lines.append(line)
                n += len(line)
            f.write(''.join(lines).encode()[:size])
        else:
            f.write(os.urandom(size))
    total += size
print(f'unpack-bench: made 2000 files, {total / 1e6:.0f} MB', file=sys.stderr)
PY
  wine "$bin/tv2pack.exe" create "$(winpath "$pkg")" --root 'D:\TAVI' "$(winpath "$data")" >/dev/null
  touch "$work/.made-v2"
fi
echo "package: $(stat -c %s "$pkg" | awk '{printf "%.0f MB", $1/1e6}'), $(unzip -Z1 "$pkg" | wc -l) entries (TAVIBK.cfg included)," \
  "$(du -sb "$data" | awk '{printf "%.0f MB", $1/1e6}') unpacked"

plinth_ms=() plinth_wall=() unzip_ms=() peak=()
run_unzip() {
  rm -rf "$work/out-unzip"
  sync  # each run starts without the other's writes still pending
  local t0=$(now_ms)
  unzip -q -o "$pkg" -d "$work/out-unzip"
  unzip_ms+=($(( $(now_ms) - t0 )))
}
run_plinth() {
  rm -rf "$work/out-plinth"
  mkdir -p "$work/out-plinth"
  sync
  local t0=$(now_ms) result answer
  result=$(wine "$bin/plinth_unpack_bench.exe" "$(winpath "$pkg")" "$(winpath "$work/out-plinth")" | tr -d '\r')
  plinth_wall+=($(( $(now_ms) - t0 )))
  answer=$(sed -n 's/^answer: //p' <<<"$result")
  [ "$answer" = 2001 ] || { echo "unpack-bench: UnCompressFile answered $answer" >&2; exit 1; }
  plinth_ms+=($(sed -n 's/^ms: //p' <<<"$result"))
  peak+=($(sed -n 's/^peak_kb: //p' <<<"$result"))
}
# The two take turns at going first.
for ((i = 1; i <= runs; i++)); do
  if ((i % 2)); then run_unzip; run_plinth; else run_plinth; run_unzip; fi
done
diff -rq "$work/out-unzip" "$work/out-plinth" >/dev/null || { echo "unpack-bench: the two unpacks differ" >&2; exit 1; }
rm -rf "$work/out-unzip" "$work/out-plinth"

u=$(printf '%s\n' "${unzip_ms[@]}" | median)
p=$(printf '%s\n' "${plinth_ms[@]}" | median)
w=$(printf '%s\n' "${plinth_wall[@]}" | median)
m=$(printf '%s\n' "${peak[@]}" | sort -n | tail -1)
echo "runs: $runs"
echo "unzip (native):                 median ${u} ms   [${unzip_ms[*]}]"
echo "UnCompressFile (Wine):          median ${p} ms   [${plinth_ms[*]}]"
echo "plinth_unpack_bench.exe (Wine): median ${w} ms wall, Wine start-up included"
awk -v p="$p" -v u="$u" 'BEGIN {printf "ratio UnCompressFile / unzip: %.2f (goal 1.0 or below)\n", p / u}'
awk -v w="$w" -v u="$u" 'BEGIN {printf "ratio whole Wine process / unzip: %.2f\n", w / u}'
awk -v m="$m" 'BEGIN {printf "peak working set of the unpacking process: %.1f MB (goal under 32 MB)\n", m / 1024}'
