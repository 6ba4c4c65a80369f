// Short sounds on their own libmpv handle, with the sound going nowhere (ao=null).
#include <gtest/gtest.h>

#include "engine/MpvSoundPlayer.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::mediaPath;
using orvalis::test::waitUntil;

namespace {

struct SoundTest : ::testing::Test {
    SoundTest() {
        QObject::connect(&player, &MpvSoundPlayer::finished,
                         [this](bool played) { results.push_back(played); });
    }
    bool ended(std::size_t count) {
        return waitUntil([&] { return results.size() >= count; }, 15000);
    }
    std::vector<bool> results;  // before the player, which may still end a sound as it goes
    MpvSoundPlayer player{{.audioOutput = false}};
};

TEST_F(SoundTest, EveryPlayEndsOnceWhetherPlayedOutReplacedOrStopped) {
    player.play(mediaPath("test/audio.wav"));
    // The call has returned; the sound's end can only be told later, from the event loop.
    EXPECT_TRUE(results.empty());
    ASSERT_TRUE(ended(1));
    player.play(mediaPath("test/audio.mp3"));  // the handle stays for the next sound
    ASSERT_TRUE(ended(2));
    // The first gives way to the second, whether or not it had begun.
    player.play(mediaPath("test/audio.wav"));
    player.play(mediaPath("test/audio.wav"));
    ASSERT_TRUE(ended(4));
    player.play(mediaPath("test/audio.wav"));
    player.stop();
    ASSERT_TRUE(ended(5));
    EXPECT_EQ(results, (std::vector<bool>{true, true, false, true, false}));
    // Long enough for the stopped sound to have ended had it gone on.
    test::processEventsFor(1500);
    EXPECT_EQ(results.size(), 5u);
}

TEST_F(SoundTest, WhatIsNotALocalSoundFilePlaysNothing) {
    const std::string dir = test::freshDir("sounds");
    test::writeFile(dir + "/noise.wav", "RIFF\x01\x02 not a wave at all");
    for (const std::string& path :
         {std::string(), dir + "/missing.wav", dir, std::string("http://127.0.0.1:9/beep.wav"),
          std::string("av://lavfi:sine"), dir + "/noise.wav"}) {
        results.clear();
        player.play(path);
        ASSERT_TRUE(ended(1)) << path;
        EXPECT_FALSE(results.front()) << path;
    }
}

}  // namespace
