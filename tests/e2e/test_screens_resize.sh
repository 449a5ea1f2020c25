#!/usr/bin/env bash
# Resizing the window: once the resize ends the whole screen is painted again at the new scale,
# so the picture and the buttons stand at their new places in their own colours and what was
# drawn at the old scale is gone.
source "$(dirname "$0")/lib.sh"
tools=$1
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
# 60 x 20 pixels, 24 bits: the left half red, the right half blue.
convert -size 30x20 xc:'#FF0000' xc:'#0000FF' +append -type TrueColor BMP3:flag.bmp
e2e_start_program "$tools/screens_probe" --picture "$E2E_DIR/flag.bmp"
e2e_expect '^colours '
read -r _ _ background _ button _ <<<"$E2E_LINE"
e2e_expect '^paint 0 0 1000 500 client 1000 500$'
wid=$(e2e_window '^Mernolex$')

# Checks the screen drawn at a client size of $1 x $2 pixels: points given in the 1000 x 500
# units of the screen's layout, scaled the way the program scales them.
expect_screen_at() {
    local width=$1 height=$2 shot=$E2E_DIR/screen-$1x$2.png
    e2e_shot "$wid" "$shot"
    at() { e2e_expect_pixel "$shot" $(($1 * width / 1000)) $(($2 * height / 500)) "$3"; }
    at 610 210 FF0000          # the picture (600..900 x 200..400): red left half
    at 740 390 FF0000
    at 760 210 0000FF          # blue right half
    at 890 390 0000FF
    at 590 300 "$background"   # beside it
    at 545 50 "$button"        # the Ask button (538..663 x 45..75)
    at 645 140 "$button"       # the Clear button (638..763 x 135..165)
    at 620 140 "$background"
}
expect_screen_at 1000 500

resize_to() {
    xdotool windowsize "$wid" "$1" "$2"
    e2e_expect '^sizemove begin$'
    e2e_expect "^size restored $1 $2\$"
    e2e_expect '^sizemove end$'
    e2e_expect "^paint 0 0 $1 $2 client $1 $2\$"
    e2e_sync
}

resize_to 800 400
expect_screen_at 800 400
e2e_expect_pixel "$E2E_DIR/screen-800x400.png" 740 390 "$background" # where it was at 1000 x 500

resize_to 1200 600
expect_screen_at 1200 600
e2e_expect_pixel "$E2E_DIR/screen-1200x600.png" 700 310 "$background" # where it was at 800 x 400
e2e_pass
