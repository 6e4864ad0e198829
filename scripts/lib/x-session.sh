# A private virtual display with a window manager on it, for the smoke tests
# and the measuring scripts. Source this file; the caller keeps the process
# ids to end in its `pids` array and reports with its own `fail`.

# require_tools TOOL...: skips the test (exit 77, which ctest counts as
# skipped) when a command or an absolute path is not there to run.
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
}

# over_sdl3 PROGRAM: whether PROGRAM's SDL 2 is a layer over SDL 3.
over_sdl3() {
    local sdl2
    sdl2=$(ldd "$1" 2>/dev/null | awk '/libSDL2-2\.0\.so/ { print $3 }')
    [ -n "$sdl2" ] && grep -q "libSDL3\.so" "$sdl2"
}

# grab_screen OUT.png: the whole screen, or failure within 20 s (a grab
# that waits on a window can wait for good on some visuals).
grab_screen() {
    timeout 20 /usr/bin/import -window root "$1" 2>/dev/null
}

# find_window SECONDS SEARCH...: prints the first window that `xdotool search
# SEARCH...` finds within SECONDS, or nothing. It asks again rather than
# using --sync, because a search gives up with an X error when any window
# goes away while it walks the tree (another program just closed, say).
find_window() {
    local seconds=$1 found deadline
    shift
    deadline=$((SECONDS + seconds))
    while :; do
        found=$(xdotool search "$@" 2>/dev/null | head -n1)
        if [ -n "$found" ] || [ "$SECONDS" -ge "$deadline" ]; then
            break
        fi
        sleep 0.1
    done
    echo "$found"
}

# close_by_window_manager WINDOW PID: the window manager asked to close the
# window as a task bar asks (_NET_CLOSE_WINDOW; openbox sends it
# WM_DELETE_WINDOW, as for Alt+F4), then up to 10 s for PID to end; its exit
# status in status. Returns 1 when it did not end. Not Alt+F4 itself: the
# session's first synthetic key makes openbox reload its key bindings, and a
# key that comes meanwhile goes to the window instead.
close_by_window_manager() {
    python3 "$(dirname "${BASH_SOURCE[0]}")/../../tests/wobblet/x-window-send.py" wm-close "$1"
    wait_for_end "$2" 10
}

# wait_for_end PID SECONDS: waits up to SECONDS for PID to end; its exit
# status in status. Returns 1 when it did not end.
wait_for_end() {
    for _ in $(seq $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && return 1
    status=0
    wait "$1" || status=$?
}

# start_xvfb DIR [WIDTHxHEIGHT]: Xvfb on a display number nobody else uses
# (chosen by Xvfb itself), its log in DIR. Exports DISPLAY.
start_xvfb() {
    local dir=$1 size=${2:-1024x768}
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        sleep 0.1
    done
    [ -s "$dir/display" ] || fail "Xvfb did not start: $(cat "$dir/xvfb.log")"
    export DISPLAY=":$(head -n1 "$dir/display")"
}

# start_x_session DIR [WIDTHxHEIGHT]: Xvfb, then openbox, which gives windows
# a frame and turns Alt+F4 into WM_DELETE_WINDOW. Logs go to DIR. Exports
# DISPLAY and clears what would send SDL elsewhere.
start_x_session() {
    local dir=$1
    start_xvfb "$@"
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER
    openbox --config-file /etc/xdg/openbox/rc.xml >"$dir/openbox.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" \
        || fail "openbox did not start: $(cat "$dir/openbox.log")"
}

# end_x_session_processes: the cleanup every caller runs on exit.
end_x_session_processes() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
}

# start_smoke_scratch: a smoke test's scratch folder ($tmp) and its list of
# processes to end ($pids), both cleared when the script exits; fail reports
# and exits 1.
start_smoke_scratch() {
    tmp=$(mktemp -d)
    pids=()
    trap 'end_x_session_processes; rm -rf "$tmp"' EXIT
}
fail() { echo "FAIL: $*" >&2; exit 1; }
