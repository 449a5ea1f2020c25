#!/usr/bin/env bash
# The layout the X server has at start-up is the program's start-up layout, and while it is
# active characters come from GTK: Cyrillic from a Russian server layout (with Ctrl+C still
# copying), dead keys composing through GTK's input method under a German one.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
Q=24 C=54 EQUAL=21 E=26

setxkbmap ru
e2e_start_program "$tools/gtk_probe"
e2e_expect '^startup-layout 00000419$'
wid=$(e2e_window '^Mernolex$')
e2e_focus "$wid"
xdotool key $Q ctrl+$C
e2e_expect '^key й U\+0439 '
e2e_expect '^key - U\+0003 code 43 shift 0000 ctrl 8000 '
e2e_send "layout 00000409"
e2e_expect '^layout 00000409 active$'
xdotool key $Q
e2e_expect '^key q U\+0071 '
e2e_send "layout 00000419"
e2e_expect '^layout 00000419 active$'
xdotool key $Q
e2e_expect '^text йqй$'
e2e_wait_exit
[[ $E2E_STATUS == 0 ]] || e2e_fail "the first program ended with status $E2E_STATUS"

setxkbmap de
e2e_start_program "$tools/gtk_probe"
e2e_expect '^startup-layout 00000407$'
wid=$(e2e_window '^Mernolex$')
e2e_focus "$wid"
xdotool key $EQUAL $E
e2e_expect '^key é U\+00E9 '
e2e_expect '^text é$'
e2e_pass
