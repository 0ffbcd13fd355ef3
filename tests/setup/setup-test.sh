#!/usr/bin/env bash
# The set-up's handling of a package index that fails to download, on
# recorded apt output and sample sources; no network, nothing installed.
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

[ "$fails" = 0 ] || { echo "$fails failed"; exit 1; }
