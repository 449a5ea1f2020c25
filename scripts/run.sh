#!/usr/bin/env bash
# Builds Mernolex in release mode and starts it in the current working directory (its data lives
# in ./Data). Installs the needed Debian packages first (as root, idempotently).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMERNOLEX_TESTS=OFF >/dev/null
cmake --build "$build"
exec "$build/src/mernolex" "$@"
