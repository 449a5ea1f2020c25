#!/usr/bin/env bash
# Start-up time of the real window: from process start to its first painted frame, under Xvfb,
# as the median of several runs (default 15). The same number is measured for a bare GTK
# window (GTK alone, the same size, one cairo fill) in the same runs, taken in turns, so the
# cost of the program's own platform layer shows as the ratio between the two.
#
#   ./bench/gtk_startup.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
"$root/scripts/setup.sh"

build="$root/build/bench-gtk"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMERNOLEX_TESTS=ON >/dev/null
cmake --build "$build" -j 2 --target gtk_probe >/dev/null
probe="$build/tests/gtk_probe"

source "$root/bench/startup_timing.bash"
bench_begin
cd "$work"
once() { first_paint_ms "$work" "$probe" "$@"; }

once --bare >/dev/null   # warm the caches (fonts, icon theme) for both
once --first-paint >/dev/null
: >"$work/bare"
: >"$work/window"
for _ in $(seq "$runs"); do
    once --bare >>"$work/bare"
    once --first-paint >>"$work/window"
done
bare=$(median <"$work/bare")
window=$(median <"$work/window")
echo "start to first paint, median of $runs runs under Xvfb:"
echo "  bare GTK window (baseline)   $bare ms"
echo "  Mernolex window              $window ms"
awk -v w="$window" -v b="$bare" 'BEGIN { printf "  ratio to the baseline        %.2f\n  goal                         under 200 ms: %s\n", w / b, (w < 200 ? "met" : "NOT met") }'
