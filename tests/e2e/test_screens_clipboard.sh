#!/usr/bin/env bash
# Ctrl+A, Ctrl+C and Ctrl+V in a text field go through the desktop's clipboard both ways (xclip
# on the other side), also while the field's Cyrillic layout is active, where the C and V keys
# type letters; a paste obeys the field's limit of 50 characters.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/screens_probe"
e2e_expect '^paint 0 0 1000 500 '
wid=$(e2e_window '^Mernolex$')
A=38 C=54 V=55   # X keycodes by their US legend

clipboard() { timeout "$E2E_TIMEOUT" xclip -o -selection clipboard 2>/dev/null; }
# Waits until the clipboard holds $1 (copying prints nothing, the clipboard is the outcome).
expect_clipboard() {
    local expected=$1
    e2e_poll '[[ $(clipboard) == "$expected" ]]' ||
        e2e_fail "the clipboard holds '$(clipboard)', expected '$expected'"
}
# Makes xclip the clipboard's owner with the text $1 until the next owner comes.
offer() {
    printf '%s' "$1" >offered.txt
    e2e_spawn xclip -quiet -i -selection clipboard offered.txt 2>/dev/null
    expect_clipboard "$1"
}

# The field starts with "Haus"; a click selects it.
e2e_click "$wid" 250 60
e2e_expect '^focus FIELD$'
e2e_focus "$wid"
xdotool key ctrl+$A ctrl+$C
expect_clipboard "Haus"

offer "Grüße ✓ 日本"
xdotool key ctrl+$A ctrl+$V
e2e_expect '^text Grüße ✓ 日本$'

# Under the field's own Cyrillic layout.
e2e_send "field-layout 00000419"
e2e_expect '^field-layout 00000419$'
e2e_click "$wid" 700 150           # away (the Clear button empties the field) and back
e2e_expect '^text $'
e2e_click "$wid" 250 60
e2e_expect '^layout 00000419$'
xdotool key 24 26 29 47 ctrl+$A ctrl+$C
e2e_expect '^text йунж$'
expect_clipboard "йунж"
xdotool key ctrl+$V ctrl+$V        # the first replaces the selection with the same text
e2e_expect '^text йунжйунж$'
e2e_passed_none 'с|м'              # the letters of the C and V keys were never typed

# Sixty characters offered, fifty taken.
offer "$(printf '0123456789%.0s' 1 2 3 4 5 6)"
xdotool key ctrl+$A ctrl+$V
e2e_expect "^text $(printf '0123456789%.0s' 1 2 3 4 5)\$"
e2e_pass
