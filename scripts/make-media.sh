#!/bin/sh
# Makes the demo clip and the small test media from ffmpeg's own test sources.
# The results are committed; run this again only to change them.
set -eu
cd "$(dirname "$0")/../media"
mkdir -p test
ff="ffmpeg -hide_banner -loglevel error -y"

# The demo: 10 s, 640x360, 25 fps, a test pattern with a moving gradient and a tone.
$ff -f lavfi -i "testsrc2=size=640x360:rate=25:duration=10" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=10" \
    -c:v libx264 -preset veryslow -crf 33 -pix_fmt yuv420p -g 250 \
    -c:a aac -b:a 48k -ac 1 -movflags +faststart demo.mp4

# Video with sound, 3 s, 320x240.
$ff -f lavfi -i "testsrc=size=320x240:rate=25:duration=3" \
    -f lavfi -i "sine=frequency=660:sample_rate=22050:duration=3" \
    -c:v libx264 -preset veryslow -crf 35 -pix_fmt yuv420p \
    -c:a aac -b:a 32k -ac 1 test/av.mp4

# Sound only: mp3 and wav.
$ff -f lavfi -i "sine=frequency=523:sample_rate=22050:duration=3" -c:a libmp3lame -b:a 32k test/audio.mp3
$ff -f lavfi -i "sine=frequency=523:sample_rate=8000:duration=1" -c:a pcm_s16le -ac 1 test/audio.wav

# An mp3 with cover art: a picture that is not video.
$ff -f lavfi -i "color=c=orange:size=64x64:duration=1" -frames:v 1 test/cover.png
$ff -f lavfi -i "sine=frequency=392:sample_rate=22050:duration=3" -i test/cover.png \
    -map 0:a -map 1:v -c:a libmp3lame -b:a 32k -c:v png -disposition:v attached_pic \
    -id3v2_version 3 test/cover.mp3
rm -f test/cover.png

# Not media at all.
printf 'This is a text file, not a video.\n' > test/notvideo.avi
: > test/empty.avi

ls -l demo.mp4 demo.smi test/
