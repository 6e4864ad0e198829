# Source it; the caller defines fail. Linux only: it reads /proc.

# check_steady_memory PID: over two seconds of ticks, velmora (all its
# threads) may fault in at most 100 pages. Each tick draws and shows a new
# picture with the memory the ones before it used; a heap that hands that
# memory back to the system and takes it again pays for it in every tick.
# The count starts once velmora has run 3 s: a driver sets some buffers up
# only when the drawing first needs them (Mesa's software rasterizer takes
# a 512 KB block, 129 pages, about 70 ticks in). Sets faults.
check_steady_memory() {
    local started before after
    started=$(awk '{ print $22 }' "/proc/$1/stat") || fail "velmora is not running"
    until awk -v started="$started" -v hz="$(getconf CLK_TCK)" \
        '{ exit !($1 - started / hz >= 3) }' /proc/uptime; do
        sleep 0.1
    done
    before=$(awk '{ print $10 }' "/proc/$1/stat") || fail "velmora is not running"
    sleep 2
    after=$(awk '{ print $10 }' "/proc/$1/stat") || fail "velmora is not running"
    faults=$((after - before))
    [ "$faults" -le 100 ] || fail "velmora faulted in $faults pages in 2 s of ticks"
}
