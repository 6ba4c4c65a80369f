#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controlpanel/PanelLayout.h"
#include "controlpanel/PanelState.h"
#include "controlpanel/TimeDisplay.h"
#include "controlpanel/Wedge.h"

using namespace orvalis;
using namespace orvalis::panel;

namespace {

PanelLayout at(int width, bool captions = false) {
    LayoutInput in;
    in.width = width;
    in.captionsLoaded = captions;
    return layoutPanel(in);
}

bool shown(const PanelLayout& l, PanelItem p) {
    return l[p].shown;
}

}  // namespace

TEST(PanelLayout, ControlsAppearAtTheirWidths) {
    // Each control from the first width it is shown at.
    const std::pair<PanelItem, int> firstWidths[] = {
        {PanelItem::Quit, 192},        {PanelItem::Maximize, 218},   {PanelItem::Minimize, 245},
        {PanelItem::TotalTime, 296},   {PanelItem::Mute, 361},       {PanelItem::RepeatStart, 449},
        {PanelItem::RepeatEnd, 449},   {PanelItem::RepeatClear, 449}};
    for (const auto& [part, width] : firstWidths) {
        EXPECT_FALSE(shown(at(width - 1), part)) << static_cast<int>(part);
        EXPECT_TRUE(shown(at(width), part)) << static_cast<int>(part);
    }
    EXPECT_TRUE(shown(at(300), PanelItem::CurrentTime));
    EXPECT_FALSE(shown(at(300), PanelItem::Wedge));
    EXPECT_TRUE(shown(at(360), PanelItem::Wedge));

    // 606: the caption controls, only with captions loaded.
    const PanelItem captionParts[] = {
        PanelItem::Smoothing,    PanelItem::Bold,          PanelItem::Border,
        PanelItem::ShowCaptions, PanelItem::CaptionLarger, PanelItem::CaptionSmaller,
        PanelItem::CaptionUp,    PanelItem::CaptionDown,   PanelItem::CaptionLanguage};
    for (PanelItem p : captionParts) {
        EXPECT_FALSE(shown(at(605, true), p));
        EXPECT_TRUE(shown(at(606, true), p));
        EXPECT_FALSE(shown(at(606, false), p));
        EXPECT_FALSE(shown(at(1280, false), p));
    }
}

TEST(PanelLayout, ShownControlsNeverOverlapAndStayInside) {
    // From the narrowest window (192, less the bar's 2-pixel inset on each side) up.
    for (int w = geometry::kMinWidth - 4; w <= 1400; ++w) {
        for (bool captions : {false, true}) {
            const PanelLayout l = at(w, captions);
            for (std::size_t i = 0; i < kPanelItemCount; ++i) {
                const Placement& a = l.parts[i];
                if (!a.shown) continue;
                ASSERT_GE(a.rect.left, 0) << w << " part " << i;
                ASSERT_LE(a.rect.right, w) << w << " part " << i;
                ASSERT_LE(a.rect.bottom, l.height) << w << " part " << i;
                for (std::size_t j = i + 1; j < kPanelItemCount; ++j) {
                    const Placement& b = l.parts[j];
                    if (!b.shown) continue;
                    // The speaker sits in the wedge's empty corner, above its low columns.
                    const auto pi = static_cast<PanelItem>(i), pj = static_cast<PanelItem>(j);
                    if (pi == PanelItem::Mute && pj == PanelItem::Wedge) {
                        ASSERT_LE(a.rect.bottom,
                                  b.rect.bottom - wedge::columnHeight(a.rect.right - b.rect.left));
                        continue;
                    }
                    ASSERT_FALSE(a.rect.intersects(b.rect))
                        << "width " << w << ": " << i << " and " << j;
                }
            }
        }
    }
}

TEST(PanelLayout, TrackRepeatBarAndRowFollowTheSettings) {
    LayoutInput in;
    in.width = 640;
    auto l = layoutPanel(in);
    EXPECT_EQ(l[PanelItem::Track].rect, (geometry::Rect{5, 5, 635, 20}));
    EXPECT_EQ(l[PanelItem::RepeatBar].rect, (geometry::Rect{5, 21, 635, 27}));
    EXPECT_EQ(l.rowTop, 33);
    EXPECT_EQ(l[PanelItem::Open].rect, (geometry::Rect{5, 33, 28, 51}));
    EXPECT_EQ(l[PanelItem::Next].rect.left, 135);
    EXPECT_EQ(l[PanelItem::Quit].rect, (geometry::Rect{613, 33, 636, 51}));
    EXPECT_EQ(l[PanelItem::Minimize].rect.left, 640 - 79);
    EXPECT_EQ(l[PanelItem::RepeatStart].rect.left, l[PanelItem::Wedge].rect.left + 75);
    EXPECT_EQ(l.height, 64);

    in.useRepeatCtrl = false;
    l = layoutPanel(in);
    EXPECT_FALSE(l[PanelItem::RepeatBar].shown);
    EXPECT_EQ(l.rowTop, 26);
    EXPECT_EQ(l.height, 57);

    // A track height of 0 or 200 from a settings file still gives a track to click and a
    // bar that fits its row.
    for (int track : {0, -40, 200}) {
        in.trackHeight = track;
        l = layoutPanel(in);
        EXPECT_GE(l[PanelItem::Track].rect.height(), geometry::kMinTrackHeight);
        EXPECT_LE(l[PanelItem::Track].rect.height(), geometry::kMaxTrackHeight);
        EXPECT_LE(l[PanelItem::Wedge].rect.bottom, l.height);
    }
}

TEST(PanelLayout, FoldOutRowTakesThePlaceOfTheButtons) {
    LayoutInput in;
    in.width = 640;
    in.adjustRowOpen = true;
    in.captionsLoaded = true;
    auto l = layoutPanel(in);
    EXPECT_EQ(l[PanelItem::Brightness].rect, (geometry::Rect{45, 31, 615, 42}));
    EXPECT_EQ(l[PanelItem::Sharpness].rect, (geometry::Rect{45, 42, 615, 53}));
    EXPECT_TRUE(shown(l, PanelItem::FoldBackSharpness));
    EXPECT_EQ(l.rowTop, 127);
    for (PanelItem p : {PanelItem::Open, PanelItem::Play, PanelItem::TotalTime, PanelItem::Wedge,
                        PanelItem::Bold, PanelItem::Quit, PanelItem::Title})
        EXPECT_FALSE(shown(l, p));
    EXPECT_TRUE(shown(l, PanelItem::Track));
    EXPECT_FALSE(shown(at(640), PanelItem::Brightness));
}

TEST(PanelLayout, TitleOnlyWhereThereIsRoom) {
    EXPECT_FALSE(shown(at(366), PanelItem::Title));
    const auto l = at(640);
    ASSERT_TRUE(shown(l, PanelItem::Title));
    EXPECT_GT(l[PanelItem::Title].rect.left, l[PanelItem::RepeatClear].rect.right);
    EXPECT_LT(l[PanelItem::Title].rect.right, l[PanelItem::Minimize].rect.left);
    // With captions the caption buttons take the room at 640.
    EXPECT_FALSE(shown(at(640, true), PanelItem::Title));
    EXPECT_GT(at(1280, true)[PanelItem::Title].rect.left,
              at(1280, true)[PanelItem::CaptionLanguage].rect.right);
}

TEST(TimeDisplay, ClockTextsAndUnusableLengths) {
    TimeDisplay t;
    EXPECT_EQ(t.currentText(), "00:00:00");
    EXPECT_EQ(t.totalText(), "00:00:00");
    t.setDuration(3725.9);
    EXPECT_EQ(t.totalText(), "01:02:05");
    t.setDuration(360000.0);
    EXPECT_EQ(t.totalText(), "100:00:00");
    for (double bad : {0.0, -5.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        t.setDuration(bad);
        EXPECT_FALSE(t.loaded());
        EXPECT_EQ(t.totalText(), "00:00:00");
    }
    EXPECT_EQ(tenths(59.97), 599);
    EXPECT_EQ(tenths(-1), 0);
    EXPECT_EQ(tenths(1e300), 2147483640);
    EXPECT_EQ(wholeSeconds(std::nan("")), 0);
}

TEST(TimeDisplay, ClickCyclesTotalRemainingAndCount) {
    TimeDisplay t;
    EXPECT_FALSE(t.cycle());  // nothing loaded: the click does nothing
    EXPECT_EQ(t.mode(), TimeMode::Total);

    t.setDuration(600);
    // Before the first position the remaining time is the whole length.
    ASSERT_TRUE(t.cycle());
    EXPECT_EQ(t.totalText(), "00:10:00");
    EXPECT_TRUE(t.setPosition(65.7));
    EXPECT_FALSE(t.setPosition(65.9));  // same second: no repaint
    EXPECT_EQ(t.currentText(), "00:01:05");

    EXPECT_EQ(t.totalText(), "00:08:55");
    EXPECT_EQ(t.totalTip(), "남은 시간");
    ASSERT_TRUE(t.cycle());
    EXPECT_EQ(t.totalText(), "65");
    EXPECT_EQ(t.totalTip(), "프레임 수");
    ASSERT_TRUE(t.cycle());
    EXPECT_EQ(t.mode(), TimeMode::Total);
    EXPECT_EQ(t.totalText(), "00:10:00");
    EXPECT_EQ(t.totalTip(), "전체 재생 시간");

    // Four clicks come back to the total.
    for (int i = 0; i < 4; ++i) t.cycle();
    EXPECT_EQ(t.mode(), TimeMode::Remaining);
    t.cycle();
    t.cycle();
    EXPECT_EQ(t.mode(), TimeMode::Total);

    // Past the end (a length that was too short): no negative remaining time.
    t.cycle();
    t.setPosition(700);
    EXPECT_EQ(t.totalText(), "00:00:00");
}

TEST(VolumeWedge, ColumnsAndTheVolumeAtBothEnds) {
    EXPECT_EQ(wedge::columnHeight(0), 0);
    EXPECT_EQ(wedge::columnHeight(5), 1);
    EXPECT_EQ(wedge::columnHeight(59), 19);
    EXPECT_EQ(wedge::columnHeight(65), 21);
    EXPECT_EQ(wedge::columnHeight(66), 0);
    EXPECT_EQ(wedge::columnColour(50, 50), (wedge::Rgb{160, 150, 145}));
    EXPECT_EQ(wedge::columnColour(59, 60), (wedge::Rgb{188, 177, 171}));
    EXPECT_EQ(wedge::columnColour(51, 50), wedge::kEmptyColour);
    EXPECT_EQ(wedge::fillForStep(5), 18);
    EXPECT_EQ(wedge::fillForStep(19), 60);

    wedge::Drag d;
    d.setLeft(219);
    EXPECT_EQ(d.press(249), 9);  // fill 30
    EXPECT_EQ(d.move(900), 19);  // the far right
    EXPECT_EQ(d.fill(), 60);
    EXPECT_EQ(d.move(219), 0);  // the far left
    EXPECT_EQ(d.move(-300), 0);
    EXPECT_EQ(d.fill(), 0);
    EXPECT_EQ(d.release(), 0);
    EXPECT_EQ(d.move(900), 0);  // no drag, no change
}

TEST(PanelState, LengthDecidesTrackPauseStopAndRange) {
    PanelState s;
    s.setDuration(600.55);
    EXPECT_EQ(s.trackMax(), 6005);
    EXPECT_TRUE(s.look(PanelItem::Track).enabled);
    EXPECT_TRUE(s.look(PanelItem::Pause).enabled);
    s.setPosition(65.47);
    EXPECT_EQ(s.trackPosition(), 654);
    s.setPosition(1e12);  // never past the end of the track
    EXPECT_EQ(s.trackPosition(), 6005);

    s.setRepeatRange(10, 60.5);
    EXPECT_EQ(s.repeatTip(), "00:00:10 ~ 00:01:00");
    s.setRepeatRange(0, 0);
    EXPECT_EQ(s.repeatTip(), "반복 구간 설정");
    s.setRepeatRange(0.3, 0.9);  // both within the first second: the same text
    EXPECT_EQ(s.repeatTip(), "반복 구간 설정");

    s.setRepeatRange(10, 60);
    s.setDuration(-1);  // a new medium without a length
    EXPECT_EQ(s.trackMax(), 0);
    EXPECT_EQ(s.trackPosition(), 0);
    EXPECT_FALSE(s.look(PanelItem::Track).enabled);
    EXPECT_FALSE(s.look(PanelItem::Pause).enabled);
    EXPECT_FALSE(s.look(PanelItem::Stop).enabled);
    EXPECT_EQ(s.repeatTip(), "반복 구간 설정");
    EXPECT_EQ(s.time().totalText(), "00:00:00");

    // A stream plays: Pause and Stop work, the track does not.
    s.showPlaying();
    EXPECT_TRUE(s.look(PanelItem::Play).lit);
    EXPECT_TRUE(s.look(PanelItem::Pause).enabled);
    EXPECT_FALSE(s.look(PanelItem::Track).enabled);
    s.showPaused();
    EXPECT_EQ(s.look(PanelItem::Pause), (ButtonLook{true, true}));
    EXPECT_FALSE(s.look(PanelItem::Play).lit);
    s.showStopped();
    EXPECT_EQ(s.look(PanelItem::Stop), (ButtonLook{true, true}));
    EXPECT_FALSE(s.look(PanelItem::Pause).enabled);
    s.disableButtons();
    EXPECT_FALSE(s.look(PanelItem::Stop).enabled);
    EXPECT_TRUE(s.look(PanelItem::Play).enabled);  // Play with nothing loaded opens files
}

TEST(PanelState, CaptionControlsFollowTheFlags) {
    PanelState s;
    EXPECT_FALSE(s.look(PanelItem::Bold).enabled);
    CaptionButtons c;
    c.loaded = true;
    c.languages = 1;
    c.smoothing = true;
    c.bold = true;
    s.setCaptions(c);
    EXPECT_EQ(s.look(PanelItem::Smoothing), (ButtonLook{true, true}));
    EXPECT_EQ(s.look(PanelItem::Bold), (ButtonLook{true, true}));
    EXPECT_EQ(s.look(PanelItem::ShowCaptions), (ButtonLook{true, true}));
    EXPECT_FALSE(s.look(PanelItem::CaptionLanguage).enabled);  // one language: nothing to switch
    c.border = true;
    c.languages = 2;
    s.setCaptions(c);
    EXPECT_FALSE(s.look(PanelItem::Smoothing).enabled);  // the outline rules smoothing out
    EXPECT_TRUE(s.look(PanelItem::CaptionLanguage).enabled);
}

TEST(PanelState, FrameNumberSettingAndPictureSliders) {
    PanelState s;
    s.setDuration(100);
    s.setShowFrameNumber(true);
    EXPECT_EQ(s.time().mode(), TimeMode::Count);
    s.setShowFrameNumber(false);
    EXPECT_EQ(s.time().mode(), TimeMode::Total);

    // The value read at open stands in the middle; the ends reach the ends of the range.
    PictureControls p;
    p.setDefaults(750, 10000, 10000);
    s.setPicture(p);
    EXPECT_EQ(s.pictureSlider(PictureKind::Brightness), 50);
    EXPECT_EQ(s.pictureValue(PictureKind::Brightness, 50), 750);
    EXPECT_EQ(s.pictureValue(PictureKind::Brightness, 0), 0);
    EXPECT_EQ(s.pictureValue(PictureKind::Brightness, 100), 10000);
    EXPECT_EQ(s.pictureValue(PictureKind::Brightness, 75), 5375);
    EXPECT_EQ(s.pictureValue(PictureKind::Contrast, 25), 5000);
    EXPECT_EQ(s.pictureValue(PictureKind::Contrast, 400), 20000);
    p.set(PictureKind::Contrast, 15000);
    s.setPicture(p);
    EXPECT_EQ(s.pictureSlider(PictureKind::Contrast), 75);
}
