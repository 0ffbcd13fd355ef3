#!/usr/bin/env bash
# The update run's install phase for 5,000 small files with the per-file log
# on, against a bare CopyFileA loop over the same files in the same run.
set -euo pipefail
bin="$TAVI_BUILD/bin"
cd "$bin"
wine "$bin/engine_install_bench.exe" 2>/dev/null | tr -d '\r'
