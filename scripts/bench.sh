#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them: every bench/<name>.cpp program and every
# bench/<name>.sh script, or only those named (./scripts/bench.sh db_avltree gtk_startup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMERNOLEX_TESTS=OFF -DMERNOLEX_BENCH=ON >/dev/null
cmake --build "$build"

if (($# == 0)); then
  set -- $(cd "$build/bench" && ls bench_* | sed 's/^bench_//') \
         $(cd "$root/bench" && ls *.sh 2>/dev/null | sed 's/\.sh$//')
fi
for name in "$@"; do
  echo "== $name"
  if [[ -x "$build/bench/bench_$name" ]]; then
    (cd "$build/bench" && "./bench_$name")
  elif [[ -f "$root/bench/$name.sh" ]]; then
    bash "$root/bench/$name.sh"
  else
    echo "no benchmark named $name" >&2
    exit 1
  fi
done
