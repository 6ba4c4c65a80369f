#pragma once

#include <string>

namespace orvalis {

// What the player asks of the desktop around it. Every call returns at once; a desktop
// that lacks a service simply does nothing.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // Keeps the screen saver and power saving away while a medium plays.
    virtual void inhibitScreenSaver(bool inhibit) = 0;
    virtual bool openUrl(const std::string& url) = 0;
    virtual bool openInTextEditor(const std::string& path) = 0;
};

}  // namespace orvalis
