#!/usr/bin/env bash
# wobblet in a real window: under Xvfb with openbox as window manager, its
# 800 x 600 client area must equal one of the frames wobblet-capture writes,
# pixel for pixel, the window manager's close (WM_DELETE_WINDOW) must end
# it with status 0, and the loop must be paced near the refresh rate. Without
# a display it must exit 1 and say why.
# Usage: smoke_test.sh WOBBLET WOBBLET_CAPTURE WOBBLET_PACE_PROBE
set -u
source "$(cd "$(dirname "$0")/../../.." && pwd)/scripts/lib/x-session.sh"
wobblet="$1"
capture="$2"
probe="$3"
exact_frame="$(cd "$(dirname "$0")/.." && pwd)/exact-frame.sh"

require_tools Xvfb openbox xdotool xwininfo xprop import convert identify timeout

tmp=$(mktemp -d)
pids=()
cleanup() {
    end_x_session_processes
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# 1. No display at all.
env -u DISPLAY -u WAYLAND_DISPLAY timeout 30 "$wobblet" >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 1 ] || fail "without a display wobblet exited with $status, not 1"
grep -q "wobblet: LoadScreenSystem failed" "$tmp/err" \
    || fail "without a display wobblet did not say why: $(cat "$tmp/err")"
echo "no display: status 1, \"$(grep LoadScreenSystem "$tmp/err")\""

# 2. A virtual display on a free number, and a window manager on it.
start_x_session "$tmp"

# The frames the window may show.
"$capture" --frames 375 --out "$tmp/capture" >/dev/null || fail "wobblet-capture failed"

# 3. The window.
"$wobblet" >"$tmp/wobblet.out" 2>"$tmp/wobblet.err" &
wobblet_pid=$!
pids+=($wobblet_pid)
window=$(find_window 20 --name '^Wobblet$')
[ -n "$window" ] || fail "no window titled Wobblet appeared"
geometry=$(xwininfo -id "$window")
echo "$geometry" | grep -q "Width: 800" || fail "client area is not 800 wide: $geometry"
echo "$geometry" | grep -q "Height: 600" || fail "client area is not 600 high: $geometry"

# Every moment of a correct run shows one of the captured frames exactly.
# The window is looked at six times over three seconds, and every look must
# match: an update lost on the way to the display (a stale strip, a line left
# behind) stays on the screen and matches no frame. A grab may fall between
# the rectangles of one presentation, so each look may take three grabs.
sleep 1
looks=()
for look in $(seq 6); do
    matched=""
    for grab in 1 2 3; do
        import -window "$window" "$tmp/shot.png" 2>/dev/null || fail "no screenshot"
        size=$(convert "$tmp/shot.png" -format '%wx%h' info:)
        [ "$size" = "800x600" ] || fail "screenshot is $size"
        matched=$("$exact_frame" "$tmp/shot.png" "$tmp/capture" 16 375 2>"$tmp/exact.err")
        found=$?
        [ "$found" -eq 0 ] && break
        [ "$found" -eq 1 ] || fail "$(cat "$tmp/exact.err")"
        matched=""
    done
    if [ -z "$matched" ]; then
        cp "$tmp/shot.png" "${TMPDIR:-/tmp}/wobblet-smoke-shot.png"
        fail "look $look: no screenshot equals a captured frame (the last: ${TMPDIR:-/tmp}/wobblet-smoke-shot.png)"
    fi
    looks+=("${matched#frame }")
    sleep 0.5
done
echo "window: 800x600, the client area equals captured frames ${looks[*]} (six looks over 3 s)"

# 4. Close through the window manager: openbox's Alt+F4 sends WM_DELETE_WINDOW.
close_by_window_manager "$window" "$wobblet_pid" ||
    fail "wobblet did not end after the window manager's close"
[ "$status" -eq 0 ] || fail "wobblet exited with $status after close: $(cat "$tmp/wobblet.err")"
echo "closed by the window manager: status 0"

# 5. Pacing: near the refresh rate (60 Hz when the display reports none).
line=$(timeout 60 "$probe" 3) || fail "pace probe failed"
echo "pacing: $line"
fps=$(echo "$line" | sed -n 's/.* fps \([0-9]*\)\..*/\1/p')
[ -n "$fps" ] && [ "$fps" -ge 20 ] && [ "$fps" -le 90 ] || fail "frame rate $fps is not paced"
echo "smoke: ok"
