#!/usr/bin/env bash
# Words in the real window. A German language is made while the system types German; back on a
# US keyboard, a new word typed into the word field comes out in the German layout and its
# pronunciation in the US one, and it is saved. A second new word gets a meaning in the meaning
# editor, and the program is killed there. The next start shows no box, lists the first word only
# and holds nothing of the second. Screenshots of a failed run are kept in e2e-failures/ beside the
# test tools.
source "$(dirname "$0")/lib.sh"
tools=$1
program=$2
E2E_KEEP=${E2E_KEEP:-$tools/e2e-failures/program_words}
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"

# Canvas pixels that tell the pages apart: the plain background in a corner, the back button of
# the list pages and the settings screen, the white of the lists and fields, the buttons where
# only the word page and the meaning page have them.
colour_at() { import -window "$wid" "$E2E_DIR/now.png" 2>/dev/null && e2e_pixel "$E2E_DIR/now.png" "$1" "$2"; }
background() { colour_at 5 495; }
on_settings() { [[ $(colour_at 320 350) != "$(background)" && $(colour_at 150 300) == "$(background)" ]]; }
on_list() { [[ $(colour_at 150 300) == FFFFFF && $(colour_at 80 430) != "$(background)" && $(colour_at 20 470) == "$(background)" ]]; }
on_language_edit() { [[ $(colour_at 620 20) != "$(background)" && $(colour_at 800 470) == FFFFFF ]]; }
on_word_page() { [[ $(colour_at 834 40) != "$(background)" && $(colour_at 275 165) == FFFFFF ]]; }
on_meaning_page() { [[ $(colour_at 765 440) != "$(background)" && $(colour_at 80 430) == "$(background)" ]]; }
wait_for() { e2e_poll "$1" || { e2e_shot "$wid" "$1.png"; e2e_fail "expected to be $1"; }; }
written() { (($(e2e_darkest "$wid" "$@") < 100)); }
no_box() { ! xdotool search --onlyvisible --name '^Information$' >/dev/null 2>&1; }
click() { e2e_click "$wid" "$1" "$2"; }
type_into() {
    click "$1" "$2"
    xdotool key ctrl+a
    xdotool type --delay 20 "$3"
}
start_on_settings() {
    e2e_start_program "$program" --data .
    wid=$(e2e_window '^Mernolex$')
    e2e_focus "$wid"
    click 920 430
    wait_for on_settings
}
close_program() {
    "$tools/x_request_close" "$wid"
    e2e_window_gone '^Mernolex$'
    e2e_wait_exit
    [[ $E2E_STATUS == 0 ]] || e2e_fail "the program ended with status $E2E_STATUS: $(cat "$E2E_DIR/program.err")"
}
# The text the word table holds (its files are UTF-16).
stored_words() { cat Data/Word/words*.dat 2>/dev/null | iconv -c -f UTF-16LE -t UTF-8 | tr -c '[:alnum:]' ' '; }

# A German language, its keyboard assigned while the system types German.
setxkbmap de
start_on_settings
click 320 350
wait_for on_list
click 775 191
wait_for on_language_edit
type_into 200 120 Deutsch
click 550 450
wait_for on_list
close_program

# The word editor on a US keyboard: the word field types German (the key y gives z), the
# pronunciation field the layout of the start (y).
setxkbmap us
start_on_settings
click 680 430
wait_for on_list
click 775 244
wait_for on_word_page
click 275 165
xdotool key y a h n
click 275 215
xdotool key ctrl+a y
e2e_shot "$wid" word-page.png
click 834 40
wait_for on_list
e2e_poll "written 150 172 380 22" || e2e_fail "the new word is not listed"
[[ $(stored_words) == *zahn*y* ]] || e2e_fail "the word was not stored as typed: $(stored_words)"

# A second new word, a meaning made for it in the meaning editor, and the program killed there.
click 775 244
wait_for on_word_page
type_into 275 165 Hase
click 638 115
wait_for on_list
click 775 191
wait_for on_meaning_page
click 765 430
wait_for on_list
e2e_poll "written 150 172 380 22" || e2e_fail "the meaning is not listed for the word"
[[ -f Data/provisional.dat && -f Data/Relations/mw0.dat ]] || e2e_fail "the new word and its meaning are not on disk"
[[ $(stored_words) == *Hase* ]] || e2e_fail "the new word did not reach the disk before its meaning"
kill -KILL "$E2E_PROGRAM_PID"
e2e_window_gone '^Mernolex$'
exec {E2E_INPUT_FD}>&-
E2E_INPUT_FD=""

# The next start: no box, the first word alone in the list, nothing left of the second.
start_on_settings
no_box || e2e_fail "the start after the kill showed a box"
click 680 430
wait_for on_list
e2e_poll "written 150 172 380 22" || e2e_fail "the saved word is gone"
written 150 202 380 22 && { e2e_shot "$wid" list.png; e2e_fail "more than one word is listed"; }
[[ ! -e Data/provisional.dat ]] || e2e_fail "the note of the abandoned word is still there"
[[ ! -e Data/Relations/mw0.dat && ! -e Data/Meaning/meanings0.dat ]] || e2e_fail "the abandoned word's meaning is left"
[[ $(stored_words) != *Hase* ]] || e2e_fail "the abandoned word is still stored"
click 347 184
click 775 338
wait_for on_word_page
e2e_shot "$wid" restarted-word.png
close_program
echo "PASSED"
