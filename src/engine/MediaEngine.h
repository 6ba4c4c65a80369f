#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/DesktopServices.h"
#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "engine/EngineHost.h"
#include "engine/MediaBackend.h"

namespace orvalis {

struct EngineFlags {
    bool loaded = false;
    bool playing = false;
    bool paused = false;
    bool opening = false;
    bool hasVideo = false;
    bool colourKeyAvailable = false;
    bool captionsLoaded = false;
    bool stream = false;
};

// The playback rates the rate commands reach, halving and doubling from 1.
inline constexpr double kMinimumRate = 0.25;
inline constexpr double kMaximumRate = 16.0;

// Opens one medium at a time and drives it: open, play, pause, stop, seek and speed,
// with the state flags the rest of the player reads. Opening is asynchronous: open
// returns at once, and the medium is loaded (or the open-error box shown) when the
// backend answers.
class MediaEngine final : public BackendListener {
public:
    MediaEngine(MediaBackend& backend, EngineHost& host, SettingsStore& settings,
                DesktopServices& desktop, Prompter& prompter);
    ~MediaEngine() override;

    void openFile(const std::string& path);
    void closeMedia();
    void play();
    void pause();
    void togglePause();
    void stop();

    void rateHalf();
    void rateDouble();
    void rateNormal();
    double rate() const { return rate_; }

    double duration() const;
    double position() const;
    // The position, or nothing while the backend does not know it.
    std::optional<double> knownPosition() const;
    // The backend holds the medium at its end.
    bool atEnd() const { return flags_.loaded && backend_.endReached(); }
    // Seeks can be made: a stream that cannot seek refuses them all.
    bool seekable() const { return flags_.loaded && backend_.seekable(); }
    // Does nothing in a medium that cannot seek.
    void setPosition(double seconds);
    // A repeat going back: the position, and playback resumed if the end had paused it.
    void restartAt(double seconds);

    // Called by the start-of-playback step: rate 1.0 and the medium running.
    void startRunning();

    // The desktop's screen saver stays away only while a medium plays.
    void inhibitSleep();
    void releaseSleep();

    MediaBackend& backend() { return backend_; }
    const EngineFlags& flags() const { return flags_; }
    EngineFlags& flags() { return flags_; }
    const std::string& currentFile() const { return currentFile_; }
    const std::vector<FilterInfo>& filters() const { return filters_; }
    MediaTags tags() const { return flags_.loaded ? backend_.tags() : MediaTags{}; }
    void clearFilters() { filters_.clear(); }
    int videoWidth() const { return videoWidth_; }
    int videoHeight() const { return videoHeight_; }
    const std::string& lastError() const { return lastError_; }

    void backendLoaded(const LoadedMedia& media) override;
    void backendLoadFailed(const std::string& reason) override;
    void backendVideoDecoderChanged(const FilterInfo& decoder) override;

    static std::string openErrorText(const std::string& path);

private:
    void resume();
    void setRate(double rate);

    MediaBackend& backend_;
    EngineHost& host_;
    SettingsStore& settings_;
    DesktopServices& desktop_;
    Prompter& prompter_;

    EngineFlags flags_;
    std::string currentFile_;
    double duration_ = 0.0;
    double rate_ = 1.0;
    int videoWidth_ = 0;
    int videoHeight_ = 0;
    std::vector<FilterInfo> filters_;
    bool sleepInhibited_ = false;
    std::string lastError_;
};

}  // namespace orvalis
