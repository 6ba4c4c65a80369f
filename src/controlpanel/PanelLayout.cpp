#include "controlpanel/PanelLayout.h"

#include <algorithm>

namespace orvalis::panel {

namespace {

using geometry::Rect;

constexpr int kMargin = 5;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 18;
constexpr int kButtonGap = 3;
constexpr int kTimeWidth = 48;
constexpr int kTimeLine = 13;
constexpr int kMuteSize = 12;
constexpr int kWedgeWidth = 60;
constexpr int kWedgeHeight = 20;
constexpr int kRepeatFromWedge = 75;
constexpr int kRepeatSize = 18;
constexpr int kRepeatGap = 5;
constexpr int kGroupGap = 15;
// The nine caption controls share what is left between the repeat buttons and the window
// buttons at 606 pixels: 12 pixels each, 2 apart.
constexpr int kCaptionWidth = 12;
constexpr int kCaptionGap = 2;
constexpr int kSliderRow = 11;
constexpr int kSliderLabel = 40;  // "밝기" and "선명도" stand left of their sliders
constexpr int kFoldBackWidth = 16;
constexpr int kTitleGap = 12;

Rect box(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// Places the parts left to right from x, each width wide and gap apart; returns the x
// after the last.
int row(PanelLayout& out, std::initializer_list<PanelItem> parts, int x, int top, int width,
        int height, int gap, bool shown) {
    bool first = true;
    for (PanelItem p : parts) {
        if (!first) x += gap;
        first = false;
        out[p] = {box(x, top, width, height), shown};
        x += width;
    }
    return x;
}

void placeTitle(PanelLayout& out, int width) {
    int start = kMargin;
    for (std::size_t i = 0; i < kPanelItemCount; ++i) {
        const PanelItem p = static_cast<PanelItem>(i);
        if (p == PanelItem::Minimize || p == PanelItem::Maximize || p == PanelItem::Quit ||
            p == PanelItem::Title)
            continue;
        const Placement& at = out[p];
        if (at.shown && at.rect.top >= out.rowTop - 1) start = std::max(start, at.rect.right);
    }
    int end = width - kMargin;
    for (PanelItem p : {PanelItem::Minimize, PanelItem::Maximize, PanelItem::Quit})
        if (out[p].shown) end = std::min(end, out[p].rect.left);
    start += kTitleGap;
    end -= kTitleGap;
    out[PanelItem::Title] = {
        Rect{start, out.rowTop, std::max(start, end), out.rowTop + kButtonHeight},
        end - start >= kTitleMinWidth};
}

}  // namespace

PanelLayout layoutPanel(const LayoutInput& in) {
    PanelLayout out;
    const int w = std::max(0, in.width);
    const int track = geometry::clampTrackHeight(in.trackHeight);
    const int right = std::max(kMargin, w - kMargin);
    out.height = geometry::transportBarHeight(track, in.useRepeatCtrl);

    out[PanelItem::Track] = {Rect{kMargin, kMargin, right, kMargin + track}, true};
    out.trackBottom = kMargin + track;
    out[PanelItem::RepeatBar] = {Rect{kMargin, out.trackBottom + 1, right, out.trackBottom + 7},
                                 in.useRepeatCtrl};
    if (in.useRepeatCtrl) out.trackBottom += 7;

    // The picture sliders take the place of the button row while they are folded out; the
    // row moves out of the bar until they fold back.
    const bool open = in.adjustRowOpen;
    const int sliderTop = out.trackBottom + 4;
    const int adjustRight = std::max(kMargin, w - kMargin - kFoldBackWidth - 4);
    const int adjustLeft = std::min(kMargin + kSliderLabel, adjustRight);
    out[PanelItem::Brightness] = {box(adjustLeft, sliderTop, adjustRight - adjustLeft, kSliderRow),
                                  open};
    out[PanelItem::Sharpness] = {
        box(adjustLeft, sliderTop + kSliderRow, adjustRight - adjustLeft, kSliderRow), open};
    out[PanelItem::FoldBackBrightness] = {
        box(adjustRight + 4, sliderTop, kFoldBackWidth, kSliderRow), open};
    out[PanelItem::FoldBackSharpness] = {
        box(adjustRight + 4, sliderTop + kSliderRow, kFoldBackWidth, kSliderRow), open};

    const int top = out.trackBottom + (open ? 100 : 6);
    out.rowTop = top;
    const bool rowShown = !open;

    int x = row(out,
                {PanelItem::Open, PanelItem::Previous, PanelItem::Play, PanelItem::Pause,
                 PanelItem::Stop, PanelItem::Next},
                kMargin, top, kButtonWidth, kButtonHeight, kButtonGap, rowShown);

    const int timeLeft = x + 5;
    const bool timeShown = rowShown && w > kTimeTextsAbove;
    out[PanelItem::CurrentTime] = {box(timeLeft, top - 1, kTimeWidth, kTimeLine), timeShown};
    out[PanelItem::TotalTime] = {box(timeLeft, top - 1 + kTimeLine, kTimeWidth, kTimeLine),
                                 timeShown};

    // The speaker stands in the empty upper left of the wedge, whose columns rise to the right.
    const int muteLeft = timeLeft + kTimeWidth + 3;
    out[PanelItem::Mute] = {box(muteLeft, top, kMuteSize, kMuteSize), rowShown && w > kMuteAbove};
    const int wedgeLeft = muteLeft + 5;
    out[PanelItem::Wedge] = {box(wedgeLeft, top, kWedgeWidth, kWedgeHeight),
                             rowShown && w >= kWedgeFrom};

    x = row(out, {PanelItem::RepeatStart, PanelItem::RepeatEnd, PanelItem::RepeatClear},
            wedgeLeft + kRepeatFromWedge, top, kRepeatSize, kRepeatSize, kRepeatGap,
            rowShown && w > kRepeatButtonsAbove);

    const bool captions = rowShown && in.captionsLoaded && w > kCaptionControlsAbove;
    x = row(out,
            {PanelItem::Smoothing, PanelItem::Bold, PanelItem::Border, PanelItem::ShowCaptions},
            x + kGroupGap, top, kCaptionWidth, kButtonHeight, kCaptionGap, captions);
    x = row(out,
            {PanelItem::CaptionLarger, PanelItem::CaptionSmaller, PanelItem::CaptionUp,
             PanelItem::CaptionDown},
            x + kGroupGap, top, kCaptionWidth, kButtonHeight, kCaptionGap, captions);
    row(out, {PanelItem::CaptionLanguage}, x + kGroupGap, top, kCaptionWidth, kButtonHeight, 0,
        captions);

    out[PanelItem::Quit] = {box(w - 27, top, kButtonWidth, kButtonHeight),
                            rowShown && w >= kQuitFrom};
    out[PanelItem::Maximize] = {box(w - 53, top, kButtonWidth, kButtonHeight),
                                rowShown && w >= kMaximizeFrom};
    out[PanelItem::Minimize] = {box(w - 79, top, kButtonWidth, kButtonHeight),
                                rowShown && w >= kMinimizeFrom};

    placeTitle(out, w);
    if (!rowShown) out[PanelItem::Title].shown = false;
    return out;
}

}  // namespace orvalis::panel
