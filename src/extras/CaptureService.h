#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/SettingsStore.h"
#include "engine/MediaEngine.h"
#include "engine/SoundPlayer.h"
#include "extras/BmpImage.h"
#include "extras/FrameGrabber.h"
#include "ports/CapturePort.h"
#include "ports/OsdPort.h"

namespace orvalis {

// The capture command as the player window sees it: its capture port starts the grabber,
// and the grabber reaches the window through the few things given here. Every one of them
// returns at once; the frame arrives later. Tests drive it with fakes.
class CaptureService final : public CapturePort, private CaptureHost {
public:
    using FrameAnswer = std::function<void(std::optional<RawFrame>)>;

    struct Player {
        // The medium: whether it has a picture, its path, playing or paused.
        MediaEngine& engine;
        // The wait cursor over the window.
        std::function<void(bool)> setBusyCursor;
        // Asks for the decoded frame now shown; the answer is given exactly once, later.
        std::function<void(FrameAnswer)> requestFrame;
    };

    // sound may be absent; picturesFolder is where captures go when "Image Folder" is empty.
    CaptureService(Player player, OsdPort& osd, SoundPlayer* sound, SettingsStore& settings,
                   std::string picturesFolder);
    ~CaptureService() override;

    // CapturePort
    void capture() override { grabber_.capture(); }

    const FrameGrabber& grabber() const { return grabber_; }

private:
    // CaptureHost
    bool hasVideo() const override;
    std::string mediaPath() const override;
    bool isPlaying() const override;
    void pausePlayback() override;
    void resumePlayback() override;
    void setBusyCursor(bool busy) override;
    void requestFrame() override;
    void showCaptureMessage(const std::string& text) override;
    void playSound(const std::string& file) override;

    Player player_;
    OsdPort& osd_;
    SoundPlayer* sound_;
    FrameGrabber grabber_;
    // The medium the capture paused: only that one is resumed.
    std::string pausedMedium_;
    // An answer that comes after this object is gone finds this expired.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace orvalis
