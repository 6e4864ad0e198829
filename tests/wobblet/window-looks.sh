# What wobblet's smoke tests check in a real window, on any display. Source
# this file; the caller has $tmp, a `fail` function and wobblet-capture's
# frames.

# Every moment of a correct run shows one of the captured frames exactly.
# look_six_times GRAB FRAMES_DIR KEEP_AS: the window is looked at six times
# over three seconds (GRAB OUT.png writes its 800 x 600 client area), and
# every look must equal one of frames 16-375: an update lost on the way to
# the display (a stale strip, a line left behind) stays on the screen and
# matches no frame. A grab may fall between the rectangles of one
# presentation, so each look may take three grabs. The frames seen are left
# in `looks`; a failing look is kept as ${TMPDIR:-/tmp}/KEEP_AS.
look_six_times() {
    local grab=$1 frames=$2 keep=$3 look try matched found
    local exact_frame
    exact_frame="$(dirname "${BASH_SOURCE[0]}")/exact-frame.sh"
    looks=()
    for look in $(seq 6); do
        matched=""
        for try in 1 2 3; do
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
        looks+=("${matched#frame }")
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
