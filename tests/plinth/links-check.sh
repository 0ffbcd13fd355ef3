#!/usr/bin/env bash
# tv2pack create follows symbolic links (natively made, as Wine shows them)
# but refuses a source folder in which one leads back round in a circle.
# Usage: links-check.sh BIN_DIR WINE_EXEC
source "$(dirname "$0")/native-check.sh"
create() { "$wine_exec" "$bin/tv2pack.exe" create "$(winpath "$work/out.tv2bck")" --root 'D:\TAVI' "$(winpath "$work/src")" 2>&1; }

mkdir -p "$work/src/sub" "$work/shared"
printf 'a' > "$work/src/a.txt"
printf 'b' > "$work/shared/b.txt"
ln -s ../../shared "$work/src/sub/shared"
create >/dev/null || fail "a package with a linked folder"
unzip -Z1 "$work/out.tv2bck" | grep -qx b.txt || fail "the linked folder's file is missing"
echo "a link to a folder elsewhere is followed"

rm "$work/out.tv2bck"
ln -s .. "$work/src/sub/loop"
if out=$(create); then fail "a folder with a link in a circle was packed"; fi
[[ $out == *'sub\loop leads back to'*'(a junction or link in a circle)'* ]] || fail "tv2pack said: $out"
[ ! -e "$work/out.tv2bck" ] || fail "a refused package was written"
echo "a link in a circle is refused, nothing written"
echo "2 passed, 0 failed"
