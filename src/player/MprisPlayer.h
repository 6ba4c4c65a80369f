#pragma once

#include <functional>
#include <memory>
#include <string>

#include "player/Mpris.h"

namespace orvalis {

class PlayerController;
namespace cover {
class CoverArtFiles;
}

// The player window behind the desktop's media-player interface: its state read from the
// controller, and every request run through the controller's command table, the same path
// as keys and menus. Seeks of every origin are passed on through `seeked`.
class MprisPlayer final : public mpris::PlayerPort {
public:
    // raiseWindow brings the window to the front (the widget's part of Raise); covers holds
    // the pictures taken out of media, absent where there is no folder for them.
    MprisPlayer(PlayerController& controller, std::function<void()> raiseWindow,
                cover::CoverArtFiles* covers);
    ~MprisPlayer() override;

    mpris::PlayerState state() const override;
    void run(mpris::Request request) override;
    void seekTo(double seconds) override;
    void setRepeatList(bool on) override;
    bool open(const std::string& pathOrAddress) override;
    void raise() override;

private:
    PlayerController& controller_;
    std::function<void()> raiseWindow_;
    cover::CoverArtFiles* covers_;
    // The medium last seen, its number, and its cover: looked up once per medium.
    mutable std::string lastLocation_;
    mutable int lastPhase_ = 0;  // 0 nothing open, 1 opening, 2 loaded
    mutable std::uint64_t track_ = 0;
    mutable std::string artUrl_;
};

}  // namespace orvalis
