# Source it; the caller defines fail. Linux only: it reads /proc.

# check_steady_memory PID: over two seconds of ticks, velmora (all its
# threads) may fault in at most 100 pages. Each tick draws and shows a new
# picture with the memory the ones before it used; a heap that hands that
# memory back to the system and takes it again pays for it in every tick.
# Sets faults.
check_steady_memory() {
    local before after
    before=$(awk '{ print $10 }' "/proc/$1/stat") || fail "velmora is not running"
    sleep 2
    after=$(awk '{ print $10 }' "/proc/$1/stat") || fail "velmora is not running"
    faults=$((after - before))
    [ "$faults" -le 100 ] || fail "velmora faulted in $faults pages in 2 s of ticks"
}
