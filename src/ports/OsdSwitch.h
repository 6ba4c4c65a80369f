#pragma once

#include "base/SettingsKeys.h"

namespace orvalis {

namespace osd {

// The display switches in "Config", each read when its message is about to be shown. A
// switch at 0 silences only the message, never the adjustment.
enum class Switch {
    Speed,
    Volume,
    PanScan,
    CaptionSize,
    CaptionOffset,
    CaptionSynch,
    CaptionLanguage,
    CaptionSpace,
};

const settings::FlagKey& switchKey(Switch which);
bool switchOn(const SettingsStore& settings, Switch which);

}  // namespace osd
}  // namespace orvalis
