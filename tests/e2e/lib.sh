# Shared functions of the end-to-end tests: a private Xvfb, one program under test fed through
# a pipe and watched through its output, windows, keys and pixels. Source it from a test script:
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_begin                          # skips (exit 77) when Xvfb is missing; temp dir, cleanup
#   e2e_start_xvfb                     # a display of its own, DISPLAY exported
#   e2e_start_program ./prog args      # stdin from e2e_send, stdout watched by e2e_expect
#   e2e_expect '^ready$'               # waits for the next line matching, in order (E2E_LINE)
#   wid=$(e2e_window '^Mernolex$')     # waits for a visible window with that title
#   e2e_click "$wid" 250 60            # a left click at a pixel of the window
#   e2e_shot "$wid" shot.png; e2e_pixel shot.png 10 10   # -> RRGGBB
#
# Set E2E_KEEP to a directory to keep the files of a failed test there, and E2E_ON_FAIL to a
# command the test runs first when it fails.
# Waits poll what the program printed or what the X server shows, up to E2E_TIMEOUT seconds;
# nothing waits for a fixed time. Everything started here is stopped by process id on exit.

set -euo pipefail

E2E_TIMEOUT=${E2E_TIMEOUT:-20}
E2E_DIR=""
E2E_PIDS=()         # background processes to stop, in the order they were started
E2E_PROGRAM_PID=""
E2E_OUTPUT=""       # what the program under test prints
E2E_SEEN=0          # lines of E2E_OUTPUT already matched by e2e_expect
E2E_INPUT_FD=""
E2E_LINE=""         # set by e2e_expect
E2E_PASSED=""
E2E_STATUS=""       # set by e2e_wait_exit

e2e_log() { echo "e2e: $*" >&2; }

e2e_fail() {
    e2e_log "FAILED: $*"
    if [[ -n ${E2E_ON_FAIL:-} ]]; then
        # The test's own last look (a screenshot, say); a failure inside it must not recurse.
        local onFail=$E2E_ON_FAIL
        E2E_ON_FAIL=""
        eval "$onFail" || true
    fi
    if [[ -n ${E2E_KEEP:-} && -n $E2E_DIR ]]; then
        # Screenshots and outputs of a failed test, for a look afterwards.
        mkdir -p "$E2E_KEEP" && cp -r "$E2E_DIR" "$E2E_KEEP/" && e2e_log "files kept in $E2E_KEEP"
    fi
    if [[ -n $E2E_OUTPUT && -f $E2E_OUTPUT ]]; then
        e2e_log "last output of the program (line $E2E_SEEN matched last):"
        tail -n 25 "$E2E_OUTPUT" | sed 's/^/    /' >&2
        [[ -s $E2E_DIR/program.err ]] && { e2e_log "its errors:"; tail -n 15 "$E2E_DIR/program.err" | sed 's/^/    /' >&2; }
    fi
    exit 1
}

e2e_cleanup() {
    local status=$?
    set +e
    [[ -n $E2E_INPUT_FD ]] && { exec {E2E_INPUT_FD}>&-; } 2>/dev/null
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_PIDS[i]}" 2>/dev/null || true
    done
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        wait "${E2E_PIDS[i]}" 2>/dev/null || true
    done
    [[ -n $E2E_DIR ]] && rm -rf "$E2E_DIR"
    exit $status
}

# Prepares a test: skips it when Xvfb is not installed, checks the other tools, makes a
# temporary directory (E2E_DIR) and arranges the cleanup.
e2e_begin() {
    if ! command -v Xvfb >/dev/null; then
        echo "SKIPPED: Xvfb is not installed (./scripts/setup.sh installs it)"
        exit 77
    fi
    local tool
    for tool in xdotool import convert xclip; do
        command -v "$tool" >/dev/null || { e2e_log "$tool is missing (./scripts/setup.sh installs it)"; exit 1; }
    done
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/mernolex-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    trap 'exit 1' INT TERM
    export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 GDK_BACKEND=x11
    # Mernolex started without --data in a folder without Data/ works in the user's data
    # directory: a test's own, never the real one of whoever runs the tests.
    export XDG_DATA_HOME=$E2E_DIR/xdg-data
}

# Remembers a background process for the cleanup.
e2e_track() { E2E_PIDS+=("$1"); }

# Starts a helper (xclip, say) in the background, tracked for the cleanup, without the pipe that
# feeds the program: a helper holding it open would keep the program from seeing its input end.
e2e_spawn() {
    if [[ -n $E2E_INPUT_FD ]]; then
        "$@" {E2E_INPUT_FD}>&- &
    else
        "$@" &
    fi
    e2e_track $!
}

# Polls `$1` (a command) until it succeeds or E2E_TIMEOUT runs out; returns its status.
e2e_poll() {
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until eval "$1"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.02
    done
}

# Starts an X server on a display nobody uses (the server picks it) and exports DISPLAY.
# -noreset keeps keyboard settings between clients.
e2e_start_xvfb() {
    local displayFile=$E2E_DIR/display
    : >"$displayFile"
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp -noreset \
        3>"$displayFile" 2>"$E2E_DIR/xvfb.log" &
    e2e_track $!
    e2e_poll "grep -q '^[0-9]' '$displayFile'" || e2e_fail "Xvfb did not start: $(tail -n 3 "$E2E_DIR/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$displayFile")"
}

# Starts the program under test with its standard input fed by e2e_send and its output kept
# for e2e_expect. Only one program at a time; e2e_stop_program ends it.
e2e_start_program() {
    E2E_OUTPUT=$E2E_DIR/program.out
    E2E_SEEN=0
    : >"$E2E_OUTPUT"
    local fifo=$E2E_DIR/program.in
    rm -f "$fifo"
    mkfifo "$fifo"
    "$@" <"$fifo" >"$E2E_OUTPUT" 2>"$E2E_DIR/program.err" &
    E2E_PROGRAM_PID=$!
    e2e_track "$E2E_PROGRAM_PID"
    exec {E2E_INPUT_FD}>"$fifo"
}

# Sends one line to the program's standard input.
e2e_send() { printf '%s\n' "$1" >&"$E2E_INPUT_FD"; }

# Closes the program's input and waits for it to end; its exit status goes to E2E_STATUS.
e2e_wait_exit() {
    if [[ -n $E2E_INPUT_FD ]]; then
        exec {E2E_INPUT_FD}>&-
        E2E_INPUT_FD=""
    fi
    e2e_poll "! kill -0 $E2E_PROGRAM_PID 2>/dev/null" || e2e_fail "the program did not end"
    E2E_STATUS=0
    wait "$E2E_PROGRAM_PID" || E2E_STATUS=$?
}

# Ends a test whose program closes when its input ends: requires that it ends with status 0
# (so the leak checker found nothing either) and reports success.
e2e_pass() {
    e2e_wait_exit
    [[ $E2E_STATUS == 0 ]] || e2e_fail "the program ended with status $E2E_STATUS"
    echo "PASSED"
}

# Waits for the next line (after the last one matched) that matches the extended regular
# expression $1 and moves past it. The line goes to E2E_LINE, the lines passed over on the way
# to E2E_PASSED.
e2e_expect() {
    local pattern=$1 found=""
    local search="found=\$(tail -n +$((E2E_SEEN + 1)) '$E2E_OUTPUT' | grep -n -m 1 -E -- \"\$pattern\")"
    # A program that has ended prints nothing more: one last look, then no waiting.
    e2e_poll "$search || ! kill -0 $E2E_PROGRAM_PID 2>/dev/null" && eval "$search" ||
        e2e_fail "no line matching /$pattern/ after line $E2E_SEEN"
    local offset=${found%%:*}
    E2E_PASSED=""
    if ((offset > 1)); then
        E2E_PASSED=$(sed -n "$((E2E_SEEN + 1)),$((E2E_SEEN + offset - 1))p" "$E2E_OUTPUT")
    fi
    E2E_SEEN=$((E2E_SEEN + offset))
    E2E_LINE=${found#*:}
}

# Moves the "already seen" mark to the end of what the program printed so far.
e2e_skip_output() { E2E_SEEN=$(wc -l <"$E2E_OUTPUT"); }

# Prints the id of a visible window whose title matches $1, waiting for it to appear.
e2e_window() {
    local id
    id=$(timeout "$E2E_TIMEOUT" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) ||
        e2e_fail "no window titled /$1/ appeared"
    [[ -n $id ]] || e2e_fail "no window titled /$1/ appeared"
    echo "$id"
}

# Waits until no visible window has a title matching $1.
e2e_window_gone() {
    e2e_poll "! xdotool search --onlyvisible --name '$1' >/dev/null 2>&1" ||
        e2e_fail "the window titled /$1/ did not go away"
}

# Gives the window the keyboard focus (without a window manager focus does not follow clicks).
e2e_focus() { xdotool windowfocus --sync "$1"; }

# Saves a screenshot of the window.
e2e_shot() { import -window "$1" "$2"; }

# For programs that obey "sync" (the probe): waits until what they painted is on the screen.
e2e_sync() {
    e2e_send sync
    e2e_expect '^synced$'
}

# Prints the colour of a pixel of a screenshot as RRGGBB.
e2e_pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }

# Prints the grey level (0-255) of the darkest pixel in the $4 x $5 rectangle at ($2, $3) of
# window $1; a negative x or y counts from the right or bottom edge. Tells whether something is
# drawn there (text, a disabled button's grey label or an enabled button's dark one).
e2e_darkest() {
    local shot=$E2E_DIR/region.png width height x=$2 y=$3
    import -window "$1" "$shot" 2>/dev/null || return 1
    read -r width height < <(convert "$shot" -format '%w %h' info:)
    ((x >= 0)) || x=$((width + x))
    ((y >= 0)) || y=$((height + y))
    convert "$shot" -crop "$4x$5+$x+$y" -colorspace Gray -format '%[fx:int(minima*255)]' info:
}

# Fails if a line passed over by the last e2e_expect matches $1: something happened that the
# test rules out between two events it waited for.
e2e_passed_none() {
    if grep -qE -- "$1" <<<"$E2E_PASSED"; then
        e2e_fail "a line matching /$1/ came before '$E2E_LINE'"
    fi
}

# Clicks the left button at pixel ($2, $3) of window $1's client area.
e2e_click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Waits until the pixel at ($2, $3) of window $1 has colour $4 (RRGGBB), for outcomes the
# program does not announce (a look that changes with a repaint).
e2e_wait_pixel() {
    local shot=$E2E_DIR/waiting.png colour=""
    e2e_poll "import -window '$1' '$shot' 2>/dev/null && colour=\$(e2e_pixel '$shot' $2 $3) && [[ \$colour == '$4' ]]" ||
        e2e_fail "pixel ($2, $3) stayed $colour, expected $4"
}

# Fails unless the pixel at ($2, $3) of screenshot $1 has colour $4 (RRGGBB).
e2e_expect_pixel() {
    local colour
    colour=$(e2e_pixel "$1" "$2" "$3")
    [[ $colour == "$4" ]] || e2e_fail "pixel ($2, $3) is $colour, expected $4"
}
