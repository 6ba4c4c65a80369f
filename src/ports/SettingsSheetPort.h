#pragma once

namespace orvalis {

class SettingsSheetPort {
public:
    virtual ~SettingsSheetPort() = default;
    // Runs the sheet modally; true when it closed with OK.
    virtual bool run() = 0;
};

}  // namespace orvalis
