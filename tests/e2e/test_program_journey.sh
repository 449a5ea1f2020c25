#!/usr/bin/env bash
# A new learner's first hour with Mernolex, in the real window, from an empty data directory:
#   1. first start (no box) → Settings → Languages: German (der/die/das, ich/du/er, Präsens/
#      Präteritum), made while the desktop types German so that it gets that keyboard; then,
#      back on the US keyboard, English;
#   2. Verb Patterns: a pattern for German's regular verbs, tested on "machen";
#   3. Categories and Words: "Haus" (das) with a meaning in the category "Home", "machen" as a
#      regular verb with the pattern;
#   4. Feed → Classic Flashcards: Haus → house and machen → make, "Save and next";
#   5. Welcome → Practice → Start: every question answered right except the first question for
#      "Haus", which is answered wrong and typed again (wrongly once more, then right) before the
#      run goes on, until "All done for today!";
#   6. the window closed and the program started again: everything is there, every direction on
#      level 1 and due in that level's break days; started once more on the next day, the due
#      days have dropped by one and the cards are asked again.
# German fields are typed with the keys a learner presses on a US keyboard while the program
# types German there (German layout): ä, ß and z come out of the keys ', - and y.
#
# The program prints its screens, pages and painted texts (MERNOLEX_TRACE), and the test waits
# for them; it also prints how long each input waited for its frame, and the test reports the
# longest waits at the end; journey_data (beside the test tools) reads what is stored. A screenshot of every step
# goes to journey-screens/ beside the test tools (JOURNEY_SCREENS overrides it), a last one of a
# failure too; the files of a failed run are kept in e2e-failures/program_journey.
source "$(dirname "$0")/lib.sh"
tools=$1
program=$2
E2E_KEEP=${E2E_KEEP:-$tools/e2e-failures/program_journey}
E2E_TIMEOUT=30
e2e_begin
e2e_start_xvfb
cd "$E2E_DIR"
mkdir data

shots=${JOURNEY_SCREENS:-$tools/journey-screens}
rm -rf "$shots"
mkdir -p "$shots"
shot_count=0
# A screenshot of the window as step $1, numbered in the order taken.
shot() {
    shot_count=$((shot_count + 1))
    e2e_shot "$wid" "$shots/$(printf %02d "$shot_count")-$1.png"
}
E2E_ON_FAIL='[[ -n ${wid:-} ]] && shot failure 2>/dev/null; e2e_log "screenshots of the steps: $shots"'

# --- the program and its trace -------------------------------------------------------------------

export MERNOLEX_TRACE=1
start_program() {
    e2e_start_program "$program" --data data
    wid=$(e2e_window '^Mernolex$')
    e2e_focus "$wid"
}
close_program() {
    "$tools/x_request_close" "$wid"
    e2e_window_gone '^Mernolex$'
    e2e_wait_exit
    [[ $E2E_STATUS == 0 ]] || e2e_fail "the program ended with status $E2E_STATUS: $(tail -n 5 "$E2E_DIR/program.err")"
    grep '^frame ' "$E2E_OUTPUT" >>"$E2E_DIR/frames" || true
}
# The longest wait of an input for its frame over the whole journey (the trace's frame lines,
# program/FrameProbe.h), for the inputs that saved nothing and for those that saved.
report_frames() {
    awk 'function screen(   s, i) { s = $7; for (i = 8; i <= NF; i++) s = s " " $i; return s }
         { kind = $6; if ($2 + 0 > longest[kind] + 0) { longest[kind] = $2; what[kind] = $5 " on " screen(); cpu[kind] = $4 }
           count[kind]++ }
         END {
           printf "frames: the longest wait of an input for its frame, over %d inputs that saved nothing: %.1f ms, %.1f ms of it busy (%s; goal under 16.7 ms)\n", count["kept"], longest["kept"], cpu["kept"], what["kept"]
           printf "frames: over %d inputs that saved: %.1f ms, %.1f ms of it busy (%s)\n", count["saved"], longest["saved"], cpu["saved"], what["saved"]
         }' "$E2E_DIR/frames"
}
# A regular expression matching the text $1 literally.
literally() { sed 's/[][\.*^$(){}?+|/]/\\&/g' <<<"$1"; }
# Waits until the screen described $1 shows its page $2.
on_screen() { e2e_expect "^screen $(literally "$1") page $2\$"; }
# Waits until the text $1 is painted (a text field paints its caret with it).
painted() { e2e_expect "^text $(literally "$1")‸?\$"; }
stored() { (cd data && "$tools/journey_data" state); }
# Fails unless every line given is stored.
expect_stored() {
    local state line
    state=$(stored) || e2e_fail "the database could not be read"
    for line in "$@"; do
        grep -qxF -- "$line" <<<"$state" || e2e_fail "not stored: '$line'; stored:"$'\n'"$state"
    done
}

# --- the user's hands ----------------------------------------------------------------------------

# The double-click time of the desktop: a second press this soon at the same spot would reach the
# program as the end of a double click (a release only), so clicks on one spot wait it out.
DOUBLE_CLICK_MS=450
last_click=(-100 -100 0)
click() {
    local now waited
    now=$(date +%s%3N)
    if ((${1} - last_click[0] <= 5 && last_click[0] - ${1} <= 5 && ${2} - last_click[1] <= 5 &&
        last_click[1] - ${2} <= 5)); then
        waited=$((now - last_click[2]))
        ((waited >= DOUBLE_CLICK_MS)) || sleep "0.$(printf %03d $((DOUBLE_CLICK_MS - waited)))"
    fi
    e2e_click "$wid" "$1" "$2"
    last_click=("$1" "$2" "$(date +%s%3N)")
}
# Types $1 with the keyboard the desktop has (into a field that types in the system's layout).
type_text() { xdotool type --delay 15 "$1"; }
# Types $1 into a German field: the keys a learner presses for it on a US keyboard while the
# program types German (the German layout: ä on ', ß on -, z and y swapped).
type_german() {
    local LC_ALL=C.UTF-8
    local text=$1 i c keys=()
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $c in
            ä) keys+=(apostrophe) ;;
            ö) keys+=(semicolon) ;;
            ü) keys+=(bracketleft) ;;
            ß) keys+=(minus) ;;
            z) keys+=(y) ;;
            y) keys+=(z) ;;
            [a-z]) keys+=("$c") ;;
            [A-Z]) keys+=("shift+${c,,}") ;;
            *) e2e_fail "the test knows no German key for '$c'" ;;
        esac
    done
    xdotool key --delay 15 "${keys[@]}"
}
# Clicks into the field at ($1, $2), selects what it holds and types $3 over it ($4: the typing).
type_into() {
    click "$1" "$2"
    xdotool key ctrl+a
    "${4:-type_text}" "$3"
}
# Unfolds the selection field centred at ($1, $2), $4 high (30 when not given), and clicks its
# entry number $3 (the entries are 30 high).
choose() {
    click "$1" "$2"
    click "$1" $(($2 + ${4:-30} / 2 + 15 + 30 * $3))
}
# Answers the message box captioned $1 with the key $2.
answer_box() {
    local box
    box=$(e2e_window "^$1\$")
    e2e_focus "$box"
    xdotool key "$2"
    e2e_window_gone "^$1\$"
    e2e_focus "$wid"
}
back() { click 80 430; }

# --- 1. first start, languages ---------------------------------------------------------------------

setxkbmap us
start_program
on_screen Welcome 0
painted "Welcome back!"
# A box at the first start would have come before the welcome screen, and stays until answered.
! xdotool search --onlyvisible --name '^Information$' >/dev/null 2>&1 || e2e_fail "the first start showed a box"
[[ -d data/Data/Language && -f data/Data/Level/levels.dat ]] || e2e_fail "the first start made no database"
shot first-start

click 920 430
on_screen "Settings ✎" 0
click 320 350
on_screen Languages 1

# German gets the keyboard the desktop types with when the language is made.
setxkbmap de
click 775 191
on_screen Languages 16
type_into 200 120 German
add_entries() {  # the panel's tab y, then its entries, typed with the desktop's German keyboard
    click 500 "$1"
    shift
    local entry
    for entry in "$@"; do
        type_into 800 120 "$entry"
        click 676 200
        painted "$entry"
    done
}
add_entries 150 der die das
add_entries 250 ich du er
add_entries 350 Präsens Präteritum
shot german-tenses
click 550 450
on_screen Languages 1

setxkbmap us
click 775 191
on_screen Languages 16
type_into 200 120 English
click 550 450
on_screen Languages 1
painted English
painted German
shot languages
expect_stored "language German 00000407 articles der die das persons ich du er tenses Präsens Präteritum" \
    "language English 00000409 articles - persons - tenses -"

# --- 2. a verb pattern for German, tested on "machen" --------------------------------------------

back
on_screen "Settings ✎" 0
click 680 350
on_screen "Verb Patterns" 1
choose 775 151 2 62   # the language filter: German
click 775 244
on_screen "Verb Patterns" 2
rules=("/post-1" "/post-2+te" "/post-2+st" "/post-2+test" "/post-2+t" "/post-2+te")
i=0
for y in 230 330 430; do       # ich, du, er
    for x in 499 826; do       # Präsens, Präteritum
        type_into "$x" "$y" "${rules[i]}"
        i=$((i + 1))
    done
done
painted "/post-2+te"
shot pattern
click 800 40
answer_box Information Return   # "test this pattern?" Yes
on_screen "Verb Patterns" 4
type_into 500 250 machen type_german
click 500 350
on_screen "Verb Patterns" 8
for form in mache machst macht machte machtest; do
    painted "$form"
done
shot pattern-test
click 900 40
on_screen "Verb Patterns" 1
painted "German Pattern - 1"
expect_stored "pattern German Pattern - 1 /post-1 /post-2+te /post-2+st /post-2+test /post-2+t /post-2+te"

# --- 3. a category and two words -------------------------------------------------------------------

back
on_screen "Settings ✎" 0
click 320 190
on_screen Categories 1
click 775 191
on_screen Categories 2
type_into 500 250 Home
click 750 400
on_screen Categories 1
painted Home

back
on_screen "Settings ✎" 0
click 680 430
on_screen Words 1
click 775 244
on_screen Words 2
choose 225 115 1   # German
type_into 275 165 Haus type_german
painted Haus
choose 325 315 3   # das
click 638 115      # its meanings
on_screen "Meanings - Haus" 1
click 775 191
on_screen "Meanings - Haus" 2
click 703 211      # "Home" among the categories not used
click 500 307      # «: used
painted Home
click 765 430
on_screen "Meanings - Haus" 1
back
on_screen Words 2
painted Home       # the word's categories
shot word-haus
click 834 40
on_screen Words 1

click 775 244
on_screen Words 2
choose 225 115 1
type_into 275 165 machen type_german
choose 375 265 1   # German Pattern - 1
click 834 40       # Next: the forms the pattern makes
on_screen Words 4
painted machtest
shot word-machen
click 834 40       # Save
on_screen Words 1
painted machen
expect_stored "word German Haus article das pattern - categories Home" \
    "word German machen article - pattern German Pattern - 1 categories -"

# --- 4. two flashcards ------------------------------------------------------------------------------

back
on_screen "Settings ✎" 0
back
on_screen Welcome 0
click 500 300
on_screen Feed 0
click 500 200
on_screen Feed 1
choose 185 70 1    # foreign: German
choose 535 70 0    # known: English
new_card() {  # foreign word, known word
    type_into 178 110 "$1" type_german
    type_into 500 110 "$2"
    click 670 110  # »
    on_screen Feed 2
    painted "$2"
}
new_card Haus house
shot card-haus
click 925 460      # Save and next
on_screen Feed 1
new_card machen make
click 925 460
answer_box Information Escape   # "test this pattern?" No: the word editor showed the forms
on_screen Feed 1
click 775 460      # Close
on_screen Feed 0
expect_stored "card Haus known house primary 0/0 inverted 0/0" "card machen known make primary 0/0 inverted 0/0" \
    "word German Haus article das pattern - categories Home" \
    "word German machen article - pattern German Pattern - 1 categories -"

# --- 5. practice ------------------------------------------------------------------------------------

# Pages of the practice screen.
PRIMARY=16 INVERTED=32 RESULT=256 INVERTED_RESULT=512 FORCED=4096 ARTICLE=65536 ARTICLE_RESULT=131072
FORCED_ARTICLE=262144 VERB=1048576 OVERVIEW=16777216 ALL_DONE=33554432
next_arrow() { click 850 40; }
submit() { click 850 40; }
back_arrow() { click 750 40; }
choose_das() { choose 500 260 2; }
type_machen_forms() {
    local forms=(mache machte machst machtest macht machte) i=0 x y
    for y in 230 330 430; do
        for x in 499 826; do
            type_into "$x" "$y" "${forms[i]}" type_german
            i=$((i + 1))
        done
    done
}
# The rest of a question after its first page, then Submit and, when right, Continue.
finish_question() {  # card, result page
    next_arrow
    if [[ $1 == Haus ]]; then
        on_screen Practice $ARTICLE
        choose_das
    else
        on_screen Practice $VERB
        type_machen_forms
    fi
    submit
    on_screen Practice "$2"
}
answer_right() {  # card, direction page
    if (($2 == PRIMARY)); then
        type_into 226 80 "$1" type_german
        finish_question "$1" $RESULT
    else
        type_into 486 80 "${known[$1]}"
        click 486 120      # Add
        painted "${known[$1]}"
        finish_question "$1" $INVERTED_RESULT
    fi
    painted Correct
    click 803 450          # Continue
}
# "Häuser" is no stored word: wrong. The level forces typing the answer: first "Hauß", which is
# refused, then "Haus".
answer_haus_wrong() {
    type_into 226 80 Häuser type_german
    painted Häuser
    finish_question Haus $RESULT
    painted Wrong
    shot practice-wrong
    next_arrow
    on_screen Practice $ARTICLE_RESULT
    next_arrow
    on_screen Practice $OVERVIEW
    click 500 190          # Continue
    on_screen Practice $RESULT
    next_arrow
    on_screen Practice $FORCED
    type_into 226 80 Hauß type_german
    painted Hauß
    next_arrow
    on_screen Practice $ARTICLE_RESULT
    next_arrow
    on_screen Practice $FORCED_ARTICLE
    choose_das
    shot practice-forced
    submit
    answer_box Information Return   # "not correct, try again"
    back_arrow
    on_screen Practice $ARTICLE_RESULT
    back_arrow
    on_screen Practice $FORCED
    type_into 226 80 Haus type_german
    next_arrow
    on_screen Practice $ARTICLE_RESULT
    next_arrow
    on_screen Practice $FORCED_ARTICLE
    submit
}

declare -A known=([Haus]=house [machen]=make)
back
on_screen Welcome 0
click 500 200
on_screen Practice 1
click 680 460      # Start
haus_answered_wrong=""
questions=0
while true; do
    e2e_expect "^screen Practice page ($PRIMARY|$INVERTED|$ALL_DONE)\$"
    page=${E2E_LINE##* }
    ((page != ALL_DONE)) || break
    questions=$((questions + 1))
    ((questions <= 6)) || e2e_fail "more questions than four cards and one repetition"
    # The question's card: its known word (primary) or its foreign word (inverted) is painted.
    if ((page == PRIMARY)); then
        e2e_expect '^text (house|make)$'
        [[ $E2E_LINE == "text house" ]] && card=Haus || card=machen
    else
        e2e_expect '^text (Haus|machen)$'
        card=${E2E_LINE#text }
    fi
    if [[ $card == Haus && $page == "$PRIMARY" && -z $haus_answered_wrong ]]; then
        haus_answered_wrong=yes
        answer_haus_wrong
    else
        answer_right "$card" "$page"
    fi
done
[[ -n $haus_answered_wrong ]] || e2e_fail "Haus was never asked in the primary direction"
painted "All done for today!"
shot all-done
click 500 350
on_screen Welcome 0

# --- 6. everything is there after a restart, and on the next day -----------------------------------

close_program
# Every direction was answered right in the end: level 1, due in level 1's break days.
expect_stored "level 1 breakdays 1" "card Haus known house primary 1/1 inverted 1/1" \
    "card machen known make primary 1/1 inverted 1/1" \
    "language German 00000407 articles der die das persons ich du er tenses Präsens Präteritum" \
    "word German Haus article das pattern - categories Home"

open_flashcard_menu() {
    click 920 430
    on_screen "Settings ✎" 0
    click 320 270
    on_screen Flashcards 1
}
start_program
on_screen Welcome 0
open_flashcard_menu
painted "Haus (1|1, 1|1)"
painted "machen (1|1, 1|1)"
shot restarted-cards
back
on_screen "Settings ✎" 0
click 680 430
on_screen Words 1
for word in Haus machen house make; do
    painted "$word"
done
close_program

# The next day: the start rolls the due days over, and the cards are asked again.
(cd data && "$tools/journey_data" yesterday)
start_program
on_screen Welcome 0
open_flashcard_menu
painted "Haus (1|0, 1|0)"
painted "machen (1|0, 1|0)"
shot next-day-cards
back
on_screen "Settings ✎" 0
back
on_screen Welcome 0
click 500 200
on_screen Practice 1
click 680 460
e2e_expect "^screen Practice page ($PRIMARY|$INVERTED)\$"
shot next-day-question
click 950 40       # Exit
on_screen Practice 1
close_program
expect_stored "card Haus known house primary 1/0 inverted 1/0" "card machen known make primary 1/0 inverted 1/0"
report_frames
echo "PASSED (screenshots in $shots)"
