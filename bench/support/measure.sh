# Shell helpers of the whole-process benchmarks (sourced, not run).

cpu_seconds() {  # utime + stime of a process, in seconds
    awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$1/stat"
}

cpu_over_10s() {  # CPU seconds of process $1 over the next 10 s
    a=$(cpu_seconds "$1"); sleep 10; b=$(cpu_seconds "$1")
    awk "BEGIN {printf \"%.3f\", $b - $a}"
}

resident_mib() {  # resident memory of a process, in MiB
    awk '/^VmRSS:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"
}

# A private X display on :$1 (1920x1080) and, where PulseAudio is installed, a private sound
# server with a null sink that paces playback as a real device does. Sets DISPLAY, xvfb and
# pulse (the pids, pulse empty without PulseAudio) and audio (what the sound goes to).
start_display_and_sound() {
    Xvfb ":$1" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=":$1"
    pulse=""
    audio="the system's default output"
    if command -v pulseaudio >/dev/null; then
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
            --load="module-native-protocol-unix auth-anonymous=1" \
            --load="module-null-sink sink_name=bench" >/dev/null 2>&1 &
        pulse=$!
        audio="PulseAudio null sink"
    fi
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# The median of a list of numbers given as words.
median_of() { echo "$@" | tr ' ' '\n' | median; }

# The lowest and the highest of a list of numbers given as words.
lowest_of() { echo "$@" | tr ' ' '\n' | sed '/^$/d' | sort -n | head -1; }
highest_of() { echo "$@" | tr ' ' '\n' | sed '/^$/d' | sort -n | tail -1; }
