#pragma once

#include <vector>

// The arithmetic of the custom slider: which value lies under a pixel, how far the fill
// reaches, and what a gesture of the mouse tells the slider's owner. No widgets here.
namespace orvalis::controls {

// A horizontal scale of integer values min..max laid over the pixels left..right (right one
// past the last pixel). The first pixel is min and the last is max.
struct SliderScale {
    int min = 0;
    int max = 0;
    double left = 0;
    double right = 0;

    bool usable() const { return max > min && right - left >= 2; }
    // The value under x; points beyond either end give that end.
    int valueAt(double x) const;
    // Width in pixels of the part from left up to value (0 .. right - left).
    double fillWidth(int value) const;
    // The pixel where value stands, for marks drawn on the scale.
    double xOf(int value) const;
};

// What the owner of a slider is told. Preview: the pointer is over a value (seek sliders
// show where a click would go). Commit: the button was released over a value. Changed: a
// live slider's value moved. LetGo: the pointer left or the button was released; a shown
// preview goes away.
struct SliderEvent {
    enum class Kind { Preview, Commit, Changed, LetGo };
    Kind kind;
    int value = 0;
    bool dragging = false;
    bool operator==(const SliderEvent&) const = default;
};

// The mouse on a slider. A seek slider previews while hovering and dragging and commits
// on release, so a drag seeks once; a live slider reports every change while dragged.
class SliderGesture {
public:
    enum class Mode { Seek, Live };
    explicit SliderGesture(Mode mode) : mode_(mode) {}

    void setScale(const SliderScale& scale) { scale_ = scale; }
    const SliderScale& scale() const { return scale_; }
    // A disabled slider (nothing loaded) reports nothing more; a drag or preview in
    // progress ends with LetGo.
    std::vector<SliderEvent> setEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    bool dragging() const { return dragging_; }
    // The value the drag stands on, to draw while the medium has not moved yet.
    int dragValue() const { return dragValue_; }

    std::vector<SliderEvent> hover(double x);
    std::vector<SliderEvent> press(double x);
    std::vector<SliderEvent> move(double x);
    std::vector<SliderEvent> release(double x);
    std::vector<SliderEvent> leave();
    // The drag was taken away (another window grabbed the mouse): no commit.
    std::vector<SliderEvent> cancel();

private:
    bool active() const { return enabled_ && scale_.usable(); }

    Mode mode_;
    SliderScale scale_;
    bool enabled_ = true;
    bool dragging_ = false;
    bool previewShown_ = false;
    int dragValue_ = 0;
};

}  // namespace orvalis::controls
