#!/usr/bin/env bash
# wobblet in a real window: under Xvfb with openbox as window manager, its
# 800 x 600 client area must show the background with red and cyan lines in
# the centre rectangle, the window manager's close (WM_DELETE_WINDOW) must end
# it with status 0, and the loop must be paced near the refresh rate. Without
# a display it must exit 1 and say why.
# Usage: smoke_test.sh WOBBLET WOBBLET_CAPTURE WOBBLET_PACE_PROBE
set -u
source "$(cd "$(dirname "$0")/../../.." && pwd)/scripts/lib/x-session.sh"
wobblet="$1"
capture="$2"
probe="$3"

for tool in Xvfb openbox xdotool xwininfo xprop import convert compare timeout; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

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

# The background as the program decodes it, to compare the screen with.
"$capture" --frames 1 --out "$tmp/capture" >/dev/null || fail "wobblet-capture failed"

# 3. The window.
"$wobblet" >"$tmp/wobblet.out" 2>"$tmp/wobblet.err" &
wobblet_pid=$!
pids+=($wobblet_pid)
window=$(timeout 20 xdotool search --sync --name '^Wobblet$' | head -n1)
[ -n "$window" ] || fail "no window titled Wobblet appeared"
geometry=$(xwininfo -id "$window")
echo "$geometry" | grep -q "Width: 800" || fail "client area is not 800 wide: $geometry"
echo "$geometry" | grep -q "Height: 600" || fail "client area is not 600 high: $geometry"

# Count the pixels of one exact colour in the centre rectangle.
count() {
    convert "$1" -crop 320x360+320+180 +repage -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:round(mean*w*h)]' info:
}
# The four bands around the centre rectangle must be the background exactly.
outside_differs() {
    local total=0 n
    for band in 800x180+0+0 800x60+0+540 320x360+0+180 160x360+640+180; do
        convert "$1" -crop "$band" +repage "$tmp/band_shot.png"
        convert "$tmp/capture/background.png" -crop "$band" +repage "$tmp/band_background.png"
        n=$(compare -metric AE "$tmp/band_shot.png" "$tmp/band_background.png" null: 2>&1)
        case "$n" in
            '' | *[!0-9.e+]*) echo "compare: $n" >&2; echo 1; return ;;
        esac
        total=$((total + ${n%%.*}))
    done
    echo "$total"
}
sleep 1
seen_red=0
seen_cyan=0
for attempt in $(seq 40); do
    import -window "$window" "$tmp/shot.png" 2>/dev/null || fail "no screenshot"
    size=$(convert "$tmp/shot.png" -format '%wx%h' info:)
    [ "$size" = "800x600" ] || fail "screenshot is $size"
    differing=$(outside_differs "$tmp/shot.png")
    [ "$differing" -eq 0 ] || fail "$differing pixels outside the centre rectangle differ from the background"
    red=$(count "$tmp/shot.png" '#FF0000')
    cyan=$(count "$tmp/shot.png" '#00FFFF')
    [ "$red" -gt 100 ] && seen_red=$red
    [ "$cyan" -gt 0 ] && seen_cyan=$cyan
    if [ "$seen_red" -gt 0 ] && [ "$seen_cyan" -gt 0 ]; then
        break
    fi
    sleep 0.25
done
[ "$seen_red" -gt 0 ] || fail "no red lines in the centre rectangle"
[ "$seen_cyan" -gt 0 ] || fail "no cyan (red over white) in the centre rectangle"
echo "window: 800x600, background intact, $seen_red red and $seen_cyan cyan pixels seen"

# 4. Close through the window manager: openbox's Alt+F4 sends WM_DELETE_WINDOW.
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key --clearmodifiers alt+F4
for _ in $(seq 100); do
    kill -0 "$wobblet_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$wobblet_pid" 2>/dev/null && fail "wobblet did not end after the window manager's close"
wait "$wobblet_pid"
status=$?
[ "$status" -eq 0 ] || fail "wobblet exited with $status after close: $(cat "$tmp/wobblet.err")"
echo "closed by the window manager: status 0"

# 5. Pacing: near the refresh rate (60 Hz when the display reports none).
line=$(timeout 60 "$probe" 3) || fail "pace probe failed"
echo "pacing: $line"
fps=$(echo "$line" | sed -n 's/.* fps \([0-9]*\)\..*/\1/p')
[ -n "$fps" ] && [ "$fps" -ge 20 ] && [ "$fps" -le 90 ] || fail "frame rate $fps is not paced"
echo "smoke: ok"
