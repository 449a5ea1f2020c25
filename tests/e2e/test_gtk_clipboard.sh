#!/usr/bin/env bash
# The clipboard is the desktop's: text typed under a Cyrillic layout and copied with Ctrl+A,
# Ctrl+C reaches another program (xclip) intact; text another program owns is pasted with
# Ctrl+V; Ctrl+X moves text out of the field.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/gtk_probe"
wid=$(e2e_window '^Mernolex$')
e2e_focus "$wid"
A=38 C=54 V=55 X=53

clipboard() { timeout "$E2E_TIMEOUT" xclip -o -selection clipboard; }

e2e_send "layout 00000419"
e2e_expect '^layout 00000419 active$'
xdotool key 43 24 26 33 shift+35 ctrl+$A ctrl+$C     # р й у з Ъ
e2e_expect '^key - U\+0003 '
[[ $(clipboard) == "рйузЪ" ]] || e2e_fail "xclip read '$(clipboard)'"

# Another program owns the clipboard now; pasting replaces the selected text with its text.
# The key typed right after Ctrl+V waits until the paste is done (reading another program's
# clipboard runs a nested loop), so it lands after the pasted text.
printf '%s' 'Grüße ✓ 日本' | xclip -quiet -i -selection clipboard 2>/dev/null &
e2e_track $!
e2e_poll '[[ $(clipboard) == "Grüße ✓ 日本" ]]' || e2e_fail "xclip did not take the clipboard"
xdotool key --delay 0 ctrl+$A ctrl+$V 10
e2e_expect '^text Grüße ✓ 日本$'
e2e_expect '^text Grüße ✓ 日本1$'
e2e_send "paste"
e2e_expect '^clipboard Grüße ✓ 日本$'

# Cut: the field empties and the text is on the clipboard for others.
xdotool key ctrl+$A ctrl+$X
e2e_expect '^text $'
[[ $(clipboard) == "Grüße ✓ 日本1" ]] || e2e_fail "after Ctrl+X xclip read '$(clipboard)'"
e2e_send "copy plain words"
e2e_expect '^copied plain words$'
[[ $(clipboard) == "plain words" ]] || e2e_fail "after copy xclip read '$(clipboard)'"
e2e_pass
