#!/usr/bin/env bash
# velmora through SDL's Wayland driver, under weston (its x11 backend and
# pixman, nested in a private Xvfb): the window shows exactly the frames the
# capture tool makes (the still outline after s and w is found among them,
# then the picture itself), the keys work, and q and the close box each end
# it with status 0.
# Usage: wayland_smoke_test.sh VELMORA VELMORA_CAPTURE
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/lib/wayland-session.sh"
source "$here/../key-checks.sh"
source "$here/page-faults.sh"
velmora="$1"
capture="$2"

require_tools Xvfb weston xdotool python3 timeout
require_tools /usr/bin/import /usr/bin/convert /usr/bin/compare
convert=/usr/bin/convert

start_smoke_scratch
on_weston() { DISPLAY=$weston_x_display "$@"; }

start_wayland_session "$tmp"
# weston draws its pointer over the desktop: kept in a corner, left out of
# every look for the window.
# Moves the pointer into the desktop's bottom right corner. weston's x11
# backend moves its pointer by the difference between X's motion events, so
# it may lag behind X's; the long move from 0,0 pins it in the corner, and
# from there on both agree. (The looks for the window leave out the lines of
# a pointer that is still elsewhere.)
park_pointer() {
    on_weston xdotool mousemove 0 0
    sleep 0.1
    on_weston xdotool mousemove 1023 767
    sleep 0.1
}
park_pointer

# Starts velmora and sets pid, and cx cy: where weston put the client area
# (wayland_client_area).
launch() {
    "$velmora" >"$tmp/velmora.out" 2>"$tmp/velmora.err" &
    pid=$!
    pids+=($pid)
    wayland_client_area "$tmp/desktop" && return 0
    kill -0 "$pid" 2>/dev/null || fail "velmora ended at once: $(cat "$tmp/velmora.err")"
    fail "no 300x200 client area appeared: $(cat "$tmp/velmora.err")"
}
shoot() {
    wayland_screenshot "$tmp/desktop.png" || fail "no screenshot"
    $convert "$tmp/desktop.png" -crop "300x200+$cx+$cy" +repage "$tmp/$1.png"
}
type_keys() {
    on_weston xdotool type --delay 40 "$1"
    sleep 0.3
}
# Waits up to 3 s for velmora to end; its status in status.
ends() { wait_for_end "$pid" 3; }

launch
echo "window: client area 300x200 at $cx,$cy"
# weston gives the keyboard to a window on a click.
on_weston xdotool mousemove $((cx + 150)) $((cy + 195))
sleep 0.2
on_weston xdotool click 1
park_pointer

# s and w in one go, so that both land before the same tick: the cube stands
# still where the capture stands at that tick while its colours move on.
on_weston xdotool type --delay 1 "sw"
sleep 0.5
shoot still_a
sleep 0.3
shoot still_b
moved=$(outline_moved still_a still_b)
[ "$moved" -eq 0 ] || fail "after s and w the outline still moves ($moved pixels)"

# The ticks s and w came before: near the capture's tick with the closest
# outline, both before one tick or on either side of one.
"$capture" --ticks 500 --out "$tmp/free" >/dev/null || fail "velmora-capture failed"
$convert "$tmp"/free/frame_*.png -fill white +opaque black -colorspace gray -depth 8 \
    "pgm:$tmp/free.pgm"
$convert "$tmp/still_b.png" -fill white +opaque black -colorspace gray -depth 8 "pgm:$tmp/still.pgm"
read -r index off <<<"$(python3 "$here/match-frame.py" "$tmp/still.pgm" "$tmp/free.pgm")"
near=$((index + 1))
keys=""
for t in $((near - 1)) $near $((near + 1)); do
    for candidate in "$t:sw" "$t:s,$((t + 1)):w" "$t:w,$((t + 1)):s"; do
        "$capture" --ticks $((t + 2)) --keys "$candidate" --out "$tmp/try" >/dev/null ||
            fail "velmora-capture failed"
        $convert "$tmp/try/frame_$(printf %04d $((t + 2))).png" -fill white +opaque black \
            -colorspace gray -depth 8 "pgm:$tmp/try.pgm"
        read -r _ off <<<"$(python3 "$here/match-frame.py" "$tmp/still.pgm" "$tmp/try.pgm")"
        if [ "$off" -eq 0 ]; then
            keys=$candidate
            break 2
        fi
    done
done
[ -n "$keys" ] || fail "the still outline is no captured one (nearest: tick $near)"
# The picture itself: with those keys the capture gives, some ticks later,
# exactly the window's picture.
frozen=$((t + 2))
"$capture" --ticks $((frozen + 200)) --keys "$keys" --out "$tmp/still" >/dev/null ||
    fail "velmora-capture failed"
$convert $(seq -f "$tmp/still/frame_%04g.png" "$frozen" $((frozen + 200))) -depth 8 "ppm:$tmp/still.ppm"
# Eight bits a sample whatever the picture holds: a tool that writes fewer
# for a picture of few colours may round them away.
$convert "$tmp/still_b.png" -depth 8 "ppm:$tmp/shot.ppm"
read -r index off <<<"$(python3 "$here/match-frame.py" "$tmp/shot.ppm" "$tmp/still.ppm")"
[ "$off" -eq 0 ] ||
    fail "the window's picture is no captured frame (closest: tick $((frozen + index)), $off bytes off)"
echo "picture: keys $keys; the window shows tick $((frozen + index)) exactly"
check_steady_memory "$pid"
echo "memory: $faults pages faulted in over 2 s of ticks"

area=$(lit "$tmp/still_b.png")
check_zoom_and_tumble "$area"
echo "keys: < x3 $area -> $grown, > x3 -> $back, g tumbles ($tumbled px)"

type_keys q
ends || fail "q did not end velmora within 3 s"
[ "$status" -eq 0 ] || fail "q: status $status: $(cat "$tmp/velmora.err")"
echo "q: status 0"

# The close box, at the right end of the title bar above the client area;
# the first click may only give the window the focus.
launch
status=""
for _ in 1 2 3; do
    on_weston xdotool mousemove $((cx + 284)) $((cy - 12))
    sleep 0.2
    on_weston xdotool click 1
    ends && break
done
[ -n "$status" ] || fail "the close box did not end velmora"
[ "$status" -eq 0 ] || fail "close box: status $status: $(cat "$tmp/velmora.err")"
echo "close box: status 0"
echo "wayland smoke: ok"
