#!/usr/bin/env bash
# The Windows build draws the same pictures as the Linux build: 400 frames of
# wobblet-capture.exe under Wine and of the Linux wobblet-capture, and the
# decoded background, compared file by file, byte for byte.
# Usage: same_pictures_test.sh WINE_RUN WOBBLET_CAPTURE_EXE LINUX_WOBBLET_CAPTURE
set -u
wine_run=$1
capture_exe=$2
capture_linux=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ ! -x "$capture_linux" ]; then
    echo "SKIP: no Linux wobblet-capture at $capture_linux (build the default preset first)"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$capture_linux" --frames 400 --out "$tmp/linux" >/dev/null || fail "the Linux capture failed"
# Wine's drive Z: is the Unix root.
"$wine_run" "$capture_exe" --frames 400 --out "Z:$tmp/windows" >"$tmp/out" 2>"$tmp/err" \
    || fail "wobblet-capture.exe failed: $(cat "$tmp/err")"
count=$(find "$tmp/windows" -name '*.png' | wc -l)
[ "$count" -eq 401 ] || fail "wobblet-capture.exe wrote $count pictures, not 400 frames and the background"
differing=$(diff -rq "$tmp/linux" "$tmp/windows") || fail "pictures differ: $differing"
echo "400 frames and the background: the same bytes from both builds"
