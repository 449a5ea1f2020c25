#!/usr/bin/env bash
# Start-up time of the program: from process start to the first painted frame of the welcome
# screen, under Xvfb, as the median of several runs (default 15), with an empty database and with
# the large realistic one (100,000 words, ModelDatabaseGenerator.h). The baseline is a bare GTK
# window (GTK alone, the same size, one cairo fill), measured in the same runs, taken in turns.
# The load of the large database has its own benchmark; here its time alone (loadDatabase in a
# process of its own) is subtracted, to show what the rest of the start-up adds on top of it.
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

first_paint_ms "$work" "$bare_probe" --bare >/dev/null   # warm the caches (fonts, the large files)
first_paint_ms "$work/empty" "$probe" >/dev/null
first_paint_ms "$work/large" "$probe" >/dev/null
: >"$work/bare.ms"; : >"$work/empty.ms"; : >"$work/large.ms"; : >"$work/load-empty.ms"; : >"$work/load-large.ms"
for _ in $(seq "$runs"); do
    first_paint_ms "$work" "$bare_probe" --bare >>"$work/bare.ms"
    first_paint_ms "$work/empty" "$probe" >>"$work/empty.ms"
    first_paint_ms "$work/large" "$probe" >>"$work/large.ms"
    load_once "$work/empty" >>"$work/load-empty.ms"
    load_once "$work/large" >>"$work/load-large.ms"
done
bare=$(median <"$work/bare.ms")
empty=$(median <"$work/empty.ms")
large=$(median <"$work/large.ms")
load_empty=$(median <"$work/load-empty.ms")
load_large=$(median <"$work/load-large.ms")
echo "start to the first painted welcome frame, median of $runs runs under Xvfb:"
awk -v bare="$bare" -v empty="$empty" -v large="$large" -v le="$load_empty" -v ll="$load_large" 'BEGIN {
    printf "  bare GTK window (baseline)        %8.1f ms\n", bare
    printf "  Mernolex, empty database          %8.1f ms   ratio %.2f (goal 1.5: %s)\n", empty, empty / bare, (empty / bare <= 1.5 ? "met" : "NOT met")
    printf "  Mernolex, 100,000 words           %8.1f ms   ratio %.2f\n", large, large / bare
    printf "  loadDatabase alone, empty / large %8.1f / %.1f ms\n", le, ll
    extra = (large - ll) - (empty - le)
    printf "  start-up beyond the load, large minus empty: %.1f ms (goal at most 50: %s)\n", extra, (extra <= 50 ? "met" : "NOT met")
}'
