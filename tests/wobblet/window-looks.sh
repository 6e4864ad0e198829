# What wobblet's smoke tests check in a real window, on any display. Source
# this file; the caller has $tmp, a `fail` function and wobblet-capture's
# frames.

# Every moment of a correct run shows one of the captured frames exactly.
# look_six_times GRAB FRAMES_DIR KEEP_AS [GRABS]: the window is looked at six
# times over three seconds (GRAB OUT.png writes its 800 x 600 client area),
# and every look must equal one of frames 16-375: an update lost on the way
# to the display (a stale strip, a line left behind) stays on the screen and
# matches no frame. On X a grab may fall between the rectangles of one
# presentation, so each look may take GRABS grabs (3 by default); where a
# presentation reaches the screen whole, one grab is enough, and a buffer
# shown out of date is caught at once. Each look must also be later in the
# turn than the one before, by less than half a turn (3 s): a window that
# stops changing, or keeps showing a buffer it no longer brings up to date,
# shows true frames, but not in their order. The frames seen are left in
# `looks`; a failing look is kept as ${TMPDIR:-/tmp}/KEEP_AS.
look_six_times() {
    local grab=$1 frames=$2 keep=$3 grabs=${4:-3} look try matched found
    local exact_frame
    exact_frame="$(dirname "${BASH_SOURCE[0]}")/exact-frame.sh"
    looks=()
    # The frames' signatures are worked out now, not during the first look.
    "$exact_frame" "$frames/frame_0016.png" "$frames" 16 375 >/dev/null ||
        fail "cannot read the captured frames"
    for look in $(seq 6); do
        matched=""
        for try in $(seq "$grabs"); do
            "$grab" "$tmp/shot.png" || fail "no screenshot"
            matched=$("$exact_frame" "$tmp/shot.png" "$frames" 16 375 2>"$tmp/exact.err")
            found=$?
            [ "$found" -eq 0 ] && break
            [ "$found" -eq 1 ] || fail "$(cat "$tmp/exact.err")"
            matched=""
        done
        if [ -z "$matched" ]; then
            cp "$tmp/shot.png" "${TMPDIR:-/tmp}/$keep"
            fail "look $look: no screenshot equals a captured frame (the last: ${TMPDIR:-/tmp}/$keep)"
        fi
        matched=${matched#frame }
        if [ "${#looks[@]}" -gt 0 ]; then
            local step=$(((matched - looks[-1] + 360) % 360))
            if [ "$step" -eq 0 ] || [ "$step" -ge 180 ]; then
                cp "$tmp/shot.png" "${TMPDIR:-/tmp}/$keep"
                fail "look $look shows frame $matched after frame ${looks[-1]}: the window does not go on in order"
            fi
        fi
        looks+=("$matched")
        sleep 0.5
    done
}

# check_pacing PROBE: wobblet's own loop, run by wobblet-pace-probe for three
# seconds, keeps near the refresh rate (60 Hz when the display reports none).
check_pacing() {
    local line fps
    line=$(timeout 60 "$1" 3) || fail "pace probe failed"
    echo "pacing: $line"
    fps=$(echo "$line" | sed -n 's/.* fps \([0-9]*\)\..*/\1/p')
    [ -n "$fps" ] && [ "$fps" -ge 20 ] && [ "$fps" -le 90 ] || fail "frame rate $fps is not paced"
}
