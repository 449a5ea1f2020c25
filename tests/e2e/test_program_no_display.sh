#!/usr/bin/env bash
# Without a display the program cannot show its window: it says so in one line on standard error
# and ends with a non-zero status, before touching the working directory or the user's data
# directory.
source "$(dirname "$0")/lib.sh"
program=$2
e2e_begin
cd "$E2E_DIR"

check_refusal() {  # $1: what the message must say; the program runs with the environment given
    local status=0
    "${@:2}" "$program" >out.txt 2>err.txt </dev/null || status=$?
    [[ $status != 0 ]] || e2e_fail "exit status 0 without a usable display"
    # The leak checker may add its summary of suppressed reports (fonts warmed up meanwhile) below
    # the one line of ours.
    [[ $(wc -l <err.txt) == 1 || $(sed -n 2p err.txt) == -* ]] ||
        e2e_fail "expected one line on standard error: $(cat err.txt)"
    head -n 1 err.txt | grep -q "^mernolex: .*$1" || e2e_fail "unclear message: $(cat err.txt)"
    [[ ! -s out.txt ]] || e2e_fail "printed on standard output: $(cat out.txt)"
    [[ ! -e Data ]] || e2e_fail "created Data without a window"
    [[ ! -e $XDG_DATA_HOME ]] || e2e_fail "created the user's data directory without a window"
}

check_refusal 'DISPLAY is not set' env -u DISPLAY -u WAYLAND_DISPLAY
# A display nobody serves: the socket does not exist.
check_refusal 'cannot open the display ":4711"' env -u WAYLAND_DISPLAY DISPLAY=:4711
echo "PASSED"
