#!/usr/bin/env bash
# Under a window manager that frames windows, the window's outer size is 1000 x 500 with the
# frame included, so its client area is what the frame leaves; fitting it is no user resize.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
"$tools/x_frame_manager" >manager.out 2>&1 &
e2e_track $!
e2e_poll "grep -q '^managing$' manager.out" || e2e_fail "the frame manager did not start: $(cat manager.out)"

e2e_start_program "$tools/gtk_probe"
# The frame adds 5 pixels left and right, 25 above and 5 below.
e2e_expect '^size restored 990 470$'
e2e_expect '^paint 0 0 990 470 client 990 470$'
wid=$(e2e_window '^Mernolex$')
frame=$(xwininfo -id "$wid" -children | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
outer=$(xwininfo -id "$frame" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[[ $outer == 1000x500 ]] || e2e_fail "the frame is $outer"
e2e_send "repaint"
e2e_expect '^paint 0 0 990 470 client 990 470$'
! grep -q '^sizemove' "$E2E_OUTPUT" || e2e_fail "fitting the frame was taken for a user resize"
e2e_pass
