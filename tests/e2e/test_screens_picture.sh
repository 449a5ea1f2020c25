#!/usr/bin/env bash
# The picture chooser of a real screen: a button opens the file dialog, a BMP file chosen in it
# is loaded into the screen's picture, which appears scaled into its box (red left half, blue
# right half); a cancelled dialog changes nothing and the picture is still there once the
# dialog, which covered it, is gone.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
mkdir -p "$E2E_DIR/work" "$E2E_DIR/pictures"
# 60 x 20 pixels, 24 bits: the left half red, the right half blue.
convert -size 30x20 xc:'#FF0000' xc:'#0000FF' +append -type TrueColor \
    BMP3:"$E2E_DIR/pictures/Flag.BMP"
cd "$E2E_DIR/work"
e2e_start_program "$tools/screens_probe"
e2e_expect '^colours '
read -r _ _ background _ <<<"$E2E_LINE"
e2e_expect '^paint 0 0 1000 500 '
wid=$(e2e_window '^Mernolex$')

# The picture's box is 600..900 x 200..400.
expect_picture() {
    e2e_shot "$wid" "$1"
    e2e_expect_pixel "$1" 601 201 FF0000
    e2e_expect_pixel "$1" 740 390 FF0000
    e2e_expect_pixel "$1" 760 210 0000FF
    e2e_expect_pixel "$1" 898 398 0000FF
    e2e_expect_pixel "$1" 598 300 "$background"
    e2e_expect_pixel "$1" 750 402 "$background"
}

drawn() { (($(e2e_darkest "$@") < 100)); }
# Keys are sent once the dialog has drawn itself (its Cancel button, bottom right).
open_dialog() {
    e2e_click "$wid" 800 60
    e2e_expect '^update OPEN_PRESSED$'
    dialog=$(e2e_window '^Open$')
    e2e_poll "drawn $dialog -170 -36 70 24" || e2e_fail "the dialog was never drawn"
    e2e_focus "$dialog"
}

e2e_shot "$wid" before.png
e2e_expect_pixel before.png 700 300 "$background"

# The chooser takes Return only once it has checked the typed path, which it shows by enabling
# its Open button (its label turns from grey to dark).
open_dialog
xdotool key ctrl+l
xdotool type --delay 10 "$E2E_DIR/pictures/Flag.BMP"
e2e_poll "drawn $dialog -89 -36 80 24" || e2e_fail "the Open button was never enabled"
xdotool key Return
e2e_expect "^file $E2E_DIR/pictures/Flag.BMP\$"
e2e_expect '^picture loaded 60 20$'
e2e_window_gone '^Open$'
e2e_wait_pixel "$wid" 601 201 FF0000
expect_picture chosen.png

open_dialog
xdotool key Escape
e2e_expect '^file none$'
e2e_window_gone '^Open$'
e2e_wait_pixel "$wid" 601 201 FF0000   # the window has painted what the dialog uncovered
expect_picture cancelled.png
e2e_sync
e2e_passed_none '^picture'             # nothing was loaded after the cancel
e2e_pass
