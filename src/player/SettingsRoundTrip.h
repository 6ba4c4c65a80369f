#pragma once

#include "player/PlayerParts.h"
#include "player/ScreenModes.h"

namespace orvalis {

// The player window's settings round trip: everything it keeps is read from the store at
// the start and read again when the settings sheet closes; the values the window changes
// while it lives go to the sheet before it opens and to the store at Exit.
class SettingsRoundTrip {
public:
    SettingsRoundTrip(PlayerParts& parts, ScreenModes& screen);

    // The start: the window's settings and caption style, with values no window could use
    // brought back to their defaults.
    void readAtStart();
    // The window's rectangle as last saved, placed on the screen.
    geometry::Rect startPlacement() const;
    // Runs the settings sheet, the medium paused meanwhile, and takes up what it changed.
    void openSettings();
    // Exit: the window's settings, leaving full screen first. The caller holds the batch.
    void writeAtExit();

private:
    void readSettings(settings::Context context);
    void normaliseSettings();
    void rereadAfterSettings();

    PlayerParts& parts_;
    ScreenModes& screen_;
    SettingsStore& store_;
    PlayerView& view_;
    WindowSettings& settings_;
    CaptionStyle& caption_;
    WindowState& state_;
};

}  // namespace orvalis
