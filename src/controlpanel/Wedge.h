#pragma once

#include <cstdint>

// The volume wedge: 60 one-pixel columns rising to the right, filled up to the volume. Its
// fill is in pixels from the left edge; the volume step is (fill - 1) / 3.
namespace orvalis::panel::wedge {

inline constexpr int kWidth = 60;
inline constexpr int kHeight = 20;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Height of column i: i / 3 (0 .. 21), 0 outside the wedge's table.
int columnHeight(int i);
// Filled columns (i <= fill) darken toward the left: RGB(3.2 i, 3.0 i, 2.9 i); the rest
// are the wedge's light stone colour.
Rgb columnColour(int i, int fill);
inline constexpr Rgb kEmptyColour{192, 188, 180};

// The fill that shows a volume step, (step + 1) x 3.
int fillForStep(int step);
// The step a fill sets, (fill - 1) / 3 toward zero, within 0..19.
int stepForFill(int fill);

// The wedge under the mouse. A press inside it takes the fill at the pointer; a drag keeps
// it within the wedge, wherever the pointer goes.
class Drag {
public:
    void setLeft(int left) { left_ = left; }
    // The fill and the step of the press at x (inside the wedge).
    int press(int x);
    int move(int x);
    int release();
    bool dragging() const { return dragging_; }
    int fill() const { return fill_; }
    int step() const { return stepForFill(fill_); }
    void showStep(int step) { fill_ = fillForStep(step); }

private:
    int left_ = 0;
    int fill_ = fillForStep(5);
    bool dragging_ = false;
};

}  // namespace orvalis::panel::wedge
