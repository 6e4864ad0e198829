# A private Wayland desktop for the smoke tests and the measuring scripts:
# weston, drawing with pixman into a window of its own on a private Xvfb.
# (weston's headless backend has no seat, and SDL's Wayland driver does not
# start without one.) Source this file after x-session.sh's helpers are
# wanted too: it sources that file itself. The caller keeps the process ids
# to end in its `pids` array and reports with its own `fail`.
source "$(dirname "${BASH_SOURCE[0]}")/x-session.sh"

# start_wayland_session DIR [WIDTHxHEIGHT [WESTON_OPTION...]]: Xvfb, then
# weston in it (with the options given, --debug say), with a
# runtime folder and a socket of its own under DIR, no panel and no idle
# blanking (unless weston_idle_time gives the seconds after which weston
# sleeps and shows nothing). Exports WAYLAND_DISPLAY, XDG_RUNTIME_DIR and
# SDL_VIDEODRIVER=wayland for the programs and unsets DISPLAY, so nothing reaches X by mistake; the
# Xvfb that shows weston's output stays reachable as $weston_x_display (see
# wayland_screenshot). weston's process id is $weston_pid.
start_wayland_session() {
    local dir=$1 size=${2:-1024x768}
    shift $(($# < 2 ? $# : 2))
    start_xvfb "$dir" "$size"
    weston_x_display=$DISPLAY
    mkdir -p -m 700 "$dir/runtime"
    cat >"$dir/weston.ini" <<INI
[core]
idle-time=${weston_idle_time:-0}
[shell]
panel-position=none
background-color=0xff203040
locking=false
animation=none
startup-animation=none
close-animation=none
focus-animation=none
INI
    XDG_RUNTIME_DIR="$dir/runtime" weston --backend=x11-backend.so --use-pixman \
        --socket=wobblet-test --width="${size%x*}" --height="${size#*x}" \
        --config="$dir/weston.ini" "$@" >"$dir/weston.log" 2>&1 &
    weston_pid=$!
    pids+=("$weston_pid")
    for _ in $(seq 150); do
        [ -S "$dir/runtime/wobblet-test" ] && break
        sleep 0.1
    done
    [ -S "$dir/runtime/wobblet-test" ] || fail "weston did not start: $(cat "$dir/weston.log")"
    export XDG_RUNTIME_DIR="$dir/runtime" WAYLAND_DISPLAY=wobblet-test SDL_VIDEODRIVER=wayland
    unset DISPLAY
}

# wayland_screenshot OUT: what weston's output shows, as a picture file.
wayland_screenshot() {
    DISPLAY=$weston_x_display grab_screen "$1"
}

# On weston's output (through $weston_x_display, after start_wayland_session):

# wayland_pointer_to X Y: moves weston's pointer there. weston's x11 backend
# moves its pointer by the difference between X's motion events, so it may
# lag behind X's; a long move from 0,0 first pins it to where X's is.
wayland_pointer_to() {
    DISPLAY=$weston_x_display xdotool mousemove 0 0
    sleep 0.1
    DISPLAY=$weston_x_display xdotool mousemove "$1" "$2"
    sleep 0.2
}

# wayland_client_area OUT_PREFIX: waits up to 10 s for velmora's 300 x 200
# client area, the 300 x 200 of pure black around the cube (the title bar and
# the desktop are not black), thinned by two pixels all round so that the
# thin black lines of weston's pointer drop out; sets cx and cy. Returns 1
# when none appears. The pointer is parked in the bottom right corner.
wayland_client_area() {
    local w h x y
    wayland_pointer_to 1023 767
    for _ in $(seq 100); do
        wayland_screenshot "$1.png"
        read -r w h x y <<<"$(/usr/bin/convert "$1.png" -fill white +opaque black -negate \
            -morphology Erode Square:2 -format '%@' info: 2>/dev/null | sed 's/[x+]/ /g')"
        if [ "${w:-0}" -eq 296 ] && [ "${h:-0}" -eq 196 ]; then
            cx=$((x - 2))
            cy=$((y - 2))
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# wayland_minimise OUT_PREFIX: minimises velmora's 300 x 200 window at cx cy
# by its title bar's minimise button (libdecor's, left of the maximise and
# close buttons); the first click may only give the window the focus.
# Returns 1 when the client area is still on the screen after three clicks.
wayland_minimise() {
    for _ in 1 2 3; do
        wayland_pointer_to $((cx + 219)) $((cy - 12))
        DISPLAY=$weston_x_display xdotool click 1
        sleep 0.5
        wayland_pointer_to 1023 767
        wayland_screenshot "$1.png"
        # No pure black left where the client area was.
        [ "$(/usr/bin/convert "$1.png" -crop "300x200+$cx+$cy" -fill white +opaque black \
            -format '%[fx:round(100*mean)]' info:)" -eq 100 ] && return 0
    done
    return 1
}

# wayland_switch_back: weston's window switcher (Super+Tab) brings the
# minimised window back.
wayland_switch_back() {
    DISPLAY=$weston_x_display xdotool keydown super key Tab
    sleep 0.2
    DISPLAY=$weston_x_display xdotool keyup super
    wayland_pointer_to 1023 767
}

# wayland_until_asleep OUT_PREFIX: waits up to 10 s for a weston started
# with weston_idle_time to fade its output out and draw no more: two looks
# half a second apart, the same dark picture (it may stop before the fade's
# last step, short of pure black). Returns 1 when it does not, with the last
# look in OUT_PREFIX.png and the brightest pixel of each in $asleep_looks.
wayland_until_asleep() {
    local brightest
    asleep_looks=""
    : >"$1.before.ppm"
    for _ in $(seq 20); do
        sleep 0.5
        wayland_screenshot "$1.png" && /usr/bin/convert "$1.png" "PPM:$1.now.ppm" || return 1
        brightest=$(/usr/bin/convert "$1.now.ppm" -format '%[fx:int(255*maxima)]' info:)
        if [ "$brightest" -lt 32 ] && cmp -s "$1.now.ppm" "$1.before.ppm"; then
            return 0
        fi
        mv "$1.now.ppm" "$1.before.ppm"
        asleep_looks="$asleep_looks $brightest"
    done
    return 1
}
