#!/usr/bin/env bash
# Without a display Wine's window driver cannot start, so the dialog cannot be
# made: after a package argument the tool ends with exit 6 and installs
# nothing. Wine gives its programs' children the host's DISPLAY whatever their
# Windows environment says, so the display is taken away from outside.
# Usage: no-display-check.sh BIN_DIR WINE_EXEC
source "$(dirname "$0")/../plinth/native-check.sh"
mkdir -p "$work/src" "$work/pkg"
printf 'a' >"$work/src/a.txt"
"$wine_exec" "$bin/tv2pack.exe" create "$(winpath "$work/pkg/nodisplay.tv2bck")" --root "$(winpath "$work/inst")" \
  "$(winpath "$work/src")" >/dev/null || fail "tv2pack create"
rc=0
env -u DISPLAY -u WAYLAND_DISPLAY "$wine_exec" "$bin/TAVIUpdata.exe" "$(winpath "$work/pkg/nodisplay.tv2bck")" 1 1 \
  >/dev/null 2>&1 || rc=$?
[ "$rc" = 6 ] || fail "without a display the tool ended with $rc, not 6"
[ ! -e "$work/inst/a.txt" ] || fail "a.txt was installed"
[ ! -e "$work/pkg/TAVIBACKTmp" ] || fail "the package was staged"
echo "no display: exit 6, nothing staged or installed"
