# Shared by the start-up benchmarks (source it; it is no benchmark itself, hence not a .sh file):
# a scratch directory and a private Xvfb, both gone when the script ends, and the timing of one
# program start to its first painted frame.
#
#   bench_begin                   makes $work, starts Xvfb, exports DISPLAY and the test environment
#   first_paint_ms DIR CMD ARG..  runs CMD in DIR; milliseconds from just before the start to the
#                                 "first-paint SECONDS" line it prints
#   median <file                  the median of numbers, one per line

work=""
xvfb=""

bench_cleanup() {
    [[ -n $xvfb ]] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
    [[ -n $work ]] && rm -rf "$work"
}

bench_begin() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/mernolex-bench.XXXXXX")
    trap bench_cleanup EXIT
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 500); do grep -q '^[0-9]' "$work/display" && break; sleep 0.01; done
    export DISPLAY=":$(head -n 1 "$work/display")" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 GDK_BACKEND=x11
}

first_paint_ms() {
    local dir=$1 start line
    shift
    start=$EPOCHREALTIME
    line=$(cd "$dir" && "$@" </dev/null | grep '^first-paint ') || { echo "no first paint" >&2; exit 1; }
    awk -v a="$start" -v b="${line#first-paint }" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
