#!/bin/sh
# A sound file without a picture (two hours of AAC) in the player against mpv showing its own
# window (--force-window=yes), interleaved runs:
#   audio_only.cpu.{mpv,orvalis,ratio}      CPU seconds over BENCH_SECONDS of playback
#   audio_only.memory.{mpv,orvalis,ratio}   resident memory while playing (MiB)
#   audio_only.paused_space_10s.*           CPU seconds over 10 s once paused by the Space key
#   audio_only.paused_dbus_10s.orvalis      the same, paused by MPRIS Pause on a private bus
set -eu
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
player="$build/orvalis"
runs=${BENCH_RUNS:-7}
seconds=${BENCH_SECONDS:-8}
[ -x "$player" ] || { echo "bench: $player is not built" >&2; exit 1; }
for tool in mpv xdotool ffmpeg dbus-daemon dbus-send; do
    command -v $tool >/dev/null || { echo "bench: $tool is not installed (scripts/install-deps.sh bench)" >&2; exit 1; }
done
. "$root/bench/support/measure.sh"

home=$(mktemp -d)
xvfb="" pulse="" bus=""
trap '[ -n "$xvfb" ] && kill $xvfb 2>/dev/null; [ -n "$pulse" ] && kill $pulse 2>/dev/null; [ -n "$bus" ] && kill $bus 2>/dev/null; rm -rf "$home"' EXIT
mkdir -p "$home/rt" "$home/config/Corvane SoftWare" "$home/sound"
chmod 700 "$home/rt"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/rt"
settings="$home/config/Corvane SoftWare/Orvalis.conf"

# Two hours of AAC: one minute encoded, then joined 120 times without encoding again.
minute="$home/sound/minute.m4a"
sound="$home/sound/two-hours.m4a"
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=60" \
    -ac 2 -c:a aac -b:a 128k "$minute"
for i in $(seq 120); do echo "file '$minute'"; done >"$home/sound/list.txt"
ffmpeg -hide_banner -loglevel error -y -f concat -safe 0 -i "$home/sound/list.txt" -c copy "$sound"

start_display_and_sound $((160 + $$ % 100))
started=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
bus=$(echo "$started" | sed -n 2p)
export DBUS_SESSION_BUS_ADDRESS="$(echo "$started" | sed -n 1p)"
sleep 1

start_ours() {
    printf '[Config\\Control]\nHardware Decoding=1\n' >"$settings"
    "$player" "$sound" >/dev/null 2>&1 &
    pid=$!
    wid=$(xdotool search --sync --name '^Orvalis $' | head -1)
    sleep 2
}

ours() {
    start_ours
    sleep 1
    a=$(cpu_seconds $pid); sleep "$seconds"; b=$(cpu_seconds $pid)
    echo "$(awk "BEGIN {printf \"%.3f\", $b - $a}") $(resident_mib $pid)"
    kill -TERM $pid; wait $pid 2>/dev/null || true
}

theirs() {
    mpv --no-config --profile=libmpv --vo=gpu --gpu-context=x11egl --force-window=yes \
        --geometry=640x360 --really-quiet "$sound" >/dev/null 2>&1 &
    mpid=$!
    sleep 3
    a=$(cpu_seconds $mpid); sleep "$seconds"; b=$(cpu_seconds $mpid)
    echo "$(awk "BEGIN {printf \"%.3f\", $b - $a}") $(resident_mib $mpid)"
    kill $mpid; wait $mpid 2>/dev/null || true
}

paused_10s() {  # CPU seconds of process $1 over 10 s, after it settled
    sleep 1
    cpu_over_10s "$1"
}

ours_cpu="" mpv_cpu="" ours_rss="" mpv_rss="" ratios=""
for i in $(seq "$runs"); do
    set -- $(ours) $(theirs)
    ours_cpu="$ours_cpu $1" ours_rss="$ours_rss $2" mpv_cpu="$mpv_cpu $3" mpv_rss="$mpv_rss $4"
    ratios="$ratios $(awk "BEGIN {printf \"%.3f\", $1 / $3}")"
done
o=$(median_of $ours_cpu) m=$(median_of $mpv_cpu)
orss=$(median_of $ours_rss) mrss=$(median_of $mpv_rss)
echo "bench audio_only.cpu.mpv $m s"
echo "bench audio_only.cpu.orvalis $o s"
echo "bench audio_only.cpu.ratio $(awk "BEGIN {printf \"%.3f\", $o / $m}") x" \
    "(pairs $(lowest_of $ratios)..$(highest_of $ratios), $runs runs a side)"
echo "bench audio_only.memory.mpv $mrss MiB"
echo "bench audio_only.memory.orvalis $orss MiB"
echo "bench audio_only.memory.ratio $(awk "BEGIN {printf \"%.3f\", $orss / $mrss}") x"

# Paused, by the key and over D-Bus.
start_ours
xdotool windowfocus --sync "$wid" key space
space=$(paused_10s $pid)
kill -TERM $pid; wait $pid 2>/dev/null || true

start_ours
dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.orvalis \
    /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Player.Pause
dbus=$(paused_10s $pid)
kill -TERM $pid; wait $pid 2>/dev/null || true

mpv --no-config --profile=libmpv --vo=gpu --gpu-context=x11egl --force-window=yes \
    --geometry=640x360 --pause --really-quiet "$sound" >/dev/null 2>&1 &
mpid=$!
sleep 2
theirs_paused=$(paused_10s $mpid)
kill $mpid; wait $mpid 2>/dev/null || true
echo "bench audio_only.paused_10s.mpv $theirs_paused s"
echo "bench audio_only.paused_space_10s.orvalis $space s"
echo "bench audio_only.paused_dbus_10s.orvalis $dbus s"
