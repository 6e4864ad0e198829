#!/usr/bin/env bash
# cmake --install into a temporary prefix, moved elsewhere afterwards: the
# installed capture tools print the project's version and, with the source
# and build folders hidden, write the same frames as the build's own; the
# desktop entries and metainfo validate; the installed programs open windows
# whose class is their desktop entry's StartupWMClass.
# Usage: install_test.sh SOURCE_DIR BUILD_DIR VERSION
set -u
source_dir=$1
build=$2
version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
. "$source_dir/scripts/lib/x-session.sh"
require_tools unshare desktop-file-validate appstreamcli Xvfb openbox xdotool xprop
pids=()
tmp=$(mktemp -d)
trap 'end_x_session_processes; rm -rf "$tmp"' EXIT

cmake --install "$build" --prefix "$tmp/first" --strip >"$tmp/install.log" \
    || fail "cmake --install failed: $(cat "$tmp/install.log")"
mv "$tmp/first" "$tmp/moved"
prefix=$tmp/moved
found=$(grep -rlF "$build" "$prefix") && fail "installed files name the build folder: $found"

for tool in velmora-capture wobblet-capture; do
    said=$("$prefix/bin/$tool" --version) || fail "$tool --version failed"
    [ "$said" = "$tool $version" ] || fail "$tool --version says \"$said\", not \"$tool $version\""
done

capture() {  # BIN OUT
    "$1/velmora-capture" --ticks 60 --every 20 --keys '10:g,30:+' --out "$2/velmora" &&
        "$1/wobblet-capture" --frames 60 --every 20 --out "$2/wobblet"
}
capture "$build/bin" "$tmp/built" >/dev/null || fail "the build's capture tools failed"
# An empty file system over the source folder (the build folder inside it
# too), seen only by the installed tools. Where no mount namespace may be
# made (some containers), they run in plain sight; the search for the build
# folder's name above still holds.
export -f capture
if unshare --map-root-user --mount true 2>/dev/null; then
    unshare --map-root-user --mount bash -c \
        'mount -t tmpfs none "$1" && [ -z "$(ls -A "$1")" ] && capture "$2/bin" "$3"' \
        hide "$source_dir" "$prefix" "$tmp/installed" >"$tmp/hidden.log" 2>&1 \
        || fail "the installed capture tools failed with the source folder hidden: $(cat "$tmp/hidden.log")"
    hidden="with the source folder hidden"
else
    capture "$prefix/bin" "$tmp/installed" >/dev/null || fail "the installed capture tools failed"
    hidden="(no mount namespace here: the source folder stayed in sight)"
fi
count=$(find "$tmp/installed" -name '*.png' | wc -l)
[ "$count" -eq 7 ] || fail "the installed tools wrote $count pictures, not 3 + 3 frames and the background"
differing=$(diff -rq "$tmp/built" "$tmp/installed") || fail "pictures differ: $differing"

desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml >"$tmp/as.log" 2>&1 \
    || fail "appstreamcli validate: $(cat "$tmp/as.log")"

start_x_session "$tmp"
for program in velmora wobblet; do
    "$prefix/bin/$program" 2>"$tmp/$program.err" &
    pids+=($!)
    window=$(find_window 20 --onlyvisible --pid "${pids[-1]}")
    [ -n "$window" ] || fail "the installed $program opened no window: $(cat "$tmp/$program.err")"
    class=$(xprop -id "$window" WM_CLASS | sed -E 's/^[^"]*"[^"]*", "(.*)"$/\1/')
    wanted=$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/$program.desktop")
    [ "$class" = "$wanted" ] || fail "$program's window class is \"$class\", its desktop entry says \"$wanted\""
done
echo "installed and moved; the build's frames $hidden; entries valid; window classes match"
