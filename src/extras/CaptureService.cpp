#include "extras/CaptureService.h"

namespace orvalis {

CaptureService::CaptureService(Player player, OsdPort& osd, SoundPlayer* sound,
                               SettingsStore& settings, std::string picturesFolder)
    : player_(std::move(player)),
      osd_(osd),
      sound_(sound),
      grabber_(*this, settings, std::move(picturesFolder)) {}

CaptureService::~CaptureService() = default;

bool CaptureService::hasVideo() const {
    const EngineFlags& f = player_.engine.flags();
    return f.loaded && f.hasVideo && !f.opening;
}

std::string CaptureService::mediaPath() const {
    return player_.engine.flags().loaded ? player_.engine.currentFile() : std::string();
}

bool CaptureService::isPlaying() const {
    return player_.engine.flags().playing;
}

void CaptureService::pausePlayback() {
    pausedMedium_ = mediaPath();
    player_.engine.pause();  // the pause/resume toggle
}

void CaptureService::resumePlayback() {
    // The user may have resumed, closed or replaced the medium meanwhile.
    const EngineFlags& f = player_.engine.flags();
    const bool same = !pausedMedium_.empty() && !f.opening && mediaPath() == pausedMedium_;
    pausedMedium_.clear();
    if (same && f.paused) player_.engine.pause();
}

void CaptureService::setBusyCursor(bool busy) {
    if (player_.setBusyCursor) player_.setBusyCursor(busy);
}

void CaptureService::requestFrame() {
    if (!player_.requestFrame) {
        grabber_.frameArrived(std::nullopt);
        return;
    }
    std::weak_ptr<char> alive = alive_;
    player_.requestFrame([this, alive](std::optional<RawFrame> frame) {
        if (alive.expired()) return;
        grabber_.frameArrived(std::move(frame));
    });
}

void CaptureService::showCaptureMessage(const std::string& text) {
    osd_.show(text);
}

void CaptureService::playSound(const std::string& file) {
    if (sound_) sound_->play(file);
}

}  // namespace orvalis
