#!/bin/sh
# Whole-process figures of the player against mpv on the same file, interleaved so that the
# machine's noise touches both sides alike:
#   first_frame: launch, open the demo clip, draw its first frame, exit (median of runs)
#   paused_cpu:  CPU seconds used over 10 s by a player paused on the demo clip
# The fair mpv baseline under Xvfb is its libmpv profile with the GPU output (a plain mpv
# falls back to SDL there), at the player's own window size, with the same audio output as
# the player (the system's default).
set -eu
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
player="$build/orvalis"
clip="$root/media/demo.mp4"
runs=${BENCH_RUNS:-7}
command -v mpv >/dev/null || { echo "bench: mpv is not installed (scripts/install-deps.sh bench)" >&2; exit 1; }

home=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -p "$home/rt" && chmod 700 "$home/rt"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/rt"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$home/no-bus"
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
sleep 1

now() { date +%s%N; }

ours_first_frame() {
    log="$home/ours.log"
    start=$(now)
    QT_LOGGING_RULES="orvalis.video.info=true" "$player" "$clip" >"$log" 2>&1 &
    pid=$!
    while ! grep -q "first frame drawn" "$log" 2>/dev/null; do
        kill -0 $pid 2>/dev/null || { echo "bench: the player ended before drawing" >&2; cat "$log" >&2; exit 1; }
        sleep 0.005
    done
    kill -TERM $pid
    wait $pid 2>/dev/null || true
    echo $(( ($(now) - start) / 1000000 ))
}

mpv_first_frame() {
    start=$(now)
    mpv --no-config --profile=libmpv --idle=no --vo=gpu --gpu-context=x11egl --geometry=640x360 \
        --frames=1 --really-quiet "$clip" >/dev/null 2>&1 || true  # no sound device: still a frame
    echo $(( ($(now) - start) / 1000000 ))
}

. "$root/bench/support/measure.sh"

ours_times=""; mpv_times=""
for i in $(seq "$runs"); do
    ours_times="$ours_times $(ours_first_frame)"
    mpv_times="$mpv_times $(mpv_first_frame)"
done
ours=$(echo $ours_times | tr ' ' '\n' | median)
base=$(echo $mpv_times | tr ' ' '\n' | median)
echo "bench first_frame.mpv $base ms"
echo "bench first_frame.orvalis $ours ms"
echo "bench first_frame.ratio $(awk "BEGIN {printf \"%.2f\", $ours / $base}") x"

# Ours: Space pauses; the key reaches the window by xdotool.
"$player" "$clip" >/dev/null 2>&1 &
pid=$!
sleep 3
wid=$(xdotool search --sync --name '^Orvalis $' | head -1)
xdotool windowfocus --sync "$wid" key space
sleep 1
ours_cpu=$(cpu_over_10s $pid)
kill -TERM $pid; wait $pid 2>/dev/null || true

mpv --no-config --profile=libmpv --idle=no --vo=gpu --gpu-context=x11egl --geometry=640x360 \
    --pause --really-quiet "$clip" >/dev/null 2>&1 &
mpid=$!
sleep 3
mpv_cpu=$(cpu_over_10s $mpid)
kill $mpid; wait $mpid 2>/dev/null || true
echo "bench paused_cpu_10s.mpv $mpv_cpu s"
echo "bench paused_cpu_10s.orvalis $ours_cpu s"
