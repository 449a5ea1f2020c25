#!/usr/bin/env bash
# A new learner's first minutes in the real program: started on an empty data directory, the
# welcome screen offers the sample collection; from there to the first judged answer takes at most
# five clicks: "Try a sample collection", "Practice", "Start", then Next (a card of two parts) and
# Submit. The program prints its screens, pages and painted texts (MERNOLEX_TRACE), and the test
# waits for those lines.
source "$(dirname "$0")/lib.sh"
tools=$1
program=$2
E2E_KEEP=${E2E_KEEP:-$tools/e2e-failures/program_sample}
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
export MERNOLEX_TRACE=1

literally() { sed 's/[][\.*^$(){}?+|/]/\\&/g' <<<"$1"; }
painted() { e2e_expect "^text $(literally "$1")‸?\$"; }
clicks=0
click() {
    e2e_click "$wid" "$1" "$2"
    clicks=$((clicks + 1))
}
E2E_ON_FAIL='[[ -n ${wid:-} ]] && e2e_shot "$wid" "$E2E_DIR/failure.png"'

e2e_start_program "$program" --data data
wid=$(e2e_window '^Mernolex$')
e2e_focus "$wid"
painted "Try a sample collection"
click 680 466
painted "Stored: 226 new cards, 0 updated."
e2e_shot "$wid" "$E2E_DIR/sample-done.png"
click 320 350
e2e_expect "^screen Practice page 1\$"
painted "Start"
click 680 460
e2e_expect "^screen Practice page (16|32)\$"
xdotool type --delay 15 "Haus"
# The pages of a judged answer: the results of word, article and verb, and their forced typing.
judged="^screen Practice page (256|512|4096|8192|131072|262144|2097152|8388608|16777216)\$"
for part in 1 2; do
    e2e_skip_output
    click 850 40
    sleep 0.5
    if grep -qE "$judged" <(tail -n +"$((E2E_SEEN + 1))" "$E2E_OUTPUT"); then
        break
    fi
done
e2e_expect "$judged"
((clicks <= 5)) || e2e_fail "the first judged answer took $clicks clicks"
e2e_log "first judged answer after $clicks clicks"
[[ -f data/Data/Flashcard/flashcards.dat ]] || e2e_fail "the sample was not saved"
"$tools/x_request_close" "$wid"
e2e_window_gone '^Mernolex$'
e2e_wait_exit
[[ $E2E_STATUS == 0 ]] || e2e_fail "the program ended with status $E2E_STATUS: $(tail -n 5 "$E2E_DIR/program.err")"
echo "PASSED"
