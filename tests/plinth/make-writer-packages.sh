#!/usr/bin/env bash
# Writes the same small package with each common ZIP writer, natively, into
# OUT_DIR: TAVIBK.cfg (GBK), a.txt, 检测线.txt (a Chinese name, from a UTF-8
# locale) and log.txt (text that deflates). The tests unpack each one with
# Plinth.dll; the fuzzer takes them as seeds.
# Usage: make-writer-packages.sh OUT_DIR
set -euo pipefail
out=$(mkdir -p "$1" && cd "$1" && pwd)
export LC_ALL=C.UTF-8
src=$(mktemp -d)
trap 'rm -rf "$src"' EXIT
cd "$src"

files=(TAVIBK.cfg a.txt 检测线.txt log.txt)
printf 'hello' > a.txt
printf '中文内容' > 检测线.txt
seq 1 5000 > log.txt
iconv -f UTF-8 -t GBK > TAVIBK.cfg <<'CFG'
[FILEPATH]
PACKNAME=writers
CNT=3
a.txt=D:\plinth-writers\Data\a.txt
检测线.txt=D:\plinth-writers\Data\检测线.txt
log.txt=D:\plinth-writers\log.txt
[FILEVERSION]
CREATETIME=2026-01-02 03:04:05
VERSION=1.0
[FILEVER]
a.txt=0.0.0.0.0.0.0
检测线.txt=0.0.0.0.0.0.0
log.txt=0.0.0.0.0.0.0
CFG

# MODE: writestr, write, or pipe and pipe64 (a stream that cannot seek: data
# descriptors after the data, with 32-bit or ZIP64 sizes)
python_zip() {
  python3 - "$1" "${files[@]}" <<'PY'
import shutil, sys, zipfile
mode, names = sys.argv[1], sys.argv[2:]
target = sys.stdout.buffer if mode.startswith("pipe") else "package.zip"
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as z:
    for name in names:
        if mode == "writestr":
            with open(name, "rb") as f:
                z.writestr(name, f.read())  # mode 0600 without the file-type bits
        elif mode == "pipe64":
            with open(name, "rb") as f, z.open(name, "w", force_zip64=True) as out:
                shutil.copyfileobj(f, out)
        else:
            z.write(name)
PY
}

rm -f package.zip; python_zip writestr; mv package.zip "$out/python-writestr.zip"
rm -f package.zip; python_zip write; mv package.zip "$out/python-write.zip"
python_zip pipe | cat > "$out/python-pipe.zip"
python_zip pipe64 | cat > "$out/python-pipe64.zip"
rm -f "$out"/infozip*.zip "$out/7zip.zip" "$out/bsdtar.zip"
zip -q "$out/infozip.zip" "${files[@]}"
zip -q -X "$out/infozip-X.zip" "${files[@]}"
zip -q - "${files[@]}" | cat > "$out/infozip-stdout.zip"
7z a -tzip "$out/7zip.zip" "${files[@]}" >/dev/null
bsdtar --format zip -cf "$out/bsdtar.zip" "${files[@]}"
echo "writer packages in $out: $(cd "$out" && ls | tr '\n' ' ')"
