#!/usr/bin/env bash
# A selection field of a real screen: a click unfolds its list over the screen (the active entry
# marked), a click on an entry chooses it and folds the list away, leaving the screen as it was
# below; choosing the shown entry again tells the screen nothing; while the list is open it
# captures every click; the arrow keys step through the entries while it is folded.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/screens_probe"
e2e_expect '^colours '
read -r _ _ background _ _ _ white _ marked <<<"$E2E_LINE"
e2e_expect '^paint 0 0 1000 500 '
wid=$(e2e_window '^Mernolex$')

# The field covers 100..400 x 180..220; its four rows unfold below it, 30 pixels each:
# Apple 220..250, Banana 250..280, Cherry 280..310, Damson 310..340.
unfold() {
    e2e_click "$wid" "$1" 200
    e2e_expect '^unfolded$'
}

unfold 250
e2e_sync
e2e_shot "$wid" unfolded.png
e2e_expect_pixel unfolded.png 105 235 "$marked"   # Apple, the active entry
e2e_expect_pixel unfolded.png 105 295 "$white"
e2e_expect_pixel unfolded.png 105 345 "$background"

e2e_click "$wid" 250 295
e2e_expect '^update SELECTION_CHANGED$'
e2e_expect '^selection Cherry 3$'
e2e_expect '^folded$'
e2e_wait_pixel "$wid" 105 295 "$background"     # the list's place shows the screen again
e2e_shot "$wid" folded.png
e2e_expect_pixel folded.png 105 235 "$background"
e2e_expect_pixel folded.png 105 200 "$white"

# The entry already shown: the list folds, the screen hears nothing.
unfold 260
e2e_click "$wid" 250 290
e2e_expect '^folded$'
e2e_passed_none '^selection|^update'

# While the list is open, a click on the Clear button only closes the list.
unfold 250
e2e_click "$wid" 700 150
e2e_expect '^folded$'
e2e_passed_none '^update|^text|^focus'
e2e_sync
e2e_passed_none '^update|^text|^focus'

# Folded, with the focus: Down and Up step through the entries.
e2e_focus "$wid"
xdotool key Down
e2e_expect '^selection Damson 4$'
xdotool key Down Up Up
e2e_expect '^selection Cherry 3$'
e2e_passed_none '^selection'          # Down on the last entry changes nothing
e2e_expect '^selection Banana 2$'
e2e_pass
