#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them (all, or those named: ./scripts/bench.sh db_avltree).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMERNOLEX_TESTS=OFF -DMERNOLEX_BENCH=ON >/dev/null
cmake --build "$build"

cd "$build/bench"
if (($# == 0)); then
  set -- $(ls bench_* | sed 's/^bench_//')
fi
for name in "$@"; do
  echo "== $name"
  "./bench_$name"
done
