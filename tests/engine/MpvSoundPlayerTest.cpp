// Short sounds on their own libmpv handle, with the sound going nowhere (ao=null).
#include <gtest/gtest.h>

#include <vector>

#include "engine/MpvSoundPlayer.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::mediaPath;
using orvalis::test::waitUntil;

namespace {

struct Recorder {
    explicit Recorder(MpvSoundPlayer& player) {
        QObject::connect(&player, &MpvSoundPlayer::finished,
                         [this](bool played) { results.push_back(played); });
    }
    std::vector<bool> results;
};

TEST(MpvSoundPlayer, PlaysAWaveFileToItsEndWithoutHoldingTheCaller) {
    MpvSoundPlayer player({.audioOutput = false});
    Recorder recorder(player);
    player.play(mediaPath("test/audio.wav"));
    // The call has returned; the sound's end can only be told later, from the event loop.
    EXPECT_TRUE(recorder.results.empty());
    ASSERT_TRUE(waitUntil([&] { return !recorder.results.empty(); }, 15000));
    EXPECT_EQ(recorder.results, std::vector<bool>{true});

    // The handle stays for the next sound.
    player.play(mediaPath("test/audio.mp3"));
    ASSERT_TRUE(waitUntil([&] { return recorder.results.size() == 2; }, 15000));
    EXPECT_TRUE(recorder.results[1]);
}

TEST(MpvSoundPlayer, EveryPlayEndsOnceWhenReplacedOrStopped) {
    MpvSoundPlayer player({.audioOutput = false});
    Recorder recorder(player);
    // The first gives way to the second, whether or not it had begun.
    player.play(mediaPath("test/audio.wav"));
    player.play(mediaPath("test/audio.wav"));
    ASSERT_TRUE(waitUntil([&] { return recorder.results.size() == 2; }, 15000));
    EXPECT_EQ(recorder.results, (std::vector<bool>{false, true}));

    player.play(mediaPath("test/audio.wav"));
    player.stop();
    ASSERT_TRUE(waitUntil([&] { return recorder.results.size() == 3; }, 15000));
    EXPECT_FALSE(recorder.results[2]);
    // Long enough for the stopped sound to have ended had it gone on.
    test::processEventsFor(1500);
    EXPECT_EQ(recorder.results.size(), 3u);
}

TEST(MpvSoundPlayer, WhatIsNotALocalSoundFilePlaysNothing) {
    const std::string dir = test::freshDir("sounds");
    test::writeFile(dir + "/noise.wav", "RIFF\x01\x02 not a wave at all");
    MpvSoundPlayer player({.audioOutput = false});
    Recorder recorder(player);
    for (const std::string& path :
         {std::string(), dir + "/missing.wav", dir, std::string("http://127.0.0.1:9/beep.wav"),
          std::string("av://lavfi:sine"), dir + "/noise.wav"}) {
        recorder.results.clear();
        player.play(path);
        ASSERT_TRUE(waitUntil([&] { return !recorder.results.empty(); }, 15000)) << path;
        EXPECT_FALSE(recorder.results.front()) << path;
    }
}

}  // namespace
