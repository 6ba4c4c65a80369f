# Shell helpers of the whole-process benchmarks (sourced, not run).

cpu_seconds() {  # utime + stime of a process, in seconds
    awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$1/stat"
}

resident_mib() {  # resident memory of a process, in MiB
    awk '/^VmRSS:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# The median of a list of numbers given as words.
median_of() { echo "$@" | tr ' ' '\n' | median; }

# The lowest and the highest of a list of numbers given as words.
lowest_of() { echo "$@" | tr ' ' '\n' | sed '/^$/d' | sort -n | head -1; }
highest_of() { echo "$@" | tr ' ' '\n' | sed '/^$/d' | sort -n | tail -1; }
