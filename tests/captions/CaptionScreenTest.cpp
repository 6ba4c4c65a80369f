// The whole player on the real libmpv, playing the demo clip with its captions: the caption
// must show on the picture in its colour, where the layout put it, with its outline.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <QImage>
#include <cmath>
#include <cstring>

#include "app/Assembly.h"
#include "base/SettingsKeys.h"
#include "captions/CaptionController.h"
#include "engine/MpvBackend.h"
#include "extras/PowerControl.h"
#include "player/PlayerWindow.h"
#include "player/VideoSurface.h"
#include "support/TestSupport.h"

using namespace orvalis;
using test::waitUntil;

namespace {

constexpr int kFontColour = 0xB3DEF5;    // wheat, the default caption colour (0x00BBGGRR)
constexpr int kBorderColour = 0x563412;  // nowhere in the demo clip

QRgb rgbOf(int colorref) {
    return qRgb(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

struct Count {
    int inside = 0;
    int outside = 0;
    QRect box;
};

Count pixels(const QImage& frame, QRgb colour, const QRect& allowed) {
    Count c;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            if ((frame.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) continue;
            c.box |= QRect(x, y, 1, 1);
            if (allowed.contains(x, y)) {
                ++c.inside;
            } else {
                ++c.outside;
            }
        }
    return c;
}

// The software GL driver is unloaded when the window's context goes, before the leak check at
// exit: its own leaks would then be reported from an unknown module, past the suppressions
// that name it. It stays loaded instead.
void keepGlDriverLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "_dri.so"))
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

// The player window on the real libmpv with the given settings.
struct Player {
    explicit Player(test::MemorySettingsStore& settings)
        : backend({.videoOutput = true, .audioOutput = false}),
          assembly({settings, backend, prompter, desktop, power}, {}),
          window(assembly.window()) {
        assembly.start();
        if (waitUntil([&] { return window.videoSurface().rendererReady(); }, 10000))
            keepGlDriverLoaded();
    }
    ~Player() { assembly.exitPlayer(); }
    test::FakePrompter prompter;
    test::FakeDesktop desktop;
    struct NoPower final : PowerControl {
        void powerOff() override { ADD_FAILURE() << "no test may power off"; }
    } power;
    MpvBackend backend;
    Assembly assembly;
    PlayerWindow& window;
};

}  // namespace

TEST(CaptionScreen, TheDemoClipAndASoundShowTheirCaptionsOnThePicture) {
    const std::string clip = test::mediaPath("demo.mp4");
    test::MemorySettingsStore settings;
    settings.putInt(sections::Caption, "FontBorder", 1);
    settings.putInt(sections::Caption, "BorderColor", kBorderColour);
    settings.putInt(sections::Caption, "FontOffset", -14);  // 37 + -14 = 23 points at 360 pixels
    Player player(settings);
    PlayerWindow& window = player.window;
    ASSERT_TRUE(window.videoSurface().rendererReady());

    window.engine().openFile(clip);
    const CaptionController& captions = player.assembly.captionController();
    ASSERT_TRUE(waitUntil([&] { return window.engine().flags().playing; }, 15000));
    EXPECT_TRUE(window.engine().flags().captionsLoaded);
    // Held on the first caption, whatever the machine's speed.
    window.engine().pause();
    window.engine().setPosition(1.0);
    const std::string first = "Orvalis에 오신 것을 환영합니다";
    ASSERT_TRUE(waitUntil(
        [&] {
            return std::abs(player.backend.position() - 1.0) < 0.05 &&
                   captions.picture().lines.size() == 1 &&
                   captions.picture().lines[0].text == first;
        },
        8000));

    const CaptionPicture& picture = captions.picture();
    EXPECT_EQ(picture.clientWidth, 640);
    EXPECT_EQ(picture.clientHeight, 360);
    const geometry::Rect r = picture.lines[0].rect;
    const QRect line(r.left, r.top, r.width(), r.height());
    // One line, lifted by a line: above the bottom tenth, in the lower half of the picture.
    EXPECT_GT(line.top(), 180);
    EXPECT_LT(line.bottom(), 360 - 36);

    const QImage frame = window.videoSurface().grabShown();
    ASSERT_EQ(frame.size(), QSize(640, 360));
    const Count fill = pixels(frame, rgbOf(kFontColour), line.adjusted(-1, -1, 1, 1));
    const Count outline = pixels(frame, rgbOf(kBorderColour), line.adjusted(-4, -4, 4, 4));
    EXPECT_GT(fill.inside, 300);
    EXPECT_EQ(fill.outside, 0);
    EXPECT_GT(outline.inside, 300);
    EXPECT_EQ(outline.outside, 0);
    // The outline surrounds the letters on both sides.
    EXPECT_LT(outline.box.left(), fill.box.left());
    EXPECT_GT(outline.box.right(), fill.box.right());
    EXPECT_LT(outline.box.top(), fill.box.top());
    // The picture itself is still there around the caption (the red bar at the left).
    const QRgb left = frame.pixel(20, 150);
    EXPECT_GT(qRed(left), 200);
    EXPECT_LT(qGreen(left), 60);

    // A sound with captions shows them over the background.
    const std::string dir = test::freshDir("sound-captions");
    test::writeFile(dir + "/song.mp3", test::readFile(test::mediaPath("test/audio.mp3")));
    test::writeFile(dir + "/song.smi", "<SAMI><BODY><SYNC Start=100><P Class=KRCC>노래 자막\n");
    window.engine().openFile(dir + "/song.mp3");
    ASSERT_TRUE(waitUntil(
        [&] { return !captions.picture().empty() && captions.picture().lines[0].text != first; },
        8000));
    window.engine().pause();
    EXPECT_FALSE(window.videoSurface().showsVideo());
    const geometry::Rect s = captions.picture().lines.at(0).rect;
    const QImage sound = window.videoSurface().grabShown();
    const Count soundFill =
        pixels(sound, rgbOf(kFontColour), QRect(s.left, s.top, s.width(), s.height()));
    EXPECT_GT(soundFill.inside, 50);
    EXPECT_EQ(soundFill.outside, 0);
    EXPECT_EQ(sound.pixel(5, 5) & 0xFFFFFF, 0x404040u);  // the background colour
}
