#pragma once

#include <optional>

// The repeat bar's drag: the A-B range under the seek track edited with the mouse. A press
// near the A or B mark moves that mark; a press elsewhere starts a new range that the drag
// stretches. Times are seconds, kept to tenths (the resolution of the seek track).
namespace orvalis::controls {

struct TimeRange {
    double start = 0;
    double end = 0;
    bool operator==(const TimeRange&) const = default;
};

class RangeDrag {
public:
    // A mark this close to the press (in pixels) is taken rather than a new range begun.
    static constexpr double kGrab = 5;
    // The shortest range a drag makes: a range of no length would hold playback on one point.
    static constexpr double kMinSpan = 0.1;

    // The bar's pixels left..right (right one past the last) and the medium's length.
    void setGeometry(double left, double right, double lengthSeconds);
    // The range the player holds; ignored while a drag is under way (the player echoes it).
    void setRange(const TimeRange& range);
    TimeRange range() const { return range_; }

    double timeAt(double x) const;
    double xOf(double seconds) const;

    // True when the press started a drag (a medium with a length is open).
    bool press(double x);
    // The edited range, when this movement changed it.
    std::optional<TimeRange> move(double x);
    // True when the drag edited the range, so the edit has to be closed.
    bool release();
    bool dragging() const { return handle_ != Handle::None; }
    bool edited() const { return edited_; }

private:
    enum class Handle { None, Start, End, New };
    bool usable() const { return length_ > 2 * kMinSpan && right_ - left_ >= 2; }

    double left_ = 0, right_ = 0, length_ = 0;
    TimeRange range_;
    Handle handle_ = Handle::None;
    double anchor_ = 0;
    bool edited_ = false;
};

}  // namespace orvalis::controls
