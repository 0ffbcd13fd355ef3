#!/usr/bin/env bash
# Info-ZIP against the project's package code, in both directions:
#  1. Info-ZIP's zip writes a package; Plinth.dll (through plinth_unpack.exe
#     under Wine) unpacks it with the right contents and times.
#  2. tv2pack writes a package, signed too; Info-ZIP's unzip lists it, tests
#     every CRC and shows the signature as the archive comment.
# Usage: infozip-check.sh BIN_DIR WINE_EXEC
source "$(dirname "$0")/native-check.sh"

mkdir -p "$work/src/System/BIN" "$work/out"
printf 'hello' > "$work/src/a.txt"
seq 1 100000 > "$work/src/log.txt"
head -c 200000 /dev/urandom > "$work/src/System/BIN/noise.bin"
touch -d '2024-05-06 07:08:09 UTC' "$work/src/a.txt"

# 1. zip -> UnCompressFile
(cd "$work/src" && zip -q ../infozip.tv2bck a.txt log.txt System/BIN/noise.bin -j)
"$wine_exec" "$bin/plinth_unpack.exe" "$(winpath "$work/infozip.tv2bck")" "$(winpath "$work/out")" \
  | tr -d '\r' | grep -qx 'UnCompressFile: 3' || fail "Plinth.dll did not unpack Info-ZIP's package"
for f in a.txt log.txt; do cmp "$work/src/$f" "$work/out/$f" || fail "$f differs"; done
cmp "$work/src/System/BIN/noise.bin" "$work/out/noise.bin" || fail "noise.bin differs"
[ "$(stat -c %Y "$work/out/a.txt")" = "$(stat -c %Y "$work/src/a.txt")" ] || fail "a.txt lost its time"
echo "Info-ZIP zip -> UnCompressFile: 3 files, contents and times kept"

# A zip made with a folder in it is not a flat package.
(cd "$work/src" && zip -q -r ../tree.tv2bck System)
if "$wine_exec" "$bin/plinth_unpack.exe" "$(winpath "$work/tree.tv2bck")" "$(winpath "$work/out2")" >/dev/null; then
  fail "a package with folders was unpacked"
fi
[ ! -e "$work/out2" ] || [ -z "$(ls -A "$work/out2")" ] || fail "a refused package wrote files"
echo "Info-ZIP zip -r (folders) -> refused, nothing written"

# 2. tv2pack -> unzip
"$wine_exec" "$bin/tv2pack.exe" create "$(winpath "$work/t.tv2bck")" --root 'D:\TAVI' "$(winpath "$work/src")" >/dev/null \
  || fail "tv2pack create"
unzip -tq "$work/t.tv2bck" || fail "unzip -t found errors in tv2pack's package"
listing=$(unzip -Z1 "$work/t.tv2bck" | LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "TAVIBK.cfg a.txt log.txt noise.bin " ] || fail "unzip lists: $listing"
echo "tv2pack -> unzip -t: no errors; entries: $listing"

"$wine_exec" "$bin/tv2pack.exe" keygen infozip --out "$(winpath "$work")" >/dev/null || fail "tv2pack keygen"
"$wine_exec" "$bin/tv2pack.exe" create "$(winpath "$work/signed.tv2bck")" --root 'D:\TAVI' "$(winpath "$work/src")" \
  --key "$(winpath "$work/infozip.key")" >/dev/null || fail "tv2pack create --key"
unzip -tq "$work/signed.tv2bck" || fail "unzip -t found errors in a signed package"
unzip -zq "$work/signed.tv2bck" | grep -q '^TAVI-SIGNATURE-1 Ed25519ph key=' || fail "unzip -z does not show the signature"
echo "tv2pack create --key -> unzip -t: no errors; the comment is the signature"
echo "1 passed, 0 failed"
