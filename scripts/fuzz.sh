#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for a while:
#   ./scripts/fuzz.sh [seconds per target] [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
seconds=${1:-60}; shift || true

build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMERNOLEX_TESTS=OFF -DMERNOLEX_LIBFUZZER=ON -DMERNOLEX_SANITIZE=ON >/dev/null
cmake --build "$build"

cd "$build/fuzz"
if (($# == 0)); then
  set -- $(ls fuzz_* | sed 's/^fuzz_//')
fi
for name in "$@"; do
  corpus="$root/fuzz/corpus/$name"
  mkdir -p "$corpus"
  echo "== $name ($seconds s)"
  "./fuzz_$name" -max_total_time="$seconds" "$corpus"
done
