#!/usr/bin/env bash
# The set-up's handling of a package index that fails to download, and the
# source entry for libsodium, on recorded apt output and sample sources; no
# network, nothing installed.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../tavi.sh
source "$here/../../tavi.sh"
set +e
fails=0
expect() { # NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok   $1"; else
    echo "FAIL $1"; echo "  expected: $(printf %q "$2")"; echo "  actual:   $(printf %q "$3")"; fails=$((fails + 1))
  fi
}

expect "the failed suite is read from apt's output" \
  "http://deb.debian.org/debian-security bookworm-security" "$(failed_suites <"$here/apt-update-failed.txt")"
expect "an output without a failure names none" "" "$(failed_suites <"$here/apt-update-clean.txt")"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed_suites <"$here/apt-update-failed.txt" | sources_without "$out" "$here/etc"
expect "deb822: the failed suite's stanza goes, the others stay" \
  "bookworm bookworm-updates" "$(sed -n 's/^Suites: *//p' "$out/debian.sources" | xargs)"
expect "deb822: the kept stanza keeps its other fields" \
  "1" "$(grep -c '^Signed-By:' "$out/debian.sources")"
expect "one-line: every entry of the failed suite goes, the others stay" \
  "deb http://deb.debian.org/debian bookworm main" "$(grep -v '^#' "$out/sources.list")"

echo "x bookworm" | sources_without "$out" "$here/etc"
expect "deb822: a suite of another repository is kept" \
  "bookworm bookworm-updates bookworm-security" "$(sed -n 's/^Suites: *//p' "$out/debian.sources" | xargs)"

# libsodium's source comes from the machine's own Debian archive.
expect "one-line: the archive's entry for the suite becomes a deb-src entry" \
  "deb-src http://deb.debian.org/debian bookworm main" "$(debian_source_entry bookworm "$here/etc")"
mkdir -p "$out/deb822/sources.list.d"
cp "$here/etc/sources.list.d/debian.sources" "$out/deb822/sources.list.d/"
expect "deb822: the stanza's URI and key" \
  "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main" \
  "$(debian_source_entry bookworm-security "$out/deb822")"
expect "a suite that no entry carries gives none" "" "$(debian_source_entry trixie "$out/deb822")"
# qemu comes from the same archive's backports.
expect "the archive's entry for the suite becomes its backports' deb entry" \
  "deb http://deb.debian.org/debian bookworm-backports main" "$(backports_entry bookworm "$here/etc")"

[ "$fails" = 0 ] || { echo "$fails failed"; exit 1; }
