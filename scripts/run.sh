#!/usr/bin/env bash
# Builds Mernolex in release mode and starts it in the current working directory (its data lives
# in ./Data). Installs the needed Debian packages first (as root, idempotently).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMERNOLEX_TESTS=OFF >/dev/null
cmake --build "$build"

if [[ ! -x "$build/src/mernolex" ]]; then
  echo "Mernolex cannot start yet: the program's start-up has not been built. The libraries built fine."
  exit 1
fi
exec "$build/src/mernolex" "$@"
