#!/usr/bin/env bash
# The command line, in real processes and without a display: --help and --version print to
# standard output and end with status 0; an unknown option or a --data without its directory is
# refused in one line on standard error with status 2. None of them opens a window or creates a
# file anywhere.
source "$(dirname "$0")/lib.sh"
program=$2
e2e_begin
cd "$E2E_DIR"
mkdir work
cd work

# Runs the program with the arguments given; requires status $1 and leaves out.txt and err.txt.
run_with_status() {
    local expected=$1 status=0
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@" >../out.txt 2>../err.txt </dev/null || status=$?
    [[ $status == "$expected" ]] || e2e_fail "$* ended with status $status, expected $expected: $(cat ../err.txt)"
    [[ -z $(ls -A .) && ! -e $XDG_DATA_HOME ]] || e2e_fail "$* created files"
}

run_with_status 0 --help
grep -q '^Usage: mernolex \[--data DIR\]$' ../out.txt || e2e_fail "no usage: $(cat ../out.txt)"
grep -q -- '--version' ../out.txt || e2e_fail "the usage does not name --version"
[[ ! -s ../err.txt ]] || e2e_fail "--help wrote to standard error"

run_with_status 0 --version
grep -Eq '^mernolex [0-9]+\.[0-9]+\.[0-9]+$' ../out.txt && [[ $(wc -l <../out.txt) == 1 ]] ||
    e2e_fail "unclear version: $(cat ../out.txt)"

run_with_status 2 --frobnicate
[[ $(cat ../err.txt) == "mernolex: unknown option '--frobnicate' (see mernolex --help)" ]] ||
    e2e_fail "unclear refusal: $(cat ../err.txt)"
[[ ! -s ../out.txt ]] || e2e_fail "a refusal wrote to standard output"

run_with_status 2 --data
[[ $(cat ../err.txt) == "mernolex: the option --data needs a directory (see mernolex --help)" ]] ||
    e2e_fail "unclear refusal: $(cat ../err.txt)"
echo "PASSED"
