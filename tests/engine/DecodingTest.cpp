// Hardware decoding as a setting and as the filter table shows it.
#include <gtest/gtest.h>

#include "base/SettingsKeys.h"
#include "engine/Decoding.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

TEST(Decoding, TheSettingChoosesLibmpvsSafeAutomaticModeOrNone) {
    test::MemorySettingsStore store;
    EXPECT_TRUE(decoding::hardwareDecoding(store));  // on unless turned off
    EXPECT_EQ(decoding::hwdecOption(true), "auto-safe");
    store.putInt(sections::ConfigControl, "Hardware Decoding", 0);
    EXPECT_FALSE(decoding::hardwareDecoding(store));
    EXPECT_EQ(decoding::hwdecOption(false), "no");
    store.putString(sections::ConfigControl, "Hardware Decoding", "garbage");
    EXPECT_TRUE(decoding::hardwareDecoding(store));  // unreadable reads as missing
}

TEST(Decoding, TheDecoderEntryNamesTheDecodingInUse) {
    const std::string codec = "h264 (H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10)";
    FilterInfo soft = decoding::videoDecoderFilter(codec, "no");
    EXPECT_EQ(soft.name, "Video decoder: h264 (software)");
    EXPECT_EQ(soft.details, "Video codec: " + codec + "\nDecoding: software");
    EXPECT_EQ(decoding::videoDecoderFilter(codec, "").name, soft.name);
    FilterInfo hard = decoding::videoDecoderFilter(codec, "vaapi");
    EXPECT_EQ(hard.name, "Video decoder: h264 (hardware: vaapi)");
    EXPECT_NE(hard.details.find("Decoding: hardware (vaapi)"), std::string::npos);
    EXPECT_TRUE(decoding::isVideoDecoderFilter(hard));
    EXPECT_FALSE(decoding::isVideoDecoderFilter({"Demuxer: mp4", "", true}));
}

}  // namespace
}  // namespace orvalis
