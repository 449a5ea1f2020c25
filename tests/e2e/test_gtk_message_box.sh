#!/usr/bin/env bash
# Message boxes: modal, titled with the caption, the first button focused (Return answers Yes
# in a Yes/No box), closing with Escape gives the answer that changes nothing, and the main
# window keeps painting while a box is open.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/gtk_probe"
e2e_expect '^paint 0 0 1000 500 '
e2e_window '^Mernolex$' >/dev/null

answer() {  # $1 command, $2 caption, $3 key -> waits for the box, presses the key
    e2e_send "$1 $2|Wirklich löschen? Das kann nicht rückgängig gemacht werden."
    local box
    box=$(e2e_window "^$2\$")
    e2e_focus "$box"
    xdotool key "$3"
    e2e_window_gone "^$2\$"
}

answer ask Frage Return
e2e_expect '^answer yes$'

e2e_send "ask Löschen|Sicher?"
box=$(e2e_window '^Löschen$')
e2e_send "repaint"
e2e_expect '^paint 0 0 1000 500 '   # painted while the box is open
e2e_focus "$box"
xdotool key Escape
e2e_expect '^answer no$'
e2e_window_gone '^Löschen$'

answer tell Hinweis Return
e2e_expect '^answer ok$'
e2e_pass
