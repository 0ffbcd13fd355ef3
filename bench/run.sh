#!/usr/bin/env bash
# Runs every benchmark script of this folder (NAME-bench.sh) in turn; each
# prints its own ratios. Called by ./tavi.sh bench with the prefix ready.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
status=0
for script in "$here"/*-bench.sh; do
  [ -e "$script" ] || continue
  echo "== $(basename "$script" .sh)"
  bash "$script" || status=1
done
exit $status
