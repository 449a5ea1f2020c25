#!/usr/bin/env bash
# The file-open dialog: its first filter lists bitmaps whatever the case of their extension and
# hides other files; a file chosen by typing its path gives its full path; the next dialog opens
# in that file's folder; the working directory is the same afterwards; cancelling gives nothing.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
mkdir -p "$E2E_DIR/work" "$E2E_DIR/pictures"
printf 'BM' >"$E2E_DIR/pictures/Cat.BMP"
printf 'BM' >"$E2E_DIR/pictures/dog.bmp"
printf 'x' >"$E2E_DIR/pictures/notes.txt"
cd "$E2E_DIR/work"
e2e_start_program "$tools/gtk_probe"
e2e_window '^Mernolex$' >/dev/null

# Whether something dark is drawn in a region of the dialog.
drawn() { (($(e2e_darkest "$@") < 100)); }
# Keys are sent once the dialog has drawn itself (its Cancel button, bottom right).
dialog_drawn() { drawn "$1" -170 -36 70 24; }
open_dialog() {
    e2e_send "open"
    dialog=$(e2e_window '^Open$')
    e2e_poll "dialog_drawn $dialog" || e2e_fail "the dialog was never drawn"
    e2e_focus "$dialog"
}
# The chooser takes Return only once it has checked a typed path, which it shows by enabling
# its Open button (bottom right: the label turns from grey to dark).
open_enabled() { drawn "$1" -89 -36 80 24; }
# Names in the rows of the file list (the header ends at y 72, rows are 25 pixels high).
row_drawn() { drawn "$1" 180 $((75 + 25 * ($2 - 1))) 200 20; }

# A path typed in full: Open starts disabled (the working directory holds nothing to open).
open_dialog
xdotool key ctrl+l
xdotool type --delay 10 "$E2E_DIR/pictures/Cat.BMP"
e2e_poll "open_enabled $dialog" || e2e_fail "the Open button was never enabled"
xdotool key Return
e2e_expect "^file $E2E_DIR/pictures/Cat.BMP\$"
e2e_expect "^cwd $E2E_DIR/work\$"
e2e_window_gone '^Open$'

# Opened again, the dialog shows the folder of the last chosen picture: the bitmap filter lists
# both bitmaps and hides the text file. Cancelled.
open_dialog
e2e_poll "row_drawn $dialog 2" || e2e_fail "the last folder's bitmaps were not listed"
! row_drawn "$dialog" 3 || e2e_fail "the bitmap filter lists a third file"
xdotool key Escape
e2e_expect '^file none$'
e2e_expect "^cwd $E2E_DIR/work\$"
e2e_pass
