#pragma once

#include <string>
#include <string_view>

#include "engine/MediaBackend.h"

namespace orvalis {

class SettingsStore;

// Hardware decoding: libmpv picks a hardware decoder it knows to be safe ("auto-safe") and
// falls back to software by itself where there is none, so a machine without one plays as
// it always did. "Config\Control" "Hardware Decoding" (1/0, default 1) turns it off; it is
// read when the player starts.
namespace decoding {

inline constexpr const char* kVideoDecoderPrefix = "Video decoder: ";

bool hardwareDecoding(const SettingsStore& settings);
// libmpv's "hwdec" value for the setting.
std::string hwdecOption(bool hardware);

// The filter table's entry of the video decoder. codec is libmpv's "video-codec" ("h264 (H.264
// / AVC / …)"), hwdecCurrent its "hwdec-current": the hardware API in use, or "no" or empty
// while the picture is decoded in software.
FilterInfo videoDecoderFilter(std::string_view codec, std::string_view hwdecCurrent);
bool isVideoDecoderFilter(const FilterInfo& filter);

}  // namespace decoding
}  // namespace orvalis
