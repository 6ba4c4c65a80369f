#pragma once

// Matroska clips with subtitle tracks of their own, made by ffmpeg for the test that needs one.
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace orvalis::test {

struct ClipTrack {
    std::string language;
    std::string title;
    std::string text;           // shown from 0.1 s to the end of the clip
    std::string codec = "srt";  // as ffmpeg names its encoder: "srt", "webvtt", "ass"
};

// A clip of a plain dark blue picture, `seconds` long, at 320x240, with one subtitle track per
// entry, in their order. "" when ffmpeg could not make it.
inline std::string makeSubtitledClip(const std::string& name, const std::vector<ClipTrack>& tracks,
                                     int seconds = 6) {
    const std::string dir = freshDir(name);
    const std::string clip = dir + "/" + name + ".mkv";
    std::string inputs, maps, tags;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const std::string srt = dir + "/track" + std::to_string(i) + ".srt";
        writeFile(srt, "1\n00:00:00,100 --> 00:00:" + std::to_string(seconds - 1) + ",900\n" +
                           tracks[i].text + "\n");
        const std::string n = std::to_string(i);
        inputs += " -i '" + srt + "'";
        maps += " -map " + std::to_string(i + 1) + ":s";
        tags += " -c:s:" + n + " " + tracks[i].codec + " -metadata:s:s:" + n +
                " language=" + tracks[i].language + " -metadata:s:s:" + n +
                " 'title=" + tracks[i].title + "'";
    }
    const std::string command =
        "ffmpeg -nostdin -y -v error -f lavfi -i color=c=0x204060:s=320x240:r=10:d=" +
        std::to_string(seconds) + inputs + " -map 0:v" + maps + " -c:v mpeg4 -q:v 5" + tags + " '" +
        clip + "'";
    if (std::system(command.c_str()) != 0) return "";
    return clip;
}

}  // namespace orvalis::test
