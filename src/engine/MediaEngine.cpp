#include "engine/MediaEngine.h"

#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "engine/Decoding.h"
#include "engine/Trace.h"

namespace orvalis {

MediaEngine::MediaEngine(MediaBackend& backend, EngineHost& host, SettingsStore& settings,
                         DesktopServices& desktop, Prompter& prompter)
    : backend_(backend), host_(host), settings_(settings), desktop_(desktop), prompter_(prompter) {
    backend_.setListener(this);
}

MediaEngine::~MediaEngine() {
    backend_.setListener(nullptr);
    releaseSleep();
}

std::string MediaEngine::openErrorText(const std::string& path) {
    return path + "\n\n위의 파일을 열 수 없습니다.\n지원되는 형식인지 또는 경로를 확인하세요.";
}

void MediaEngine::openFile(const std::string& path) {
    host_.stopPlaybackTick();
    if (flags_.loaded) {
        releaseSleep();
        host_.saveBookmarks();
    }
    flags_.opening = true;
    host_.setBusyCursor(true);
    closeMedia();
    currentFile_ = path;
    host_.resetCaptionSync();

    // The first half of building: the rest happens when the backend has the medium.
    host_.playlistOpaqueForOpen();
    backend_.load(path);
    host_.playlistOpenRequestDone();
}

void MediaEngine::backendLoaded(const LoadedMedia& media) {
    if (!flags_.opening) return;  // closed or replaced meanwhile
    flags_.loaded = true;
    duration_ = media.duration > 0 ? media.duration : 0.0;
    filters_ = media.filters;
    if (filters_.size() > 10) filters_.resize(10);
    flags_.hasVideo = media.hasVideo;
    videoWidth_ = media.hasVideo ? media.videoWidth : 0;
    videoHeight_ = media.hasVideo ? media.videoHeight : 0;
    // Captions are drawn over the picture by the video surface itself.
    flags_.colourKeyAvailable = host_.hasVideoSurface();
    if (!flags_.hasVideo) host_.playlistRestoreTransparency();

    host_.applyVolume();
    flags_.stream = isStreamAddress(currentFile_);
    // Asked for a stream too: it gets no caption file, and the captions of the medium before
    // it go.
    flags_.captionsLoaded = false;
    flags_.captionsLoaded = host_.findCaptionFile(currentFile_);
    if (flags_.captionsLoaded && !flags_.colourKeyAvailable) {
        prompter_.message({"Orvalis", "컬러키 설정에 오류가 있습니다.", MessageIcon::Exclamation,
                           MessageButtons::Ok});
    }
    host_.setBusyCursor(false);
    host_.startStartOfPlayback();
}

void MediaEngine::backendLoadFailed(const std::string& reason) {
    if (!flags_.opening) return;
    lastError_ = reason;
    traceFailure(reason.find("not found") != std::string::npos ? kFailNotFound : kFailUnsupported,
                 "g_pGraph->RenderFile( wFile, NULL)\n");
    flags_.opening = false;
    host_.setBusyCursor(false);
    prompter_.message({"파일 열기 오류", openErrorText(currentFile_), MessageIcon::Exclamation,
                       MessageButtons::Ok});
    closeMedia();
    host_.runCloseFile();
    host_.repaintWindow();
}

void MediaEngine::backendVideoDecoderChanged(const FilterInfo& decoder) {
    if (!flags_.loaded) return;
    for (auto& f : filters_)
        if (decoding::isVideoDecoderFilter(f)) f = decoder;
}

void MediaEngine::closeMedia() {
    backend_.unload();
    flags_.loaded = false;
    flags_.playing = false;
    flags_.paused = false;
    flags_.hasVideo = false;
    duration_ = 0.0;
}

void MediaEngine::resume() {
    host_.startPlaybackTick();
    backend_.setPaused(false);
    host_.showPlaying();
    inhibitSleep();
    flags_.playing = true;
    flags_.paused = false;
}

void MediaEngine::startRunning() {
    setRate(1.0);
    flags_.playing = true;
    flags_.paused = false;
    backend_.setPaused(false);
    inhibitSleep();
}

void MediaEngine::play() {
    if (flags_.opening) return;  // the medium being opened starts by itself
    if (!flags_.loaded) {
        if (host_.playlistIsEmpty()) {
            host_.runOpenFileDialog();
        } else {
            host_.pressPlayButtons();
            host_.playlistPlayEntry(-2);
        }
        return;
    }
    if (flags_.playing) {
        switch (settings::get(settings_, keys::PlayKey)) {
            case 0:
                if (host_.shiftHeld()) {
                    host_.playlistPlayPrevious();
                } else {
                    host_.playlistPlayEntry(-1);
                }
                return;
            case 1:
                openFile(currentFile_);
                return;
            case 2:
                host_.runExit();
                return;
            default:
                break;
        }
    }
    resume();
}

void MediaEngine::pause() {
    if (!flags_.loaded) return;
    if (flags_.playing) {
        host_.showPaused();
        backend_.setPaused(true);
        releaseSleep();
        flags_.playing = false;
        flags_.paused = true;
    } else if (flags_.paused) {
        resume();
    }
}

void MediaEngine::togglePause() {
    if (flags_.loaded && flags_.playing && !flags_.paused) {
        pause();
    } else {
        play();
    }
}

void MediaEngine::stop() {
    releaseSleep();
    host_.stopPlaybackTick();
    if (!flags_.loaded) return;
    if (!flags_.playing && !flags_.paused) {
        switch (settings::get(settings_, keys::StopKey)) {
            case 0:
                host_.runCloseFile();
                return;
            case 1:
                host_.runOpenFileDialog();
                return;
            case 2:
                host_.runExit();
                return;
            default:
                break;
        }
    }
    flags_.playing = false;
    flags_.paused = false;
    host_.showStopped();
    host_.clearCaption();
    setPosition(0.0);
    backend_.setPaused(true);
}

void MediaEngine::setRate(double rate) {
    rate_ = rate;
    backend_.setSpeed(rate);
}

void MediaEngine::rateHalf() {
    if (!flags_.loaded) return;
    if (rate_ > kMinimumRate) setRate(rate_ * 0.5);
    host_.announceRate(rate_);
}

void MediaEngine::rateDouble() {
    if (!flags_.loaded) return;
    if (rate_ < kMaximumRate) setRate(rate_ * 2.0);
    host_.announceRate(rate_);
}

void MediaEngine::rateNormal() {
    if (!flags_.loaded) return;
    setRate(1.0);
    host_.announceRate(rate_);
}

double MediaEngine::duration() const {
    if (!flags_.loaded) return 0.0;
    double d = backend_.duration();
    return d > 0 ? d : duration_;
}

double MediaEngine::position() const { return knownPosition().value_or(0.0); }

std::optional<double> MediaEngine::knownPosition() const {
    if (!flags_.loaded) return std::nullopt;
    // Held at the end of the medium: that is the end, whatever the last frame's time.
    if (backend_.endReached() && duration() > 0) return duration();
    const double p = backend_.position();
    if (p < 0) return std::nullopt;
    return p;
}

void MediaEngine::restartAt(double seconds) {
    if (!seekable()) return;
    setPosition(seconds);
    if (flags_.playing) backend_.setPaused(false);
}

void MediaEngine::setPosition(double seconds) {
    if (!flags_.loaded || !backend_.seekable()) return;
    if (seconds < 0) seconds = 0;
    backend_.seek(seconds);
    host_.afterSeek(seconds);
}

void MediaEngine::inhibitSleep() {
    if (sleepInhibited_) return;
    sleepInhibited_ = true;
    desktop_.inhibitScreenSaver(true);
}

void MediaEngine::releaseSleep() {
    if (!sleepInhibited_) return;
    sleepInhibited_ = false;
    desktop_.inhibitScreenSaver(false);
}

}  // namespace orvalis
