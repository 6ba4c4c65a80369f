#include "controls/RangeDrag.h"

#include <algorithm>
#include <cmath>

namespace orvalis::controls {

namespace {

double toTenths(double seconds) {
    return std::round(seconds * 10.0) / 10.0;
}

}  // namespace

void RangeDrag::setGeometry(double left, double right, double lengthSeconds) {
    left_ = left;
    right_ = right;
    length_ = std::isfinite(lengthSeconds) && lengthSeconds > 0 ? lengthSeconds : 0;
    if (!usable()) handle_ = Handle::None;
}

void RangeDrag::setRange(const TimeRange& range) {
    if (!dragging()) range_ = range;
}

double RangeDrag::timeAt(double x) const {
    if (!usable()) return 0;
    const double f = std::clamp((x - left_) / (right_ - 1 - left_), 0.0, 1.0);
    return std::min(toTenths(f * length_), length_);
}

double RangeDrag::xOf(double seconds) const {
    if (!usable() || !std::isfinite(seconds)) return left_;
    const double f = std::clamp(seconds / length_, 0.0, 1.0);
    return left_ + f * (right_ - 1 - left_);
}

bool RangeDrag::press(double x) {
    handle_ = Handle::None;
    edited_ = false;
    if (!usable()) return false;
    const double toStart = std::abs(x - xOf(range_.start));
    const double toEnd = std::abs(x - xOf(range_.end));
    const bool hasRange = range_.end > range_.start;
    if (hasRange && std::min(toStart, toEnd) <= kGrab) {
        // Two marks close together: the one on the side of the press.
        if (toStart == toEnd) {
            handle_ = x < xOf(range_.start) ? Handle::Start : Handle::End;
        } else {
            handle_ = toStart < toEnd ? Handle::Start : Handle::End;
        }
        return true;
    }
    handle_ = Handle::New;
    anchor_ = timeAt(x);
    return true;
}

std::optional<TimeRange> RangeDrag::move(double x) {
    if (!dragging() || !usable()) return std::nullopt;
    const double t = timeAt(x);
    TimeRange next = range_;
    switch (handle_) {
        case Handle::Start:
            next.start = std::clamp(t, 0.0, std::max(0.0, range_.end - kMinSpan));
            break;
        case Handle::End:
            next.end = std::clamp(t, std::min(length_, range_.start + kMinSpan), length_);
            break;
        case Handle::New:
            // Nothing changes until the drag spans a tenth: a plain click makes no range.
            if (std::abs(t - anchor_) < kMinSpan - 1e-9) return std::nullopt;
            next = t > anchor_ ? TimeRange{anchor_, t} : TimeRange{t, anchor_};
            break;
        case Handle::None:
            return std::nullopt;
    }
    if (next == range_) return std::nullopt;
    range_ = next;
    edited_ = true;
    return range_;
}

bool RangeDrag::release() {
    const bool wasEdited = dragging() && edited_;
    handle_ = Handle::None;
    edited_ = false;
    return wasEdited;
}

}  // namespace orvalis::controls
