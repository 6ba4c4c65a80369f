#pragma once

#include <string>
#include <vector>

namespace orvalis {

// A subtitle track inside the medium, as the media framework lists it.
struct SubtitleTrack {
    int id = 0;            // the framework's track number, from 1
    std::string language;  // as the medium tags it ("kor", "en", "ko-KR"), may be empty
    std::string title;     // may be empty
    std::string codec;     // "subrip", "ass", "hdmv_pgs_subtitle", ...
    bool isDefault = false;
    bool forced = false;
    bool selected = false;  // the track now drawn
    bool operator==(const SubtitleTrack&) const = default;
};

// Told of the medium's subtitle tracks: an empty list as soon as another medium is asked
// for or the medium is closed, the medium's list once it is loaded (after the load itself is
// reported), and the list again whenever it changes. Always on the owner's thread, never from
// inside another call of the backend.
class SubtitleTrackListener {
public:
    virtual ~SubtitleTrackListener() = default;
    virtual void subtitleTracksChanged(const std::vector<SubtitleTrack>& tracks) = 0;
    // The text of the chosen track now due ("" between its subtitles), lines joined by "\n",
    // with the track's delay applied; told whether or not the framework draws the track. Only
    // the latest text of a burst is told.
    virtual void subtitleTextChanged(const std::string& text) { (void)text; }
    // The same for the second track chosen, shown with the first.
    virtual void secondSubtitleTextChanged(const std::string& text) { (void)text; }
};

// The subtitle tracks inside the medium. The chosen one is drawn by the media framework over
// the picture while it is visible; its text is told either way. Every call returns at once.
// Each medium starts with none of its tracks chosen.
class SubtitleTrackControl {
public:
    virtual ~SubtitleTrackControl() = default;
    virtual void setSubtitleTrackListener(SubtitleTrackListener* listener) = 0;
    // Chooses the track with this id; 0 chooses none.
    virtual void selectSubtitleTrack(int id) = 0;
    // A second track whose text is told beside the first's; the framework never draws it.
    // 0 chooses none.
    virtual void selectSecondSubtitleTrack(int id) { (void)id; }
    virtual void setSubtitlesVisible(bool visible) = 0;
    // Seconds the track's subtitles are shown later than their own times (negative: earlier).
    virtual void setSubtitleDelay(double seconds) = 0;
};

}  // namespace orvalis
