#include "engine/MpvBackend.h"
#include "engine/MpvWakeup.h"

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <QMetaObject>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "base/Naming.h"
#include "engine/Decoding.h"
#include "engine/MpvNames.h"

namespace orvalis {

namespace {

// Reply tags: the kind in the high byte, the load generation below it.
enum ReplyKind : std::uint64_t {
    kReplyLoad = 1,
    kReplyProbeTracks,
    kReplyProbeDuration,
    kReplyProbeFormat,
    kReplyProbeVideoCodec,
    kReplyProbeAudioCodec,
    kReplyProbeAudioOut,
    kReplyProbeTags,
    kReplyFrame,
    kReplySet,
    kReplyOverlay,
};
constexpr int kKindShift = 56;
std::uint64_t tag(ReplyKind kind, std::uint64_t generation) {
    return (std::uint64_t(kind) << kKindShift) | (generation & ((1ull << kKindShift) - 1));
}
ReplyKind kindOf(std::uint64_t t) { return ReplyKind(t >> kKindShift); }
std::uint64_t generationOf(std::uint64_t t) { return t & ((1ull << kKindShift) - 1); }

// Observed property ids.
enum : std::uint64_t {
    kObsTimePos = 1,
    kObsDuration,
    kObsPause,
    kObsSpeed,
    kObsEof,
    kObsWidth,
    kObsHeight,
    kObsHwdec,
    kObsHwdecCurrent,
    kObsTrackList,
    kObsSeekable,
    kObsSubText,
    kObsSecondarySubText,
};

std::string numberText(double v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

const mpv_node* mapValue(const mpv_node& node, const char* key) {
    if (node.format != MPV_FORMAT_NODE_MAP) return nullptr;
    for (int i = 0; i < node.u.list->num; ++i)
        if (std::strcmp(node.u.list->keys[i], key) == 0) return &node.u.list->values[i];
    return nullptr;
}

bool flagOf(const mpv_node& map, const char* key) {
    const mpv_node* v = mapValue(map, key);
    return v && v->format == MPV_FORMAT_FLAG && v->u.flag;
}

std::string stringOf(const mpv_node& map, const char* key) {
    const mpv_node* v = mapValue(map, key);
    return v && v->format == MPV_FORMAT_STRING ? v->u.string : "";
}

// The value of a key of a string map, whatever the key's letter case (tags are "title" in
// one format and "TITLE" in another).
std::string tagOf(const mpv_node& map, std::string_view key) {
    if (map.format != MPV_FORMAT_NODE_MAP) return {};
    auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    };
    for (int i = 0; i < map.u.list->num; ++i) {
        const char* k = map.u.list->keys[i];
        const mpv_node& v = map.u.list->values[i];
        if (k && v.format == MPV_FORMAT_STRING && v.u.string &&
            std::equal(key.begin(), key.end(), k, k + std::strlen(k), same))
            return v.u.string;
    }
    return {};
}

std::int64_t intOf(const mpv_node& map, const char* key) {
    const mpv_node* v = mapValue(map, key);
    return v && v->format == MPV_FORMAT_INT64 ? v->u.int64 : 0;
}

// The picture of a "screenshot-raw" reply, when its numbers hold together.
std::optional<VideoFrame> frameOf(const mpv_node& map) {
    const std::int64_t w = intOf(map, "w"), h = intOf(map, "h"), stride = intOf(map, "stride");
    const mpv_node* data = mapValue(map, "data");
    constexpr std::int64_t kMaxSide = 1 << 15;
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || stride < w * 4) return std::nullopt;
    if (!data || data->format != MPV_FORMAT_BYTE_ARRAY || !data->u.ba || !data->u.ba->data)
        return std::nullopt;
    const std::size_t needed = std::size_t(stride) * std::size_t(h - 1) + std::size_t(w) * 4;
    if (data->u.ba->size < needed) return std::nullopt;
    VideoFrame frame;
    frame.width = int(w);
    frame.height = int(h);
    frame.stride = std::size_t(stride);
    // libmpv before 0.37 always answers in "bgr0" and may not name it.
    frame.format = stringOf(map, "format");
    if (frame.format.empty()) frame.format = "bgr0";
    frame.pixels.assign(static_cast<const char*>(data->u.ba->data), needed);
    return frame;
}

// The subtitle tracks of a "track-list" value.
std::vector<SubtitleTrack> subtitleTracksOf(const mpv_node& list) {
    std::vector<SubtitleTrack> tracks;
    if (list.format != MPV_FORMAT_NODE_ARRAY) return tracks;
    for (int i = 0; i < list.u.list->num; ++i) {
        const mpv_node& t = list.u.list->values[i];
        if (stringOf(t, "type") != "sub") continue;
        const std::int64_t id = intOf(t, "id");
        if (id <= 0 || id > 1'000'000) continue;
        SubtitleTrack track;
        track.id = static_cast<int>(id);
        track.language = stringOf(t, "lang");
        track.title = stringOf(t, "title");
        track.codec = stringOf(t, "codec");
        track.isDefault = flagOf(t, "default");
        track.forced = flagOf(t, "forced");
        track.selected = flagOf(t, "selected");
        tracks.push_back(std::move(track));
    }
    return tracks;
}

// The id of the video track now chosen in libmpv's track list; 0 for none.
std::int64_t selectedVideoOf(const mpv_node& list) {
    if (list.format != MPV_FORMAT_NODE_ARRAY) return 0;
    for (int i = 0; i < list.u.list->num; ++i) {
        const mpv_node& t = list.u.list->values[i];
        if (stringOf(t, "type") == "video" && flagOf(t, "selected") && !flagOf(t, "albumart"))
            return intOf(t, "id");
    }
    return 0;
}

std::string stringReply(const mpv_event& e) {
    if (e.error < 0 || !e.data) return {};
    auto* p = static_cast<mpv_event_property*>(e.data);
    if (p->format != MPV_FORMAT_STRING || !p->data) return {};
    return *static_cast<char**>(p->data);
}

}  // namespace

// One wake-up record per handle; it lives as long as libmpv may call back.
static void onMpvWakeup(void* data) {
    auto* w = static_cast<MpvWakeup*>(data);
    if (w->eventsPending.exchange(true)) return;
    QMetaObject::invokeMethod(w->target.data(), "drainEvents", Qt::QueuedConnection);
}

MpvBackend::MpvBackend(Options options, QObject* parent) : QObject(parent), options_(options) {
    // libmpv parses numbers with the C locale and refuses to start otherwise.
    std::setlocale(LC_NUMERIC, "C");
    mpv_ = mpv_create();
    if (!mpv_) return;

    auto opt = [&](const char* name, const std::string& value) {
        mpv_set_option_string(mpv_, name, value.c_str());
    };
    opt("vo", options_.videoOutput ? "libmpv" : "null");
    if (!options_.audioOutput) opt("ao", "null");
    opt("idle", "yes");
    opt("keep-open", "yes");
    opt("pause", "yes");
    opt("terminal", "no");
    opt("config", "no");
    opt("load-scripts", "no");
    opt("osc", "no");
    // libmpv's own scripts (statistics page, console, profile rules) are of no use here and
    // each one is a thread that start-up and shut-down wait for.
    opt("load-stats-overlay", "no");
    opt("load-osd-console", "no");
    opt("load-auto-profiles", "no");
    opt("ytdl", "no");
    opt("input-default-bindings", "no");
    opt("input-vo-keyboard", "no");
    opt("osd-level", "0");
    // Captions are the player's own; libmpv draws none and shows no cover art as video.
    opt("sub-auto", "no");
    opt("sid", "no");
    // A second track's text is drawn by the player's captions, never by libmpv.
    opt(mpvname::kSecondarySubVisibility, "no");
    opt("audio-display", "no");
    opt("hr-seek", "yes");
    opt("network-timeout", "10");
    opt("hwdec", options_.hwdec);
    opt("audio-client-name", "Orvalis");

    if (mpv_initialize(mpv_) < 0) {
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        return;
    }
    mpv_request_log_messages(mpv_, "error");
    mpv_observe_property(mpv_, kObsTimePos, mpvname::kTimePos, MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_, kObsDuration, mpvname::kDuration, MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_, kObsPause, mpvname::kPause, MPV_FORMAT_FLAG);
    mpv_observe_property(mpv_, kObsSpeed, mpvname::kSpeed, MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_, kObsEof, mpvname::kEofReached, MPV_FORMAT_FLAG);
    mpv_observe_property(mpv_, kObsWidth, mpvname::kDisplayWidth, MPV_FORMAT_INT64);
    mpv_observe_property(mpv_, kObsHeight, mpvname::kDisplayHeight, MPV_FORMAT_INT64);
    mpv_observe_property(mpv_, kObsHwdec, mpvname::kHwdec, MPV_FORMAT_STRING);
    mpv_observe_property(mpv_, kObsHwdecCurrent, mpvname::kHwdecCurrent, MPV_FORMAT_STRING);
    mpv_observe_property(mpv_, kObsTrackList, mpvname::kTrackList, MPV_FORMAT_NODE);
    mpv_observe_property(mpv_, kObsSeekable, mpvname::kSeekable, MPV_FORMAT_FLAG);
    mpv_observe_property(mpv_, kObsSubText, mpvname::kSubText, MPV_FORMAT_STRING);
    mpv_observe_property(mpv_, kObsSecondarySubText, mpvname::kSecondarySubText, MPV_FORMAT_STRING);

    wakeup_ = std::make_unique<MpvWakeup>();
    wakeup_->target = this;
    mpv_set_wakeup_callback(mpv_, onMpvWakeup, wakeup_.get());

    sizeTimer_.setSingleShot(true);
    connect(&sizeTimer_, &QTimer::timeout, this, &MpvBackend::finishLoadWithoutSize);
    seekWait_.setSingleShot(true);
    connect(&seekWait_, &QTimer::timeout, this, [this] { sendFramesAfterSeek(); });
}

MpvBackend::~MpvBackend() {
    releaseRenderer();
    if (mpv_) {
        mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
        mpv_terminate_destroy(mpv_);
    }
}

void MpvBackend::command(std::initializer_list<const char*> args, std::uint64_t replyTag) {
    if (!mpv_) return;
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    mpv_command_async(mpv_, replyTag, argv.data());
}

void MpvBackend::setPropertyAsync(const char* name, const std::string& value) {
    const char* v = value.c_str();
    setProperty(name, MPV_FORMAT_STRING, &v);
}

// Every set is answered; the answer names the property, so that a refusal can be told.
void MpvBackend::setProperty(const char* name, int format, void* value) {
    if (!mpv_) return;
    const std::uint64_t id = ++propertySets_;
    pendingSets_[id] = name;
    if (mpv_set_property_async(mpv_, tag(kReplySet, id), name, mpv_format(format), value) < 0)
        pendingSets_.erase(id);
}

void MpvBackend::answerSet(const mpv_event& e) {
    auto it = pendingSets_.find(generationOf(e.reply_userdata));
    if (it == pendingSets_.end()) return;
    if (e.error < 0) {
        std::string refusal = it->second + ": " + mpv_error_string(e.error);
        std::fprintf(stderr, "Orvalis: libmpv refused to set %s\n", refusal.c_str());
        refusedSets_.push_back(std::move(refusal));
        if (refusedSets_.size() > 50) refusedSets_.erase(refusedSets_.begin());
    }
    pendingSets_.erase(it);
}

void MpvBackend::grabFrame(std::function<void(std::optional<VideoFrame>)> done) {
    if (!done) return;
    if (!mpv_) {
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    const std::uint64_t id = ++frameRequests_;
    frameAnswers_[id] = std::move(done);
    if (!seeking_) {
        requestFrame(id);
        return;
    }
    framesAfterSeek_.push_back(id);
    if (!seekWait_.isActive()) seekWait_.start(2000);
}

void MpvBackend::requestFrame(std::uint64_t id) {
    // "video": the decoded picture alone, without captions or on-screen text.
    command({mpvname::kScreenshotRaw, "video"}, tag(kReplyFrame, id));
}

void MpvBackend::sendFramesAfterSeek() {
    seeking_ = false;
    seekWait_.stop();
    for (std::uint64_t id : framesAfterSeek_) requestFrame(id);
    framesAfterSeek_.clear();
}

void MpvBackend::answerFrame(const mpv_event& e) {
    auto it = frameAnswers_.find(generationOf(e.reply_userdata));
    if (it == frameAnswers_.end()) return;
    auto done = std::move(it->second);
    frameAnswers_.erase(it);
    std::optional<VideoFrame> frame;
    if (e.error >= 0 && e.data) frame = frameOf(static_cast<mpv_event_command*>(e.data)->result);
    // Answered from the event loop, never from inside the drain.
    auto shared = std::make_shared<std::optional<VideoFrame>>(std::move(frame));
    QMetaObject::invokeMethod(
        this, [done = std::move(done), shared] { done(std::move(*shared)); }, Qt::QueuedConnection);
}

void MpvBackend::load(const std::string& pathOrAddress) {
    ++loadGeneration_;
    tracker_.begin();
    loading_ = LoadedMedia{};
    probesOutstanding_ = 0;
    sizeTimer_.stop();
    position_ = -1.0;
    duration_ = -1.0;
    endReached_ = false;
    seekable_ = true;
    width_ = height_ = 0;
    videoCodec_.clear();
    tags_ = {};
    sendFramesAfterSeek();
    if (!mpv_) {
        QMetaObject::invokeMethod(
            this, [this] { failLoad("libmpv is not available"); }, Qt::QueuedConnection);
        return;
    }
    setPaused(true);
    // A track chosen for the last medium would otherwise be chosen again in this one.
    setPropertyAsync(mpvname::kSubtitleId, "no");
    setPropertyAsync(mpvname::kSecondarySubtitleId, "no");
    loadReported_ = false;
    reportTracks({});
    for (TrackText& t : trackTexts_) t.reported.clear();
    // libmpv holds a medium at its end by seeking to its last frame, which a stream that
    // cannot seek refuses again and again: addresses end like a played-out medium instead.
    setPropertyAsync(mpvname::kKeepOpen, isStreamAddress(pathOrAddress) ? "no" : "yes");
    command({mpvname::kLoadFile, pathOrAddress.c_str(), mpvname::kReplace},
            tag(kReplyLoad, loadGeneration_));
}

void MpvBackend::unload() {
    ++loadGeneration_;
    tracker_.cancel();
    sizeTimer_.stop();
    position_ = -1.0;
    duration_ = -1.0;
    endReached_ = false;
    videoCodec_.clear();
    tags_ = {};
    sendFramesAfterSeek();
    loadReported_ = false;
    reportTracks({});
    for (TrackText& t : trackTexts_) t.reported.clear();
    command({mpvname::kStop});
}

void MpvBackend::setPaused(bool paused) {
    paused_ = paused;
    if (!mpv_) return;
    int flag = paused ? 1 : 0;
    setProperty(mpvname::kPause, MPV_FORMAT_FLAG, &flag);
}

void MpvBackend::seek(double seconds) {
    position_ = seconds;
    endReached_ = false;
    seeking_ = true;
    std::string target = numberText(seconds);
    command({mpvname::kSeek, target.c_str(), mpvname::kAbsoluteExact});
}

void MpvBackend::setSpeed(double speed) {
    speed_ = speed;
    if (!mpv_) return;
    setProperty(mpvname::kSpeed, MPV_FORMAT_DOUBLE, &speed);
}

void MpvBackend::setVolume(double volume) {
    if (!mpv_) return;
    setProperty(mpvname::kVolume, MPV_FORMAT_DOUBLE, &volume);
}

void MpvBackend::setMute(bool mute) {
    if (!mpv_) return;
    int flag = mute ? 1 : 0;
    setProperty(mpvname::kMute, MPV_FORMAT_FLAG, &flag);
}

void MpvBackend::setPictureAdjustments(int brightness, int contrast, int saturation) {
    if (!mpv_) return;
    std::int64_t b = brightness, c = contrast, s = saturation;
    setProperty(mpvname::kBrightness, MPV_FORMAT_INT64, &b);
    setProperty(mpvname::kContrast, MPV_FORMAT_INT64, &c);
    setProperty(mpvname::kSaturation, MPV_FORMAT_INT64, &s);
}

void MpvBackend::selectSubtitleTrack(int id) {
    if (!mpv_) return;
    setTrackProperty(mpvname::kSubtitleId, id);
    // libmpv before 0.37 draws a track chosen while paused only from the next frame on
    // (mpv issue 8311): a seek to where the picture stands gives it one.
    if (id > 0 && paused_ && position_ >= 0) {
        const std::string here = numberText(position_);
        command({mpvname::kSeek, here.c_str(), mpvname::kAbsoluteExact});
    }
}

bool MpvBackend::setOverlay(const OverlayPicture* picture) {
    if (!mpv_ || !options_.videoOutput) return false;
    if (!picture || !picture->pixels || picture->width <= 0 || picture->height <= 0) {
        command({mpvname::kOverlayRemove, "0"});
        return true;
    }
    const std::uint64_t id = ++overlayRequests_;
    overlayPixels_[id] = picture->keep;
    const std::string at = "&" + std::to_string(reinterpret_cast<std::uintptr_t>(picture->pixels));
    const std::string x = std::to_string(picture->x), y = std::to_string(picture->y);
    const std::string w = std::to_string(picture->width), h = std::to_string(picture->height);
    const std::string stride = std::to_string(picture->stride);
    command({mpvname::kOverlayAdd, "0", x.c_str(), y.c_str(), at.c_str(), "0",
             mpvname::kOverlayFormat, w.c_str(), h.c_str(), stride.c_str()},
            tag(kReplyOverlay, id));
    return true;
}

void MpvBackend::setVideoPlacement(double left, double top, double right, double bottom,
                                   bool keepAspect, double zoom) {
    if (!mpv_) return;
    struct Margin {
        const char* name;
        double value;
    };
    for (Margin m : {Margin{mpvname::kMarginLeft, left}, Margin{mpvname::kMarginTop, top},
                     Margin{mpvname::kMarginRight, right}, Margin{mpvname::kMarginBottom, bottom}}) {
        double v = std::clamp(m.value, 0.0, 1.0);
        setProperty(m.name, MPV_FORMAT_DOUBLE, &v);
    }
    int keep = keepAspect ? 1 : 0;
    setProperty(mpvname::kKeepAspect, MPV_FORMAT_FLAG, &keep);
    setProperty(mpvname::kVideoZoom, MPV_FORMAT_DOUBLE, &zoom);
}

void MpvBackend::drainEvents() {
    if (wakeup_) wakeup_->eventsPending = false;
    if (!mpv_ || draining_) return;
    draining_ = true;
    for (;;) {
        mpv_event* e = mpv_wait_event(mpv_, 0);
        if (!e || e->event_id == MPV_EVENT_NONE) break;
        handleEvent(*e);
    }
    draining_ = false;
}

void MpvBackend::handleEvent(const mpv_event& e) {
    switch (e.event_id) {
        case MPV_EVENT_PROPERTY_CHANGE:
            handlePropertyChange(e);
            break;
        case MPV_EVENT_COMMAND_REPLY:
        case MPV_EVENT_GET_PROPERTY_REPLY:
            handleReply(e);
            break;
        case MPV_EVENT_SET_PROPERTY_REPLY:
            answerSet(e);
            break;
        case MPV_EVENT_IDLE:
            fileActive_ = false;
            break;
        case MPV_EVENT_START_FILE: {
            fileActive_ = true;
            auto* s = static_cast<mpv_event_start_file*>(e.data);
            tracker_.started(s ? s->playlist_entry_id : -1);
            break;
        }
        case MPV_EVENT_FILE_LOADED:
            take(tracker_.loaded());
            break;
        case MPV_EVENT_END_FILE: {
            auto* end = static_cast<mpv_event_end_file*>(e.data);
            if (!end) break;
            const bool error = end->reason == MPV_END_FILE_REASON_ERROR;
            const bool stopped =
                end->reason == MPV_END_FILE_REASON_STOP || end->reason == MPV_END_FILE_REASON_QUIT;
            take(tracker_.ended(end->playlist_entry_id, stopped,
                                error ? mpv_error_string(end->error) : ""));
            break;
        }
        case MPV_EVENT_PLAYBACK_RESTART:
            // The seek is done and its picture shown.
            sendFramesAfterSeek();
            break;
        case MPV_EVENT_VIDEO_RECONFIG:
            if (width_ > 0 && height_ > 0) take(tracker_.sized());
            break;
        case MPV_EVENT_LOG_MESSAGE: {
            auto* m = static_cast<mpv_event_log_message*>(e.data);
            if (m) std::fprintf(stderr, "mpv %s: %s", m->prefix, m->text);
            break;
        }
        default:
            break;
    }
}

void MpvBackend::handlePropertyChange(const mpv_event& e) {
    auto* p = static_cast<mpv_event_property*>(e.data);
    bool has = p && p->data && p->format != MPV_FORMAT_NONE;
    switch (e.reply_userdata) {
        case kObsTimePos:
            // libmpv has no time while a seek is under way: the target stands until it lands.
            if (!has && seeking_) break;
            position_ = has ? *static_cast<double*>(p->data) : -1.0;
            break;
        case kObsDuration:
            duration_ = has ? *static_cast<double*>(p->data) : -1.0;
            break;
        case kObsPause:
            if (has) paused_ = *static_cast<int*>(p->data) != 0;
            break;
        case kObsSpeed:
            if (has) speed_ = *static_cast<double*>(p->data);
            break;
        case kObsEof:
            // Unavailable once a medium that libmpv does not hold open has ended: the end stays.
            if (has) endReached_ = *static_cast<int*>(p->data) != 0;
            break;
        case kObsSeekable:
            seekable_ = !has || *static_cast<int*>(p->data) != 0;
            break;
        case kObsWidth:
            width_ = has ? *static_cast<std::int64_t*>(p->data) : 0;
            break;
        case kObsHeight:
            height_ = has ? *static_cast<std::int64_t*>(p->data) : 0;
            break;
        case kObsHwdec:
            if (has && p->format == MPV_FORMAT_STRING) hwdec_ = *static_cast<char**>(p->data);
            break;
        case kObsHwdecCurrent:
            hwdecCurrent_ =
                has && p->format == MPV_FORMAT_STRING ? *static_cast<char**>(p->data) : "";
            hwdecChanged();
            break;
        case kObsSubText:
        case kObsSecondarySubText:
            reportSubtitleText(
                e.reply_userdata == kObsSubText ? 0 : 1,
                has && p->format == MPV_FORMAT_STRING ? *static_cast<char**>(p->data) : "");
            break;
        case kObsTrackList:
            observedTracks_.clear();
            if (has && p->format == MPV_FORMAT_NODE) {
                observedTracks_ = subtitleTracksOf(*static_cast<mpv_node*>(p->data));
                if (render_) videoTrack_ = selectedVideoOf(*static_cast<mpv_node*>(p->data));
            }
            if (loadReported_) reportTracks(observedTracks_);
            break;
        default:
            break;
    }
    if (width_ > 0 && height_ > 0) take(tracker_.sized());
}

void MpvBackend::handleReply(const mpv_event& e) {
    if (kindOf(e.reply_userdata) == kReplyOverlay) {
        overlayPixels_.erase(generationOf(e.reply_userdata));
        return;
    }
    if (kindOf(e.reply_userdata) == kReplyFrame) {
        answerFrame(e);
        return;
    }
    if (generationOf(e.reply_userdata) != loadGeneration_) return;
    ReplyKind kind = kindOf(e.reply_userdata);
    if (kind == kReplyLoad) {
        if (e.error < 0) {
            take(tracker_.replied(std::nullopt, mpv_error_string(e.error)));
            return;
        }
        auto* result = static_cast<mpv_event_command*>(e.data);
        const mpv_node* id = result ? mapValue(result->result, "playlist_entry_id") : nullptr;
        take(tracker_.replied(id && id->format == MPV_FORMAT_INT64 ? std::optional(id->u.int64)
                                                                   : std::nullopt));
        return;
    }
    if (tracker_.phase() != LoadTracker::Phase::Probing) return;
    auto* prop = static_cast<mpv_event_property*>(e.data);
    switch (kind) {
        case kReplyProbeTracks:
            if (e.error >= 0 && prop && prop->format == MPV_FORMAT_NODE) {
                auto* list = static_cast<mpv_node*>(prop->data);
                bool anyAudio = false, anyVideo = false;
                if (list->format == MPV_FORMAT_NODE_ARRAY) {
                    for (int i = 0; i < list->u.list->num; ++i) {
                        const mpv_node& t = list->u.list->values[i];
                        std::string type = stringOf(t, "type");
                        bool selected = flagOf(t, "selected");
                        if (type == "audio") anyAudio = true;
                        if (type == "video" && !flagOf(t, "albumart")) {
                            anyVideo = true;
                            if (selected) loading_.hasVideo = true;
                        }
                    }
                }
                if (!anyAudio && !anyVideo) loading_.duration = -2;  // nothing to play
                observedTracks_ = subtitleTracksOf(*list);
            }
            break;
        case kReplyProbeDuration:
            if (e.error >= 0 && prop && prop->format == MPV_FORMAT_DOUBLE && loading_.duration != -2)
                loading_.duration = *static_cast<double*>(prop->data);
            break;
        case kReplyProbeFormat:
            if (auto s = stringReply(e); !s.empty())
                loading_.filters.push_back({"Demuxer: " + s, "Container format: " + s, true});
            break;
        case kReplyProbeVideoCodec:
            // Named again with the decoding in use when the load completes.
            if (auto s = stringReply(e); !s.empty()) {
                loadingCodec_ = s;
                loading_.filters.push_back(decoding::videoDecoderFilter(s, hwdecCurrent_));
            }
            break;
        case kReplyProbeTags:
            if (e.error >= 0 && prop && prop->format == MPV_FORMAT_NODE) {
                const auto& map = *static_cast<mpv_node*>(prop->data);
                loadingTags_ = {tagOf(map, "title"), tagOf(map, "artist"), tagOf(map, "album")};
            }
            break;
        case kReplyProbeAudioCodec:
            if (auto s = stringReply(e); !s.empty())
                loading_.filters.push_back({"Audio decoder: " + s, "Audio codec: " + s, true});
            break;
        case kReplyProbeAudioOut:
            if (auto s = stringReply(e); !s.empty())
                loading_.filters.push_back({"Audio output: " + s, "Audio output driver: " + s, true});
            break;
        default:
            break;
    }
    if (--probesOutstanding_ > 0) return;

    if (loading_.duration == -2) {
        failLoad("no audio or video");
        return;
    }
    if (loading_.hasVideo) {
        loading_.filters.push_back({options_.videoOutput ? "Video output: libmpv (OpenGL)"
                                                          : "Video output: none",
                                    "Frames are drawn by the player's video surface.", true});
    }
    const bool waitForSize = loading_.hasVideo && !(width_ > 0 && height_ > 0);
    if (waitForSize) sizeTimer_.start(3000);
    take(tracker_.probed(waitForSize));
}

void MpvBackend::take(const LoadTracker::Step& step) {
    using Kind = LoadTracker::Step::Kind;
    switch (step.kind) {
        case Kind::Probe: probeLoadedMedia(); break;
        case Kind::Finish: finishLoad(); break;
        case Kind::Fail: failLoad(step.reason); break;
        case Kind::Ended: endReached_ = true; break;
        case Kind::None: break;
    }
}

void MpvBackend::probeLoadedMedia() {
    loadingCodec_.clear();
    loadingTags_ = {};
    const std::uint64_t g = loadGeneration_;
    struct Probe {
        ReplyKind kind;
        const char* name;
        mpv_format format;
    };
    const Probe probes[] = {
        {kReplyProbeTracks, mpvname::kTrackList, MPV_FORMAT_NODE},
        {kReplyProbeDuration, mpvname::kDuration, MPV_FORMAT_DOUBLE},
        {kReplyProbeFormat, mpvname::kFileFormat, MPV_FORMAT_STRING},
        {kReplyProbeVideoCodec, mpvname::kVideoCodec, MPV_FORMAT_STRING},
        {kReplyProbeTags, mpvname::kMetadata, MPV_FORMAT_NODE},
        {kReplyProbeAudioCodec, mpvname::kAudioCodec, MPV_FORMAT_STRING},
        {kReplyProbeAudioOut, mpvname::kCurrentAo, MPV_FORMAT_STRING},
    };
    probesOutstanding_ = static_cast<int>(std::size(probes));
    for (const auto& p : probes) mpv_get_property_async(mpv_, tag(p.kind, g), p.name, p.format);
}

void MpvBackend::finishLoadWithoutSize() { take(tracker_.sized()); }

void MpvBackend::finishLoad() {
    sizeTimer_.stop();
    if (loading_.duration < 0) loading_.duration = 0;
    if (loading_.hasVideo) {
        loading_.videoWidth = static_cast<int>(width_);
        loading_.videoHeight = static_cast<int>(height_);
    }
    videoCodec_ = loadingCodec_;
    tags_ = loadingTags_;
    reportedHwdec_ = hwdecCurrent_;
    for (auto& f : loading_.filters)
        if (decoding::isVideoDecoderFilter(f))
            f = decoding::videoDecoderFilter(videoCodec_, reportedHwdec_);
    const std::uint64_t g = loadGeneration_;
    LoadedMedia media = loading_;
    // Delivered from the event loop, never from inside the drain.
    QMetaObject::invokeMethod(
        this,
        [this, g, media] {
            if (g == loadGeneration_ && listener_) listener_->backendLoaded(media);
        },
        Qt::QueuedConnection);
    loadReported_ = true;
    reportTracks(observedTracks_);
}

// Hardware decoding may begin, or fall back to software, after the medium has loaded.
void MpvBackend::hwdecChanged() {
    if (videoCodec_.empty() || tracker_.phase() != LoadTracker::Phase::Idle || hwdecCurrent_ == reportedHwdec_) return;
    reportedHwdec_ = hwdecCurrent_;
    const std::uint64_t g = loadGeneration_;
    FilterInfo decoder = decoding::videoDecoderFilter(videoCodec_, reportedHwdec_);
    QMetaObject::invokeMethod(
        this,
        [this, g, decoder] {
            if (g == loadGeneration_ && listener_) listener_->backendVideoDecoderChanged(decoder);
        },
        Qt::QueuedConnection);
}

void MpvBackend::failLoad(const std::string& reason) {
    sizeTimer_.stop();
    tracker_.cancel();
    const std::uint64_t g = loadGeneration_;
    QMetaObject::invokeMethod(
        this,
        [this, g, reason] {
            if (g == loadGeneration_ && listener_) listener_->backendLoadFailed(reason);
        },
        Qt::QueuedConnection);
}

}  // namespace orvalis
