#pragma once

#include <functional>

#include "player/ContextMenu.h"
#include "player/Playback.h"
#include "player/PlayerParts.h"
#include "player/ScreenModes.h"
#include "player/SettingsRoundTrip.h"
#include "ports/Commands.h"

namespace orvalis {

// The player window's commands: the handler table, one row per command, each reaching the
// engine, a role of the window or one of the attached ports (an absent port makes its
// commands do nothing); the numbered menu entries; and the context menu's state.
class PlayerCommands {
public:
    // `exit`: the program's Exit, which the controller runs.
    PlayerCommands(PlayerParts& parts, ScreenModes& screen, Playback& playback,
                   SettingsRoundTrip& roundTrip, std::function<void()> exit);

    // Runs a command of the table; false when it has no handler.
    bool run(CommandId id) { return table_.run(id); }
    // A menu entry's number: a command, a filter's details, or a caption encoding.
    bool runNumber(int number);
    CommandTable& table() { return table_; }
    const CommandTable& table() const { return table_; }
    // The context menu as it should look now.
    MenuState menuState() const;

    // The volume step, shown on the bar and in a message.
    void changeVolume(int step);

private:
    void registerCommands();
    void changePicture(PictureKind kind, int change);
    void moveTray(int drive, bool open);

    PlayerParts& parts_;
    ScreenModes& screen_;
    Playback& playback_;
    SettingsRoundTrip& roundTrip_;
    std::function<void()> exit_;
    CommandTable table_;
};

}  // namespace orvalis
