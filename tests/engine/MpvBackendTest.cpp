// The engine on the real libmpv with the committed test media; no picture or sound leaves
// the process (null outputs).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "engine/MpvBackend.h"
#include "engine/SubtitledClip.h"
#include "engine/TinyHttpServer.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::mediaPath;
using orvalis::test::TinyHttpServer;
using orvalis::test::waitUntil;

namespace {

struct Listener final : BackendListener, SubtitleTrackListener {
    void backendLoaded(const LoadedMedia& m) override { media = m, loaded = true; }
    void backendLoadFailed(const std::string& why) override { reason = why, failed = true; }
    void subtitleTracksChanged(const std::vector<SubtitleTrack>& t) override {
        tracks = t, ++lists;
    }
    void subtitleTextChanged(const std::string& t) override { text = t; }
    bool answered() const { return loaded || failed; }
    // The id of the subtitle track drawn now, 0 for none.
    int selected() const {
        for (const SubtitleTrack& t : tracks)
            if (t.selected) return t.id;
        return 0;
    }
    LoadedMedia media;
    bool loaded = false, failed = false;
    std::string reason;
    std::vector<SubtitleTrack> tracks;
    int lists = 0;
    std::string text;  // of the selected track, for the player to draw

};

class MpvTest : public ::testing::Test {
protected:
    MpvTest() { backend.setListener(&listener); }
    bool load(const std::string& path) {
        listener.loaded = listener.failed = false;
        backend.load(path);
        EXPECT_TRUE(waitUntil([&] { return listener.answered(); }, 15000)) << path;
        return listener.loaded;
    }
    bool playsToTheEnd(int ms = 8000) {
        backend.setPaused(false);
        return waitUntil([&] { return backend.endReached(); }, ms);
    }
    MpvBackend backend{{.videoOutput = false, .audioOutput = false, .hwdec = "no"}};
    Listener listener;
};

}  // namespace

TEST_F(MpvTest, VideoWithSoundLoadsWithItsLengthSizeAndChain) {
    ASSERT_TRUE(backend.isValid());
    ASSERT_TRUE(load(mediaPath("test/av.mp4"))) << listener.reason;
    EXPECT_NEAR(listener.media.duration, 3.0, 0.1);
    EXPECT_TRUE(listener.media.hasVideo);
    EXPECT_EQ(listener.media.videoWidth, 320);
    EXPECT_EQ(listener.media.videoHeight, 240);
    std::string chain;
    for (const auto& f : listener.media.filters) chain += f.name + "\n";
    for (const char* entry : {"Demuxer: ", "Video decoder: h264 (software)", "Audio decoder: aac"})
        EXPECT_NE(chain.find(entry), std::string::npos) << chain;
    EXPECT_TRUE(backend.paused());
    // The hardware decoding setting reaches libmpv.
    MpvBackend hardware({.videoOutput = false, .audioOutput = false, .hwdec = "auto-safe"});
    EXPECT_TRUE(waitUntil([&] { return hardware.hwdec() == "auto-safe"; })) << hardware.hwdec();
}

TEST_F(MpvTest, PlayingAdvancesAndSeeksLandExactly) {
    ASSERT_TRUE(load(mediaPath("demo.mp4")));
    backend.setPaused(false);
    EXPECT_TRUE(waitUntil([&] { return backend.position() > 0.4; }, 5000)) << backend.position();
    backend.setPaused(true);
    backend.seek(7.3);
    // The seek is answered asynchronously: wait until libmpv reports a settled position.
    double last = -1;
    waitUntil([&] {
        const bool settled = backend.position() == last && std::abs(last - 7.3) < 0.2;
        last = backend.position();
        return settled;
    });
    EXPECT_NEAR(backend.position(), 7.3, 0.1);
    backend.setSpeed(16.0);
    EXPECT_TRUE(playsToTheEnd());
}

TEST_F(MpvTest, SoundOnlyIsNoVideoAndWhatCannotBePlayedFailsWithoutHanging) {
    for (const char* name : {"test/audio.mp3", "test/audio.wav", "test/cover.mp3"}) {
        ASSERT_TRUE(load(mediaPath(name))) << name << ": " << listener.reason;
        EXPECT_FALSE(listener.media.hasVideo) << name;
        EXPECT_GT(listener.media.duration, 0.5) << name;
    }
    for (const std::string& bad :
         {mediaPath("test/notvideo.avi"), mediaPath("test/empty.avi"),
          mediaPath("test/does-not-exist.avi"), std::string("http://127.0.0.1:9/nothing.mp4")})
        EXPECT_FALSE(load(bad) || !listener.failed) << bad;
    // A load replaced before it finished is never reported; the backend plays on.
    listener.loaded = listener.failed = false;
    backend.load(mediaPath("test/av.mp4"));
    backend.load(mediaPath("test/audio.wav"));
    ASSERT_TRUE(waitUntil([&] { return listener.answered(); }, 10000));
    test::processEventsFor(300);
    EXPECT_TRUE(listener.loaded);
    EXPECT_FALSE(listener.media.hasVideo);  // the wav, not the mp4
}

// The server answers every request with the whole file, as servers without range requests
// do: libmpv reads the stream once, front to back.
TEST_F(MpvTest, AStreamThatCannotSeekPlaysAndEndsWithoutSeekingInALoop) {
    TinyHttpServer server(mediaPath("test/av.mp4"));
    ASSERT_TRUE(load(server.url("av.mp4"))) << listener.reason;
    EXPECT_TRUE(listener.media.hasVideo);
    EXPECT_TRUE(playsToTheEnd(15000));
    // libmpv ends the medium instead of holding it open by seeking to its last frame.
    EXPECT_TRUE(waitUntil([&] { return !backend.mediumOpen(); }, 5000));
    EXPECT_TRUE(backend.endReached());
    EXPECT_EQ(backend.refusedSets(), std::vector<std::string>{});

    // An MP4 whose index stands at its end cannot be read without going back: it fails, or
    // ends at once, and stays ended.
    const std::string clip = test::freshDir("index-at-end") + "/late-index.mp4";
    ASSERT_EQ(std::system(("ffmpeg -nostdin -y -v error -f lavfi -i testsrc=s=320x240:r=25:d=20 "
                           "-c:v libx264 -preset ultrafast '" +
                           clip + "'")
                              .c_str()),
              0);
    TinyHttpServer late(clip);
    if (load(late.url("late-index.mp4"))) {
        backend.setPaused(false);
        EXPECT_TRUE(waitUntil([&] { return backend.endReached() && !backend.mediumOpen(); }, 8000));
    }
    // A local file is held at its end again.
    ASSERT_TRUE(load(mediaPath("test/av.mp4")));
    backend.setSpeed(4.0);
    EXPECT_TRUE(playsToTheEnd());
    test::processEventsFor(300);
    EXPECT_TRUE(backend.mediumOpen() && backend.seekable());
}

TEST_F(MpvTest, APropertySetThatLibmpvRefusesIsTold) {
    backend.setPropertyAsync("no-such-property", "1");
    backend.setPropertyAsync("volume", "loud");
    ASSERT_TRUE(waitUntil([&] { return backend.refusedSets().size() == 2; }));
    EXPECT_EQ(backend.refusedSets()[0].rfind("no-such-property: ", 0), 0u);
    EXPECT_EQ(backend.refusedSets()[1].rfind("volume: ", 0), 0u);
    backend.setVolume(50);
    test::processEventsFor(200);
    EXPECT_EQ(backend.refusedSets().size(), 2u);
}

TEST_F(MpvTest, SubtitleTracksArriveAfterTheLoadAndFollowTheSelection) {
    std::vector<test::ClipTrack> fifty = {{"eng", "English", "hello"}, {"kor", "한국어", "안녕"}};
    for (int i = 3; i <= 50; ++i)
        fifty.push_back(
            {i % 2 ? "ger" : "spa", "Spur " + std::to_string(i), "Text " + std::to_string(i)});
    const std::string clip = test::makeSubtitledClip("fifty-tracks", fifty, 3);
    ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the clip";
    backend.setSubtitleTrackListener(&listener);
    ASSERT_TRUE(load(clip)) << listener.reason;
    ASSERT_TRUE(waitUntil([&] { return listener.tracks.size() == 50; }));
    const std::vector<SubtitleTrack> listed = listener.tracks;
    EXPECT_EQ(listed[0].language + "/" + listed[0].title + "/" + listed[0].codec,
              "eng/English/subrip");
    EXPECT_EQ(listed[1].language + "/" + listed[1].title, "kor/한국어");
    EXPECT_EQ(listed.back().title, "Spur 50");
    EXPECT_EQ(listener.selected(), 0);  // none drawn until asked

    backend.selectSubtitleTrack(listed[1].id);
    EXPECT_TRUE(waitUntil([&] { return listener.selected() == listed[1].id; }));
    backend.setPaused(false);
    EXPECT_TRUE(waitUntil([&] { return listener.text == "안녕"; })) << listener.text;
    backend.setPaused(true);
    backend.setSubtitleDelay(-1.5);
    backend.setSubtitlesVisible(false);
    for (const SubtitleTrack& t : listed) backend.selectSubtitleTrack(t.id);
    EXPECT_TRUE(waitUntil([&] { return listener.selected() == listed.back().id; }));
    backend.setPaused(false);
    EXPECT_TRUE(waitUntil([&] { return backend.position() > 0.5; }, 8000));

    // The next medium starts with none drawn, and its list comes anew.
    const int before = listener.lists;
    ASSERT_TRUE(load(mediaPath("test/av.mp4")));
    test::processEventsFor(200);
    EXPECT_TRUE(listener.tracks.empty());
    EXPECT_GT(listener.lists, before);
    ASSERT_TRUE(load(clip));
    ASSERT_TRUE(waitUntil([&] { return listener.tracks.size() == 50; }));
    test::processEventsFor(200);
    EXPECT_EQ(listener.selected(), 0);
    backend.setSubtitleTrackListener(nullptr);
}
