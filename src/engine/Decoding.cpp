#include "engine/Decoding.h"

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

namespace orvalis::decoding {

bool hardwareDecoding(const SettingsStore& settings) {
    return settings::get(settings, keys::HardwareDecoding);
}

std::string hwdecOption(bool hardware) {
    return hardware ? "auto-safe" : "no";
}

FilterInfo videoDecoderFilter(std::string_view codec, std::string_view hwdecCurrent) {
    // The menu shows the codec's short name; the details carry libmpv's long one.
    const std::string_view shortName = codec.substr(0, codec.find(" ("));
    const bool hardware = !hwdecCurrent.empty() && hwdecCurrent != "no";
    FilterInfo f;
    f.name = std::string(kVideoDecoderPrefix) + std::string(shortName);
    f.details = "Video codec: " + std::string(codec) + "\nDecoding: ";
    if (hardware) {
        f.name += " (hardware: " + std::string(hwdecCurrent) + ")";
        f.details += "hardware (" + std::string(hwdecCurrent) + ")";
    } else {
        f.name += " (software)";
        f.details += "software";
    }
    f.hasProperties = true;
    return f;
}

bool isVideoDecoderFilter(const FilterInfo& filter) {
    return std::string_view(filter.name).starts_with(kVideoDecoderPrefix);
}

}  // namespace orvalis::decoding
