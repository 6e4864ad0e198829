# Processor time of processes, for the measuring scripts. Source this file.

ticks_per_second=$(getconf CLK_TCK)
now_ns() { date +%s%N; }

# Processor time of a process in nanoseconds, all its threads together: the
# scheduler's own account of time on a processor (/proc/PID/task/*/schedstat),
# exact where utime + stime are only sampled at each clock tick (a program
# that runs a sixtieth of the time in short bursts shows up to a fifth more
# or less over ten seconds). Without schedstat, utime + stime it is.
cpu_ns() {
  local sum stat rest
  if sum=$(cat "/proc/$1/task/"*/schedstat 2>/dev/null | awk '{ s += $1 } END { if (NR) printf "%.0f\n", s }') &&
    [ -n "$sum" ]; then
    echo "$sum"
    return
  fi
  stat=$(cat "/proc/$1/stat")
  # The command name in field 2 may hold spaces: count after its ")".
  rest=${stat##*) }
  # shellcheck disable=SC2086
  set -- $rest
  echo $(((${12} + ${13}) * 1000000000 / ticks_per_second))
}

# percent_of_core NS WALL_NS [DECIMALS]: processor time as percent of one
# core, with one decimal unless told otherwise.
percent_of_core() {
  awk -v t="$1" -v ns="$2" -v d="${3:-1}" 'BEGIN { printf "%.*f", d, 100 * t / ns }'
}
