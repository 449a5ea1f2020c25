#!/usr/bin/env bash
# A button whose screen asks a Yes/No question: the box is modal and captioned, its answer comes
# back by Return (Yes, the default), by the mnemonic Alt+N and by Escape (No); the focused button
# also acts on Space; afterwards the button is drawn as it was, not stuck in its pressed look.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/screens_probe"
e2e_expect '^colours '
read -r _ _ _ _ button _ <<<"$E2E_LINE"
e2e_expect '^paint 0 0 1000 500 '
wid=$(e2e_window '^Mernolex$')

# Waits for the box, answers it with the key $1 and waits until it is gone.
answer_with() {
    local box
    box=$(e2e_window '^Question$')
    e2e_focus "$box"
    xdotool key "$1"
    e2e_window_gone '^Question$'
}

e2e_click "$wid" 600 60
e2e_expect '^focus ASK$'
e2e_expect '^update ASK_PRESSED$'
answer_with Return
e2e_expect '^answer yes$'

e2e_click "$wid" 610 65
e2e_expect '^update ASK_PRESSED$'
answer_with alt+n
e2e_expect '^answer no$'

# The button holds the focus: Space presses it.
e2e_focus "$wid"
xdotool key space
e2e_expect '^update ASK_PRESSED$'
answer_with Escape
e2e_expect '^answer no$'

# The pointer goes elsewhere: the button loses its hovered look and shows its own colour again.
xdotool mousemove --window "$wid" 900 450
e2e_wait_pixel "$wid" 545 50 "$button"
e2e_pass
