#!/usr/bin/env bash
# A screen that asks for another screen and then shows a box: while the box is open the window
# keeps painting, but the switch waits until the update function that showed the box is done,
# so the code after the box still runs on its own, whole screen.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/screens_probe"
e2e_expect '^paint 0 0 1000 500 '
wid=$(e2e_window '^Mernolex$')

e2e_click "$wid" 900 150
e2e_expect '^update LEAVE_PRESSED$'
e2e_expect '^paint '   # painted inside the box's own loop
box=$(e2e_window '^Question$')
e2e_focus "$box"
xdotool key Return
e2e_window_gone '^Question$'
e2e_expect '^answer yes$'
e2e_expect '^after box on Probe field Haus$'
e2e_expect '^farewell$'
e2e_pass
