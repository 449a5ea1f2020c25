#!/usr/bin/env bash
# A learner's first steps in the real window: from the settings screen, the language editor
# makes "German" with articles, persons and tenses, and the verb pattern editor a pattern for its
# regular verbs. After a restart both are still there. Screenshots of a failed run are kept in
# e2e-failures/ beside the test tools.
source "$(dirname "$0")/lib.sh"
tools=$1
program=$2
E2E_KEEP=${E2E_KEEP:-$tools/e2e-failures/program_grammar}
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
setxkbmap us

# Canvas pixels that tell the pages apart: the plain background in a corner, the back button
# (list pages and settings), the white of the editors' lists and the orange grammar panel.
colour_at() { import -window "$wid" "$E2E_DIR/now.png" 2>/dev/null && e2e_pixel "$E2E_DIR/now.png" "$1" "$2"; }
background() { colour_at 5 495; }
on_settings() { [[ $(colour_at 320 350) != "$(background)" && $(colour_at 150 300) == "$(background)" ]]; }
on_list() { [[ $(colour_at 150 300) == FFFFFF && $(colour_at 20 470) == "$(background)" ]]; }
on_language_edit() { [[ $(colour_at 620 20) != "$(background)" && $(colour_at 800 470) == FFFFFF ]]; }
on_pattern_table() { [[ $(colour_at 20 470) == FFFFFF ]]; }
wait_for() { e2e_poll "$1" || { e2e_shot "$wid" "$1.png"; e2e_fail "expected to be $1"; }; }
written() { (($(e2e_darkest "$wid" "$@") < 100)); }

click() { e2e_click "$wid" "$1" "$2"; }
# Clicks into a text field, selects what it holds and types over it.
type_into() {
    click "$1" "$2"
    xdotool key ctrl+a
    xdotool type --delay 20 "$3"
}
add_entries() {  # tab y, then entries
    click 500 "$1"
    shift
    local entry
    for entry in "$@"; do
        type_into 800 120 "$entry"
        click 676 200
    done
}
# Starts the program and walks from the welcome screen to the list of an editor, by the
# position of its button on the settings screen.
start_on_editor() {
    e2e_start_program "$program" --data .
    wid=$(e2e_window '^Mernolex$')
    e2e_focus "$wid"
    click 920 430
    wait_for on_settings
    click "$1" "$2"
    wait_for on_list
}
close_program() {
    "$tools/x_request_close" "$wid"
    e2e_window_gone '^Mernolex$'
    e2e_wait_exit
    [[ $E2E_STATUS == 0 ]] || e2e_fail "the program ended with status $E2E_STATUS: $(cat "$E2E_DIR/program.err")"
}

# The language editor: New Language, the name, the three grammar lists, Save.
start_on_editor 320 350
click 775 191
wait_for on_language_edit
type_into 200 120 German
add_entries 150 der die das
add_entries 250 ich du er
add_entries 350 Praesens Praeteritum
e2e_shot "$wid" language-tenses.png
click 550 450
wait_for on_list
e2e_poll "written 150 122 400 25" || e2e_fail "German is not listed"
e2e_shot "$wid" languages.png

# The verb pattern editor: German in the filter (its second entry), New Pattern, six rules, Save,
# and No to the test.
click 80 430
wait_for on_settings
click 680 350
wait_for on_list
button=$(colour_at 775 227)
click 775 151
e2e_poll "[[ \$(colour_at 775 227) != $button ]]" || e2e_fail "the language filter did not unfold"
click 775 227
e2e_poll "[[ \$(colour_at 775 227) == $button ]]" || e2e_fail "the language filter did not fold"
click 775 244
wait_for on_pattern_table
rules=("/post-1" "/post-2+te" "/post-2+st" "/post-2+test" "/post-2+t" "/post-2+te")
i=0
for y in 230 330 430; do
    for x in 499 826; do
        type_into "$x" "$y" "${rules[i]}"
        i=$((i + 1))
    done
done
e2e_shot "$wid" pattern.png
click 800 40
box=$(e2e_window '^Information$')
e2e_focus "$box"
xdotool key Escape
e2e_window_gone '^Information$'
wait_for on_list
e2e_poll "written 150 122 400 25" || e2e_fail "the pattern is not listed"
close_program

# After a restart: German with its persons, and its pattern.
start_on_editor 320 350
click 347 134
click 775 291
wait_for on_language_edit
e2e_poll "written 640 255 320 25" || e2e_fail "German's articles are gone"
click 500 250
e2e_poll "written 640 315 320 25" || e2e_fail "German's third person is gone"
e2e_shot "$wid" restarted-persons.png
click 450 450
wait_for on_list
click 80 430
wait_for on_settings
click 680 350
wait_for on_list
e2e_poll "written 150 122 400 25" || e2e_fail "the pattern is gone"
click 347 134
click 775 338
wait_for on_pattern_table
e2e_shot "$wid" restarted-pattern.png
close_program
echo "PASSED"
