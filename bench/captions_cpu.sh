#!/bin/sh
# What drawing captions costs while a video plays: CPU seconds of the whole player over a
# stretch of the demo clip (looped), once with its caption file beside it and once without,
# interleaved so that the machine's noise touches both sides alike.
#   captions_cpu.plain     median CPU seconds without captions
#   captions_cpu.captions  median CPU seconds with captions (outlined, 23 points)
#   captions_cpu.ratio     captions / plain
# Then a medium's own SubRip track on a 1080p clip made here by ffmpeg, its text drawn by the
# player's captions, against the same cues as an ASS track, which libmpv draws:
#   captions_cpu.track_libmpv    median CPU seconds with libmpv drawing the track
#   captions_cpu.track_captions  median CPU seconds with the captions drawing it
#   captions_cpu.track_ratio     track_captions / track_libmpv (goal: at most 1.03)
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

# Interleaved runs of two sides: $1 and $2 name them in the output lines, $3 and $4 are their
# media; then the ratio of the second to the first as $5.
compare() {
    first=""
    second=""
    for i in $(seq "$runs"); do
        first="$first $(measure "$3")"
        second="$second $(measure "$4")"
    done
    a=$(median_of $first)
    b=$(median_of $second)
    echo "bench captions_cpu.$1 $a s"
    echo "bench captions_cpu.$2 $b s"
    echo "bench captions_cpu.$5 $(awk "BEGIN {printf \"%.3f\", $b / $a}") x"
}
compare plain captions "$home/plain/demo.mp4" "$home/captions/demo.mp4" ratio

# A cue every two seconds, shown for one and a half, two lines.
awk 'BEGIN {
    for (i = 0; i < 10; i++) {
        s = i * 2
        printf "%d\n00:00:%02d,200 --> 00:00:%02d,700\n", i + 1, s, s + 1
        printf "자막 %d번째 줄입니다\nThe subtitle line number %d\n\n", i + 1, i + 1
    }
}' >"$home/cues.srt"
track_clip() {  # $1 file, $2 subtitle codec
    ffmpeg -nostdin -y -v error -f lavfi -i testsrc2=s=1920x1080:r=25:d=20 -i "$home/cues.srt" \
        -map 0:v -map 1:s -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:s "$2" \
        -metadata:s:s:0 language=kor "$1"
}
track_clip "$home/plain/srt.mkv" srt
track_clip "$home/plain/ass.mkv" ass
compare track_libmpv track_captions "$home/plain/ass.mkv" "$home/plain/srt.mkv" track_ratio
