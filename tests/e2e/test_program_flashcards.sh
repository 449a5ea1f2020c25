#!/usr/bin/env bash
# A learner enters flashcards in the real window: from the settings screen the flashcard menu,
# New, German "das Haus" in a lesson for the English "house" and the new word "hut", "Save and
# next"; then the irregular verb "sein" for the new word "be", its forms typed on the verb page.
# On the next card a new known word "barn" is added, and the program is killed. After a restart
# the cards are there as entered, and "barn", which the learner never kept, is gone.
# flashcard_data (beside the test tools) seeds the database and reads what is on disk.
source "$(dirname "$0")/lib.sh"
tools=$1
program=$2
E2E_KEEP=${E2E_KEEP:-$tools/e2e-failures/program_flashcards}
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
setxkbmap us
"$tools/flashcard_data" seed || e2e_fail "the database could not be seeded"

colour_at() { import -window "$wid" "$E2E_DIR/now.png" 2>/dev/null && e2e_pixel "$E2E_DIR/now.png" "$1" "$2"; }
background() { colour_at 5 495; }
# The editor's orange panel behind the known words reaches the right edge.
on_editor() { [[ $(colour_at 995 395) == FA6100 ]]; }
on_settings() { [[ $(colour_at 320 270) != "$(background)" && $(colour_at 150 300) == "$(background)" ]]; }
on_verb_page() { [[ $(colour_at 20 470) == FFFFFF ]]; }
on_list() { [[ $(colour_at 150 300) == FFFFFF && $(colour_at 995 395) == "$(background)" ]]; }
wait_for() { e2e_poll "$1" || { e2e_shot "$wid" "$1.png"; e2e_fail "expected to be $1"; }; }
click() { e2e_click "$wid" "$1" "$2"; }
on_disk() { "$tools/flashcard_data" "$@" 2>/dev/null; }
type_into() {
    click "$1" "$2"
    xdotool key ctrl+a BackSpace
    xdotool type --delay 20 "$3"
}
add_known() {
    type_into 500 110 "$1"
    click 670 110
    e2e_poll "on_disk words English | grep -qx '$1'" || e2e_fail "the known word $1 is not on disk"
}
start_program() {
    e2e_start_program "$program"
    wid=$(e2e_window '^Mernolex$')
    e2e_focus "$wid"
}
open_new_card() {
    click 920 430
    wait_for on_settings
    click 320 270
    wait_for on_list
    click 775 244
    wait_for on_editor
}

# Unfolds the selection field centred at ($1, $2) and clicks its entry number $3 (from 0).
choose() {
    click "$1" "$2"
    click "$1" $(($2 + 15 + 30 * $3 + 15))
}
stored_card() {
    e2e_poll "on_disk cards | grep -qxF '$1'" || e2e_fail "no card stored as '$1': $(on_disk cards)"
}

start_program
open_new_card
choose 185 70 1     # German
type_into 178 110 Haus
choose 150 190 1    # Lektion 1
choose 219 270 3    # das
add_known house
add_known hut
e2e_shot "$wid" editor-known-words.png
click 925 460
stored_card 'Haus [Lektion 1] (0|0, 0|0): house hut | das | '
wait_for on_editor

type_into 178 110 sein
click 175 230       # irregular verb
add_known be
click 925 460
wait_for on_verb_page
forms=(bin war bist warst ist war)
i=0
for y in 230 330 430; do
    for x in 499 825; do
        type_into "$x" "$y" "${forms[i]}"
        i=$((i + 1))
    done
done
e2e_shot "$wid" verb-page.png
click 800 40
stored_card 'sein [Lektion 1] (0|0, 0|0): be |  | bin,war,bist,warst,ist,war'
wait_for on_editor

# The next card: a new known word, then the program dies.
add_known barn
e2e_shot "$wid" editor-before-kill.png
kill -KILL "$E2E_PROGRAM_PID"
wait "$E2E_PROGRAM_PID" 2>/dev/null || true
e2e_window_gone '^Mernolex$'
on_disk words English | grep -qx barn || e2e_fail "barn was not on disk before the kill"

# The next start removes what the killed run left behind; the stored card is untouched.
start_program
open_new_card
e2e_shot "$wid" editor-after-restart.png
"$tools/x_request_close" "$wid"
e2e_window_gone '^Mernolex$'
e2e_wait_exit
[[ $E2E_STATUS == 0 ]] || e2e_fail "the program ended with status $E2E_STATUS: $(cat "$E2E_DIR/program.err")"
! on_disk words English | grep -qx barn || e2e_fail "barn is still stored after the restart"
on_disk words English | grep -qx hut || e2e_fail "hut, kept with the card, is gone"
[[ $(on_disk cards | wc -l) == 2 ]] || e2e_fail "the cards changed: $(on_disk cards)"
stored_card 'Haus [Lektion 1] (0|0, 0|0): house hut | das | '
stored_card 'sein [Lektion 1] (0|0, 0|0): be |  | bin,war,bist,warst,ist,war'
[[ ! -e Data/provisional.dat ]] || e2e_fail "notes of provisional records are left"
echo "PASSED"
