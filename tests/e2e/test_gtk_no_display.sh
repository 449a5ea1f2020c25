#!/usr/bin/env bash
# Without a display the window cannot open: a clear message and a non-zero exit status, not a
# crash or a silent end.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
cd "$E2E_DIR"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$tools/gtk_probe" >out.txt 2>err.txt </dev/null || status=$?
[[ $status == 1 ]] || e2e_fail "exit status $status without a display"
grep -q 'DISPLAY is not set' err.txt || e2e_fail "unclear message: $(cat err.txt)"
[[ ! -s out.txt ]] || e2e_fail "printed before failing: $(cat out.txt)"
echo "PASSED"
