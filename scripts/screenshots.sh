#!/usr/bin/env bash
# Makes the README's screenshots again: the real screens, drawn by the headless window from a
# small German-English vocabulary (scripts/screenshots/ReadmeScreenshots.cpp), written to
# docs/screenshots/ and reduced to 64 colours so that they stay small in the repository.
# The tool is built in the test configuration by scripts/test.sh, which also checks that the
# screens still show what the pictures promise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/test.sh" -L readme

out="$root/docs/screenshots"
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/mernolex-screenshots.XXXXXX")
trap 'rm -rf "$work"' EXIT
if ! (cd "$work" && MERNOLEX_SCREENSHOTS="$work" "$root/build/test/tests/readme-screenshots/readme_screenshots" \
    >"$work/log" 2>&1); then
    cat "$work/log" >&2
    exit 1
fi
for picture in "$work"/*.png; do
    convert "$picture" -strip -colors 64 "PNG8:$out/$(basename "$picture")"
    echo "$out/$(basename "$picture")"
done
