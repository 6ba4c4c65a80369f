#include "ports/OsdSwitch.h"

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

namespace orvalis::osd {

const settings::FlagKey& switchKey(Switch which) {
    switch (which) {
        case Switch::Speed:
            return keys::ShowTooltipSpeed;
        case Switch::Volume:
            return keys::ShowTooltipVolume;
        case Switch::PanScan:
            return keys::ShowTooltipPanScan;
        case Switch::CaptionSize:
            return keys::ShowTooltipCaptionSize;
        case Switch::CaptionOffset:
            return keys::ShowTooltipCaptionOffset;
        case Switch::CaptionSynch:
            return keys::ShowTooltipCaptionSynch;
        case Switch::CaptionLanguage:
            return keys::ShowTooltipCaptionLanguage;
        case Switch::CaptionSpace:
            break;
    }
    return keys::ShowTooltipCaptionSpace;
}

bool switchOn(const SettingsStore& settings, Switch which) {
    return settings::get(settings, switchKey(which));
}

}  // namespace orvalis::osd
