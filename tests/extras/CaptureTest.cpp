#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "base/AtomicFile.h"
#include "base/SettingsKeys.h"
#include "extras/BmpImage.h"
#include "extras/CaptureFile.h"
#include "extras/FrameGrabber.h"
#include "support/TestSupport.h"

using namespace orvalis;
using namespace orvalis::capture;

namespace {

// Pixel (x, y) holds the bytes x, y, x + y, 0xEE in memory order.
RawFrame patternFrame(int width, int height, PixelOrder order, std::size_t stride = 0) {
    RawFrame f;
    f.width = width;
    f.height = height;
    f.order = order;
    f.stride = stride ? stride : static_cast<std::size_t>(width) * 4;
    f.pixels.assign(f.stride * static_cast<std::size_t>(height), '\x55');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char* p = f.pixels.data() + y * f.stride + x * 4;
            p[0] = static_cast<char>(x);
            p[1] = static_cast<char>(y);
            p[2] = static_cast<char>(x + y);
            p[3] = '\xEE';
        }
    return f;
}

}  // namespace

TEST(BmpImage, HeaderIsTheFixed54BytesAndRowsRunBottomUpPadded) {
    // A stride wider than the row, as a cropped frame has, is skipped over.
    auto bmp = encodeBmp(patternFrame(3, 2, PixelOrder::Bgrx, 16));
    ASSERT_TRUE(bmp);
    const std::string header(
        "BM\x4e\0\0\0\0\0\0\0\x36\0\0\0"  // file header, size 78
        "\x28\0\0\0\x03\0\0\0\x02\0\0\0"  // info size, width, height
        "\x01\0\x18\0\0\0\0\0"            // planes, 24 bits, no compression
        "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0",
        54);
    const std::string rows(
        "\x00\x01\x01\x01\x01\x02\x02\x01\x03\0\0\0"  // the bottom row first
        "\x00\x00\x00\x01\x00\x01\x02\x00\x02\0\0\0",
        24);
    EXPECT_EQ(*bmp, header + rows);

    // R G B x input is turned around into the file's B G R.
    auto swapped = encodeBmp(patternFrame(3, 2, PixelOrder::Rgbx));
    ASSERT_TRUE(swapped);
    EXPECT_EQ(swapped->substr(54, 6), std::string("\x01\x01\x00\x02\x01\x01", 6));
}

TEST(BmpImage, BrokenFramesAreRefusedAndForeignLayoutsCopied) {
    RawFrame f = patternFrame(4, 4, PixelOrder::Bgrx);
    EXPECT_TRUE(f.valid());
    RawFrame shortData = f;
    shortData.pixels.pop_back();
    RawFrame narrowStride = f;
    narrowStride.stride = 12;
    RawFrame empty = f;
    empty.width = 0;
    RawFrame huge = f;
    huge.height = 1 << 20;
    for (const RawFrame& bad : {shortData, narrowStride, empty, huge})
        EXPECT_EQ(encodeBmp(bad), std::nullopt);

    // libmpv may hand a bottom-up image: the first row last in memory, a negative stride.
    const RawFrame source = patternFrame(3, 2, PixelOrder::Bgrx);
    std::string upsideDown = source.pixels.substr(12) + source.pixels.substr(0, 12);
    auto copy = RawFrame::copyOf(upsideDown.data() + 12, 3, 2, -12, "bgr0");
    ASSERT_TRUE(copy);
    EXPECT_EQ(encodeBmp(*copy), encodeBmp(source));
    EXPECT_EQ(RawFrame::copyOf(upsideDown.data(), 3, 2, 12, "yuv420p"), std::nullopt);
    EXPECT_EQ(RawFrame::copyOf(upsideDown.data(), 3, 2, 8, "bgr0"), std::nullopt);
    EXPECT_EQ(RawFrame::copyOf(nullptr, 3, 2, 12, "rgba"), std::nullopt);
    EXPECT_EQ(pixelOrderFromName("rgb0"), PixelOrder::Rgbx);
}

TEST(CaptureNaming, FolderBaseSuffixAndNumberFollowTheSettingsAndTheFolder) {
    EXPECT_EQ(captureFolder("/films/a.b.mkv", 0, "/pics", "/home/u/Pictures"), "/films");
    EXPECT_EQ(captureFolder("/a.mkv", 0, "", "/home/u/Pictures"), "/");
    EXPECT_EQ(captureFolder("http://host/live.ts", 0, "", "/p"), "");
    EXPECT_EQ(captureFolder("/films/a.mkv", 1, "/pics", "/home/u/Pictures"), "/pics");
    EXPECT_EQ(captureFolder("/films/a.mkv", 7, "", "/home/u/Pictures"), "/home/u/Pictures");

    EXPECT_EQ(captureBase("/films", "/films/a.b.mkv"), "/films/a.b");
    EXPECT_EQ(captureBase("/", "/a.mkv"), "/a");  // a root gets no second separator
    EXPECT_EQ(captureBase("/media/usb/", "/x/.hidden"), "/media/usb/.hidden");
    EXPECT_EQ(captureBase("/pics", "http://host/live.ts"), "/pics/live");
    EXPECT_EQ(captureBase("", "/x/a.mkv"), "");

    EXPECT_EQ(captureSuffix(8), "_008.bmp");
    EXPECT_EQ(captureSuffix(999), "_999.bmp");
    EXPECT_EQ(captureSuffix(1000), "_1000.bmp");

    // Numbering goes on after the highest capture of that medium.
    const std::string dir = test::freshDir("numbering");
    const std::string base = dir + "/movie";
    EXPECT_EQ(nextCaptureNumber(base), 0);
    test::writeFile(base + "_007.bmp", "x");
    EXPECT_EQ(nextCaptureNumber(base), 8);
    for (std::string other :
         {"/movie_2_950.bmp", "/movie_tmp.bmp", "/movie_.bmp", "/movie_900.png", "/Movie_500.bmp",
          "/movie_99999999999999999999.bmp", "/xmovie_600.bmp"})
        test::writeFile(dir + other, "x");
    ::mkdir((base + "_800.bmp").c_str(), 0700);
    EXPECT_EQ(nextCaptureNumber(base), 8);  // none of those is one of its captures
    test::writeFile(base + "_042.BMP", "x");
    EXPECT_EQ(nextCaptureNumber(base), 43);
    test::writeFile(base + "_1000.bmp", "x");
    EXPECT_EQ(nextCaptureNumber(base), 1001);
    EXPECT_EQ(nextCaptureNumber(dir + "/missing/movie"), 0);
}

TEST(CaptureNaming, SavingNeverReplacesAFile) {
    const std::string dir = test::freshDir("exclusive");
    test::writeFile(dir + "/clip_000.bmp", "old");
    EXPECT_EQ(createNewFile(dir + "/clip_000.bmp", "new"), CreateResult::Exists);
    EXPECT_EQ(test::readFile(dir + "/clip_000.bmp"), "old");

    // A name taken by something the scan does not count is stepped over.
    ::mkdir((dir + "/clip_001.bmp").c_str(), 0700);
    EXPECT_EQ(saveCapture(dir + "/clip", "one"), dir + "/clip_002.bmp");
    EXPECT_EQ(saveCapture(dir + "/clip", "two"), dir + "/clip_003.bmp");
    EXPECT_EQ(test::readFile(dir + "/clip_002.bmp"), "one");
    EXPECT_EQ(saveCapture(dir + "/gone/clip", "x"), std::nullopt);
}

namespace {

class FakeCaptureHost final : public CaptureHost {
public:
    bool hasVideo() const override { return video; }
    std::string mediaPath() const override { return path; }
    bool isPlaying() const override { return playing; }
    void pausePlayback() override {
        log.push_back("pause");
        playing = false;
    }
    void resumePlayback() override {
        log.push_back("resume");
        playing = true;
    }
    void setBusyCursor(bool busy) override { log.push_back(busy ? "wait" : "arrow"); }
    void requestFrame() override {
        log.push_back("request");
        if (grabber && answerAtOnce) grabber->frameArrived(patternFrame(4, 2, PixelOrder::Bgrx));
    }
    void showCaptureMessage(const std::string& text) override { log.push_back("message " + text); }
    void playSound(const std::string& file) override { log.push_back("sound " + file); }

    bool video = true;
    bool playing = true;
    bool answerAtOnce = false;
    std::string path;
    FrameGrabber* grabber = nullptr;
    std::vector<std::string> log;
};

class FrameGrabberTest : public ::testing::Test {
protected:
    void SetUp() override {
        media = test::freshDir("media");
        pictures = test::freshDir("home") + "/Pictures";
        host.path = media + "/clip.one.mp4";
    }

    test::MemorySettingsStore settings;
    FakeCaptureHost host;
    std::string media;
    std::string pictures;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(FrameGrabberTest, CapturePausesWritesResumesAndNamesTheFile) {
    FrameGrabber grabber(host, settings, pictures);
    ASSERT_TRUE(grabber.capture());
    EXPECT_TRUE(grabber.busy());
    EXPECT_EQ(host.log, (Log{"wait", "pause", "request"}));
    EXPECT_FALSE(grabber.capture());  // a second request while busy is ignored
    EXPECT_EQ(host.log.size(), 3u);

    grabber.frameArrived(patternFrame(4, 2, PixelOrder::Bgrx));
    EXPECT_FALSE(grabber.busy());
    // The empty image folder means the Pictures folder, made when it is missing.
    const std::string file = pictures + "/clip.one_000.bmp";
    EXPECT_EQ(grabber.lastFile(), file);
    EXPECT_EQ(test::readFile(file), *encodeBmp(patternFrame(4, 2, PixelOrder::Bgrx)));
    EXPECT_EQ(host.log,
              (Log{"wait", "pause", "request", "resume", "arrow", "message clip.one_000.bmp"}));
    EXPECT_EQ(grabber.captureCount(), 1);

    // Paused before: stays paused. Beside the medium with "Path" 0.
    settings.putInt(sections::ConfigControl, "Path", 0);
    host.log.clear();
    host.playing = false;
    grabber.capture();
    grabber.frameArrived(patternFrame(4, 2, PixelOrder::Bgrx));
    EXPECT_EQ(host.log, (Log{"wait", "request", "arrow", "message clip.one_000.bmp"}));
    EXPECT_TRUE(fileExists(media + "/clip.one_000.bmp"));
    grabber.frameArrived(patternFrame(4, 2, PixelOrder::Bgrx));  // nobody asked: ignored
    EXPECT_EQ(grabber.captureCount(), 2);
}

TEST_F(FrameGrabberTest, EveryFailureSaysSoAndEndsTheCapture) {
    FrameGrabber grabber(host, settings, pictures);
    host.video = false;  // audio only: nothing at all
    EXPECT_FALSE(grabber.capture());
    EXPECT_TRUE(host.log.empty());
    host.video = true;

    auto attempt = [&](std::optional<RawFrame> frame) {
        host.log.clear();
        grabber.capture();
        grabber.frameArrived(std::move(frame));
        EXPECT_FALSE(grabber.busy());
        return host.log.back();
    };
    const std::string failed = "message 화면저장에 실패했습니다.";
    EXPECT_EQ(attempt(std::nullopt), failed);  // no frame came
    RawFrame broken = patternFrame(4, 2, PixelOrder::Bgrx);
    broken.pixels.resize(3);
    EXPECT_EQ(attempt(broken), failed);
    settings.putString(sections::ConfigControl, "Image Folder", media + "/not-made");
    EXPECT_EQ(attempt(patternFrame(4, 2, PixelOrder::Bgrx)),
              failed);  // a chosen folder is not made
    EXPECT_FALSE(fileExists(media + "/not-made"));
    settings.putInt(sections::ConfigControl, "Path", 0);
    host.path = "/proc/clip.mp4";  // a medium on a folder nobody can write to
    EXPECT_EQ(attempt(patternFrame(4, 2, PixelOrder::Bgrx)), failed);
    host.path = "http://host/live.ts";  // an address has no folder of its own
    EXPECT_EQ(attempt(patternFrame(4, 2, PixelOrder::Bgrx)), failed);
    EXPECT_EQ(grabber.captureCount(), 0);
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "resume"), 1);
}

TEST_F(FrameGrabberTest, SoundNeedsBothTheSwitchAndAFile) {
    FrameGrabber grabber(host, settings, pictures);
    host.grabber = &grabber;
    host.answerAtOnce = true;  // the answer may come from inside the request
    auto sounds = [&] {
        host.log.clear();
        EXPECT_TRUE(grabber.capture());
        return std::count_if(host.log.begin(), host.log.end(),
                             [](const std::string& e) { return e.rfind("sound", 0) == 0; });
    };
    EXPECT_EQ(sounds(), 0);  // "Beep Sound" 1 but no sound file
    settings.putString(sections::ConfigControl, "Sound File", "/s/done.wav");
    EXPECT_EQ(sounds(), 1);
    EXPECT_EQ(host.log.back(), "sound /s/done.wav");
    settings.putInt(sections::ConfigControl, "Beep Sound", 0);
    EXPECT_EQ(sounds(), 0);
    EXPECT_EQ(grabber.captureCount(), 3);
    EXPECT_EQ(grabber.lastFile(), pictures + "/clip.one_002.bmp");
}
