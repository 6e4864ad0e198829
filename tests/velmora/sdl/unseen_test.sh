#!/usr/bin/env bash
# velmora while nobody can see its window, on one bench: x11 (Xvfb with
# openbox; the window minimised, keys typed into it meanwhile) or wayland
# (weston nested in Xvfb; minimised by its title bar's button, which leaves
# weston calling for no frames). Unseen it must use next to no processor
# time; seen again, it must show exactly the picture velmora-capture draws
# for the tick it has reached, with the keys typed while it was unseen: the
# animation went on, nothing stale or half-advanced is shown.
# Usage: unseen_test.sh x11|wayland VELMORA VELMORA_CAPTURE
set -u
here=$(cd "$(dirname "$0")" && pwd)
bench="$1"
velmora="$2"
capture="$3"
source "$here/../../../scripts/lib/wayland-session.sh"
source "$here/../../../scripts/lib/cpu-time.sh"

require_tools Xvfb xdotool python3 timeout /usr/bin/import /usr/bin/convert
case "$bench" in
    x11) require_tools openbox xwininfo xprop ;;
    wayland) require_tools weston ;;
    *) fail "no bench \"$bench\"" ;;
esac
convert=/usr/bin/convert
start_smoke_scratch

# Seconds unseen, and the most processor time velmora may use meanwhile,
# in percent of a core: drawing costs 15 to 30 here, a loop woken for each
# tick 0.3 to 0.8, a loop asleep until an event or a second's ticks under
# 0.05.
unseen_seconds=5
most_percent=0.2

if [ "$bench" = x11 ]; then
    start_x_session "$tmp"
    on_screen() { "$@"; }
else
    start_wayland_session "$tmp"
    on_screen() { DISPLAY=$weston_x_display "$@"; }
fi
launched=$(now_ns)
"$velmora" >"$tmp/velmora.out" 2>"$tmp/velmora.err" &
pid=$!
pids+=("$pid")

# Where the client area is: cx cy cw ch.
if [ "$bench" = x11 ]; then
    window=$(find_window 20 --onlyvisible --pid "$pid")
    [ -n "$window" ] || fail "no velmora window: $(cat "$tmp/velmora.err")"
    sleep 0.5  # fitted into openbox's frame
    info=$(xwininfo -id "$window")
    cx=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
    cy=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
    cw=$(echo "$info" | sed -n 's/.*Width: *//p')
    ch=$(echo "$info" | sed -n 's/.*Height: *//p')
else
    wayland_client_area "$tmp/desktop" || fail "no 300x200 client area appeared: $(cat "$tmp/velmora.err")"
    cw=300
    ch=200
fi
shoot() {
    on_screen timeout 20 /usr/bin/import -window root "$tmp/screen.png" 2>/dev/null ||
        fail "no screenshot"
    $convert "$tmp/screen.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage -depth 8 "ppm:$tmp/$1.ppm"
}
# ticks_by_now: more ticks than velmora can have run since it was launched.
ticks_by_now() { echo $((($(now_ns) - launched) / 20000000 + 10)); }
# match SHOT KEYS FROM TO: "INDEX DIFFERING" for the capture's tick (from
# FROM to TO, keys typed as --keys has them) closest to the shot.
match() {
    local shot=$1 keys=$2 from=$3 to=$4
    rm -rf "$tmp/frames"
    "$capture" --ticks "$to" --size "${cw}x$ch" ${keys:+--keys "$keys"} --out "$tmp/frames" \
        >/dev/null || fail "velmora-capture failed"
    $convert $(seq -f "$tmp/frames/frame_%04g.png" "$from" "$to") -depth 8 "ppm:$tmp/frames.ppm"
    read -r index off <<<"$(python3 "$here/match-frame.py" "$tmp/$shot.ppm" "$tmp/frames.ppm")"
    echo $((from + index)) "$off"
}

# Seen: the window shows the capture's frames, exactly.
sleep 1
shoot seen
read -r seen_tick off <<<"$(match seen "" 1 "$(ticks_by_now)")"
[ "$off" -eq 0 ] || fail "the window's picture is no captured frame (closest: tick $seen_tick, $off bytes off)"

# Unseen.
if [ "$bench" = x11 ]; then
    xdotool windowminimize --sync "$window"
    for _ in $(seq 20); do
        xprop -id "$window" WM_STATE | grep -q "window state: Iconic" && break
        sleep 0.1
    done
    xprop -id "$window" WM_STATE | grep -q "window state: Iconic" || fail "the window is not iconic"
    # Keys typed meanwhile act on the animation: a warp and a zoom, which
    # leave the same picture whichever tick they came before. They are sent
    # to the X window itself (no window has the focus); SDL 3 acts on no key
    # that reaches a minimised window so, and the core's unit tests
    # (App.AWindowNobodySees...) type keys into an unseen window there.
    if over_sdl3 "$velmora"; then
        keys=""
        echo "SKIP (keys while unseen): SDL 3 acts on no key sent to its minimised window"
    else
        keys="+<"
        xdotool type --window "$window" "$keys"
    fi
else
    wayland_minimise "$tmp/gone" || fail "the minimise button left the window on the screen"
    keys=""
fi
sleep 0.5
unseen_from=$(now_ns)
cpu0=$(cpu_ns "$pid")
sleep "$unseen_seconds"
cpu1=$(cpu_ns "$pid")
unseen_until=$(now_ns)
percent=$(percent_of_core "$((cpu1 - cpu0))" "$((unseen_until - unseen_from))" 2)
kill -0 "$pid" 2>/dev/null || fail "velmora ended while unseen: $(cat "$tmp/velmora.err")"
echo "unseen: ${percent}% of a core over $unseen_seconds s"
[ "$(echo "$percent <= $most_percent" | bc)" -eq 1 ] ||
    fail "unseen, velmora used ${percent}% of a core (at most $most_percent)"

# Seen again.
if [ "$bench" = x11 ]; then
    xdotool windowactivate --sync "$window" 2>/dev/null
else
    wayland_switch_back
fi
sleep 0.3
shoot again
unseen_ticks=$(((unseen_until - unseen_from) / 20000000))
read -r again_tick off <<<"$(match again "${keys:+1:$keys}" $((seen_tick + 1)) "$(ticks_by_now)")"
[ "$off" -eq 0 ] ||
    fail "seen again, the window's picture is no captured frame (closest: tick $again_tick, $off bytes off)"
# The animation went on while unseen: ticks are dropped only when the loop
# is late by a whole period, and a loaded machine may make it so now and then.
[ $((again_tick - seen_tick)) -ge $((unseen_ticks * 7 / 10)) ] ||
    fail "seen again at tick $again_tick after tick $seen_tick: the animation did not go on for $unseen_ticks ticks unseen"
echo "picture: tick $seen_tick seen, tick $again_tick seen again${keys:+ with \"$keys\" typed unseen}, both exactly the capture's"

kill -TERM "$pid"
wait_for_end "$pid" 3 || fail "SIGTERM did not end velmora"
[ "$status" -eq 0 ] || fail "SIGTERM: status $status: $(cat "$tmp/velmora.err")"

# A compositor that stops calling for frames leaves velmora unseen without a
# minimise: weston asleep, its output black. Meanwhile velmora must commit
# nothing past the 100 ms it takes to tell and use next to no processor time;
# once weston wakes and calls for a frame, velmora must commit within a few
# ticks, not at its loop's next wake-up up to a second later. Three times, so
# that a loop that notices the call only by chance is caught. weston's own
# timeline tells when it repainted and when velmora committed.
if [ "$bench" = wayland ]; then
    require_tools weston-debug
    mkdir "$tmp/asleep"
    weston_idle_time=2 start_wayland_session "$tmp/asleep" 1024x768 --debug
    timeout 120 weston-debug timeline >"$tmp/timeline" 2>/dev/null &
    pids+=($!)
    "$velmora" >"$tmp/velmora.out" 2>"$tmp/velmora.err" &
    pid=$!
    pids+=("$pid")
    wayland_client_area "$tmp/asleep/desktop" || fail "no 300x200 client area appeared: $(cat "$tmp/velmora.err")"
    # Any input wakes weston; the pointer, parked in the corner, moves a pixel.
    wake_weston() { DISPLAY=$weston_x_display xdotool mousemove 1023 767 mousemove_relative -- -1 0; }
    for cycle in 1 2 3; do
        wayland_until_asleep "$tmp/asleep/look" ||
            fail "weston did not go to sleep (brightest pixels:$asleep_looks)"
        # Two seconds more: velmora's loop sleeps by now, and weston's
        # timeline shows a gap no awake weston leaves between repaints.
        asleep_from=$(now_ns)
        cpu0=$(cpu_ns "$pid")
        sleep 2
        percent=$(percent_of_core "$(($(cpu_ns "$pid") - cpu0))" "$(($(now_ns) - asleep_from))" 2)
        echo "weston asleep: ${percent}% of a core over 2 s"
        [ "$(echo "$percent <= $most_percent" | bc)" -eq 1 ] ||
            fail "with weston asleep, velmora used ${percent}% of a core (at most $most_percent)"
        wake_weston
        sleep 1
    done
    kill -0 "$pid" 2>/dev/null || fail "velmora ended while weston slept: $(cat "$tmp/velmora.err")"
    # One line per wake-up (a repaint after over 1.5 s without one, once
    # velmora has committed): velmora's commits while weston slept, and the
    # milliseconds from the wake-up's repaint to its next commit.
    awk '
        function stamp() { t = $0; sub(/.*"T":\[/, "", t); split(t, p, /[],]/); return p[1] + p[2] / 1e9 }
        /"type":"weston_surface"/ && index($0, "top-level window") && index(tolower($0), "velmora") {
            id = $0; sub(/.*"id":/, "", id); sub(/,.*/, "", id); mine[id] = 1 }
        /"N":"core_repaint_begin"/ {
            now = stamp()
            if (committed && repainted && now - repainted > 1.5) { woke = now; asleep = since }
            repainted = now; since = 0 }
        /"N":"core_commit_damage"/ {
            ws = $0; sub(/.*"ws":/, "", ws); sub(/[ }].*/, "", ws)
            if (!(ws in mine)) next
            committed = 1; ++since
            if (woke) { printf "%d %.0f\n", asleep, 1000 * (stamp() - woke); woke = 0 } }
    ' "$tmp/timeline" >"$tmp/wakes"
    while read -r asleep delay; do
        [ "$asleep" -le 8 ] || fail "velmora committed $asleep frames while weston slept"
        [ "$delay" -le 150 ] || fail "velmora committed $delay ms after weston woke and called for a frame"
    done <"$tmp/wakes"
    [ "$(wc -l <"$tmp/wakes")" -eq 3 ] ||
        fail "weston's timeline shows $(wc -l <"$tmp/wakes") wake-ups with velmora committing after them, not 3:" $(paste -sd, "$tmp/wakes")
    echo "weston asleep, woken three times: velmora's commits while asleep and milliseconds to its first after:" $(paste -sd, "$tmp/wakes")
    kill -TERM "$pid"
    wait_for_end "$pid" 3 || fail "SIGTERM did not end velmora"
fi
echo "unseen ($bench): ok"
