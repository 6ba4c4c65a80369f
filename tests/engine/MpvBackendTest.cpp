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

struct Listener final : BackendListener {
    void backendLoaded(const LoadedMedia& m) override {
        media = m;
        loaded = true;
    }
    void backendLoadFailed(const std::string& why) override {
        failed = true;
        reason = why;
    }
    bool answered() const { return loaded || failed; }
    LoadedMedia media;
    bool loaded = false, failed = false;
    std::string reason;
};

class MpvTest : public ::testing::Test {
protected:
    MpvTest() : backend({.videoOutput = false, .audioOutput = false}) {
        backend.setListener(&listener);
    }
    bool load(const std::string& path) {
        listener = Listener{};
        backend.load(path);
        EXPECT_TRUE(waitUntil([&] { return listener.answered(); }, 15000)) << path;
        return listener.loaded;
    }
    MpvBackend backend;
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
    EXPECT_NE(chain.find("Demuxer: "), std::string::npos) << chain;
    EXPECT_NE(chain.find("Video decoder: h264"), std::string::npos) << chain;
    EXPECT_NE(chain.find("Audio decoder: aac"), std::string::npos) << chain;
    EXPECT_TRUE(backend.paused());
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
        bool settled = std::abs(backend.position() - last) < 1e-9 && std::abs(backend.position() - 7.3) < 0.2;
        last = backend.position();
        return settled;
    }, 5000);
    EXPECT_NEAR(backend.position(), 7.3, 0.1);
    backend.setSpeed(16.0);
    backend.setPaused(false);
    EXPECT_TRUE(waitUntil([&] { return backend.endReached(); }, 8000));
}

TEST_F(MpvTest, SoundOnlyAndCoverArtAreNotVideo) {
    for (const char* name : {"test/audio.mp3", "test/audio.wav", "test/cover.mp3"}) {
        ASSERT_TRUE(load(mediaPath(name))) << name << ": " << listener.reason;
        EXPECT_FALSE(listener.media.hasVideo) << name;
        EXPECT_GT(listener.media.duration, 0.5) << name;
    }
}

TEST_F(MpvTest, WhatCannotBePlayedFailsWithoutHanging) {
    for (const std::string& bad : {mediaPath("test/notvideo.avi"), mediaPath("test/empty.avi"),
                                   mediaPath("test/does-not-exist.avi"),
                                   std::string("http://127.0.0.1:9/nothing.mp4")}) {
        EXPECT_FALSE(load(bad)) << bad;
        EXPECT_TRUE(listener.failed) << bad;
    }
    // And the backend still plays afterwards.
    EXPECT_TRUE(load(mediaPath("test/av.mp4")));
}

TEST_F(MpvTest, AnAddressPlaysAsAStream) {
    TinyHttpServer server(mediaPath("test/av.mp4"));
    ASSERT_TRUE(load(server.url("av.mp4"))) << listener.reason;
    EXPECT_TRUE(listener.media.hasVideo);
    backend.setPaused(false);
    EXPECT_TRUE(waitUntil([&] { return backend.position() > 0.2; }, 8000));
}

// The server answers every request with the whole file, as servers without range requests
// do: libmpv reads the stream once, front to back.
TEST_F(MpvTest, AStreamThatCannotSeekPlaysAndEndsWithoutSeekingInALoop) {
    TinyHttpServer server(mediaPath("test/av.mp4"));
    ASSERT_TRUE(load(server.url("av.mp4"))) << listener.reason;
    backend.setPaused(false);
    EXPECT_TRUE(waitUntil([&] { return backend.position() > 0.5; }, 8000)) << backend.position();
    EXPECT_TRUE(waitUntil([&] { return backend.endReached(); }, 15000));
    // libmpv ends the medium instead of holding it open by seeking to its last frame.
    EXPECT_TRUE(waitUntil([&] { return !backend.mediumOpen(); }, 5000));
    EXPECT_TRUE(backend.endReached());
    EXPECT_TRUE(backend.refusedSets().empty()) << backend.refusedSets().front();

    // An MP4 whose index stands at its end cannot be read without going back: it fails, or
    // ends at once, and stays ended.
    const std::string dir = test::freshDir("index-at-end");
    const std::string clip = dir + "/late-index.mp4";
    const std::string make = "ffmpeg -nostdin -y -v error -f lavfi -i testsrc=s=320x240:r=25:d=20 "
                             "-c:v libx264 -preset ultrafast '" + clip + "'";
    ASSERT_EQ(std::system(make.c_str()), 0);
    TinyHttpServer late(clip);
    if (load(late.url("late-index.mp4"))) {
        backend.setPaused(false);
        EXPECT_TRUE(waitUntil([&] { return backend.endReached() && !backend.mediumOpen(); }, 8000));
    }
    // A local file is held at its end again.
    ASSERT_TRUE(load(mediaPath("test/av.mp4")));
    backend.setSpeed(4.0);
    backend.setPaused(false);
    EXPECT_TRUE(waitUntil([&] { return backend.endReached(); }, 8000));
    test::processEventsFor(300);
    EXPECT_TRUE(backend.mediumOpen());
    EXPECT_TRUE(backend.seekable());
}

TEST_F(MpvTest, APropertySetThatLibmpvRefusesIsTold) {
    backend.setPropertyAsync("no-such-property", "1");
    backend.setPropertyAsync("volume", "loud");
    ASSERT_TRUE(waitUntil([&] { return backend.refusedSets().size() == 2; }));
    EXPECT_EQ(backend.refusedSets()[0].rfind("no-such-property: ", 0), 0u) << backend.refusedSets()[0];
    EXPECT_EQ(backend.refusedSets()[1].rfind("volume: ", 0), 0u) << backend.refusedSets()[1];
    backend.setVolume(50);
    test::processEventsFor(200);
    EXPECT_EQ(backend.refusedSets().size(), 2u);
}

TEST_F(MpvTest, ALoadReplacedBeforeItFinishedIsNeverReported) {
    listener = Listener{};
    backend.load(mediaPath("test/av.mp4"));
    backend.load(mediaPath("test/audio.wav"));
    ASSERT_TRUE(waitUntil([&] { return listener.answered(); }, 10000));
    test::processEventsFor(300);
    EXPECT_TRUE(listener.loaded);
    EXPECT_FALSE(listener.media.hasVideo);  // the wav, not the mp4
}

TEST(MpvHardwareDecoding, TheSettingReachesLibmpvAndAMachineWithoutItPlaysAsBefore) {
    for (const char* mode : {"auto-safe", "no"}) {
        MpvBackend backend({.videoOutput = false, .audioOutput = false, .hwdec = mode});
        ASSERT_TRUE(backend.isValid());
        EXPECT_TRUE(waitUntil([&] { return backend.hwdec() == mode; })) << backend.hwdec();
        Listener listener;
        backend.setListener(&listener);
        backend.load(mediaPath("test/av.mp4"));
        ASSERT_TRUE(waitUntil([&] { return listener.answered(); }, 15000));
        ASSERT_TRUE(listener.loaded) << mode << ": " << listener.reason;
        // The decoder entry says what decodes: software, or the hardware in use.
        const std::string hw = backend.hwdecCurrent();
        const std::string wanted = hw.empty() || hw == "no"
                                       ? "Video decoder: h264 (software)"
                                       : "Video decoder: h264 (hardware: " + hw + ")";
        int entries = 0;
        for (const auto& f : listener.media.filters) entries += f.name == wanted;
        EXPECT_EQ(entries, 1) << mode << " " << hw;
        if (std::string(mode) == "no") {
            EXPECT_TRUE(hw.empty() || hw == "no") << hw;
        }
        std::printf("hwdec=%s: decoding with %s\n", mode,
                    hw.empty() ? "(none reported)" : hw.c_str());
    }
}

namespace {

struct TrackLists final : SubtitleTrackListener {
    void subtitleTracksChanged(const std::vector<SubtitleTrack>& tracks) override {
        lists.push_back(tracks);
    }
    const std::vector<SubtitleTrack>& last() const {
        static const std::vector<SubtitleTrack> none;
        return lists.empty() ? none : lists.back();
    }
    // The id of the track drawn now, 0 for none.
    int selected() const {
        for (const SubtitleTrack& t : last())
            if (t.selected) return t.id;
        return 0;
    }
    std::vector<std::vector<SubtitleTrack>> lists;
};

}  // namespace

TEST_F(MpvTest, SubtitleTracksArriveAfterTheLoadAndFollowTheSelection) {
    const std::string clip = test::makeSubtitledClip(
        "two-tracks", {{"eng", "English", "hello"}, {"kor", "한국어", "안녕"}});
    ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the clip";
    TrackLists tracks;
    backend.setSubtitleTrackListener(&tracks);
    ASSERT_TRUE(load(clip)) << listener.reason;
    ASSERT_TRUE(waitUntil([&] { return tracks.last().size() == 2; }));
    const std::vector<SubtitleTrack> listed = tracks.last();
    EXPECT_EQ(listed[0].language, "eng");
    EXPECT_EQ(listed[0].title, "English");
    EXPECT_EQ(listed[0].codec, "subrip");
    EXPECT_EQ(listed[1].language, "kor");
    EXPECT_EQ(listed[1].title, "한국어");
    EXPECT_EQ(tracks.selected(), 0);  // none drawn until asked

    backend.selectSubtitleTrack(listed[1].id);
    EXPECT_TRUE(waitUntil([&] { return tracks.selected() == listed[1].id; }));
    backend.setSubtitleDelay(-1.5);
    backend.setSubtitlesVisible(false);
    backend.selectSubtitleTrack(listed[0].id);
    EXPECT_TRUE(waitUntil([&] { return tracks.selected() == listed[0].id; }));

    // The next medium starts with none drawn, and its list comes anew.
    const std::size_t before = tracks.lists.size();
    ASSERT_TRUE(load(mediaPath("test/av.mp4")));
    test::processEventsFor(200);
    EXPECT_TRUE(tracks.last().empty());
    EXPECT_GT(tracks.lists.size(), before);
    ASSERT_TRUE(load(clip));
    ASSERT_TRUE(waitUntil([&] { return tracks.last().size() == 2; }));
    test::processEventsFor(200);
    EXPECT_EQ(tracks.selected(), 0);
    backend.selectSubtitleTrack(0);
    backend.setSubtitleTrackListener(nullptr);
}

TEST_F(MpvTest, FiftySubtitleTracksAreListedAndEachCanBeDrawn) {
    std::vector<test::ClipTrack> many;
    for (int i = 1; i <= 50; ++i)
        many.push_back(
            {i % 2 ? "ger" : "spa", "Spur " + std::to_string(i), "Text " + std::to_string(i)});
    const std::string clip = test::makeSubtitledClip("fifty-tracks", many, 3);
    ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the clip";
    TrackLists tracks;
    backend.setSubtitleTrackListener(&tracks);
    ASSERT_TRUE(load(clip)) << listener.reason;
    ASSERT_TRUE(waitUntil([&] { return tracks.last().size() == 50; }));
    EXPECT_EQ(tracks.last().back().title, "Spur 50");
    for (const SubtitleTrack& t : std::vector<SubtitleTrack>(tracks.last()))
        backend.selectSubtitleTrack(t.id);
    EXPECT_TRUE(waitUntil([&] { return tracks.selected() == tracks.last().back().id; }));
    backend.setPaused(false);
    EXPECT_TRUE(waitUntil([&] { return backend.position() > 0.5; }, 8000));
    backend.setSubtitleTrackListener(nullptr);
}
