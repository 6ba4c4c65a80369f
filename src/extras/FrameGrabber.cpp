#include "extras/FrameGrabber.h"

#include "base/AtomicFile.h"
#include "base/SettingsKeys.h"
#include "extras/CaptureFile.h"

namespace orvalis {

FrameGrabber::FrameGrabber(CaptureHost& host, SettingsStore& settings, std::string picturesFolder)
    : host_(host), settings_(settings), picturesFolder_(std::move(picturesFolder)) {}

bool FrameGrabber::capture() {
    if (busy_ || !host_.hasVideo()) return false;
    busy_ = true;
    mediaPath_ = host_.mediaPath();
    host_.setBusyCursor(true);
    resumeAfter_ = host_.isPlaying();
    if (resumeAfter_) host_.pausePlayback();
    host_.requestFrame();
    return true;
}

void FrameGrabber::frameArrived(std::optional<RawFrame> frame) {
    if (!busy_) return;
    std::optional<std::string> written = frame ? writeFrame(*frame) : std::nullopt;
    busy_ = false;
    if (resumeAfter_) host_.resumePlayback();
    host_.setBusyCursor(false);
    if (!written) {
        host_.showCaptureMessage(kFailureText);
        return;
    }
    ++captureCount_;
    lastFile_ = *written;
    host_.showCaptureMessage(lastFile_.substr(lastFile_.rfind('/') + 1));
    const std::string sound = settings::get(settings_, keys::SoundFile);
    if (settings::get(settings_, keys::BeepSound) && !sound.empty()) host_.playSound(sound);
}

std::optional<std::string> FrameGrabber::writeFrame(const RawFrame& frame) const {
    auto bmp = encodeBmp(frame);
    if (!bmp) return std::nullopt;
    const int pathChoice = settings::get(settings_, keys::CapturePath);
    const std::string imageFolder = settings::get(settings_, keys::ImageFolder);
    const std::string folder =
        capture::captureFolder(mediaPath_, pathChoice, imageFolder, picturesFolder_);
    // The Pictures folder stands in for a folder that always exists; a folder the user
    // chose is never made up.
    if (pathChoice != 0 && imageFolder.empty() && !folder.empty()) makeDirectories(folder);
    return capture::saveCapture(capture::captureBase(folder, mediaPath_), *bmp);
}

}  // namespace orvalis
