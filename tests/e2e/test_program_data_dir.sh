#!/usr/bin/env bash
# Where the program keeps its data, with real starts. Started from a folder without Data/ it works
# in the user's data directory ($XDG_DATA_HOME/mernolex, else ~/.local/share/mernolex), created
# private on the first start, and leaves the folder alone; started from a folder holding Data/ it
# works there; --data names the directory, created when missing, and wins over both. A --data
# directory that cannot be created is refused in one line and a box, with status 1.
source "$(dirname "$0")/lib.sh"
tools=$1
program=$2
E2E_KEEP=${E2E_KEEP:-$tools/e2e-failures/program_data_dir}
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
mkdir empty home
printf 'not a folder' >blocker

# Starts the program in directory $1 (the rest is the command, the program among it), waits for
# its window, closes it and requires a clean end.
start_and_close() {
    local dir=$1 wid
    shift
    cd "$dir"
    e2e_start_program "$@"
    cd "$E2E_DIR"
    wid=$(e2e_window '^Mernolex$')
    "$tools/x_request_close" "$wid"
    e2e_window_gone '^Mernolex$'
    e2e_wait_exit
    [[ $E2E_STATUS == 0 ]] || e2e_fail "the program ended with status $E2E_STATUS: $(cat "$E2E_DIR/program.err")"
}
has_collection() { [[ -f $1/Data/Level/levels.dat && -f $1/Data/Framework/strings.dat && -f $1/.mernolex.lock ]]; }
untouched() { [[ -z $(ls -A "$1") ]] || e2e_fail "$1 was written to: $(ls -A "$1")"; }

start_and_close empty "$program"
has_collection "$XDG_DATA_HOME/mernolex" || e2e_fail "no collection in \$XDG_DATA_HOME/mernolex"
[[ $(stat -c %a "$XDG_DATA_HOME/mernolex") == 700 ]] || e2e_fail "the user's data directory is not private"
untouched empty

start_and_close empty env -u XDG_DATA_HOME HOME="$E2E_DIR/home" "$program"
has_collection home/.local/share/mernolex || e2e_fail "no collection in ~/.local/share/mernolex"
untouched empty

start_and_close empty "$program" --data ../collection/
has_collection collection || e2e_fail "no collection where --data pointed"
untouched empty

# A collection kept in the folder the program is started from stays where it is.
rm -rf "$XDG_DATA_HOME"
start_and_close collection "$program"
[[ ! -e $XDG_DATA_HOME ]] || e2e_fail "started from a folder holding Data/, it used the user's data directory"
start_and_close collection "$program" --data "$E2E_DIR/named"
has_collection named || e2e_fail "--data did not win over the folder holding Data/"

cd empty
e2e_start_program "$program" --data ../blocker/sub
box=$(e2e_window '^Mernolex cannot start$')
e2e_focus "$box"
xdotool key Return
e2e_wait_exit
[[ $E2E_STATUS == 1 ]] || e2e_fail "a data directory that cannot be made ended with status $E2E_STATUS"
head -n 1 "$E2E_DIR/program.err" |
    grep -Eq '^mernolex: cannot create the data directory ".*/blocker/sub": Not a directory$' ||
    e2e_fail "unclear refusal: $(cat "$E2E_DIR/program.err")"
cd "$E2E_DIR"
untouched empty
[[ ! -e $XDG_DATA_HOME ]] || e2e_fail "a refused start made the user's data directory"
echo "PASSED"
