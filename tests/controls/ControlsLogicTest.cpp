#include <gtest/gtest.h>

#include <cmath>

#include "controls/RangeDrag.h"
#include "controls/SliderScale.h"

using namespace orvalis::controls;
using Kind = SliderEvent::Kind;
using Events = std::vector<SliderEvent>;

TEST(SliderScale, EndsAndFill) {
    // A track of 600 tenths over pixels 5..634 (630 pixels: first 5, last 634).
    SliderScale s{0, 600, 5, 635};
    for (auto [x, value] :
         {std::pair{5.0, 0}, {634.0, 600}, {-40.0, 0}, {5000.0, 600}, {319.5, 300}})
        EXPECT_EQ(s.valueAt(x), value) << x;
    EXPECT_DOUBLE_EQ(s.fillWidth(300), 315);
    EXPECT_DOUBLE_EQ(s.fillWidth(900), 630);
    EXPECT_DOUBLE_EQ(s.xOf(600), 634);

    // Nothing loaded, or a bar with no room: every pixel is the start.
    SliderScale empty{0, 0, 5, 635};
    EXPECT_FALSE(empty.usable());
    EXPECT_EQ(empty.valueAt(300), 0);
    EXPECT_DOUBLE_EQ(empty.fillWidth(10), 0);
    EXPECT_EQ((SliderScale{0, 600, 5, 6}).valueAt(5), 0);
    // Six years of tenths still map without overflow.
    EXPECT_EQ((SliderScale{0, 2147483640, 0, 1000}).valueAt(999), 2147483640);
}

TEST(SliderGesture, SeekPreviewsWhileHoveringAndDraggingAndCommitsOnRelease) {
    SliderGesture g(SliderGesture::Mode::Seek);
    g.setScale({0, 1000, 0, 1001});
    EXPECT_EQ(g.hover(250), (Events{{Kind::Preview, 250, false}}));
    EXPECT_EQ(g.press(300), (Events{{Kind::Preview, 300, true}}));
    EXPECT_EQ(g.move(400), (Events{{Kind::Preview, 400, true}}));
    // Leaving the track while the button is down keeps the drag; beyond the end is the end.
    EXPECT_TRUE(g.leave().empty());
    EXPECT_EQ(g.move(2000), (Events{{Kind::Preview, 1000, true}}));
    EXPECT_EQ(g.release(700), (Events{{Kind::Commit, 700, false}, {Kind::LetGo, 0, false}}));
    EXPECT_FALSE(g.dragging());
    EXPECT_TRUE(g.release(700).empty());  // one release, one seek
    // Hovering and leaving: the preview goes away once.
    g.hover(10);
    EXPECT_EQ(g.leave(), (Events{{Kind::LetGo, 0, false}}));
    EXPECT_TRUE(g.leave().empty());
}

TEST(SliderGesture, DisabledOrEmptySliderSaysNothing) {
    SliderGesture g(SliderGesture::Mode::Seek);
    g.setScale({0, 0, 0, 500});  // a stream: no length
    EXPECT_TRUE(g.hover(100).empty());
    EXPECT_TRUE(g.press(100).empty());
    EXPECT_TRUE(g.release(100).empty());
    // Closing the file in the middle of a drag: the drag ends without a seek.
    g.setScale({0, 100, 0, 500});
    g.press(100);
    EXPECT_EQ(g.setEnabled(false), (Events{{Kind::LetGo, 0, false}}));
    EXPECT_TRUE(g.release(200).empty());
    EXPECT_TRUE(g.hover(200).empty());
}

TEST(SliderGesture, LiveSliderReportsEachChangeOnce) {
    SliderGesture g(SliderGesture::Mode::Live);
    g.setScale({0, 100, 0, 101});
    EXPECT_TRUE(g.hover(30).empty());  // no preview on a live slider
    EXPECT_EQ(g.press(30), (Events{{Kind::Changed, 30, true}}));
    EXPECT_TRUE(g.move(30.2).empty());
    EXPECT_EQ(g.move(31), (Events{{Kind::Changed, 31, true}}));
    EXPECT_EQ(g.release(31), (Events{{Kind::LetGo, 0, false}}));
}

namespace {
RangeDrag dragOver100Seconds(TimeRange range = {}) {
    RangeDrag d;
    d.setGeometry(0, 1001, 100.0);  // 10 pixels a second
    d.setRange(range);
    return d;
}
}  // namespace

TEST(RangeDrag, NewRangeStretchesFromThePressInTenths) {
    RangeDrag d = dragOver100Seconds();
    ASSERT_TRUE(d.press(100));  // 10 s
    EXPECT_EQ(d.move(603), (TimeRange{10.0, 60.3}));
    // Back across the press: the press stays one end.
    EXPECT_EQ(d.move(50), (TimeRange{5.0, 10.0}));
    EXPECT_FALSE(d.move(50));  // no change, no message
    EXPECT_TRUE(d.release());
    EXPECT_EQ(d.range(), (TimeRange{5.0, 10.0}));
}

TEST(RangeDrag, MarksMoveWithinTheMediumAndNeverCross) {
    RangeDrag d = dragOver100Seconds({20, 40});
    ASSERT_TRUE(d.press(203));  // 3 pixels right of A
    EXPECT_EQ(d.move(100), (TimeRange{10, 40}));
    auto r = d.move(900);  // dragged past B: stops a tenth short of it
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->start, 39.9, 1e-9);
    d.setRange({0, 0});  // the player's echo during the drag changes nothing
    EXPECT_NEAR(d.range().end, 40, 1e-9);
    EXPECT_TRUE(d.release());

    // The whole medium as the range (none set): its ends are marks too.
    d.setRange({0, 100});
    ASSERT_TRUE(d.press(998));
    r = d.move(-50);
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->end, 0.1, 1e-9);
    EXPECT_EQ(r->start, 0);
}

TEST(RangeDrag, AClickOrAMediumWithoutLengthEditsNothing) {
    RangeDrag d = dragOver100Seconds({20, 40});
    ASSERT_TRUE(d.press(700));
    EXPECT_FALSE(d.move(700));
    EXPECT_FALSE(d.release());  // nothing edited, nothing to close
    EXPECT_EQ(d.range(), (TimeRange{20, 40}));
    for (double length : {0.0, std::nan("")}) {
        d.setGeometry(0, 500, length);
        EXPECT_FALSE(d.press(10));
        EXPECT_FALSE(d.move(100));
        EXPECT_FALSE(d.release());
    }
}
