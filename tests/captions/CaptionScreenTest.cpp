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
#include "engine/SubtitledClip.h"
#include "extras/PowerControl.h"
#include "player/OsdTip.h"
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

// The light pixels of libmpv's own subtitles (white letters, black border), in a band of rows.
Count subtitlePixels(const QImage& frame, int top, int bottom) {
    Count c;
    for (int y = std::max(top, 0); y < std::min(bottom, frame.height()); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb p = frame.pixel(x, y);
            if (qRed(p) > 180 && qGreen(p) > 180 && qBlue(p) > 180) {
                ++c.inside;
                c.box |= QRect(x, y, 1, 1);
            }
        }
    return c;
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

TEST(CaptionScreen, AClipsTextTracksAreDrawnAsCaptionsAndItsStyledTrackByLibmpv) {
    constexpr int kCaptionColour = 0xAC6824;  // nowhere in the clip, nor in libmpv's subtitles
    const std::string clip =
        test::makeSubtitledClip("embedded-screen",
                                {{"eng", "English", "English subtitle line", "srt"},
                                 {"kor", "한국어", "한국어 자막", "webvtt"},
                                 {"jpn", "Signs", "STYLED SIGN", "ass"}},
                                10);
    ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the clip";
    test::MemorySettingsStore settings;
    settings.putInt(sections::Caption, "FontColor", kCaptionColour);
    settings.putInt(sections::Caption, "FontOffset", -20);
    Player player(settings);
    PlayerWindow& window = player.window;
    ASSERT_TRUE(window.videoSurface().rendererReady());
    const CaptionController& captions = player.assembly.captionController();

    window.engine().openFile(clip);
    ASSERT_TRUE(waitUntil([&] { return window.engine().flags().playing; }, 15000));
    ASSERT_TRUE(waitUntil([&] { return captions.embeddedTrack() == 2; }, 5000));
    EXPECT_TRUE(captions.trackDrawnAsCaptions());
    EXPECT_TRUE(window.engine().flags().captionsLoaded);
    window.engine().pause();
    window.engine().setPosition(1.0);
    auto shows = [&](const std::string& text) {
        return waitUntil(
            [&] {
                const CaptionPicture& p = captions.picture();
                return text.empty() ? p.empty() : p.lines.size() == 1 && p.lines[0].text == text;
            },
            8000);
    };
    ASSERT_TRUE(shows("한국어 자막"));
    test::processEventsFor(300);
    const QImage korean = window.videoSurface().grabShown();
    const geometry::Rect r = captions.picture().lines[0].rect;
    const Count fill = pixels(korean, rgbOf(kCaptionColour),
                              QRect(r.left, r.top, r.width(), r.height()).adjusted(-1, -1, 1, 1));
    EXPECT_GT(fill.inside, 100);
    EXPECT_EQ(fill.outside, 0);
    EXPECT_GT(r.top, korean.height() / 2);
    // libmpv draws nothing of it: no white letters.
    EXPECT_EQ(subtitlePixels(korean, 0, korean.height()).inside, 0);

    // The styled track is libmpv's to draw.
    window.controller().runCommand(CommandId::CaptionLanguage);
    EXPECT_EQ(player.assembly.osd().text().toStdString(), "자막 언어 : 일어 (Signs)");
    EXPECT_FALSE(captions.trackDrawnAsCaptions());
    EXPECT_TRUE(shows(""));
    QImage styled;
    waitUntil(
        [&] {
            test::processEventsFor(300);
            styled = window.videoSurface().grabShown();
            return subtitlePixels(styled, styled.height() / 2, styled.height()).inside > 100;
        },
        8000);
    EXPECT_GT(subtitlePixels(styled, styled.height() / 2, styled.height()).inside, 100);

    window.controller().runCommand(CommandId::CaptionLanguage);
    EXPECT_TRUE(shows("English subtitle line"));
    // Two seconds later: at 1 s the track is not due yet.
    for (int i = 0; i < 4; ++i) window.controller().runCommand(CommandId::CaptionSyncLater);
    EXPECT_EQ(player.assembly.osd().text().toStdString(), "자막 싱크 : 2.0초 느림");
    EXPECT_TRUE(shows(""));
    window.controller().runCommand(CommandId::CaptionSyncReset);
    EXPECT_TRUE(shows("English subtitle line"));
}
