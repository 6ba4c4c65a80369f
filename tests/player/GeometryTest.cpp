#include <gtest/gtest.h>

#include <cmath>

#include "ports/Geometry.h"

using namespace orvalis::geometry;

namespace {
const Rect kScreen{0, 0, 1280, 1024};
}

TEST(Geometry, ZoomKeepsTheMinimumAndFitsTheScreen) {
    EXPECT_EQ(zoomRect({100, 100, 400, 300}, {320, 240}, 0.5, kScreen), (Rect{100, 100, 292, 230}));
    EXPECT_EQ(zoomRect({100, 100, 400, 300}, {320, 240}, 1.5, kScreen), (Rect{100, 100, 580, 460}));
    // 1024 x 400 at 2.0 is 2048 x 800: made as wide as the screen, in its proportions.
    EXPECT_EQ(zoomRect({300, 100, 400, 200}, {1024, 400}, 2.0, kScreen), (Rect{0, 100, 1280, 600}));
    EXPECT_EQ(zoomRect({0, 900, 100, 1000}, {320, 240}, 1.0, kScreen).bottom, 1024);
    // A 1080p picture on a 1280 x 800 screen whose panel takes the top 30 pixels.
    const Rect small{0, 30, 1280, 800};
    EXPECT_EQ(zoomRect({600, 400, 966, 672}, {1920, 1080}, 1.0, small), (Rect{0, 80, 1280, 800}));
    // Fitting keeps what already fits, and moves in what hangs over an edge.
    EXPECT_EQ(fitInside({10, 40, 650, 400}, small), (Rect{10, 40, 650, 400}));
    EXPECT_EQ(fitInside({-50, 0, 590, 360}, small), (Rect{0, 30, 640, 390}));
    EXPECT_EQ(fitInside({0, 0, 1280, 1600}, small), (Rect{0, 30, 616, 800}));
}

TEST(Geometry, BorderZonesInTheirOrder) {
    const Size client{640, 360};
    // Top-left wins over left and top; each corner over its two sides.
    const std::pair<Point, int> zones[] = {{{10, 5}, 4}, {{5, 100}, 1}, {{635, 100}, 2},
                                           {{300, 3}, 3}, {{630, 5}, 5}, {{300, 355}, 6},
                                           {{2, 358}, 7}, {{639, 359}, 8}, {{300, 180}, 0}};
    for (const auto& [at, zone] : zones) EXPECT_EQ(borderZone(at, client, 15), zone) << at.x;
    EXPECT_EQ(borderZone({0, 0}, client, 0), 0);  // no border: nothing to resize from
    EXPECT_EQ(borderZone({0, 0}, client, -5), 0);
}

TEST(Geometry, ProportionalSizingFollowsTheDraggedEdge) {
    const double aspect = 2.0;
    EXPECT_EQ(keepProportions({0, 0, 400, 100}, SizingEdge::Right, aspect), (Rect{0, 0, 400, 200}));
    EXPECT_EQ(keepProportions({0, 0, 400, 300}, SizingEdge::Bottom, aspect), (Rect{0, 0, 600, 300}));
    EXPECT_EQ(keepProportions({0, 0, 400, 300}, SizingEdge::TopLeft, aspect), (Rect{-200, 0, 400, 300}));
    EXPECT_EQ(keepProportions({0, 0, 400, 300}, SizingEdge::Right, 0), (Rect{0, 0, 400, 300}));
}

TEST(Geometry, PictureLayoutInEachMode) {
    LayoutInput in;
    in.window = {0, 0, 640, 432};
    in.hasVideo = true;
    in.native = {640, 360};
    in.captionsLoaded = true;
    in.captionSpacePercent = 20;
    // Normal, aspect kept: the picture at the top, the rest is caption room.
    EXPECT_EQ(layoutPicture(in).video, (Rect{0, 0, 640, 360}));
    in.keepAspect = false;
    EXPECT_EQ(layoutPicture(in).video, (Rect{0, 0, 640, 346}));  // 432 less 20 % of it
    in.mode = ScreenMode::FullScreen;
    in.panScanPercent = 10;
    EXPECT_EQ(layoutPicture(in).video, (Rect{-64, 0, 704, 346}));
    in.captionsLoaded = false;
    EXPECT_EQ(layoutPicture(in).video, (Rect{-64, 0, 704, 432}));
    in.hasVideo = false;
    EXPECT_FALSE(layoutPicture(in).showsVideo);

    // Caption space 20 with captions loaded: the window grows by a fifth of the picture.
    double aspect = 0;
    Rect r = rectForNativeSize({0, 0, 640, 360}, {640, 360}, 20, &aspect);
    EXPECT_EQ(r, (Rect{0, 0, 640, 432}));
    EXPECT_DOUBLE_EQ(aspect, 640.0 / 432.0);
}

TEST(Geometry, PlacementOfThePictureForLibmpv) {
    Layout layout;
    layout.showsVideo = true;
    layout.video = {0, 0, 640, 360};
    VideoPlacement p = placementFor(layout, {640, 432}, {640, 360}, ScreenMode::Normal);
    EXPECT_DOUBLE_EQ(p.marginBottom, 72.0 / 432.0);
    EXPECT_DOUBLE_EQ(p.marginLeft, 0);
    EXPECT_FALSE(p.keepAspect);
    EXPECT_DOUBLE_EQ(p.zoom, 0);
    // Pan & scan in full screen: the picture box is wider than the screen; a 4:3 picture
    // on a 16:9 screen is height-bound and does not grow, a 2.35:1 one does.
    layout.video = {-96, 0, 1376, 720};
    p = placementFor(layout, {1280, 720}, {640, 480}, ScreenMode::FullScreen);
    EXPECT_TRUE(p.keepAspect);
    EXPECT_NEAR(p.zoom, 0, 1e-9);
    p = placementFor(layout, {1280, 720}, {1880, 800}, ScreenMode::FullScreen);
    EXPECT_NEAR(p.zoom, std::log2(1472.0 / 1280.0), 1e-9);
}

TEST(Geometry, StartPlacement) {
    const Rect screen{0, 0, 1920, 1080};
    // First start: nothing saved, a centred 366 x 272 window.
    EXPECT_EQ(startPlacement({}, true, kIdlePictureSize, screen), (Rect{777, 404, 1143, 676}));
    // With the aspect kept the window takes the idle picture size at its saved place.
    EXPECT_EQ(startPlacement({100, 50, 900, std::nullopt}, true, kIdlePictureSize, screen),
              (Rect{100, 50, 466, 322}));
    // Without it the saved rectangle stands.
    EXPECT_EQ(startPlacement({100, 50, 900, 500}, false, kIdlePictureSize, screen), (Rect{100, 50, 900, 500}));
    // Too small, off every screen, absurdly large, zero-sized.
    EXPECT_EQ(startPlacement({100, 50, 150, 60}, false, kIdlePictureSize, screen), (Rect{100, 50, 466, 322}));
    EXPECT_EQ(startPlacement({5000, 5000, 5400, 5300}, false, kIdlePictureSize, screen),
              (Rect{760, 390, 1160, 690}));
    EXPECT_EQ(startPlacement({0, 0, 100000, 90000}, false, kIdlePictureSize, screen),
              (Rect{777, 404, 1143, 676}));
    EXPECT_EQ(startPlacement({10, 10, 10, 10}, false, kIdlePictureSize, screen), (Rect{10, 10, 376, 282}));
    // A background picture larger than the screen: the idle window fits, in its proportions.
    EXPECT_EQ(startPlacement({}, true, {3000, 1000}, screen), (Rect{0, 220, 1920, 860}));
}

TEST(Geometry, SnappingWithinFifteenPixels) {
    const Rect screen{0, 0, 1920, 1080};
    EXPECT_EQ(snapRect({12, 500, 412, 800}, screen, std::nullopt, std::nullopt), (Rect{0, 500, 400, 800}));
    EXPECT_EQ(snapRect({16, 500, 416, 800}, screen, std::nullopt, std::nullopt), (Rect{16, 500, 416, 800}));
    EXPECT_EQ(snapRect({1510, 770, 1910, 1070}, screen, std::nullopt, std::nullopt),
              (Rect{1520, 780, 1920, 1080}));
    // Beside the playlist window: our left onto its right edge.
    const Rect playlist{100, 100, 400, 600};
    EXPECT_EQ(snapRect({410, 110, 810, 410}, screen, std::nullopt, playlist), (Rect{400, 100, 800, 400}));
    EXPECT_TRUE(touches({0, 0, 100, 100}, {100, 20, 200, 80}));
    EXPECT_TRUE(touches({0, 0, 100, 100}, {10, 101, 90, 200}));
    EXPECT_FALSE(touches({0, 0, 100, 100}, {110, 20, 200, 80}));
    EXPECT_FALSE(touches({0, 0, 100, 100}, {100, 120, 200, 180}));  // beside, but not along
    // A taskbar at the bottom is kept 3 pixels clear.
    EXPECT_EQ(snapRect({500, 700, 900, 1030}, screen, Rect{0, 1040, 1920, 1080}, std::nullopt),
              (Rect{500, 707, 900, 1037}));
}

TEST(Geometry, CaptionFontAndTransportBar) {
    EXPECT_EQ(captionFontSizeForHeight(340, -27), 37);  // 36 - 27 is below 10
    EXPECT_EQ(captionFontSizeForHeight(900, -27), 60);
    EXPECT_EQ(captionFontSizeForHeight(10000, 0), 70);
    EXPECT_EQ(captionFontSizeForHeight(0, 0), 10);
    EXPECT_EQ(captionFontSizeForHeight(100, 65), 5);  // size + offset stays at 70
    EXPECT_EQ(transportBarHeight(15, true), 64);
    EXPECT_EQ(transportBarHeight(15, false), 57);
    EXPECT_EQ(transportBarHeight(0, true), 53);     // a settings file without the key
    EXPECT_EQ(transportBarHeight(200, false), 82);  // never taller than the picture it covers
    EXPECT_TRUE(inTransportBand({10, 350}, {640, 360}, 64));
    EXPECT_FALSE(inTransportBand({10, 356}, {640, 360}, 64));  // the last 5 pixels are the border
    EXPECT_FALSE(inTransportBand({10, 299}, {640, 360}, 64));
    EXPECT_EQ(panScanLess(0), 0);
    EXPECT_EQ(panScanMore(50), 50);
    EXPECT_EQ(panScanMore(48), 50);
}
