#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/MediaBackend.h"

namespace orvalis {

// The player's dialogs and the desktop tools it opens.
class DialogPort {
public:
    virtual ~DialogPort() = default;
    // The stream address dialog: the address to open, or nothing.
    virtual std::optional<std::string> askStreamAddress() = 0;
    virtual void showAbout() = 0;
    virtual void showFilterDetails(const FilterInfo& filter) = 0;
    virtual void openSystemMixer() = 0;
    // Opens or closes the tray of an optical drive (0 or 1).
    virtual void moveTray(int drive, bool open) = 0;
    virtual std::vector<std::string> opticalDrives() const = 0;
};

}  // namespace orvalis
