#include "ports/OsdSwitch.h"

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

namespace orvalis::osd {

std::string_view switchKey(Switch which) {
    switch (which) {
        case Switch::Speed:
            return "Show Tooltip Speed";
        case Switch::Volume:
            return "Show Tooltip Volume";
        case Switch::PanScan:
            return "Show Tooltip PanScan";
        case Switch::CaptionSize:
            return "Show Tooltip Caption Size";
        case Switch::CaptionOffset:
            return "Show Tooltip Caption Offset";
        case Switch::CaptionSynch:
            return "Show Tooltip Caption Synch";
        case Switch::CaptionLanguage:
            return "Show Tooltip Caption Language";
        case Switch::CaptionSpace:
            return "Show Tooltip Caption Space";
    }
    return {};
}

bool switchOn(const SettingsStore& settings, Switch which) {
    return settings.getInt(sections::Config, switchKey(which), 1) != 0;
}

}  // namespace orvalis::osd
