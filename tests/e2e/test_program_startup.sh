#!/usr/bin/env bash
# The program itself in the real window: started on an empty directory it creates Data/, paints
# the welcome screen, walks to the settings screen and back on clicks, and ends with status 0 when
# the window is closed, leaving the keyboard layout it found. Started again, without --data, from
# that directory (which now holds Data/) with a damaged table, it says so in a box first and opens
# the welcome screen once the box is answered. Screenshots of a failed run are kept in
# e2e-failures/ beside the test tools.
source "$(dirname "$0")/lib.sh"
tools=$1
program=$2
E2E_KEEP=${E2E_KEEP:-$tools/e2e-failures/program_startup}
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
setxkbmap de

e2e_start_program "$program" --data .
wid=$(e2e_window '^Mernolex$')

# Pixels of the 1000 x 500 canvas (without a window manager the client area is the whole window):
# the title text, the settings button (welcome screen only), the back button (settings only) and a
# corner of plain background.
title_drawn() { (($(e2e_darkest "$wid" 300 70 400 60) < 100)); }
colour_at() { import -window "$wid" "$E2E_DIR/now.png" 2>/dev/null && e2e_pixel "$E2E_DIR/now.png" "$1" "$2"; }
on_welcome() {
    local bg
    bg=$(colour_at 995 495) && [[ $(colour_at 900 445) != "$bg" && $(colour_at 60 445) == "$bg" ]]
}
on_settings() {
    local bg
    bg=$(colour_at 995 495) && [[ $(colour_at 900 445) == "$bg" && $(colour_at 60 445) != "$bg" ]]
}

e2e_poll title_drawn || { e2e_shot "$wid" welcome.png; e2e_fail "the welcome title was not painted"; }
e2e_poll on_welcome || { e2e_shot "$wid" welcome.png; e2e_fail "no settings button on the welcome screen"; }
e2e_shot "$wid" welcome.png
for path in Data/Framework/strings.dat Data/Level/levels.dat Data/Language/languages.dat Data/timestamp.dat; do
    [[ -f $path ]] || e2e_fail "the first start did not create $path"
done

e2e_click "$wid" 920 430
e2e_poll on_settings || { e2e_shot "$wid" settings.png; e2e_fail "the settings screen did not open"; }
e2e_poll title_drawn || { e2e_shot "$wid" settings.png; e2e_fail "the settings title was not painted"; }
e2e_shot "$wid" settings.png

e2e_click "$wid" 80 430
e2e_poll on_welcome || { e2e_shot "$wid" back.png; e2e_fail "back did not return to the welcome screen"; }

"$tools/x_request_close" "$wid"
e2e_window_gone '^Mernolex$'
e2e_wait_exit
[[ $E2E_STATUS == 0 ]] || e2e_fail "the program ended with status $E2E_STATUS: $(cat "$E2E_DIR/program.err")"
setxkbmap -query | grep -Eq '^layout: +de$' || e2e_fail "the keyboard layout changed: $(setxkbmap -query)"

rm Data/Lesson/lessons.dat
e2e_start_program "$program"
box=$(e2e_window '^Information$')
wid=$(e2e_window '^Mernolex$')
e2e_shot "$box" box.png
e2e_focus "$box"
xdotool key Return
e2e_window_gone '^Information$'
e2e_poll on_welcome || { e2e_shot "$wid" after-box.png; e2e_fail "no welcome screen after the box"; }
[[ -f Data/Lesson/lessons.dat ]] || e2e_fail "the damaged table was not reset"
compgen -G "Data/Backup/*/Level/*" >/dev/null || e2e_fail "the reset tables were not set aside in Data/Backup"
"$tools/x_request_close" "$wid"
e2e_window_gone '^Mernolex$'
e2e_wait_exit
[[ $E2E_STATUS == 0 ]] || e2e_fail "the second start ended with status $E2E_STATUS"
[[ ! -e $XDG_DATA_HOME ]] || e2e_fail "the start from a directory holding Data/ used the user's data directory"
echo "PASSED"
