#include <gtest/gtest.h>

#include <cmath>

#include "controls/RangeDrag.h"
#include "controls/SliderScale.h"

using namespace orvalis::controls;
using Kind = SliderEvent::Kind;

TEST(SliderScale, EndsAndFill) {
    // A track of 600 tenths over pixels 5..634 (630 pixels: first 5, last 634).
    SliderScale s{0, 600, 5, 635};
    EXPECT_EQ(s.valueAt(5), 0);
    EXPECT_EQ(s.valueAt(634), 600);
    EXPECT_EQ(s.valueAt(-40), 0);
    EXPECT_EQ(s.valueAt(5000), 600);
    EXPECT_EQ(s.valueAt(319.5), 300);
    EXPECT_DOUBLE_EQ(s.fillWidth(300), 315);
    EXPECT_DOUBLE_EQ(s.fillWidth(900), 630);
    EXPECT_DOUBLE_EQ(s.xOf(600), 634);

    // Nothing loaded, or a bar with no room: every pixel is the start.
    SliderScale empty{0, 0, 5, 635};
    EXPECT_FALSE(empty.usable());
    EXPECT_EQ(empty.valueAt(300), 0);
    EXPECT_DOUBLE_EQ(empty.fillWidth(10), 0);
    SliderScale narrow{0, 600, 5, 6};
    EXPECT_EQ(narrow.valueAt(5), 0);

    // Six years of tenths still map without overflow.
    SliderScale huge{0, 2147483640, 0, 1000};
    EXPECT_EQ(huge.valueAt(999), 2147483640);
}

TEST(SliderGesture, SeekPreviewsWhileHoveringAndDraggingAndCommitsOnRelease) {
    SliderGesture g(SliderGesture::Mode::Seek);
    g.setScale({0, 1000, 0, 1001});

    EXPECT_EQ(g.hover(250), (std::vector<SliderEvent>{{Kind::Preview, 250, false}}));
    EXPECT_EQ(g.press(300), (std::vector<SliderEvent>{{Kind::Preview, 300, true}}));
    EXPECT_EQ(g.move(400), (std::vector<SliderEvent>{{Kind::Preview, 400, true}}));
    // Leaving the track while the button is down keeps the drag; beyond the end is the end.
    EXPECT_TRUE(g.leave().empty());
    EXPECT_EQ(g.move(2000), (std::vector<SliderEvent>{{Kind::Preview, 1000, true}}));
    EXPECT_EQ(g.release(700),
              (std::vector<SliderEvent>{{Kind::Commit, 700, false}, {Kind::LetGo, 0, false}}));
    EXPECT_FALSE(g.dragging());
    EXPECT_TRUE(g.release(700).empty());  // one release, one seek

    // Hovering and leaving: the preview goes away once.
    g.hover(10);
    EXPECT_EQ(g.leave(), (std::vector<SliderEvent>{{Kind::LetGo, 0, false}}));
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
    EXPECT_EQ(g.setEnabled(false), (std::vector<SliderEvent>{{Kind::LetGo, 0, false}}));
    EXPECT_TRUE(g.release(200).empty());
    EXPECT_TRUE(g.hover(200).empty());
}

TEST(SliderGesture, LiveSliderReportsEachChangeOnce) {
    SliderGesture g(SliderGesture::Mode::Live);
    g.setScale({0, 100, 0, 101});
    EXPECT_TRUE(g.hover(30).empty());  // no preview on a live slider
    EXPECT_EQ(g.press(30), (std::vector<SliderEvent>{{Kind::Changed, 30, true}}));
    EXPECT_TRUE(g.move(30.2).empty());
    EXPECT_EQ(g.move(31), (std::vector<SliderEvent>{{Kind::Changed, 31, true}}));
    EXPECT_EQ(g.release(31), (std::vector<SliderEvent>{{Kind::LetGo, 0, false}}));
}

TEST(RangeDrag, NewRangeStretchesFromThePressInTenths) {
    RangeDrag d;
    d.setGeometry(0, 1001, 100.0);  // 10 pixels a second
    ASSERT_TRUE(d.press(100));      // 10 s
    auto r = d.move(603);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (TimeRange{10.0, 60.3}));
    // Back across the press: the press stays one end.
    r = d.move(50);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (TimeRange{5.0, 10.0}));
    EXPECT_FALSE(d.move(50));  // no change, no message
    EXPECT_TRUE(d.release());
    EXPECT_EQ(d.range(), (TimeRange{5.0, 10.0}));
}

TEST(RangeDrag, PlainClickMakesNoRangeOfNoLength) {
    RangeDrag d;
    d.setGeometry(0, 1001, 100.0);
    d.setRange({20, 40});
    ASSERT_TRUE(d.press(700));
    EXPECT_FALSE(d.move(700));
    EXPECT_FALSE(d.release());  // nothing edited, nothing to close
    EXPECT_EQ(d.range(), (TimeRange{20, 40}));
}

TEST(RangeDrag, MarksMoveWithinTheMediumAndNeverCross) {
    RangeDrag d;
    d.setGeometry(0, 1001, 100.0);
    d.setRange({20, 40});
    ASSERT_TRUE(d.press(203));  // 3 pixels right of A
    auto r = d.move(100);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (TimeRange{10, 40}));
    r = d.move(900);  // dragged past B: stops a tenth short of it
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
    d.release();
}

TEST(RangeDrag, NoLengthNoDrag) {
    RangeDrag d;
    d.setGeometry(0, 500, 0);
    EXPECT_FALSE(d.press(10));
    d.setGeometry(0, 500, std::nan(""));
    EXPECT_FALSE(d.press(10));
    EXPECT_FALSE(d.move(100));
    EXPECT_FALSE(d.release());
}
