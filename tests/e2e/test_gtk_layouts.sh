#!/usr/bin/env bash
# Keyboard layouts the program switches to: the same physical keys (sent by keycode) type
# Latin under 00000409, Cyrillic under 00000419 and German under 00000407, with Shift, AltGr
# and dead keys; Ctrl shortcuts keep their control characters under every layout; an unknown
# identifier leaves the active layout alone.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/gtk_probe"
e2e_expect '^startup-layout 00000409$'
wid=$(e2e_window '^Mernolex$')
e2e_focus "$wid"

# X keycodes by their US legend.
Q=24 E=26 Y=29 C=54 V=55 SEMICOLON=47 EQUAL=21

xdotool key $Q $E $Y $SEMICOLON
e2e_expect '^text qey;$'

e2e_send "layout 00000419"
e2e_expect '^layout 00000419 active$'
xdotool key $Q $E $Y $SEMICOLON shift+$Q
e2e_expect '^key й U\+0439 code 51 '
e2e_expect '^key Й U\+0419 code 51 shift 8000 '
e2e_expect '^text qey;йунжЙ$'
xdotool key ctrl+$C ctrl+$V
e2e_expect '^key - U\+0003 code 43 shift 0000 ctrl 8000 '
e2e_expect '^key - U\+0016 code 56 shift 0000 ctrl 8000 '

e2e_send "layout 12345678"
e2e_expect '^layout 12345678 refused$'
xdotool key BackSpace $Q
e2e_expect '^text qey;йунжй$'

e2e_send "layout 00000407"
e2e_expect '^layout 00000407 active$'
xdotool key $Y ctrl+$Y ISO_Level3_Shift+$Q $EQUAL $E
e2e_expect '^key z U\+007A code 5A '
e2e_expect '^key - U\+001A code 5A shift 0000 ctrl 8000 '
e2e_expect '^key @ U\+0040 '
e2e_expect '^key é U\+00E9 '
e2e_expect '^text qey;йунжйz@é$'

e2e_send "layout 00000409"
e2e_expect '^layout 00000409 active$'
xdotool key $Q
e2e_expect '^text qey;йунжйz@éq$'
e2e_pass
