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
cmake --build "$build" --target gtk_probe >/dev/null
probe="$build/tests/gtk_probe"

work=$(mktemp -d "${TMPDIR:-/tmp}/mernolex-bench.XXXXXX")
xvfb=""
cleanup() {
    [[ -n $xvfb ]] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
    rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 500); do grep -q '^[0-9]' "$work/display" && break; sleep 0.01; done
export DISPLAY=":$(head -n 1 "$work/display")" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 GDK_BACKEND=x11
cd "$work"

# Milliseconds from just before the process starts to the first paint it reports.
once() {
    local start line
    start=$EPOCHREALTIME
    line=$("$probe" "$@" </dev/null | grep '^first-paint ') || { echo "no first paint" >&2; exit 1; }
    awk -v a="$start" -v b="${line#first-paint }" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

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
