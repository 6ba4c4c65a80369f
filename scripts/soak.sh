#!/bin/sh
# Hours of play in minutes: the built player plays SOAK_CLIPS short clips (default 200) in a
# row through its play list, driven over MPRIS on a private session bus under Xvfb, with
# seeks, pauses, caption changes and frame captures between them. It prints
#   soak rss_after_20 <kB> kB      resident memory as clips 20-29 start (their median)
#   soak rss_end <kB> kB           and as the last ten start
#   soak rss_growth <kB> kB        the difference (the goal: below 10 MB)
#   soak fds_after_20 / fds_end    open file descriptors at the same moments (the most)
#   soak sanitizer <n> reports     sanitizer reports of the run (an ASan build writes them)
# and fails when memory grew by 10 MB or more (on a build without AddressSanitizer, whose
# allocator keeps memory of its own), descriptors grew, a clip did not come, or a sanitizer
# spoke. Usage: scripts/soak.sh <player binary>; SOAK_SHOT=file.png also keeps a
# picture of the screen at clip 30.
set -eu
player=${1:?usage: soak.sh <player binary>}
clips=${SOAK_CLIPS:-200}
[ "$clips" -ge 40 ] || { echo "soak: SOAK_CLIPS must be 40 or more" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
[ -x "$player" ] || { echo "soak: $player is not built" >&2; exit 1; }
for tool in Xvfb dbus-daemon dbus-send xdotool ffmpeg; do
    command -v $tool >/dev/null || { echo "soak: $tool is missing (scripts/install-deps.sh soak)" >&2; exit 1; }
done

home=$(mktemp -d)
xvfb="" bus="" pid="" pulse=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    [ -n "$pulse" ] && kill "$pulse" 2>/dev/null
    [ -n "$bus" ] && kill "$bus" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT
mkdir -p "$home/rt" "$home/config/Corvane SoftWare" "$home/clips" "$home/shots" "$home/san"
chmod 700 "$home/rt"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home/rt"
unset XDG_DATA_DIRS XDG_CONFIG_DIRS

# One clip of 1.5 s with sound, copied under every name, each with its SAMI captions.
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=320x240:rate=25:duration=1.5" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=1.5" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 25 -c:a aac -b:a 64k -shortest \
    "$home/clip.mp4"
{
    printf '<SAMI>\n<BODY>\n'
    printf '<SYNC Start=0><P Class=KRCC>첫 자막 <font color="yellow">노랑</font>\n'
    printf '<SYNC Start=700><P Class=KRCC>둘째 자막<br>두 줄\n'
    printf '</BODY></SAMI>\n'
} >"$home/clip.smi"
list="$home/soak.m3u"
printf '#EXTM3U\n' >"$list"
i=0
while [ $i -lt "$clips" ]; do
    name=$(printf 'clip%03d' $i)
    cp "$home/clip.mp4" "$home/clips/$name.mp4"
    cp "$home/clip.smi" "$home/clips/$name.smi"
    echo "$home/clips/$name.mp4" >>"$list"
    i=$((i + 1))
done
# Captures into their own folder, no repeat of the item or the list, no bookmarks prompt.
cat >"$home/config/Corvane SoftWare/Orvalis.conf" <<EOF
[Config]
Repeat=0
[Config\\Control]
Path=1
Image Folder=$home/shots
[Config\\Playlist]
Play Continue=1
Repeat List=0
EOF

# The X server and the session bus each tell where they listen once they do.
wait_for_line() {  # file
    n=0
    until [ -s "$1" ] || [ $n -ge 100 ]; do sleep 0.1; n=$((n + 1)); done
    head -1 "$1"
}
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$home/display" >/dev/null 2>&1 &
xvfb=$!
DISPLAY=:$(wait_for_line "$home/display")
export DISPLAY
dbus-daemon --session --nofork --print-address=3 3>"$home/bus-address" >/dev/null 2>&1 &
bus=$!
DBUS_SESSION_BUS_ADDRESS=$(wait_for_line "$home/bus-address")
export DBUS_SESSION_BUS_ADDRESS
sleep 1

# Sound to a private PulseAudio null sink where PulseAudio is installed (it paces playback
# as a real device does), else to whatever libmpv finds.
if command -v pulseaudio >/dev/null; then
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        --load="module-native-protocol-unix auth-anonymous=1" \
        --load="module-null-sink sink_name=soak" >/dev/null 2>&1 &
    pulse=$!
    sleep 1
fi

# Sanitizer reports go to files, library leaks are left out as in the tests. A small
# quarantine of freed memory is full within the first clips, so that what grows after
# them is the player's own.
export ASAN_OPTIONS="log_path=$home/san/asan:detect_leaks=1:quarantine_size_mb=16"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="log_path=$home/san/ubsan:print_stacktrace=1"
# A library unloaded at exit leaves what it still held without a name, where no suppression
# can reach it: under AddressSanitizer the player's libraries stay loaded to the end.
preload=""
asan=$(ldd "$player" | awk '/libasan/ {print $3}')
if [ -n "$asan" ] && command -v cc >/dev/null; then
    printf 'int dlclose(void *handle) { (void)handle; return 0; }\n' >"$home/keep.c"
    cc -shared -fPIC -o "$home/keep.so" "$home/keep.c" && preload="$asan $home/keep.so"
fi
LD_PRELOAD="$preload" "$player" "$list" >"$home/player.log" 2>&1 &
pid=$!

dest=org.mpris.MediaPlayer2.orvalis
object=/org/mpris/MediaPlayer2
call() {  # method of org.mpris.MediaPlayer2.Player, then its arguments
    m=$1
    shift
    dbus-send --session --type=method_call --dest=$dest $object "org.mpris.MediaPlayer2.Player.$m" "$@" \
        >/dev/null 2>&1 || true
}
# The number of the clip playing now (from its address), or -1.
playing() {
    dbus-send --session --print-reply --dest=$dest $object org.freedesktop.DBus.Properties.Get \
        string:org.mpris.MediaPlayer2.Player string:Metadata 2>/dev/null |
        grep -o 'clip[0-9]*\.mp4' | head -1 | sed 's/clip0*\([0-9]\)/\1/; s/\.mp4//' || true
}
key() {  # keys to the player window
    xdotool windowfocus --sync "$wid" key "$@" >/dev/null 2>&1 || true
}
rss() { awk '/^VmRSS:/ {print $2}' "/proc/$pid/status"; }
fds() { ls "/proc/$pid/fd" | wc -l; }

n=0
until wid=$(xdotool search --name '^Orvalis ' 2>/dev/null | head -1) && [ -n "$wid" ]; do
    sleep 0.2
    n=$((n + 1))
    [ $n -lt 150 ] || { echo "soak: the player's window did not appear" >&2; cat "$home/player.log" >&2; exit 1; }
done

started=$(date +%s)
i=0
captures=0
while [ $i -lt "$clips" ]; do
    # Wait for clip i (or a later one: a short clip may end before we look).
    n=0
    while :; do
        now=$(playing)
        [ -n "$now" ] && [ "$now" -ge $i ] && break
        kill -0 $pid 2>/dev/null || { echo "soak: the player ended at clip $i" >&2; cat "$home/player.log" >&2; exit 1; }
        n=$((n + 1))
        [ $n -lt 300 ] || { echo "soak: clip $i did not come (playing: ${now:-nothing})" >&2; exit 1; }
        sleep 0.1
    done
    i=$now
    # Memory and descriptors as each clip starts: the same moment of every clip.
    sample="$i $(rss) $(fds)"
    echo "$sample" >>"$home/samples"
    [ $((i % 20)) -eq 0 ] && echo "soak at clip $sample" | awk '{print $1, $2, $3, $4 ": rss", $5, "kB, fds", $6}'

    case $((i % 4)) in
        0) call Pause; sleep 0.2; call Play ;;
        1) call Seek int64:300000 ;;
        2) key equal ;;
        3) key minus ;;
    esac
    [ $((i % 10)) -eq 5 ] && key h h
    [ $((i % 10)) -eq 7 ] && key ctrl+f && captures=$((captures + 1))
    [ $i -eq 30 ] && [ -n "${SOAK_SHOT:-}" ] && import -window root "$SOAK_SHOT" 2>/dev/null
    [ $((i % 5)) -eq 4 ] && call Next
    i=$((i + 1))
done
# The last clip ends; the list stops there.
sleep 3
rss_stopped=$(rss)
# Clips 20 to 29 against the last ten: the median of the memory (a frame more or less in
# flight moves it by megabytes), the most descriptors open.
window() {  # first last column how
    awk -v a="$1" -v b="$2" -v c="$3" -v how="$4" '$1 >= a && $1 <= b {print $c}' "$home/samples" |
        sort -n | awk -v how="$4" '{v[NR] = $1} END {print (how == "max" ? v[NR] : v[int((NR + 1) / 2)])}'
}
rss20=$(window 20 29 2 median) fds20=$(window 20 29 3 max)
rss_end=$(window $((clips - 10)) $((clips - 1)) 2 median) fds_end=$(window $((clips - 10)) $((clips - 1)) 3 max)
shots=$(ls "$home/shots" | wc -l)
dbus-send --session --type=method_call --dest=$dest $object org.mpris.MediaPlayer2.Quit >/dev/null 2>&1 || true
n=0
while kill -0 $pid 2>/dev/null && [ $n -lt 100 ]; do sleep 0.2; n=$((n + 1)); done
if kill -0 $pid 2>/dev/null; then
    echo "soak: the player did not quit" >&2
    exit 1
fi
status=0
wait $pid || status=$?
pid=""
reports=$(cat "$home"/san/* 2>/dev/null | grep -c 'ERROR: \|runtime error:' || true)

growth=$((rss_end - rss20))
echo "soak clips $clips in $(( $(date +%s) - started )) s, $shots of $captures captures saved, exit status $status"
echo "soak rss_after_20 $rss20 kB (median as clips 20-29 start)"
echo "soak rss_end $rss_end kB (median as the last ten start)"
echo "soak rss_growth $growth kB"
echo "soak rss_stopped $rss_stopped kB (3 s after the list ended)"
echo "soak fds_after_20 $fds20 (most open as clips 20-29 start)"
echo "soak fds_end $fds_end (most open as the last ten start)"
echo "soak sanitizer $reports reports"
[ "$reports" -eq 0 ] || cat "$home"/san/* >&2
failed=0
if [ -n "$asan" ]; then
    # AddressSanitizer's allocator keeps freed memory and its own tables: its growth is
    # shown, and judged on the optimised build.
    echo "soak: a sanitizer build; its memory growth is not judged"
elif [ $growth -ge 10240 ]; then
    echo "soak: memory grew by $growth kB" >&2
    failed=1
fi
[ "$fds_end" -le "$fds20" ] || { echo "soak: descriptors grew from $fds20 to $fds_end" >&2; failed=1; }
[ "$reports" -eq 0 ] || failed=1
[ "$status" -eq 0 ] || { echo "soak: the player exited with $status" >&2; failed=1; }
exit $failed
