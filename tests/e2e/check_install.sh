#!/usr/bin/env bash
# cmake --install puts the program where the desktop finds it. Installed to a temporary prefix
# whose path holds characters a launcher treats specially (a space, $, ", parentheses): the
# program is there and runs; the desktop entry validates (desktop-file-validate), names the
# installed program in TryExec and Exec, and GLib's launcher, which desktops use, starts exactly
# that program from it; the icon it names is installed, and so is the sample collection, which the
# installed program reads. Installed again with DESTDIR (as a package is built), the files go
# below DESTDIR while the entry names the final path.
#
#   check_install.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/mernolex-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

# The value of key $2 in desktop entry $1, with the key file's escapes undone.
value_of() {
    local line
    line=$(grep -m 1 "^$2=" "$1") || fail "no $2 in the desktop entry"
    line=${line#*=}
    printf '%s' "${line//\\\\/\\}"
}

# Checks the entry installed below root $1 for the final prefix $2.
check_entry() {
    local root=$1 prefix=$2 entry program
    entry=$root$prefix/share/applications/mernolex.desktop
    program=$prefix/bin/mernolex
    [[ -f $entry ]] || fail "no desktop entry at $entry"
    [[ -x $root$program ]] || fail "no program at $root$program"
    [[ -f $root$prefix/share/icons/hicolor/scalable/apps/$(value_of "$entry" Icon).svg ]] ||
        fail "the icon the entry names is not installed"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$entry" || fail "the desktop entry does not validate"
    else
        echo "note: desktop-file-validate is not installed (./scripts/setup.sh installs it)"
    fi
    [[ $(value_of "$entry" Type) == Application ]] || fail "the entry is no application"
    [[ $(value_of "$entry" TryExec) == "$program" ]] || fail "TryExec does not name $program"
    local exec
    exec=$(value_of "$entry" Exec)
    [[ $exec == "$program" || $exec == "\"$(sed 's/[\\"`$]/\\&/g' <<<"$program")\"" ]] ||
        fail "Exec does not name $program: $exec"
}

prefix="$work/a \$home \"quoted\" (prefix)/usr"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install: $(cat "$work/install.log")"
check_entry "" "$prefix"
"$prefix/bin/mernolex" --version | grep -Eq '^mernolex [0-9.]+$' || fail "the installed program does not run"
# The sample collection lies beside the installed program's data, and the program imports it.
sample="$prefix/share/mernolex/german-english.kvtml"
[[ -f $sample ]] || fail "the sample collection is not installed"
"$prefix/bin/mernolex" --data "$work/collection" import "$sample" --dry-run >"$work/sample.log" ||
    fail "the installed program does not read the sample: $(cat "$work/sample.log")"

# The launcher of the desktop starts the installed program (which, without a display, says so).
if command -v gio >/dev/null; then
    env -u DISPLAY -u WAYLAND_DISPLAY gio launch "$prefix/share/applications/mernolex.desktop" \
        2>"$work/launched.err" </dev/null || fail "gio could not launch the entry: $(cat "$work/launched.err")"
    for _ in $(seq 1000); do
        grep -q '^mernolex: cannot open a display' "$work/launched.err" && break
        sleep 0.02
    done
    grep -q '^mernolex: cannot open a display' "$work/launched.err" ||
        fail "the launched entry did not start the program: $(cat "$work/launched.err")"
else
    echo "note: gio is not installed (./scripts/setup.sh installs it); the entry was not launched"
fi

DESTDIR="$work/stage" cmake --install "$build" --prefix /opt/mernolex >"$work/install.log" ||
    fail "cmake --install with DESTDIR: $(cat "$work/install.log")"
check_entry "$work/stage" /opt/mernolex
echo "PASSED"
