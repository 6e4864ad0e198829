#!/usr/bin/env bash
# wobblet.exe in a window under Wine, on Xvfb with openbox: the window titled
# "Wobblet" has an 800 x 600 client area showing exactly one of the frames
# wobblet-capture.exe writes; the loop runs at 60 +- 1 frames/s; openbox's
# close ends it with status 0; with no display or no Direct3D it
# names the failure and exits 1; with a device lost for 1.5 s and then reset
# (as locking the desktop does), the first three resets failing as a device
# lost again does, it shows the captured frames again and the close ends it
# with status 0.
# Usage: wine_smoke_test.sh WOBBLET_EXE WOBBLET_CAPTURE_EXE PACE_PROBE_EXE PREFIX LOST_DEVICE_PROBE_EXE
# PREFIX is a Wine prefix of the test's own, made on first use: the test ends
# every Wine process of it when done.
set -u
root="$(cd "$(dirname "$0")/../../.." && pwd)"
source "$root/scripts/lib/x-session.sh"
source "$root/tests/wobblet/wine-prefix.sh"
wobblet=$1
capture=$2
probe=$3
prefix=$4
lost_probe=$5
exact_frame="$root/tests/wobblet/exact-frame.sh"
grab="$root/tests/wobblet/x-window-grab.py"

require_tools wine wineserver wineboot Xvfb openbox xdotool xwininfo xprop import convert identify python3 timeout

tmp=$(mktemp -d)
pids=()
cleanup() {
    end_wine_processes
    end_x_session_processes
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

use_wine_prefix "$prefix"

# 1. No display at all. Wine's desktop process keeps the display it started
# with, so it is ended before the virtual display comes.
env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 wine "$wobblet" >"$tmp/out" 2>"$tmp/err"
status=$?
end_wine_processes
[ "$status" -eq 1 ] || fail "without a display wobblet.exe exited with $status, not 1"
grep -q "wobblet: LoadScreenSystem failed" "$tmp/err" \
    || fail "without a display wobblet.exe did not say why: $(cat "$tmp/err")"
echo "no display: status 1, \"$(grep LoadScreenSystem "$tmp/err")\""

start_x_session "$tmp"

# 2. No Direct3D: d3d9.dll cannot be loaded.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;d3d9=" timeout 60 wine "$wobblet" >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 1 ] || fail "without Direct3D wobblet.exe exited with $status, not 1"
grep -q "wobblet: LoadScreenSystem failed" "$tmp/err" \
    || fail "without Direct3D wobblet.exe did not say why: $(cat "$tmp/err")"
echo "no Direct3D: status 1, \"$(grep LoadScreenSystem "$tmp/err")\""

# The frames the window may show, drawn by the Windows build itself.
timeout 120 wine "$capture" --frames 375 --out "Z:$tmp/capture" >/dev/null 2>"$tmp/err" \
    || fail "wobblet-capture.exe failed: $(cat "$tmp/err")"

# 3. The window.
wine "$wobblet" >"$tmp/wobblet.out" 2>"$tmp/wobblet.err" &
wobblet_pid=$!
pids+=($wobblet_pid)
window=$(find_window 60 --name '^Wobblet$')
[ -n "$window" ] || fail "no window titled Wobblet appeared"
geometry=$(xwininfo -id "$window")
echo "$geometry" | grep -q "Width: 800" || fail "client area is not 800 wide: $geometry"
echo "$geometry" | grep -q "Height: 600" || fail "client area is not 600 high: $geometry"
echo "window: \"Wobblet\", client area 800x600"

# Which X window holds the presented picture. On Windows it is part of the
# top-level window. Wine (8, on Xvfb) keeps Direct3D output of a child window
# in an off-screen X window of the child's size, redirected by the composite
# extension, and does not copy it into the top-level window, which stays
# black there; that X window holds exactly what was presented, so it is read
# instead, and the test says so.
matching_frame() {
    local shot=$1 found
    found=$("$exact_frame" "$shot" "$tmp/capture" 16 375 2>"$tmp/exact.err")
    case $? in
        0) echo "$found" ;;
        1) ;;
        *) fail "$(cat "$tmp/exact.err")" ;;
    esac
}
# Sets matched to the captured frame the window shows, trying a few times.
find_shown_frame() {
    local window=$1 attempt child
    matched=""
    for attempt in $(seq 5); do
        import -window "$window" "$tmp/shot.png" 2>/dev/null || fail "no screenshot"
        matched=$(matching_frame "$tmp/shot.png")
        if [ -n "$matched" ]; then
            echo "screenshot of the client area equals captured $matched"
            return
        fi
        for child in $(xwininfo -root -tree | awk '/\(has no name\): \(\)  800x600\+0\+0/ { print $1 }'); do
            "$grab" "$child" "$tmp/child.ppm" 2>/dev/null || continue
            matched=$(matching_frame "$tmp/child.ppm")
            if [ -n "$matched" ]; then
                echo "the top-level window's picture is not the presented one (Wine shows none of" \
                    "a child window's Direct3D output there); the child's X window $child equals" \
                    "captured $matched"
                return
            fi
        done
        sleep 0.2
    done
    cp "$tmp/shot.png" "${TMPDIR:-/tmp}/wobblet-wine-smoke-shot.png"
    fail "no picture of the window equals a captured frame (the last screenshot:" \
        "${TMPDIR:-/tmp}/wobblet-wine-smoke-shot.png)"
}
sleep 2
find_shown_frame "$window"

# 4. Close through the window manager: openbox sends WM_DELETE_WINDOW, which
# Wine turns into the close message.
close_by_window_manager "$window" "$wobblet_pid" ||
    fail "wobblet.exe did not end after the window manager's close"
[ "$status" -eq 0 ] || fail "wobblet.exe exited with $status after close: $(cat "$tmp/wobblet.err")"
echo "closed by the window manager: status 0"

# 4b. The device lost for 1.5 s from the first presentation, then asking for
# a reset, which fails three times as lost before it works: the loop goes on
# meanwhile, and after the reset the window shows the frames again, one that
# moves on, and the close ends it with status 0.
wine "$lost_probe" >"$tmp/lost.out" 2>"$tmp/lost.err" &
lost_pid=$!
pids+=($lost_pid)
window=$(find_window 60 --name '^Wobblet$')
[ -n "$window" ] || fail "no window titled Wobblet appeared for the lost device"
sleep 3
find_shown_frame "$window"
first=$matched
sleep 0.5
find_shown_frame "$window"
[ "$matched" != "$first" ] || fail "after the reset the window stays at $first"
close_by_window_manager "$window" "$lost_pid" ||
    fail "wobblet.exe with a lost device did not end after the window manager's close"
[ "$status" -eq 0 ] || fail "wobblet.exe with a lost device exited with $status: $(cat "$tmp/lost.err")"
line=$(tr -d '\r' <"$tmp/lost.err" | grep '^lost answers ')
echo "lost device: $line; shown again after the reset, closed with status 0"
[[ "$line" =~ ^lost\ answers\ ([0-9]+)\ over\ ([0-9]+)\ ms,\ resets\ 4,\ 3\ of\ them\ failed$ ]] ||
    fail "the device was not reset once after three failed resets: $(cat "$tmp/lost.err")"
# A test a millisecond at most while waiting: the wait does not spin.
[ "${BASH_REMATCH[1]}" -le $((BASH_REMATCH[2] + 100)) ] ||
    fail "the lost device was tested ${BASH_REMATCH[1]} times in ${BASH_REMATCH[2]} ms: a spin"

# 5. Pacing over 10 s. Presenting returns at once under Wine, so the frame
# pacer holds the loop to the display's 60 Hz: never faster. Wine's software
# Direct3D (Mesa's llvmpipe) spends much of a period's processor time
# presenting a frame drawn through GDI; on a busy 2-core machine a frame can
# cost more than the period, and then a lower rate is that cost, not the
# pacer's. Below 59 frames/s the test fails only when a frame cost less
# than 80 % of a period: then the pacer slept too long.
# The machine's idle share over the run, from the kernel's counts: a
# machine with no core to spare lets no pacer keep its rate.
idle_and_total() { awk '/^cpu / { print $5 + $6, $2 + $3 + $4 + $5 + $6 + $7 + $8 + $9 }' /proc/stat; }
read -r idle_before total_before < <(idle_and_total)
line=$(timeout 60 wine "$probe" 10 2>"$tmp/probe.err") || fail "pace probe failed: $(cat "$tmp/probe.err")"
read -r idle_after total_after < <(idle_and_total)
idle=$(awk -v i=$((idle_after - idle_before)) -v t=$((total_after - total_before)) \
    'BEGIN { printf "%.0f", (t > 0 ? 100 * i / t : 100) }')
echo "pacing: $line; the machine was ${idle} % idle"
fps=$(echo "$line" | sed -n 's/.* fps \([0-9.]*\) .*/\1/p')
cpu=$(echo "$line" | sed -n 's/.* cpu \([0-9.]*\)%.*/\1/p')
[ -n "$fps" ] && [ -n "$cpu" ] || fail "no frame rate or CPU in \"$line\""
awk -v f="$fps" 'BEGIN { exit !(f <= 61) }' || fail "frame rate $fps is above 61: the loop is not paced"
frame_ms=$(awk -v f="$fps" -v c="$cpu" 'BEGIN { printf "%.1f", (f > 0 ? 10 * c / f : 0) }')
if ! awk -v f="$fps" 'BEGIN { exit !(f >= 59) }'; then
    if [ "$idle" -lt 10 ]; then
        echo "frame rate $fps: below 60 on a machine with no core to spare (${idle} % idle); not the pacer's to judge"
        echo "wine smoke: ok"
        exit 0
    fi
    awk -v m="$frame_ms" 'BEGIN { exit !(m >= 0.8 * 1000 / 60) }' \
        || fail "frame rate $fps is below 59 though a frame took only $frame_ms ms of processor time"
    echo "frame rate $fps: below 60 because a frame takes $frame_ms ms of processor time under Wine"
fi
echo "wine smoke: ok"
