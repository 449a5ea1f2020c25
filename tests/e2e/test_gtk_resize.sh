#!/usr/bin/env bash
# Resizing the window: the first new size begins a move/resize, each size is reported, a quiet
# moment ends it, and the program's repaint then covers the new client area (the red corner
# square follows the corner; where it was before is painted over).
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
e2e_start_program "$tools/gtk_probe"
e2e_expect '^paint 0 0 1000 500 client 1000 500$'
wid=$(e2e_window '^Mernolex$')

xdotool windowsize "$wid" 800 400
e2e_expect '^sizemove begin$'
e2e_expect '^size restored 800 400$'
e2e_expect '^sizemove end$'
e2e_expect '^paint 0 0 800 400 client 800 400$'
e2e_sync
e2e_shot "$wid" small.png
e2e_expect_pixel small.png 790 390 FF0000
e2e_expect_pixel small.png 30 30 0000FF
e2e_expect_pixel small.png 400 300 C0C0C0

xdotool windowsize "$wid" 1100 600
e2e_expect '^sizemove begin$'
e2e_expect '^size restored 1100 600$'
e2e_expect '^sizemove end$'
e2e_expect '^paint 0 0 1100 600 client 1100 600$'
e2e_sync
e2e_shot "$wid" large.png
e2e_expect_pixel large.png 1090 590 FF0000
e2e_expect_pixel large.png 790 390 C0C0C0
e2e_expect_pixel large.png 1050 550 C0C0C0
e2e_pass
