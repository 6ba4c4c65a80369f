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

PanelLayout at(int width, bool captions = false, bool adjustRowOpen = false) {
    LayoutInput in;
    in.width = width;
    in.captionsLoaded = captions;
    in.adjustRowOpen = adjustRowOpen;
    return layoutPanel(in);
}

bool shown(const PanelLayout& l, PanelItem p) {
    return l[p].shown;
}

}  // namespace

TEST(PanelLayout, ControlsAppearAtTheirWidths) {
    // Each control from the first width it is shown at.
    const std::pair<PanelItem, int> firstWidths[] = {
        {PanelItem::Quit, 192},        {PanelItem::Maximize, 218},  {PanelItem::Minimize, 245},
        {PanelItem::TotalTime, 296},   {PanelItem::Wedge, 360},     {PanelItem::Mute, 361},
        {PanelItem::RepeatStart, 449}, {PanelItem::RepeatEnd, 449}, {PanelItem::RepeatClear, 449}};
    for (const auto& [part, width] : firstWidths) {
        EXPECT_FALSE(shown(at(width - 1), part)) << static_cast<int>(part);
        EXPECT_TRUE(shown(at(width), part)) << static_cast<int>(part);
    }
    // 606: the caption controls, only with captions loaded.
    for (PanelItem p :
         {PanelItem::Smoothing, PanelItem::Bold, PanelItem::Border, PanelItem::ShowCaptions,
          PanelItem::CaptionLarger, PanelItem::CaptionSmaller, PanelItem::CaptionUp,
          PanelItem::CaptionDown, PanelItem::CaptionLanguage}) {
        EXPECT_FALSE(shown(at(605, true), p));
        EXPECT_TRUE(shown(at(606, true), p));
        EXPECT_FALSE(shown(at(1280, false), p));
    }
    // The title only where there is room: with captions their buttons take it at 640.
    EXPECT_FALSE(shown(at(366), PanelItem::Title));
    const auto l = at(640);
    EXPECT_GT(l[PanelItem::Title].rect.left, l[PanelItem::RepeatClear].rect.right);
    EXPECT_LT(l[PanelItem::Title].rect.right, l[PanelItem::Minimize].rect.left);
    EXPECT_FALSE(shown(at(640, true), PanelItem::Title));
    EXPECT_GT(at(1280, true)[PanelItem::Title].rect.left,
              at(1280, true)[PanelItem::CaptionLanguage].rect.right);
}

TEST(PanelLayout, ShownControlsNeverOverlapAndStayInside) {
    // From the narrowest window (192, less the bar's 2-pixel inset on each side) up.
    for (int w = geometry::kMinWidth - 4; w <= 1400; ++w) {
        for (bool captions : {false, true}) {
            const PanelLayout l = at(w, captions);
            for (std::size_t i = 0; i < kPanelItemCount; ++i) {
                const Placement& a = l.parts[i];
                if (!a.shown) continue;
                ASSERT_TRUE(a.rect.left >= 0 && a.rect.right <= w && a.rect.bottom <= l.height)
                    << w << " part " << i;
                for (std::size_t j = i + 1; j < kPanelItemCount; ++j) {
                    const Placement& b = l.parts[j];
                    if (!b.shown) continue;
                    // The speaker sits in the wedge's empty corner, above its low columns.
                    if (static_cast<PanelItem>(i) == PanelItem::Mute &&
                        static_cast<PanelItem>(j) == PanelItem::Wedge) {
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

TEST(PanelLayout, TheRowsFollowTheSettingsAndTheFoldOutRow) {
    LayoutInput in;
    in.width = 640;
    EXPECT_EQ(layoutPanel(in).height, 64);
    in.useRepeatCtrl = false;
    auto l = layoutPanel(in);
    EXPECT_FALSE(l[PanelItem::RepeatBar].shown);
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
    // The picture sliders take the place of the buttons.
    l = at(640, true, true);
    for (PanelItem p : {PanelItem::Brightness, PanelItem::Sharpness, PanelItem::FoldBackSharpness,
                        PanelItem::Track})
        EXPECT_TRUE(shown(l, p));
    for (PanelItem p : {PanelItem::Open, PanelItem::Play, PanelItem::TotalTime, PanelItem::Wedge,
                        PanelItem::Bold, PanelItem::Quit, PanelItem::Title})
        EXPECT_FALSE(shown(l, p));
    EXPECT_FALSE(shown(at(640), PanelItem::Brightness));
}

TEST(TimeDisplay, ClockTextsAndUnusableLengths) {
    TimeDisplay t;
    EXPECT_EQ(t.currentText(), "00:00:00");
    t.setDuration(3725.9);
    EXPECT_EQ(t.totalText(), "01:02:05");
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
    t.setDuration(600);
    // Before the first position the remaining time is the whole length.
    ASSERT_TRUE(t.cycle());
    EXPECT_EQ(t.totalText(), "00:10:00");
    EXPECT_TRUE(t.setPosition(65.7));
    EXPECT_FALSE(t.setPosition(65.9));  // same second: no repaint
    EXPECT_EQ(t.currentText(), "00:01:05");
    const std::pair<const char*, const char*> shown[] = {
        {"00:08:55", "남은 시간"}, {"65", "프레임 수"}, {"00:10:00", "전체 재생 시간"}};
    for (const auto& [text, tip] : shown) {
        EXPECT_EQ(t.totalText(), text);
        EXPECT_EQ(t.totalTip(), tip);
        t.cycle();
    }
    EXPECT_EQ(t.mode(), TimeMode::Remaining);
    // Past the end (a length that was too short): no negative remaining time.
    t.setPosition(700);
    EXPECT_EQ(t.totalText(), "00:00:00");
}

TEST(VolumeWedge, ColumnsAndTheVolumeAtBothEnds) {
    for (auto [x, height] : {std::pair{0, 0}, {5, 1}, {65, 21}, {66, 0}})
        EXPECT_EQ(wedge::columnHeight(x), height) << x;
    EXPECT_EQ(wedge::columnColour(51, 50), wedge::kEmptyColour);  // beyond the fill
    EXPECT_EQ(wedge::fillForStep(19), 60);

    wedge::Drag d;
    d.setLeft(219);
    EXPECT_EQ(d.press(249), 9);  // fill 30
    EXPECT_EQ(d.move(900), 19);  // the far right
    EXPECT_EQ(d.fill(), 60);
    EXPECT_EQ(d.move(-300), 0);  // the far left
    EXPECT_EQ(d.release(), 0);
    EXPECT_EQ(d.move(900), 0);  // no drag, no change
}

TEST(PanelState, LengthDecidesTrackPauseStopAndRange) {
    PanelState s;
    s.setDuration(600.55);
    EXPECT_EQ(s.trackMax(), 6005);
    EXPECT_TRUE(s.look(PanelItem::Track).enabled);
    s.setPosition(65.47);
    EXPECT_EQ(s.trackPosition(), 654);
    s.setPosition(1e12);  // never past the end of the track
    EXPECT_EQ(s.trackPosition(), 6005);

    s.setRepeatRange(10, 60.5);
    EXPECT_EQ(s.repeatTip(), "00:00:10 ~ 00:01:00");
    s.setRepeatRange(0.3, 0.9);  // both within the first second: no range
    EXPECT_EQ(s.repeatTip(), "반복 구간 설정");

    s.setRepeatRange(10, 60);
    s.setDuration(-1);  // a new medium without a length
    EXPECT_EQ(s.trackPosition(), 0);
    for (PanelItem p : {PanelItem::Track, PanelItem::Pause, PanelItem::Stop})
        EXPECT_FALSE(s.look(p).enabled);
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

TEST(PanelState, CaptionControlsFrameNumbersAndPictureSliders) {
    PanelState s;
    EXPECT_FALSE(s.look(PanelItem::Bold).enabled);
    CaptionButtons c;
    c.loaded = c.smoothing = c.bold = true;
    c.languages = 1;
    s.setCaptions(c);
    EXPECT_EQ(s.look(PanelItem::Smoothing), (ButtonLook{true, true}));
    EXPECT_EQ(s.look(PanelItem::Bold), (ButtonLook{true, true}));
    EXPECT_FALSE(s.look(PanelItem::CaptionLanguage).enabled);  // one language: nothing to switch
    c.border = true;
    c.languages = 2;
    s.setCaptions(c);
    EXPECT_FALSE(s.look(PanelItem::Smoothing).enabled);  // the outline rules smoothing out
    EXPECT_TRUE(s.look(PanelItem::CaptionLanguage).enabled);

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
    for (auto [slider, value] : {std::pair{50, 750}, {0, 0}, {100, 10000}, {75, 5375}})
        EXPECT_EQ(s.pictureValue(PictureKind::Brightness, slider), value) << slider;
    EXPECT_EQ(s.pictureValue(PictureKind::Contrast, 25), 5000);
    EXPECT_EQ(s.pictureValue(PictureKind::Contrast, 400), 20000);
    p.set(PictureKind::Contrast, 15000);
    s.setPicture(p);
    EXPECT_EQ(s.pictureSlider(PictureKind::Contrast), 75);
}
