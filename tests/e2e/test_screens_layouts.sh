#!/usr/bin/env bash
# The text field's own keyboard layout, switched in whenever the field gets the focus (by a
# click or by Tab): the same physical keys type Cyrillic under 00000419 and Latin under
# 00000409; leaving the field keeps the layout; closing the window gives the user back the
# layout the program started with.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/screens_probe"
e2e_expect '^layout 00000409$'
e2e_expect '^paint 0 0 1000 500 '
wid=$(e2e_window '^Mernolex$')

# X keycodes by their US legend: q e y ;
keys=(24 26 29 47 shift+24)

# Gives the field layout $1 and moves the focus away and back with clicks (at two spots, so
# they never make a double click).
refocus_field() {
    e2e_send "field-layout $1"
    e2e_expect "^field-layout $1\$"
    e2e_click "$wid" 700 150            # the Clear button takes the focus and empties the field
    e2e_expect '^focus CLEAR$'
    e2e_expect '^text $'
    e2e_click "$wid" 250 60
}

refocus_field 00000419
e2e_expect '^layout 00000419$'
e2e_expect '^focus FIELD$'
e2e_focus "$wid"
xdotool key "${keys[@]}"
e2e_expect '^text йунжЙ$'

refocus_field 00000409
e2e_expect '^layout 00000409$'
e2e_expect '^focus FIELD$'
xdotool key "${keys[@]}"
e2e_expect '^text qey;Q$'

# Tab walks the focus ring (ask, picture, clear, leave, selection, field); arriving at the field by Tab
# switches its layout in as well and selects its text, so typing replaces it.
e2e_send "field-layout 00000419"
e2e_expect '^field-layout 00000419$'
xdotool key Tab Tab Tab
e2e_expect '^focus CLEAR$'
e2e_passed_none '^layout '          # leaving the field keeps its layout
xdotool key Tab Tab Tab
e2e_expect '^layout 00000419$'
e2e_expect '^focus FIELD$'
xdotool key "${keys[@]}"
e2e_expect '^text й$'
e2e_expect '^text йунжЙ$'

# The window's close button: the start-up layout comes back, then the screen hears the end.
"$tools/x_request_close" "$wid"
e2e_expect '^layout 00000409$'
e2e_expect '^update FORCED_EXIT$'
e2e_expect '^exit 0$'
e2e_pass
