# Sourced by the checks that run native tools against the Windows programs:
# their two arguments (BIN_DIR WINE_EXEC), a scratch folder removed at exit,
# Wine's name for a native path, and failing with a message.
set -euo pipefail
bin=$1 wine_exec=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "${1//\//\\}"; }
fail() { echo "FAILED: $*" >&2; exit 1; }
