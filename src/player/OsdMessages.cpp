#include "player/OsdMessages.h"

#include <charconv>
#include <cmath>

#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

namespace orvalis::osd {

namespace {

// Fixed-point text that ignores the user's locale: the messages always use a full stop.
std::string fixed(double value, int decimals) {
    if (!std::isfinite(value)) value = 0.0;
    char buf[512];  // room for any double in fixed notation
    auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return "0";
    return std::string(buf, result.ptr);
}

long long wholeSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) return 0;
    if (seconds > 1e12) return 1000000000000LL;
    return static_cast<long long>(seconds);
}

}  // namespace

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

std::string speedText(double rate) {
    return "재생 속도 : " + fixed(rate, rate >= 0.5 ? 1 : 2) + "X";
}

int volumePercent(int step) {
    return step * 100 / 19;
}

std::string volumeText(int step) {
    return "Volume : " + std::to_string(volumePercent(step)) + "%";
}

std::string panScanText(int percent) {
    return "Pan & Scan: " + std::to_string(percent) + " %";
}

std::string seekPreviewText(double seconds, bool shift) {
    if (shift) return fixed(seconds, 1);
    return clockText(wholeSeconds(seconds));
}

std::string repeatRangeText(double startSeconds, double endSeconds, bool shift) {
    if (shift) return fixed(startSeconds * 1000.0, 0) + " ~ " + fixed(endSeconds * 1000.0, 0);
    return clockText(wholeSeconds(startSeconds)) + " ~ " + clockText(wholeSeconds(endSeconds));
}

Point adjustmentAnchor(const Placement& p) {
    if (!p.mainWindowShown) return p.cursor;
    int lift = p.barShown ? p.barHeight + 11 : 16;
    return {p.client.left, p.client.bottom - lift};
}

Point seekPreviewAnchor(Point cursor) {
    return {cursor.x + 20, cursor.y};
}

Plan plan(Point anchor, std::string text, int durationMs) {
    Plan p;
    if (text.empty()) return p;
    p.visible = true;
    p.text = std::move(text);
    p.at = {anchor.x + 1, anchor.y - 2};
    if (durationMs == 0) {
        p.hideAfterMs = kDefaultDurationMs;
    } else if (durationMs > 0) {
        p.hideAfterMs = durationMs;
    }
    return p;
}

}  // namespace orvalis::osd
