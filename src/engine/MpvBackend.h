#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/LoadTracker.h"
#include "engine/MediaBackend.h"
#include "engine/SubtitleTracks.h"
#include "engine/VideoOutput.h"

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;

namespace orvalis {

struct MpvWakeup;

// The one owner of the libmpv handle. Every request to libmpv is asynchronous; libmpv's
// events are drained on the Qt thread that created this object, and the values the player
// reads (position, duration, pause, end) are kept here as the events report them, so the
// user interface never waits on libmpv.
class MpvBackend final : public QObject, public PlayerBackend {
    Q_OBJECT
public:
    struct Options {
        bool videoOutput = true;  // false: no picture is drawn anywhere (tests, audio)
        bool audioOutput = true;
        std::string hwdec = "no";
    };

    explicit MpvBackend(Options options, QObject* parent = nullptr);
    ~MpvBackend() override;

    bool isValid() const { return mpv_ != nullptr; }
    // libmpv has a medium open (from its start until it ended or was stopped).
    bool mediumOpen() const { return fileActive_; }

    void setListener(BackendListener* listener) override { listener_ = listener; }
    void load(const std::string& pathOrAddress) override;
    void unload() override;
    void setPaused(bool paused) override;
    void seek(double seconds) override;
    void setSpeed(double speed) override;
    double position() const override { return position_; }
    double duration() const override { return duration_; }
    bool endReached() const override { return endReached_; }
    bool seekable() const override { return seekable_; }
    // The property sets libmpv refused lately, "name: reason", oldest first.
    const std::vector<std::string>& refusedSets() const { return refusedSets_; }
    MediaTags tags() const override { return tags_; }
    bool paused() const { return paused_; }
    double speed() const { return speed_; }
    // libmpv's "hwdec" as it took it, and the hardware decoder now in use ("no" for none);
    // both empty until libmpv has reported them.
    const std::string& hwdec() const { return hwdec_; }
    const std::string& hwdecCurrent() const { return hwdecCurrent_; }
    void setVolume(double volume) override;
    void setMute(bool mute) override;
    void setPictureAdjustments(int brightness, int contrast, int saturation) override;

    // The medium's own subtitle tracks, drawn by libmpv into the picture it renders.
    void setSubtitleTrackListener(SubtitleTrackListener* listener) override {
        trackListener_ = listener;
    }
    void selectSubtitleTrack(int id) override;
    void selectSecondSubtitleTrack(int id) override;
    void setSubtitlesVisible(bool visible) override;
    void setSubtitleDelay(double seconds) override;

    // VideoOutput: libmpv's render API in the video surface's OpenGL context.
    bool initRenderer(GetProcAddress getProcAddress, void* context) override;
    void render(int framebuffer, int width, int height, bool flipY) override;
    void releaseRenderer() override;
    void renderContextLost() override;
    bool hasRenderer() const { return render_ != nullptr; }
    void setFrameReadyCallback(std::function<void()> callback) override {
        frameReady_ = std::move(callback);
    }
    void setVideoPlacement(double left, double top, double right, double bottom, bool keepAspect,
                           double zoom) override;
    void grabFrame(std::function<void(std::optional<VideoFrame>)> done) override;
    // libmpv draws it in its own on-screen pass, as it draws its subtitles: no second pass
    // over the frame. The pixels are kept until libmpv has copied them.
    bool setOverlay(const OverlayPicture* picture) override;

    // Sends an arbitrary property value asynchronously (later features use this).
    void setPropertyAsync(const char* name, const std::string& value);

private slots:
    void drainEvents();
    void finishLoadWithoutSize();

private:
    void handleEvent(const mpv_event& event);
    void handlePropertyChange(const mpv_event& event);
    void handleReply(const mpv_event& event);
    void answerFrame(const mpv_event& event);
    void requestFrame(std::uint64_t id);
    void sendFramesAfterSeek();
    void probeLoadedMedia();
    void finishLoad();
    void failLoad(const std::string& reason);
    void take(const LoadTracker::Step& step);
    void command(std::initializer_list<const char*> args, std::uint64_t tag = 0);
    // `format` is an mpv_format.
    void setProperty(const char* name, int format, void* value);
    void setTrackProperty(const char* name, int id);
    void answerSet(const mpv_event& event);
    void hwdecChanged();
    void reportTracks(const std::vector<SubtitleTrack>& tracks);
    // Which: 0 for the chosen track, 1 for the second.
    void reportSubtitleText(int which, std::string text);
    // libmpv's render update callback, from its render thread.
    static void onRenderUpdate(void* wakeup);

    Options options_;
    std::unique_ptr<MpvWakeup> wakeup_;
    mpv_handle* mpv_ = nullptr;
    mpv_render_context* render_ = nullptr;
    bool fileActive_ = false;  // a medium is open in libmpv (between its start and idle)
    std::int64_t videoTrack_ = 0;  // its video track while a renderer draws it
    std::int64_t videoLost_ = 0;   // the track that went with a lost renderer
    BackendListener* listener_ = nullptr;
    std::function<void()> frameReady_;
    bool draining_ = false;

    // Values kept current from libmpv's events.
    double position_ = -1.0;
    double duration_ = -1.0;
    bool endReached_ = false;
    bool seekable_ = true;
    bool paused_ = true;
    double speed_ = 1.0;
    std::int64_t width_ = 0;
    std::int64_t height_ = 0;
    std::string hwdec_;
    std::string hwdecCurrent_;
    // The loaded medium's video codec, and the decoding its filter entry last named.
    std::string videoCodec_;
    std::string reportedHwdec_;

    // The load in progress: matched by libmpv's playlist entry ids.
    LoadTracker tracker_;
    std::uint64_t loadGeneration_ = 0;
    LoadedMedia loading_;
    std::string loadingCodec_;
    MediaTags loadingTags_;
    MediaTags tags_;
    int probesOutstanding_ = 0;
    QTimer sizeTimer_;

    // Frame requests waiting for libmpv's answer, by request number. While a seek is under
    // way libmpv still shows the old picture: requests wait for the new one (or a while).
    std::uint64_t frameRequests_ = 0;
    std::map<std::uint64_t, std::function<void(std::optional<VideoFrame>)>> frameAnswers_;
    bool seeking_ = false;
    std::vector<std::uint64_t> framesAfterSeek_;
    QTimer seekWait_;

    // Overlay pixels libmpv has still to copy, by request number.
    std::uint64_t overlayRequests_ = 0;
    std::map<std::uint64_t, std::shared_ptr<const void>> overlayPixels_;

    // Property sets waiting for libmpv's answer, by number, and the ones it refused.
    std::uint64_t propertySets_ = 0;
    std::map<std::uint64_t, std::string> pendingSets_;
    std::vector<std::string> refusedSets_;

    // The subtitle tracks: the list libmpv gave last, and the one the listener was told. A
    // medium's list is told only once its load has been reported.
    SubtitleTrackListener* trackListener_ = nullptr;
    std::vector<SubtitleTrack> observedTracks_;
    std::vector<SubtitleTrack> reportedTracks_;
    bool loadReported_ = false;
    // The chosen tracks' texts as libmpv gave them last, and as the listener was told them.
    struct TrackText {
        std::string latest;
        std::string reported;
        bool queued = false;
    };
    TrackText trackTexts_[2];
};

}  // namespace orvalis
