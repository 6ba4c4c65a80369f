#!/bin/sh
# What drawing captions costs while a video plays: CPU seconds of the whole player over a
# stretch of the demo clip (looped), once with its caption file beside it and once without,
# interleaved so that the machine's noise touches both sides alike.
#   captions_cpu.plain     median CPU seconds without captions
#   captions_cpu.captions  median CPU seconds with captions (outlined, 23 points)
#   captions_cpu.ratio     captions / plain
set -eu
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
player="$build/orvalis"
runs=${BENCH_RUNS:-5}
seconds=${BENCH_SECONDS:-8}
[ -x "$player" ] || { echo "bench: $player is not built" >&2; exit 1; }

home=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill $xvfb 2>/dev/null; rm -rf "$home"' EXIT
mkdir -p "$home/rt" "$home/plain" "$home/captions" "$home/config/Corvane SoftWare"
chmod 700 "$home/rt"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/rt"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$home/no-bus"
ln -s "$root/media/demo.mp4" "$home/plain/demo.mp4"
ln -s "$root/media/demo.mp4" "$home/captions/demo.mp4"
ln -s "$root/media/demo.smi" "$home/captions/demo.smi"
settings="$home/config/Corvane SoftWare/Orvalis.conf"

display=:$((190 + $$ % 100))
Xvfb "$display" -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
sleep 1

. "$root/bench/support/measure.sh"

# CPU seconds of the player playing $1 over $seconds, after it has settled.
measure() {
    # The clip loops; every run starts from the same settings.
    printf '[Config]\nRepeat=1\n[Caption]\nFontBorder=1\nFontOffset=-14\n' >"$settings"
    "$player" "$1" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    a=$(cpu_seconds $pid)
    sleep "$seconds"
    b=$(cpu_seconds $pid)
    kill -TERM $pid
    wait $pid 2>/dev/null || true
    awk "BEGIN {printf \"%.3f\", $b - $a}"
}

plain=""
captions=""
for i in $(seq "$runs"); do
    plain="$plain $(measure "$home/plain/demo.mp4")"
    captions="$captions $(measure "$home/captions/demo.mp4")"
done
p=$(median_of $plain)
c=$(median_of $captions)
echo "bench captions_cpu.plain $p s"
echo "bench captions_cpu.captions $c s"
echo "bench captions_cpu.ratio $(awk "BEGIN {printf \"%.3f\", $c / $p}") x"
