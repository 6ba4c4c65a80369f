#pragma once

#include <optional>
#include <string>

#include "base/SettingsStore.h"
#include "extras/BmpImage.h"

namespace orvalis {

// What a capture needs of the player window. Every call returns at once.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // A medium with a video picture is loaded (cover art is not one).
    virtual bool hasVideo() const = 0;
    virtual std::string mediaPath() const = 0;
    virtual bool isPlaying() const = 0;
    virtual void pausePlayback() = 0;
    // Resumes what pausePlayback paused; nothing when the medium is gone or already playing.
    virtual void resumePlayback() = 0;
    virtual void setBusyCursor(bool busy) = 0;
    // Asks for the decoded frame now shown, in the video's own size, without captions or
    // on-screen text. The answer is FrameGrabber::frameArrived, exactly once, later on this
    // thread (or from inside this call), with nothing when there is no frame: until then
    // the grabber stays busy.
    virtual void requestFrame() = 0;
    // An on-screen message where the window shows its capture messages.
    virtual void showCaptureMessage(const std::string& text) = 0;
    // Plays a sound file without waiting for it.
    virtual void playSound(const std::string& file) = 0;
};

// The capture command: pause, take the frame, write it as a numbered BMP file, resume,
// and say what happened. One capture at a time.
class FrameGrabber {
public:
    static constexpr const char* kFailureText = "화면저장에 실패했습니다.";

    // picturesFolder: where captures go when "Image Folder" is empty.
    FrameGrabber(CaptureHost& host, SettingsStore& settings, std::string picturesFolder);

    // Starts a capture; false (and nothing happens) without video or while one is busy.
    bool capture();
    // The answer to CaptureHost::requestFrame. Ignored when no capture waits for it.
    void frameArrived(std::optional<RawFrame> frame);

    bool busy() const { return busy_; }
    int captureCount() const { return captureCount_; }
    // The file the last successful capture wrote.
    const std::string& lastFile() const { return lastFile_; }

private:
    std::optional<std::string> writeFrame(const RawFrame& frame) const;

    CaptureHost& host_;
    SettingsStore& settings_;
    std::string picturesFolder_;
    bool busy_ = false;
    bool resumeAfter_ = false;
    std::string mediaPath_;
    int captureCount_ = 0;
    std::string lastFile_;
};

}  // namespace orvalis
