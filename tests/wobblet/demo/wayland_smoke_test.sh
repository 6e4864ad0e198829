#!/usr/bin/env bash
# wobblet on a Wayland desktop, through SDL's Wayland driver: under weston
# (nested in a private Xvfb), its 800 x 600 client area must equal one of
# the frames wobblet-capture writes, pixel for pixel, at every look over a
# few seconds, the close box must end it with status 0, and the loop must be
# paced near the refresh rate. When the compositor goes away, wobblet must
# say so and exit 1. The window is that of the pool probe, wobblet whose
# pool of shared memory cannot be made for its first two seconds: it says so
# once, tries again about once a display period at no more processor time
# than showing frames costs, then shows the frames, and the close box ends it
# with 0. Last, under a weston that goes to sleep after two seconds without
# input and then calls for no frames: woken, it shows wobblet's frames going
# on; asleep again, a close the compositor passes on (CLOSE_PROBE's, on
# SIGUSR1) ends wobblet within two seconds with 0.
# Usage: wayland_smoke_test.sh WOBBLET WOBBLET_CAPTURE WOBBLET_PACE_PROBE POOL_PROBE CLOSE_PROBE
set -u
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/../../scripts/lib/wayland-session.sh"
source "$here/window-looks.sh"
wobblet="$1"
capture="$2"
probe="$3"
pool_probe="$4"
close_probe="$5"

require_tools Xvfb weston xdotool import convert identify python3 timeout

start_smoke_scratch
on_weston() { DISPLAY=$weston_x_display "$@"; }
# Puts weston's pointer at X Y. weston follows the X pointer's motion, and a
# single jump is sometimes lost on the way: through both corners, the last
# step from a place it cannot miss (pushed into the corner).
point_at() {
    on_weston xdotool mousemove 1023 767 sleep 0.2 mousemove 0 0 sleep 0.2 mousemove "$1" "$2" sleep 0.3
}

start_wayland_session "$tmp"
"$capture" --frames 375 --out "$tmp/capture" >/dev/null || fail "wobblet-capture failed"
convert "$tmp/capture/frame_0016.png" "PPM:$tmp/reference.ppm" || fail "cannot read a captured frame"

"$pool_probe" >"$tmp/wobblet.out" 2>"$tmp/wobblet.err" &
wobblet_pid=$!
pids+=($wobblet_pid)

# weston puts a new window where it likes: find_area PID [BEFORE_LOOK]
# finds PID's client area by the bottom row every frame shares, running
# BEFORE_LOOK before each look, and sets left and top. weston draws its
# pointer over whatever lies under it: away_x and away_y are a place out of
# the client area, above the window or below it, and the pointer is put
# there.
find_area() {
    local pid=$1 before=${2:-true} area=""
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || fail "wobblet ended at once: $(cat "$tmp/wobblet.err")"
        "$before"
        wayland_screenshot "$tmp/desktop.png" && convert "$tmp/desktop.png" "PPM:$tmp/desktop.ppm" &&
            area=$(python3 "$here/find-client-area.py" "$tmp/desktop.ppm" "$tmp/reference.ppm") && break
        sleep 0.2
    done
    [ -n "$area" ] || fail "no wobblet window on the desktop"
    read -r left top <<<"$area"
    away_x=$((left + 400))
    away_y=$((top >= 40 ? top - 40 : top + 610))
    point_at "$away_x" "$away_y"
}
find_area "$wobblet_pid"

grab_client_area() {
    wayland_screenshot "$tmp/desktop.png" &&
        convert "$tmp/desktop.png" -crop "800x600+$left+$top" +repage "$1"
}
sleep 1
# A commit shows a buffer whole, and weston puts its output on its X window
# in one request: a look that matches no frame is a fault, never a torn grab.
look_six_times grab_client_area "$tmp/capture" wobblet-wayland-smoke-shot.png 1
echo "window at $left,$top: the client area equals captured frames ${looks[*]} (six looks over 3 s)"

# The close box, at the right end of the title bar above the client area.
# weston gives focus on a click, so a second one may be needed.
status=""
for click in 1 2 3; do
    point_at $((left + 784)) $((top - 12))
    on_weston xdotool click 1
    for _ in $(seq 20); do
        kill -0 "$wobblet_pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! kill -0 "$wobblet_pid" 2>/dev/null; then
        status=0
        wait "$wobblet_pid" || status=$?
        break
    fi
done
[ -n "$status" ] || fail "wobblet did not end after its close box was clicked"
[ "$status" -eq 0 ] || fail "wobblet exited with $status after close: $(cat "$tmp/wobblet.err")"
said="wobblet: no shared memory for the window's buffers (Too many open files); trying again"
{ [ "$(sed -n 1p "$tmp/wobblet.err")" = "$said" ] && [ "$(wc -l <"$tmp/wobblet.err")" -eq 2 ]; } ||
    fail "wobblet with its pool failing said: $(cat "$tmp/wobblet.err")"
line=$(sed -n 2p "$tmp/wobblet.err")
[[ "$line" =~ ^pool\ failures\ ([0-9]+)\ over\ ([0-9]+)\ ms,\ processor\ time\ ([0-9]+)\ ms$ ]] ||
    fail "the pool probe did not say how its pool failed: $line"
tries=${BASH_REMATCH[1]} failing_ms=${BASH_REMATCH[2]} failing_cpu_ms=${BASH_REMATCH[3]}
echo "closed by its close box: status 0; the pool failed $tries times over $failing_ms ms," \
    "using $failing_cpu_ms ms of processor time, and was said once"
[ "$failing_ms" -ge 1900 ] || fail "the pool failed for only $failing_ms ms"
# A try about once a display period (the refresh rate is 60 Hz here), at
# what frames cost when they are shown (a few percent of a core): a loop
# that tries again at once makes thousands of tries and takes the core.
[ "$tries" -le $((failing_ms / 10 + 5)) ] ||
    fail "the pool was tried $tries times in $failing_ms ms: the loop spins while it fails"
[ "$failing_cpu_ms" -le $((failing_ms / 5)) ] ||
    fail "$failing_cpu_ms ms of processor time in the $failing_ms ms the pool failed: a spin"

check_pacing "$probe"

# A compositor that goes away takes the window with it: wobblet must say so
# and exit 1, not run on unseen.
"$wobblet" >"$tmp/wobblet.out" 2>"$tmp/wobblet.err" &
wobblet_pid=$!
pids+=($wobblet_pid)
sleep 2
kill -0 "$wobblet_pid" 2>/dev/null || fail "wobblet ended early: $(cat "$tmp/wobblet.err")"
kill "$weston_pid"
for _ in $(seq 100); do
    kill -0 "$wobblet_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$wobblet_pid" 2>/dev/null && fail "wobblet runs on with its compositor gone"
status=0
wait "$wobblet_pid" || status=$?
[ "$status" -eq 1 ] || fail "with its compositor gone wobblet exited with $status, not 1"
grep -q "wobblet: PresentScreen failed" "$tmp/wobblet.err" ||
    fail "with its compositor gone wobblet did not say why: $(cat "$tmp/wobblet.err")"
echo "compositor gone: status 1, \"$(cat "$tmp/wobblet.err")\""

# A compositor that stops calling for frames: weston asleep, its output
# black. Any input wakes it, and its output fades in over a second; the
# pointer is moved where it hides nothing.
mkdir "$tmp/asleep"
weston_idle_time=2 start_wayland_session "$tmp/asleep"
"$close_probe" >"$tmp/wobblet.out" 2>"$tmp/wobblet.err" &
wobblet_pid=$!
pids+=($wobblet_pid)
away_x=1023 away_y=0
wake_weston() {
    on_weston xdotool mousemove "$away_x" "$away_y" mousemove_relative -- -1 0
}
find_area "$wobblet_pid" wake_weston
# Asleep: weston has faded its output out and draws no more.
until_asleep() {
    wayland_until_asleep "$tmp/asleep/look" && return
    cp "$tmp/asleep/look.png" "${TMPDIR:-/tmp}/wobblet-wayland-awake.png"
    fail "weston did not go to sleep (brightest pixels:$asleep_looks; the last: ${TMPDIR:-/tmp}/wobblet-wayland-awake.png)"
}
until_asleep
kill -0 "$wobblet_pid" 2>/dev/null || fail "wobblet ended while weston slept: $(cat "$tmp/wobblet.err")"
grab_woken_area() {
    wake_weston
    sleep 0.6
    wake_weston
    sleep 0.6
    grab_client_area "$1"
}
look_six_times grab_woken_area "$tmp/capture" wobblet-wayland-woken-shot.png 1
echo "weston asleep, then woken: the client area equals captured frames ${looks[*]}"
until_asleep
kill -USR1 "$wobblet_pid"
status=timeout
wait_for_end "$wobblet_pid" 2 || fail "wobblet did not end within 2 s of a close while weston slept"
[ "$status" -eq 0 ] ||
    fail "wobblet closed while weston slept exited with $status: $(cat "$tmp/wobblet.err")"
echo "weston asleep again: closed, status 0 within 2 s"
echo "wayland smoke: ok"
