#pragma once

#include <string>

namespace orvalis {

// A short sound played beside whatever the player shows (the capture beep, the settings
// sheet's test button). Nothing here ever waits for the sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the file and returns at once; a sound still playing gives way to it. A file
    // that cannot be played plays nothing.
    virtual void play(const std::string& path) = 0;
    virtual void stop() = 0;
};

}  // namespace orvalis
