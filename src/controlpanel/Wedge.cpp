#include "controlpanel/Wedge.h"

#include <algorithm>

#include "engine/Adjustments.h"

namespace orvalis::panel::wedge {

namespace {

// The table covers a few columns beyond the wedge's 60, as the drawing reaches its right edge.
constexpr int kColumns = 66;

std::uint8_t channel(double scale, int i) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(scale * i) & 0xFFu);
}

}  // namespace

int columnHeight(int i) {
    if (i < 0 || i >= kColumns) return 0;
    return i / 3;
}

Rgb columnColour(int i, int fill) {
    if (i > fill) return kEmptyColour;
    return {channel(3.2, i), channel(3.0, i), channel(2.9, i)};
}

int fillForStep(int step) {
    return volume::sliderValue(step);
}

int stepForFill(int fill) {
    return volume::stepFromSlider(fill);
}

int Drag::press(int x) {
    dragging_ = true;
    fill_ = std::clamp(x - left_, 0, kWidth);
    return step();
}

int Drag::move(int x) {
    if (dragging_) fill_ = std::clamp(x, left_, left_ + kWidth) - left_;
    return step();
}

int Drag::release() {
    dragging_ = false;
    return step();
}

}  // namespace orvalis::panel::wedge
