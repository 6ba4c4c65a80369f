#pragma once

#include <string>
#include <vector>

namespace orvalis {

// One element of the playback chain now in use (demuxer, decoders, outputs), for the
// filter information menu.
struct FilterInfo {
    std::string name;
    std::string details;
    bool hasProperties = false;
};

// What the medium says of itself, where it says anything: empty texts otherwise.
struct MediaTags {
    std::string title;
    std::string artist;
    std::string album;
    bool operator==(const MediaTags&) const = default;
};

struct LoadedMedia {
    double duration = 0.0;  // 0 when unknown (live streams); it may become known later
    bool hasVideo = false;  // cover art is not video
    int videoWidth = 0;     // display size of the picture, 0 without video
    int videoHeight = 0;
    std::vector<FilterInfo> filters;
};

// Events of the backend, always delivered on the thread that owns the engine, never from
// inside another backend call.
class BackendListener {
public:
    virtual ~BackendListener() = default;
    virtual void backendLoaded(const LoadedMedia& media) = 0;
    virtual void backendLoadFailed(const std::string& reason) = 0;
    // The loaded medium's video is now decoded otherwise (hardware decoding began, or fell
    // back to software): the filter table's decoder entry becomes this one.
    virtual void backendVideoDecoderChanged(const FilterInfo& decoder) { (void)decoder; }
};

// The media framework behind the engine. Every call returns at once; results arrive as
// events or are read from values the backend keeps current.
class MediaBackend {
public:
    virtual ~MediaBackend() = default;

    virtual void setListener(BackendListener* listener) = 0;
    // Opens a file or address, paused at its start. Replaces what was loaded.
    virtual void load(const std::string& pathOrAddress) = 0;
    virtual void unload() = 0;

    virtual void setPaused(bool paused) = 0;
    virtual void seek(double seconds) = 0;  // absolute and exact
    virtual void setSpeed(double speed) = 0;

    // Seconds; negative when not known yet.
    virtual double position() const = 0;
    virtual double duration() const = 0;
    virtual bool endReached() const = 0;
    // False for a medium that cannot seek (a live stream, a server without range requests).
    virtual bool seekable() const { return true; }
    // The loaded medium's tags; empty ones until it has loaded, and for backends that
    // read none.
    virtual MediaTags tags() const { return {}; }

    // libmpv's volume scale (0..100, cubic) and mute.
    virtual void setVolume(double volume) = 0;
    virtual void setMute(bool mute) = 0;
    // Picture adjustments on libmpv's scale, -100..100 around 0.
    virtual void setPictureAdjustments(int brightness, int contrast, int saturation) = 0;
};

}  // namespace orvalis
