#!/usr/bin/env bash
# Makes the README's screenshots again: the real screens, drawn by the headless window from a
# small German-English vocabulary (scripts/screenshots/ReadmeScreenshots.cpp), written to
# docs/screenshots/ and reduced to 64 colours so that they stay small in the repository.
# Builds in the test configuration (build/test, as scripts/test.sh does). Installs the needed
# Debian packages first (as root, idempotently).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DMERNOLEX_SANITIZE=ON -DMERNOLEX_WERROR=ON -DMERNOLEX_BENCH=ON >/dev/null
cmake --build "$build" --target readme_screenshots

out="$root/docs/screenshots"
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/mernolex-screenshots.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && MERNOLEX_SCREENSHOTS="$work" "$build/tests/readme-screenshots/readme_screenshots")
for picture in "$work"/*.png; do
    convert "$picture" -strip -colors 64 "PNG8:$out/$(basename "$picture")"
    echo "$out/$(basename "$picture")"
done
