#include "player/Jumps.h"

#include <algorithm>

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

namespace orvalis {

namespace {
constexpr int kJogBase = 10000;
}

JumpSettings JumpSettings::read(const SettingsStore& settings) {
    JumpSettings s;
    s.interval = settings::get(settings, keys::Interval);
    s.intervalCtrl = settings::get(settings, keys::IntervalCtrl);
    return s;
}

double jumpStepSeconds(int setting) {
    if (setting <= 0) return 0.0;
    if (setting <= kJogBase) return setting;
    return (setting - kJogBase) / 1000.0;
}

std::string jumpStepText(int setting) {
    if (setting <= kJogBase) return std::to_string(setting);
    int ms = setting - kJogBase;
    std::string text = std::to_string(ms / 1000) + "." + std::to_string(1000 + ms % 1000).substr(1);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::optional<double> seekTarget(CommandId command, const Playhead& playhead,
                                 const JumpSettings& settings) {
    if (!playhead.loaded) return std::nullopt;
    const double position = std::max(playhead.position, 0.0);
    const double duration = playhead.duration;
    auto back = [&](int setting) {
        double t = position - jumpStepSeconds(setting);
        return t <= 0.0 ? 0.0 : t;
    };
    auto forward = [&](int setting) {
        double t = position + jumpStepSeconds(setting);
        return duration > 0.0 && t > duration ? duration : t;
    };
    switch (command) {
        case CommandId::JumpBack:
            return back(settings.interval);
        case CommandId::JumpBackLarge:
            return back(settings.intervalCtrl);
        case CommandId::JumpForward:
            return forward(settings.interval);
        case CommandId::JumpForwardLarge:
            return forward(settings.intervalCtrl);
        case CommandId::GoToStart:
            return 0.0;
        case CommandId::GoToRepeatStart:
            return std::max(playhead.repeatStart, 0.0);
        case CommandId::GoToEnd:
            return std::max(duration - 3.0, 0.0);
        default:
            return std::nullopt;
    }
}

}  // namespace orvalis
