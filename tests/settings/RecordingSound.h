#pragma once

#include <string>
#include <vector>

#include "engine/SoundPlayer.h"

namespace orvalis::test {

// Remembers the sounds it was asked to play.
struct RecordingSound final : SoundPlayer {
    void play(const std::string& path) override { played.push_back(path); }
    void stop() override { ++stops; }
    std::vector<std::string> played;
    int stops = 0;
};

}  // namespace orvalis::test
