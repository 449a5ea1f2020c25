#!/usr/bin/env bash
# Start-up time of the program: from process start to the first painted frame of the welcome
# screen, under Xvfb, as the median of several runs (default 15), with an empty database and with
# the large realistic one (100,000 words, ModelDatabaseGenerator.h). The baseline is a bare GTK
# window (GTK alone, the same size, one cairo fill), measured in the same runs, taken in turns.
# The load of the large database has its own benchmark. What the rest of the start-up adds on top
# of it is measured inside each run: the time to the first frame less the span from the window
# shown to the start-up done (the load, the welcome screen built). The load alone, in a process of
# its own, is shown beside that span. On a machine with few cores, shared with other work, every
# thread of the start takes time from the window's: the processor time all threads took until
# the first frame is shown beside the wall-clock times, against the bare window's.
#
#   ./bench/program_startup.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
"$root/scripts/setup.sh"

build="$root/build/bench-startup"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMERNOLEX_TESTS=ON -DMERNOLEX_BENCH=ON >/dev/null
cmake --build "$build" -j 2 --target gtk_probe startupprobe >/dev/null
bare_probe="$build/tests/gtk_probe"
probe="$build/bench/startupprobe"

source "$root/bench/startup_timing.bash"
bench_begin

mkdir -p "$work/empty" "$work/large"
(cd "$work/empty" && "$probe" --load-only >/dev/null)   # the first start creates the empty database
echo "building the large database ..."
(cd "$work/large" && "$probe" --generate)

load_once() { (cd "$1" && "$probe" --load-only | awk '{ print $2 }'); }
# The bare window's first frame: appends its milliseconds to bare.ms and the processor time its
# threads took until then to bare-cpu.ms.
bare_once() {
    local begin output
    begin=$EPOCHREALTIME
    output=$(cd "$work" && "$bare_probe" --bare </dev/null)
    awk -v begin="$begin" '{ t[$1] = $2 } END {
        if (!("first-paint" in t)) exit 1
        printf "%.1f\n", (t["first-paint"] - begin) * 1000 > "/dev/stdout"
        printf "%.1f\n", t["cpu-to-first-paint"] > "/dev/stderr"
    }' <<<"$output" >>"$work/bare.ms" 2>>"$work/bare-cpu.ms" || { echo "no first paint" >&2; exit 1; }
}
# One start in $1: appends the milliseconds to the first frame to $2.ms, the span from the
# window shown to the start-up done to $2-span.ms and the processor time of all its threads until
# the first frame to $2-cpu.ms.
start_once() {
    local begin output
    begin=$EPOCHREALTIME
    output=$(cd "$1" && "$probe" </dev/null)
    awk -v begin="$begin" '{ t[$1] = $2 } END {
        if (!("first-paint" in t)) exit 1
        printf "%.1f\n", (t["first-paint"] - begin) * 1000 > "/dev/stdout"
        printf "%.1f\n", (t["started"] - t["shown"]) * 1000 > "/dev/stderr"
        printf "%.1f\n", t["cpu-to-first-paint"] > cpu
    }' cpu="$work/$2-cpu.ms" <<<"$output" >>"$work/$2.ms" 2>>"$work/$2-span.ms" || { echo "no first paint" >&2; exit 1; }
}

first_paint_ms "$work" "$bare_probe" --bare >/dev/null   # warm the caches (fonts, the large files)
start_once "$work/empty" warm
start_once "$work/large" warm
for _ in $(seq "$runs"); do
    bare_once
    start_once "$work/empty" empty
    start_once "$work/large" large
    load_once "$work/empty" >>"$work/load-empty.ms"
    load_once "$work/large" >>"$work/load-large.ms"
done
bare=$(median <"$work/bare.ms")
empty=$(median <"$work/empty.ms")
large=$(median <"$work/large.ms")
bare_cpu=$(median <"$work/bare-cpu.ms")
empty_cpu=$(median <"$work/empty-cpu.ms")
span_empty=$(median <"$work/empty-span.ms")
span_large=$(median <"$work/large-span.ms")
load_empty=$(median <"$work/load-empty.ms")
load_large=$(median <"$work/load-large.ms")
paste "$work/empty.ms" "$work/empty-span.ms" | awk '{ print $1 - $2 }' >"$work/empty-rest.ms"
paste "$work/large.ms" "$work/large-span.ms" | awk '{ print $1 - $2 }' >"$work/large-rest.ms"
rest_empty=$(median <"$work/empty-rest.ms")
rest_large=$(median <"$work/large-rest.ms")
echo "start to the first painted welcome frame, median of $runs runs under Xvfb:"
awk -v bare="$bare" -v empty="$empty" -v large="$large" -v se="$span_empty" -v sl="$span_large" \
    -v le="$load_empty" -v ll="$load_large" -v re="$rest_empty" -v rl="$rest_large" \
    -v bc="$bare_cpu" -v ec="$empty_cpu" 'BEGIN {
    printf "  bare GTK window (baseline)            %8.1f ms\n", bare
    printf "  Mernolex, empty database              %8.1f ms   ratio %.2f (goal at most 1.2: %s)\n", empty, empty / bare, (empty / bare <= 1.2 ? "met" : "NOT met")
    printf "  processor time to the first frame, all threads: bare %.1f ms, empty database %.1f ms, ratio %.2f\n", bc, ec, ec / bc
    printf "  Mernolex, 100,000 words               %8.1f ms   ratio %.2f\n", large, large / bare
    printf "  window shown to start-up done, empty / large   %.1f / %.1f ms\n", se, sl
    printf "  loadDatabase alone (own process), empty / large %.1f / %.1f ms\n", le, ll
    printf "  the rest of the start-up, empty / large        %.1f / %.1f ms: the large database adds %.1f ms on top of its load (goal at most 50: %s)\n", re, rl, rl - re, (rl - re <= 50 ? "met" : "NOT met")
}'
