#include "controls/SliderScale.h"

#include <algorithm>
#include <cmath>

namespace orvalis::controls {

int SliderScale::valueAt(double x) const {
    if (!usable()) return min;
    const double last = right - 1;
    const double f = std::clamp((x - left) / (last - left), 0.0, 1.0);
    const double span = static_cast<double>(max) - min;
    return min + static_cast<int>(std::lround(f * span));
}

double SliderScale::fillWidth(int value) const {
    if (!usable()) return 0;
    const double span = static_cast<double>(max) - min;
    const double f = std::clamp((static_cast<double>(value) - min) / span, 0.0, 1.0);
    return f * (right - left);
}

double SliderScale::xOf(int value) const {
    if (!usable()) return left;
    const double span = static_cast<double>(max) - min;
    const double f = std::clamp((static_cast<double>(value) - min) / span, 0.0, 1.0);
    return left + f * (right - 1 - left);
}

using Kind = SliderEvent::Kind;

std::vector<SliderEvent> SliderGesture::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled) return {};
    return cancel();
}

std::vector<SliderEvent> SliderGesture::hover(double x) {
    if (dragging_) return move(x);
    if (!active()) return leave();
    if (mode_ != Mode::Seek) return {};
    previewShown_ = true;
    return {{Kind::Preview, scale_.valueAt(x), false}};
}

std::vector<SliderEvent> SliderGesture::press(double x) {
    if (!active()) return {};
    dragging_ = true;
    dragValue_ = scale_.valueAt(x);
    if (mode_ == Mode::Live) return {{Kind::Changed, dragValue_, true}};
    previewShown_ = true;
    return {{Kind::Preview, dragValue_, true}};
}

std::vector<SliderEvent> SliderGesture::move(double x) {
    if (!dragging_) return hover(x);
    if (!active()) return cancel();
    const int v = scale_.valueAt(x);
    if (mode_ == Mode::Live) {
        if (v == dragValue_) return {};
        dragValue_ = v;
        return {{Kind::Changed, v, true}};
    }
    dragValue_ = v;
    return {{Kind::Preview, v, true}};
}

std::vector<SliderEvent> SliderGesture::release(double x) {
    if (!dragging_) return {};
    dragging_ = false;
    previewShown_ = false;
    if (!active()) return {{Kind::LetGo, 0, false}};
    const int v = scale_.valueAt(x);
    std::vector<SliderEvent> out;
    if (mode_ == Mode::Seek) {
        out.push_back({Kind::Commit, v, false});
    } else if (v != dragValue_) {
        out.push_back({Kind::Changed, v, false});
    }
    dragValue_ = v;
    out.push_back({Kind::LetGo, 0, false});
    return out;
}

std::vector<SliderEvent> SliderGesture::leave() {
    if (dragging_ || !previewShown_) return {};
    previewShown_ = false;
    return {{Kind::LetGo, 0, false}};
}

std::vector<SliderEvent> SliderGesture::cancel() {
    if (!dragging_ && !previewShown_) return {};
    dragging_ = false;
    previewShown_ = false;
    return {{Kind::LetGo, 0, false}};
}

}  // namespace orvalis::controls
