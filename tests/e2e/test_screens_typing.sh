#!/usr/bin/env bash
# A text field of a real screen in the real window: clicking into it selects its text, typing
# replaces the selection, a second and third click select all and then nothing, arrow keys move
# the caret, Backspace deletes, and what the field holds is what the window shows.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/screens_probe"
e2e_expect '^focus SELECTION$'   # the first element of the screen starts with the focus
e2e_expect '^paint 0 0 1000 500 client 1000 500$'
wid=$(e2e_window '^Mernolex$')

# Dark pixels at the right end of the field (x 380..445, inside its border): only a long text
# reaches there.
right_end_inked() { (($(e2e_darkest "$wid" 380 40 65 40) < 100)); }
right_end_inked && e2e_fail "the right end of the field shows ink before typing"

e2e_click "$wid" 250 60
e2e_expect '^focus FIELD$'
e2e_focus "$wid"
xdotool type --delay 10 "Katze"
e2e_expect '^text K$'            # the click selected "Haus", the first key replaced it
e2e_expect '^text Katze$'

# Two more clicks: everything selected, then nothing selected with the caret at the end. They
# land apart: at one spot they would be a double click, whose second press the program never
# gets.
e2e_click "$wid" 150 60
e2e_click "$wid" 350 60
xdotool key n Left Left x BackSpace BackSpace Right y
e2e_expect '^text Katzen$'
e2e_expect '^text Katzxen$'      # keys without a character reach the field as well
e2e_expect '^text Katzen$'
e2e_expect '^text Katen$'
e2e_expect '^text Kateyn$'

# The field grows its text across the window: a long word reaches the right end of the box.
e2e_click "$wid" 250 60          # everything selected again
xdotool type --delay 10 "Donaudampfschifffahrt"
e2e_expect '^text Donaudampfschifffahrt$'
e2e_sync
right_end_inked || e2e_fail "the typed text is not shown at the right end of the field"

# Clearing through a button empties the field on screen too.
e2e_click "$wid" 700 150
e2e_expect '^update CLEAR_PRESSED$'
e2e_expect '^text $'
e2e_sync
right_end_inked && e2e_fail "the emptied field still shows text"
e2e_pass
