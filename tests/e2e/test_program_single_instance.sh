#!/usr/bin/env bash
# One Mernolex at a time on a data directory. While a first one works on a directory, a second
# start on it (named with --data, or found as the working directory holding Data/) says so on
# standard error and in a box, and ends with status 1, the first going on undisturbed; a start on
# another directory works meanwhile. Once the first is killed with SIGKILL, its lock file left
# behind, a new start on the directory works.
source "$(dirname "$0")/lib.sh"
tools=$1
program=$2
E2E_KEEP=${E2E_KEEP:-$tools/e2e-failures/program_single_instance}
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
mkdir collection elsewhere
lock=collection/.mernolex.lock

other=""
# Starts another program in the background, in directory $1 with the arguments that follow; its
# process id goes to `other`, its output to other.out and other.err.
start_other() {
    local dir=$1
    shift
    (cd "$dir" && exec "$program" "$@") </dev/null >other.out 2>other.err &
    other=$!
    e2e_track "$other"
}
# Waits for `other` to end and requires exit status $1.
other_ends_with() {
    local status=0
    e2e_poll "! kill -0 $other 2>/dev/null" || e2e_fail "the other start did not end"
    wait "$other" || status=$?
    [[ $status == "$1" ]] || e2e_fail "the other start ended with status $status, expected $1: $(cat other.err)"
}
# A start in directory $1 (arguments after it) is refused because the first one is at work.
refused_while_first_works() {
    start_other "$@"
    local box
    box=$(e2e_window '^Mernolex cannot start$')
    e2e_shot "$box" refusal.png
    e2e_focus "$box"
    xdotool key Return
    other_ends_with 1
    # The leak checker may add its summary of suppressed reports below the one line of ours.
    [[ $(grep -c . other.err) == 1 || $(sed -n 2p other.err) == -* ]] ||
        e2e_fail "expected one line on standard error: $(cat other.err)"
    head -n 1 other.err | grep -Eq "^mernolex: another Mernolex \\(process $first\\) is working on the data directory \".*/collection\"; close it first$" ||
        e2e_fail "unclear refusal: $(cat other.err)"
    kill -0 "$first" 2>/dev/null || e2e_fail "the first program ended"
    [[ -n $(xdotool search --all --onlyvisible --pid "$first" --name '^Mernolex$' 2>/dev/null) ]] ||
        e2e_fail "the first program's window went away"
}
# The window of process $1, once it is shown.
window_of() {
    local id
    id=$(timeout "$E2E_TIMEOUT" xdotool search --all --sync --onlyvisible --pid "$1" --name '^Mernolex$' 2>/dev/null | head -n 1)
    [[ -n $id ]] || e2e_fail "process $1 showed no window"
    echo "$id"
}

e2e_start_program "$program" --data collection
first=$E2E_PROGRAM_PID
wid=$(window_of "$first")
[[ $(cat "$lock") == "$first" ]] || e2e_fail "the lock file does not name the first program: $(cat "$lock")"

refused_while_first_works . --data collection
refused_while_first_works collection

start_other . --data elsewhere
"$tools/x_request_close" "$(window_of "$other")"
other_ends_with 0
[[ -d elsewhere/Data ]] || e2e_fail "the start on another directory did not create its data"

kill -KILL "$first"
e2e_wait_exit
[[ $E2E_STATUS == 137 ]] || e2e_fail "the first program was not killed: status $E2E_STATUS"
[[ $(cat "$lock") == "$first" ]] || e2e_fail "the killed program's lock file went away"

e2e_start_program "$program" --data collection
wid=$(window_of "$E2E_PROGRAM_PID")
[[ -z $(xdotool search --onlyvisible --name '^Mernolex cannot start$' 2>/dev/null) ]] ||
    e2e_fail "the stale lock file blocked the start"
[[ $(cat "$lock") == "$E2E_PROGRAM_PID" ]] || e2e_fail "the new program did not take the lock: $(cat "$lock")"
"$tools/x_request_close" "$wid"
e2e_window_gone '^Mernolex$'
e2e_wait_exit
[[ $E2E_STATUS == 0 ]] || e2e_fail "the start after the kill ended with status $E2E_STATUS: $(cat "$E2E_DIR/program.err")"
echo "PASSED"
