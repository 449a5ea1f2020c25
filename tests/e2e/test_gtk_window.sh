#!/usr/bin/env bash
# The real window: its name, class and size, the first paint, the pointer (clicks, double
# clicks, moves with and without buttons or modifiers held, leaving and coming back), keys with
# and without characters, and closing it like a window manager's close button does.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/gtk_probe"

e2e_expect '^startup-layout 00000409$'
e2e_expect '^size restored 1000 500$'
e2e_expect '^paint 0 0 1000 500 client 1000 500$'
wid=$(e2e_window '^Mernolex$')
[[ $(xprop -id "$wid" WM_CLASS) == *'"Mernolex"'* ]] || e2e_fail "window class: $(xprop -id "$wid" WM_CLASS)"
xdotool getwindowgeometry "$wid" | grep -q 'Geometry: 1000x500' || e2e_fail "the window is not 1000 x 500"

e2e_sync
e2e_shot "$wid" first.png
e2e_expect_pixel first.png 30 30 0000FF
e2e_expect_pixel first.png 990 490 FF0000
e2e_expect_pixel first.png 500 300 C0C0C0

# Pointer: a move, a click, a drag with the button held, a move with Ctrl held.
xdotool mousemove --window "$wid" 100 50
e2e_expect '^move 100 50 free$'
xdotool click 1
e2e_expect '^down 100 50$'
e2e_expect '^up 100 50$'
# (away from the click, or the press would complete a double click)
xdotool mousemove --window "$wid" 300 200 mousedown 1 mousemove --window "$wid" 320 210 mouseup 1
e2e_expect '^down 300 200$'
e2e_expect '^move 320 210 held$'
e2e_expect '^up 320 210$'
e2e_focus "$wid"
xdotool keydown Control_L mousemove --window "$wid" 130 70 keyup Control_L
e2e_expect '^move 130 70 held$'

# A triple click: the second press completes a double click and arrives as its release only;
# the third press starts afresh. The key press afterwards marks the end.
xdotool click --repeat 3 --delay 40 1 key Escape
e2e_expect '^key - U\+001B code 1B'
expected=$'down 130 70\nup 130 70\nup 130 70\ndown 130 70\nup 130 70'
clicks=$(grep -E '^(down|up) ' <<<"$E2E_PASSED")
[[ $clicks == "$expected" ]] || e2e_fail "triple click arrived as:"$'\n'"$clicks"

# Leaving the window is reported once, and again after the pointer came back.
xdotool mousemove 1200 900
e2e_expect '^leave$'
xdotool mousemove --window "$wid" 200 100
e2e_expect '^move 200 100 free$'
xdotool mousemove 1200 900 mousemove --window "$wid" 210 110 key Escape
e2e_expect '^leave$'
e2e_expect '^move 210 110 free$'
e2e_expect '^key - U\+001B'
[[ $(grep -c '^leave$' <<<"$E2E_PASSED" || true) == 0 ]] || e2e_fail "more than one leave per visit"

# Keys: characters with their state words, keys without a character with their key codes.
e2e_focus "$wid"
xdotool key a shift+b Return Tab BackSpace Delete Left shift+Right ctrl+Home End F5 Caps_Lock a Caps_Lock
e2e_expect '^key a U\+0061 code 41 shift 0000 ctrl 0000 caps 0000$'
e2e_expect '^key B U\+0042 code 42 shift 8000 ctrl 0000 caps 0000$'
e2e_expect '^key - U\+000D code 0D shift 0000'
e2e_expect '^key - U\+0009 code 09 '
e2e_expect '^key - U\+0008 code 08 '
e2e_expect '^key - U\+0000 code 2E shift 0000 ctrl 0000'
e2e_expect '^key - U\+0000 code 25 shift 0000 ctrl 0000'
e2e_expect '^key - U\+0000 code 27 shift 8000 ctrl 0000'
e2e_expect '^key - U\+0000 code 24 shift 0000 ctrl 8000'
e2e_expect '^key - U\+0000 code 23 '
e2e_expect '^key - U\+0000 code 74 '
e2e_expect '^key - U\+0000 code 14 '
e2e_expect '^key A U\+0041 code 41 shift 0000 ctrl 0000 caps 0001$'
e2e_expect '^text aA$'  # Backspace took the B

# Another thread wakes the window's thread: a wake message arrives on it.
e2e_send "wake"
e2e_expect '^wake$'

# The close button: the close message, then the destroy message, then the loop ends with 0.
"$tools/x_request_close" "$wid"
e2e_expect '^close$'
e2e_expect '^destroy$'
e2e_expect '^exit 0$'
e2e_pass
