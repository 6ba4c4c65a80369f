#pragma once

#include <string>
#include <vector>

#include "engine/MediaBackend.h"

namespace orvalis::test {

// A backend that does what it is told and answers when the test says so.
class FakeBackend final : public MediaBackend {
public:
    void setListener(BackendListener* l) override { listener = l; }
    void load(const std::string& path) override {
        calls.push_back("load " + path);
        loaded = path;
        paused = true;
        pos = 0;
    }
    void unload() override {
        calls.push_back("unload");
        loaded.clear();
    }
    void setPaused(bool p) override {
        calls.push_back(p ? "pause" : "resume");
        paused = p;
    }
    // A seek that libmpv would refuse is recorded, and changes nothing.
    void seek(double s) override {
        calls.push_back("seek " + std::to_string(s));
        if (!canSeek || stuck) return;
        pos = s;
        eof = false;
    }
    void setSpeed(double s) override { speed = s; }
    double position() const override { return pos; }
    double duration() const override { return dur; }
    bool endReached() const override { return eof; }
    bool seekable() const override { return canSeek; }
    void setVolume(double v) override { volume = v; }
    void setMute(bool m) override { muted = m; }
    void setPictureAdjustments(int b, int c, int s) override { picture = {b, c, s}; }

    void answerLoaded(LoadedMedia media = {10.0, true, 640, 360, {}}) {
        dur = media.duration;
        listener->backendLoaded(media);
    }
    void answerFailed(const std::string& why = "loading failed") { listener->backendLoadFailed(why); }

    BackendListener* listener = nullptr;
    std::vector<std::string> calls;
    std::string loaded;
    bool paused = true;
    double pos = 0, dur = -1, speed = 1, volume = 100;
    bool eof = false, muted = false;
    bool canSeek = true;  // false: a stream that cannot seek
    bool stuck = false;   // seeks are taken but never land
    std::vector<int> picture;
};

}  // namespace orvalis::test
