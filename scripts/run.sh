#!/usr/bin/env bash
# Builds Mernolex in release mode and starts it; the arguments go to the program (--data DIR,
# --help, --version). Its data lives in the current directory when that holds Data/, otherwise in
# the user's data directory (~/.local/share/mernolex), or in DIR with --data. Installs the needed
# Debian packages first (as root, idempotently).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMERNOLEX_TESTS=OFF >/dev/null
cmake --build "$build"
exec "$build/src/mernolex" "$@"
