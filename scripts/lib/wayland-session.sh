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
