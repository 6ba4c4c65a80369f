#include <gtest/gtest.h>

#include "base/SettingsKeys.h"
#include "engine/Decoding.h"
#include "engine/FakeBackend.h"
#include "engine/MediaEngine.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::FakeBackend;

namespace {

// Records what the engine asks of the player, one entry a call.
struct RecordingHost final : EngineHost {
    void startPlaybackTick() override { tickRunning = true; }
    void stopPlaybackTick() override { tickRunning = false; }
    void startStartOfPlayback() override { add("start108"); }
    void setBusyCursor(bool) override {}
    void saveBookmarks() override { add("saveBookmarks"); }
    void resetCaptionSync() override { add("resetSync"); }
    bool findCaptionFile(const std::string& p) override {
        return add("findCaption " + p), captionsFound;
    }
    void clearCaption() override { add("clearCaption"); }
    void afterSeek(double) override {}
    void applyVolume() override { add("applyVolume"); }
    bool hasVideoSurface() const override { return true; }
    bool playlistIsEmpty() const override { return playlistEmpty; }
    void playlistPlayEntry(int w) override { add("playEntry " + std::to_string(w)); }
    void playlistPlayPrevious() override { add("playPrevious"); }
    void playlistOpaqueForOpen() override { add("opaque"); }
    void playlistRestoreTransparency() override { add("restoreAlpha"); }
    void playlistOpenRequestDone() override {}
    void runCloseFile() override { add("closeFile"); }
    void runExit() override { add("exit"); }
    void runOpenFileDialog() override { add("openDialog"); }
    void repaintWindow() override {}
    void showPlaying() override {}
    void showPaused() override {}
    void showStopped() override { add("showStopped"); }
    void pressPlayButtons() override {}
    void announceRate(double r) override { rates.push_back(r); }
    bool shiftHeld() const override { return shift; }

    void add(const std::string& entry) { log.push_back(entry); }
    bool has(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    std::vector<std::string> log;
    std::vector<double> rates;
    bool tickRunning = false, captionsFound = false, playlistEmpty = false, shift = false;
};

class EngineTest : public ::testing::Test {
protected:
    void openAndStart(const std::string& path, LoadedMedia media = {10.0, true, 640, 360, {}}) {
        engine.openFile(path);
        backend.answerLoaded(media);
        engine.startRunning();
        engine.flags().opening = false;
    }

    FakeBackend backend;
    RecordingHost host;
    test::MemorySettingsStore settings;
    test::FakeDesktop desktop;
    test::FakePrompter prompter;
    MediaEngine engine{backend, host, settings, desktop, prompter};
};

}  // namespace

TEST_F(EngineTest, OpeningLoadsThenLooksForCaptionsAndStartsPlayback) {
    engine.openFile("/m/film.avi");
    EXPECT_TRUE(engine.flags().opening);
    EXPECT_EQ(backend.loaded, "/m/film.avi");
    EXPECT_TRUE(host.has("opaque"));
    EXPECT_TRUE(host.has("resetSync"));
    EXPECT_FALSE(host.has("start108"));

    host.captionsFound = true;
    backend.answerLoaded({125.5, true, 640, 360, {{"Demuxer: mov", "", true}}});
    EXPECT_TRUE(engine.flags().loaded && engine.flags().hasVideo && engine.flags().captionsLoaded);
    EXPECT_FALSE(engine.flags().stream);
    EXPECT_DOUBLE_EQ(engine.duration(), 125.5);
    EXPECT_EQ(engine.filters().size(), 1u);
    for (const char* step : {"findCaption /m/film.avi", "applyVolume", "start108"})
        EXPECT_TRUE(host.has(step)) << step;
    EXPECT_FALSE(host.has("restoreAlpha"));  // a picture keeps the playlist opaque
    EXPECT_TRUE(prompter.messages.empty());

    // A stream opened after a captioned file: the file's captions do not stay loaded.
    host.captionsFound = false;
    engine.openFile("http://radio.example/live");
    backend.answerLoaded({0, false, 0, 0, {}});
    EXPECT_TRUE(engine.flags().stream);
    EXPECT_FALSE(engine.flags().hasVideo || engine.flags().captionsLoaded);
    EXPECT_TRUE(host.has("findCaption http://radio.example/live"));
    EXPECT_TRUE(host.has("restoreAlpha"));
}

TEST_F(EngineTest, AFailedOpenShowsTheErrorBoxAndReturnsToIdle) {
    engine.openFile("/m/broken.avi");
    backend.answerFailed("unrecognized file format");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, "파일 열기 오류");
    EXPECT_EQ(
        prompter.messages[0].text,
        "/m/broken.avi\n\n위의 파일을 열 수 없습니다.\n지원되는 형식인지 또는 경로를 확인하세요.");
    EXPECT_FALSE(engine.flags().opening || engine.flags().loaded);
    EXPECT_TRUE(host.has("closeFile"));
    EXPECT_FALSE(desktop.inhibited);

    // An answer for a medium that was closed meanwhile is ignored.
    prompter.messages.clear();
    engine.openFile("/m/a.avi");
    engine.closeMedia();
    engine.flags().opening = false;
    backend.answerLoaded();
    EXPECT_FALSE(engine.flags().loaded);
    backend.answerFailed();
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(EngineTest, TheScreenSaverStaysAwayOnlyWhilePlayingAndTheNextOpenSavesBookmarks) {
    openAndStart("/m/a.avi");
    engine.togglePause();
    EXPECT_TRUE(engine.flags().paused && backend.paused);
    engine.togglePause();
    EXPECT_TRUE(engine.flags().playing && !backend.paused && host.tickRunning);
    engine.stop();
    EXPECT_EQ(desktop.inhibitCalls, (std::vector<bool>{true, false, true, false}));
    openAndStart("/m/a.avi");
    host.log.clear();
    engine.openFile("/m/b.avi");
    EXPECT_TRUE(host.has("saveBookmarks"));
    EXPECT_TRUE(host.has("resetSync"));
    EXPECT_FALSE(desktop.inhibited || host.tickRunning);
}

TEST_F(EngineTest, StopTwiceActsOnStopKey) {
    openAndStart("/m/a.avi");
    engine.stop();
    EXPECT_FALSE(engine.flags().playing);
    EXPECT_TRUE(engine.flags().loaded);
    EXPECT_DOUBLE_EQ(backend.pos, 0.0);
    EXPECT_TRUE(host.has("showStopped"));
    EXPECT_FALSE(host.has("closeFile"));
    engine.stop();
    EXPECT_TRUE(host.has("closeFile"));

    for (auto [key, expected] : {std::pair{1, "openDialog"}, std::pair{2, "exit"}}) {
        openAndStart("/m/a.avi");
        settings.putInt(sections::ConfigCustom, "Stop Key", key);
        engine.stop();
        host.log.clear();
        engine.stop();
        EXPECT_TRUE(host.has(expected)) << key;
    }
}

TEST_F(EngineTest, PlayActsOnPlayKeyAndOnWhatIsLoaded) {
    host.playlistEmpty = true;
    engine.play();
    EXPECT_TRUE(host.has("openDialog"));
    host.playlistEmpty = false;
    engine.play();
    EXPECT_TRUE(host.has("playEntry -2"));

    openAndStart("/m/a.avi");
    engine.play();
    EXPECT_TRUE(host.has("playEntry -1"));
    host.shift = true;
    engine.play();
    EXPECT_TRUE(host.has("playPrevious"));
    host.shift = false;
    settings.putInt(sections::ConfigCustom, "Play Key", 1);
    engine.play();
    EXPECT_EQ(backend.loaded, "/m/a.avi");
    EXPECT_TRUE(engine.flags().opening);
    backend.answerLoaded();
    settings.putInt(sections::ConfigCustom, "Play Key", 2);
    engine.flags().opening = false;
    engine.startRunning();
    engine.play();
    EXPECT_TRUE(host.has("exit"));
}

TEST_F(EngineTest, RatesStayBetweenAQuarterAndSixteenAndAreAlwaysAnnounced) {
    engine.rateHalf();  // nothing loaded: nothing at all
    EXPECT_TRUE(host.rates.empty());
    openAndStart("/m/a.avi");
    for (int i = 0; i < 4; ++i) engine.rateHalf();
    EXPECT_EQ(host.rates, (std::vector<double>{0.5, 0.25, 0.25, 0.25}));
    EXPECT_DOUBLE_EQ(backend.speed, 0.25);
    host.rates.clear();
    for (int i = 0; i < 8; ++i) engine.rateDouble();
    EXPECT_EQ(host.rates, (std::vector<double>{0.5, 1, 2, 4, 8, 16, 16, 16}));
    engine.rateNormal();
    EXPECT_DOUBLE_EQ(backend.speed, 1.0);
}

TEST_F(EngineTest, PositionAtTheHeldEndIsTheDuration) {
    openAndStart("/m/a.avi");
    backend.pos = 9.96;
    backend.eof = true;
    EXPECT_DOUBLE_EQ(engine.position(), 10.0);
    engine.setPosition(-5);
    EXPECT_DOUBLE_EQ(backend.pos, 0.0);
    EXPECT_FALSE(backend.eof);
    backend.pos = -1;  // not known yet
    EXPECT_DOUBLE_EQ(engine.position(), 0.0);
}

TEST_F(EngineTest, HardwareDecodingAndTheDecoderEntryThatNamesIt) {
    EXPECT_EQ(decoding::hwdecOption(decoding::hardwareDecoding(settings)), "auto-safe");
    settings.putString(sections::ConfigControl, "Hardware Decoding", "garbage");  // as missing
    EXPECT_TRUE(decoding::hardwareDecoding(settings));
    settings.putInt(sections::ConfigControl, "Hardware Decoding", 0);
    EXPECT_EQ(decoding::hwdecOption(decoding::hardwareDecoding(settings)), "no");

    const std::string codec = "h264 (H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10)";
    const FilterInfo soft = decoding::videoDecoderFilter(codec, "");
    const FilterInfo hard = decoding::videoDecoderFilter(codec, "vaapi");
    EXPECT_EQ(soft.name, "Video decoder: h264 (software)");
    EXPECT_EQ(soft.details, "Video codec: " + codec + "\nDecoding: software");
    EXPECT_EQ(hard.name, "Video decoder: h264 (hardware: vaapi)");
    EXPECT_NE(hard.details.find("Decoding: hardware (vaapi)"), std::string::npos);
    engine.backendVideoDecoderChanged(hard);  // nothing open: nothing to name
    EXPECT_TRUE(engine.filters().empty());
    openAndStart("/m/film.mkv", {10.0, true, 640, 360, {{"Demuxer: mkv", "", true}, soft}});
    engine.backendVideoDecoderChanged(hard);
    ASSERT_EQ(engine.filters().size(), 2u);
    EXPECT_EQ(engine.filters()[0].name, "Demuxer: mkv");
    EXPECT_EQ(engine.filters()[1].name, hard.name);
}
