// The libmpv backend's subtitle side: the tracks libmpv reads, and their text, which the
// player's own caption renderer draws.
#include <mpv/client.h>

#include <QMetaObject>
#include <cstdint>
#include <string>

#include "engine/MpvBackend.h"
#include "engine/MpvNames.h"

namespace orvalis {

// A track id, or "no" for none.
void MpvBackend::setTrackProperty(const char* name, int id) {
    if (id <= 0) {
        setPropertyAsync(name, "no");
        return;
    }
    std::int64_t v = id;
    setProperty(name, MPV_FORMAT_INT64, &v);
}

void MpvBackend::selectSecondSubtitleTrack(int id) {
    if (!mpv_) return;
    setTrackProperty(mpvname::kSecondarySubtitleId, id);
}

void MpvBackend::setSubtitlesVisible(bool visible) {
    if (!mpv_) return;
    int flag = visible ? 1 : 0;
    setProperty(mpvname::kSubVisibility, MPV_FORMAT_FLAG, &flag);
}

void MpvBackend::setSubtitleDelay(double seconds) {
    if (!mpv_) return;
    setProperty(mpvname::kSubDelay, MPV_FORMAT_DOUBLE, &seconds);
}

// Told from the event loop, and only while no other medium has been asked for since.
void MpvBackend::reportTracks(const std::vector<SubtitleTrack>& tracks) {
    if (tracks == reportedTracks_) return;
    reportedTracks_ = tracks;
    const std::uint64_t g = loadGeneration_;
    QMetaObject::invokeMethod(
        this,
        [this, g, tracks] {
            if (g == loadGeneration_ && trackListener_)
                trackListener_->subtitleTracksChanged(tracks);
        },
        Qt::QueuedConnection);
}

// A track whose text changes on every frame is told once per turn of the event loop, with
// its latest text.
void MpvBackend::reportSubtitleText(int which, std::string text) {
    TrackText& t = trackTexts_[which];
    t.latest = std::move(text);
    if (t.queued) return;
    t.queued = true;
    const std::uint64_t g = loadGeneration_;
    QMetaObject::invokeMethod(
        this,
        [this, g, which] {
            TrackText& t = trackTexts_[which];
            t.queued = false;
            if (g != loadGeneration_ || t.latest == t.reported) return;
            t.reported = t.latest;
            if (!trackListener_) return;
            if (which == 0)
                trackListener_->subtitleTextChanged(t.reported);
            else
                trackListener_->secondSubtitleTextChanged(t.reported);
        },
        Qt::QueuedConnection);
}

}  // namespace orvalis
