#pragma once

// The names of libmpv's properties, options and commands that the backend uses, in one
// place: a misspelt name is a compile error here, not a request libmpv silently refuses.
namespace orvalis::mpvname {

// Properties the backend watches or asks for.
inline constexpr const char* kTimePos = "time-pos";
inline constexpr const char* kDuration = "duration";
inline constexpr const char* kPause = "pause";
inline constexpr const char* kSpeed = "speed";
inline constexpr const char* kEofReached = "eof-reached";
inline constexpr const char* kSeekable = "seekable";
inline constexpr const char* kDisplayWidth = "dwidth";
inline constexpr const char* kDisplayHeight = "dheight";
inline constexpr const char* kHwdec = "hwdec";
inline constexpr const char* kHwdecCurrent = "hwdec-current";
inline constexpr const char* kTrackList = "track-list";
inline constexpr const char* kFileFormat = "file-format";
inline constexpr const char* kVideoCodec = "video-codec";
inline constexpr const char* kAudioCodec = "audio-codec";
inline constexpr const char* kCurrentAo = "current-ao";
inline constexpr const char* kMetadata = "metadata";
// The text of the subtitle now due on the chosen track, markup taken out; kept current
// whether or not libmpv draws the track, and shifted by "sub-delay".
inline constexpr const char* kSubText = "sub-text";
inline constexpr const char* kSecondarySubText = "secondary-sub-text";

// Properties the backend sets.
inline constexpr const char* kVolume = "volume";
inline constexpr const char* kMute = "mute";
inline constexpr const char* kBrightness = "brightness";
inline constexpr const char* kContrast = "contrast";
inline constexpr const char* kSaturation = "saturation";
inline constexpr const char* kSubtitleId = "sid";
inline constexpr const char* kSubVisibility = "sub-visibility";
inline constexpr const char* kSecondarySubtitleId = "secondary-sid";
inline constexpr const char* kSecondarySubVisibility = "secondary-sub-visibility";
inline constexpr const char* kSubDelay = "sub-delay";
inline constexpr const char* kKeepOpen = "keep-open";
inline constexpr const char* kMarginLeft = "video-margin-ratio-left";
inline constexpr const char* kMarginTop = "video-margin-ratio-top";
inline constexpr const char* kMarginRight = "video-margin-ratio-right";
inline constexpr const char* kMarginBottom = "video-margin-ratio-bottom";
inline constexpr const char* kKeepAspect = "keepaspect";
inline constexpr const char* kVideoZoom = "video-zoom";

// Commands and their arguments.
inline constexpr const char* kLoadFile = "loadfile";
inline constexpr const char* kReplace = "replace";
inline constexpr const char* kStop = "stop";
inline constexpr const char* kSeek = "seek";
inline constexpr const char* kAbsoluteExact = "absolute+exact";
inline constexpr const char* kScreenshotRaw = "screenshot-raw";
inline constexpr const char* kOverlayAdd = "overlay-add";
inline constexpr const char* kOverlayRemove = "overlay-remove";
inline constexpr const char* kOverlayFormat = "bgra";

}  // namespace orvalis::mpvname
