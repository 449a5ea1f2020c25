#!/usr/bin/env bash
# The frame-time probe of the trace (program/FrameProbe.h) over a walk of every screen in the real
# window (release build, under Xvfb) on the realistic database (ModelDatabaseGenerator.h: 100,000
# words, 60,000 meanings, 50,000 cards): every editor opened from the settings screen, a row of its
# list chosen, a search typed and a page turned where the list has them, the editing pages opened
# and left, the flashcard editor opened on a card, and a practice run started and left. Nothing is
# saved. It reports, per screen, the longest time an input waited for the frame that answers it,
# and the longest of all; the goal is one frame at 60 Hz, 16.7 ms. The baseline, measured in the
# same run, is the answering paint alone (the frame itself, what the wait cannot be shorter than);
# and the processor time of each wait, which other programs on a busy machine do not lengthen.
#
#   ./bench/program_walk_window.sh
#
# MERNOLEX_WALK_PROGRAM=<path> walks another build of the program (an earlier one, to compare in
# the same conditions); MERNOLEX_WALK_LOG=<file> keeps everything the program printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/bench-startup"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMERNOLEX_TESTS=ON -DMERNOLEX_BENCH=ON >/dev/null
cmake --build "$build" -j 2 --target mernolex startupprobe x_request_close >/dev/null

source "$root/tests/e2e/lib.sh"
tools="$build/tests"
E2E_TIMEOUT=60
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
mkdir data
echo "building the large database ..."
(cd data && "$build/bench/startupprobe" --generate)

export MERNOLEX_TRACE=1
e2e_start_program "${MERNOLEX_WALK_PROGRAM:-$build/src/mernolex}" --data data
wid=$(e2e_window '^Mernolex$')
e2e_focus "$wid"

literally() { sed 's/[][\.*^$(){}?+|/]/\\&/g' <<<"$1"; }
on_screen() { e2e_expect "^screen $(literally "$1") page $2\$"; }
# The double-click time of the desktop: a second click at one spot waits it out.
last_click=(-100 -100)
click() {
    if [[ $1 == "${last_click[0]}" && $2 == "${last_click[1]}" ]]; then
        sleep 0.45
    fi
    e2e_click "$wid" "$1" "$2"
    last_click=("$1" "$2")
}
# A learner looks at what came before acting again: the frame lines of the step are printed by
# then, and the window's idle time has come.
look() { sleep 0.3; }
back() { click 80 430; }
type_text() { xdotool type --delay 60 "$1"; }

SEARCH_BOX=(347 144)
FIRST_ROW_SEARCHABLE=(347 181)
FIRST_ROW_PLAIN=(347 134)
NEXT_PAGE=(480 437)

on_screen Welcome 0
look
click 920 430
on_screen "Settings ✎" 0
look

# Opens the editor behind the settings button at ($1, $2) titled $3.
open_editor() {
    click "$1" "$2"
    on_screen "$3" 1
    look
}
# Searches and pages the searchable list of the editor shown.
search_and_page() {
    click "${FIRST_ROW_SEARCHABLE[@]}"
    look
    click "${NEXT_PAGE[@]}"
    look
    click "${SEARCH_BOX[@]}"
    look
    type_text ka
    look
    for _ in 1 2; do
        xdotool key BackSpace
        look
    done
}

open_editor 320 190 Categories
click "${FIRST_ROW_PLAIN[@]}"
look
click 775 291                    # Edit Category
on_screen Categories 2
look
click 250 400                    # Discard changes
on_screen Categories 1
look
back
on_screen "Settings ✎" 0

open_editor 320 270 Flashcards
search_and_page
click 775 338                    # Edit Flashcard
e2e_expect "^screen Feed page "
look
click 775 460                    # Close
on_screen Flashcards 1
look
back
on_screen "Settings ✎" 0

open_editor 320 350 Languages
back
on_screen "Settings ✎" 0

open_editor 320 430 Lessons
click "${FIRST_ROW_SEARCHABLE[@]}"
look
back
on_screen "Settings ✎" 0

open_editor 680 190 Levels
click "${FIRST_ROW_PLAIN[@]}"
look
back
on_screen "Settings ✎" 0

open_editor 680 270 Meanings
search_and_page
click 775 291                    # Edit Meaning
on_screen Meanings 2
look
click 640 430                    # Discard changes
on_screen Meanings 1
look
back
on_screen "Settings ✎" 0

open_editor 680 350 "Verb Patterns"
click "${FIRST_ROW_PLAIN[@]}"
look
back
on_screen "Settings ✎" 0

open_editor 680 430 Words
search_and_page
back
on_screen "Settings ✎" 0
look
back
on_screen Welcome 0
look

click 500 200                    # Practice
on_screen Practice 1
look
click 680 460                    # Start
e2e_expect "^screen Practice page "
look
click 950 40                     # Exit
on_screen Practice 1
look
click 320 460                    # Cancel
on_screen Welcome 0
look

"$tools/x_request_close" "$wid"
e2e_window_gone '^Mernolex$'
e2e_wait_exit

if [[ -n ${MERNOLEX_WALK_LOG:-} ]]; then
    cp "$E2E_OUTPUT" "$MERNOLEX_WALK_LOG"
fi

awk 'function screenOf(   s, i) { s = $7; for (i = 8; i <= NF; i++) s = s " " $i; return s }
     $1 == "frame" && $6 == "kept" {
        screen = screenOf()
        if ($2 + 0 > worst[screen] + 0) { worst[screen] = $2; paint[screen] = $3; busy[screen] = $4 }
        if ($4 + 0 > worstBusy[screen] + 0) worstBusy[screen] = $4
        if ($2 + 0 > longest + 0) { longest = $2; where = $5 " on " screen; longestPaint = $3; longestBusy = $4 }
        if ($4 + 0 > mostBusy + 0) { mostBusy = $4; busyWhere = $5 " on " screen }
        count++
     }
     END {
        print "per screen, over " count " inputs: the longest wait of an input for its frame (ms), the paint of that frame"
        print "alone and the processor time of the wait, and the longest processor time of any wait there:"
        for (screen in worst)
            printf "  %-24s wait %7.1f   paint %6.1f   busy %6.1f   longest busy %6.1f\n", screen, worst[screen], paint[screen], busy[screen], worstBusy[screen]
        printf "longest wait of all: %.1f ms (%s; its paint %.1f ms, busy %.1f ms); goal under 16.7 ms: %s\n", longest, where,
               longestPaint, longestBusy, (longest < 16.7 ? "met" : "NOT met")
        printf "longest processor time of a wait: %.1f ms (%s)\n", mostBusy, busyWhere
     }' "$E2E_OUTPUT"
