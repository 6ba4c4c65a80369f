// Frames captured from real media on a headless libmpv: the bitmap file holds the picture
// that ffmpeg decodes at the same position. Clips are made by ffmpeg in the test; the test
// skips itself where ffmpeg is missing.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <cmath>

#include "base/SettingsKeys.h"
#include "engine/MpvBackend.h"
#include "extras/BmpImage.h"
#include "extras/FrameGrabber.h"
#include "support/TestSupport.h"

using namespace orvalis;
using test::waitUntil;

namespace {

bool runFfmpeg(const QStringList& args, QByteArray* out = nullptr) {
    QProcess ff;
    ff.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y"} + args);
    if (!ff.waitForFinished(60000) || ff.exitStatus() != QProcess::NormalExit ||
        ff.exitCode() != 0) {
        ADD_FAILURE() << "ffmpeg " << args.join(' ').toStdString() << ": "
                      << ff.readAllStandardError().toStdString();
        return false;
    }
    if (out) *out = ff.readAllStandardOutput();
    return true;
}

// The capture sequence on the real backend: the grabber pauses and resumes the backend and
// asks it for the frame now shown.
class BackendHost final : public CaptureHost {
public:
    explicit BackendHost(MpvBackend& backend) : backend(backend) {}
    bool hasVideo() const override { return true; }
    std::string mediaPath() const override { return path; }
    bool isPlaying() const override { return !backend.paused(); }
    void pausePlayback() override { backend.setPaused(true); }
    void resumePlayback() override { backend.setPaused(false); }
    void setBusyCursor(bool) override {}
    void requestFrame() override {
        backend.grabFrame([this](std::optional<VideoFrame> f) {
            grabber->frameArrived(f ? RawFrame::copyOf(f->pixels.data(), f->width, f->height,
                                                       std::ptrdiff_t(f->stride), f->format)
                                    : std::nullopt);
        });
    }
    void showCaptureMessage(const std::string& text) override { messages.push_back(text); }
    void playSound(const std::string&) override {}

    MpvBackend& backend;
    FrameGrabber* grabber = nullptr;
    std::string path;
    std::vector<std::string> messages;
};

struct Loaded final : BackendListener {
    void backendLoaded(const LoadedMedia& m) override {
        media = m;
        done = true;
    }
    void backendLoadFailed(const std::string&) override { done = failed = true; }
    LoadedMedia media;
    bool done = false, failed = false;
};

class RealCaptureTest : public ::testing::Test {
protected:
    RealCaptureTest() : backend({.videoOutput = false, .audioOutput = false}), host(backend) {
        backend.setListener(&listener);
        settings.putString(sections::ConfigControl, "Image Folder", shots);
        host.grabber = &grabber;
    }
    void SetUp() override {
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) GTEST_SKIP() << "no ffmpeg";
        ASSERT_TRUE(backend.isValid());
    }
    bool open(const std::string& path) {
        listener = Loaded{};
        host.path = path;
        backend.load(path);
        return waitUntil([&] { return listener.done; }, 15000) && !listener.failed;
    }
    std::string captureNow() {
        host.messages.clear();
        if (!grabber.capture()) return {};
        if (!waitUntil([&] { return !grabber.busy(); }, 10000)) return {};
        return host.messages.empty() ? std::string() : host.messages.back();
    }

    std::string dir = test::freshDir("real-capture");
    std::string shots = test::freshDir("real-capture-shots");
    test::MemorySettingsStore settings;
    MpvBackend backend;
    Loaded listener;
    BackendHost host;
    FrameGrabber grabber{host, settings, shots};
};

}  // namespace

// A moving pattern: the captured frame is the one ffmpeg extracts at the same position, its
// channels in the file's order, to within the rounding of two colour conversions (PSNR above 35 dB;
// about 57 here), and not the frame 0.2 s later (about 13). The clip keeps full chroma: with 4:2:0
// the two decoders' different chroma upsampling alone costs some 10 dB at the pattern's sharp
// colour edges.
TEST_F(RealCaptureTest, AMovingPatternMatchesTheFrameFfmpegExtracts) {
    const std::string clip = dir + "/moving.mp4";
    ASSERT_TRUE(
        runFfmpeg({"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=4", "-c:v",
                   "libx264", "-crf", "10", "-pix_fmt", "yuv444p", QString::fromStdString(clip)}));
    auto reference = [&](const char* at) {
        QByteArray raw;
        runFfmpeg({"-ss", at, "-i", QString::fromStdString(clip), "-frames:v", "1", "-f",
                   "rawvideo", "-pix_fmt", "bgr24", "-"},
                  &raw);
        return raw;
    };
    const QByteArray wanted = reference("2.0");
    const QByteArray neighbour = reference("2.2");
    ASSERT_EQ(wanted.size(), 320 * 240 * 3);
    ASSERT_EQ(neighbour.size(), 320 * 240 * 3);

    ASSERT_TRUE(open(clip));
    backend.seek(2.0);  // captured at once, as after a bookmark jump: the new frame all the same
    EXPECT_EQ(captureNow(), "moving_000.bmp");
    const std::string bmp = test::readFile(shots + "/moving_000.bmp");
    ASSERT_EQ(bmp.size(), 54u + 960u * 240u);

    auto psnr = [&](const QByteArray& ref) {
        double squares = 0;
        for (int y = 0; y < 240; ++y) {
            // The file's rows run bottom-up.
            const auto* got =
                reinterpret_cast<const unsigned char*>(bmp.data() + 54 + (239 - y) * 960);
            const auto* want = reinterpret_cast<const unsigned char*>(ref.data() + y * 960);
            for (int i = 0; i < 960; ++i) squares += double(got[i] - want[i]) * (got[i] - want[i]);
        }
        const double mse = squares / (320.0 * 240 * 3);
        return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
    };
    const double same = psnr(wanted), next = psnr(neighbour);
    EXPECT_GT(same, 35.0);
    EXPECT_LT(next, same - 3) << "the frame 0.2 s later matches as well as the one at 2 s";
    // The next capture of the same medium takes the next number.
    EXPECT_EQ(captureNow(), "moving_001.bmp");
}

// No picture to take: an audio file, or nothing loaded at all. The answer still comes, empty,
// and the capture says it failed.
TEST_F(RealCaptureTest, WithoutAPictureTheAnswerIsEmpty) {
    std::vector<bool> answers;
    backend.grabFrame([&](std::optional<VideoFrame> f) { answers.push_back(f.has_value()); });
    ASSERT_TRUE(waitUntil([&] { return answers.size() == 1; }, 5000));
    EXPECT_FALSE(answers[0]);

    ASSERT_TRUE(open(test::mediaPath("test/audio.wav")));
    EXPECT_EQ(captureNow(), FrameGrabber::kFailureText);
    EXPECT_FALSE(grabber.busy());

    // Closed while the request is under way: one answer all the same.
    ASSERT_TRUE(open(test::mediaPath("test/av.mp4")));
    backend.grabFrame([&](std::optional<VideoFrame> f) { answers.push_back(f.has_value()); });
    backend.unload();
    EXPECT_TRUE(waitUntil([&] { return answers.size() == 2; }, 5000));
    test::processEventsFor(200);
    EXPECT_EQ(answers.size(), 2u);
}
