#include <gtest/gtest.h>

#include "SchemePrint.h"
#include "base/IniSettingsStore.h"
#include "base/SettingsKeys.h"
#include "playlist/ColorScheme.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::MemorySettingsStore;

namespace {
const char* kSkins = sections::PlaylistSkins;
}  // namespace

TEST(ApplyScheme, FirstUseWritesTheFactorySetOnceAndUsesBlue) {
    MemorySettingsStore store;
    EXPECT_EQ(ApplyScheme(store, ""),
              (ColorScheme{"Blue", 0xBC7E6D, 0xDDAC9F, 0x532F25, 0xFFFFFF}));
    EXPECT_EQ(store.getInt(kSkins, "NumberOfSkin", -1), 11);
    EXPECT_EQ(store.getString(kSkins, "SkinName"), "Blue");
    EXPECT_EQ(schemes::readSet(store), schemes::factorySet());

    // From then on applying a scheme only reads.
    store.writes.clear();
    EXPECT_EQ(ApplyScheme(store, "ivory").textFocusedColor, 0x018AFFu);
    EXPECT_EQ(ApplyScheme(store, "Black").backColor, 0u);
    EXPECT_TRUE(store.writes.empty());
}

TEST(ApplyScheme, AMissingSchemeFallsBackToBlueWithoutOverwritingTheUsersSet) {
    MemorySettingsStore store;
    schemes::writeSet(store, {{"Mine", 1, 2, 3, 4}, {"Black", 5, 6, 7, 8}}, "Gone");
    store.putString("Playlist\\Skins\\Mine", "TextColor", "dark");
    store.removeKey("Playlist\\Skins\\Mine", "SelectedColor");
    store.writes.clear();

    EXPECT_EQ(ApplyScheme(store, "Gone"), schemes::defaultScheme());
    EXPECT_EQ(ApplyScheme(store, "").name, "Blue");
    // Colours that cannot be read take Blue's values.
    EXPECT_EQ(ApplyScheme(store, "Mine"), (ColorScheme{"Mine", 1, 0xDDAC9F, 0x532F25, 4}));
    store.putString("Playlist\\Skins\\Mine", "BackColor", "x");
    store.writes.clear();
    EXPECT_EQ(ApplyScheme(store, "Mine").name, "Blue");
    EXPECT_TRUE(store.writes.empty());

    // Only a set emptied by the dialog is refilled.
    schemes::writeSet(store, {}, "");
    ApplyScheme(store, "");
    EXPECT_EQ(schemes::readSet(store).size(), 11u);
}

TEST(SchemeSet, ReadingKeepsToTheTableAndSkipsWhatCannotBeUsed) {
    MemorySettingsStore store;
    std::vector<ColorScheme> many;
    for (int i = 0; i < 120; ++i) many.push_back({"S" + std::to_string(i), 1, 2, 3, 4});
    schemes::writeSet(store, many, "S0");
    for (auto [count, expected] : {std::pair{-1, 0}, {5, 5}, {1000000, 100}}) {
        store.putInt(kSkins, "NumberOfSkin", count);
        EXPECT_EQ(schemes::readSet(store).size(), static_cast<std::size_t>(expected));
    }
    store.putString(kSkins, "NumberOfSkin", "many");
    EXPECT_TRUE(schemes::readSet(store).empty());

    store.putInt(kSkins, "NumberOfSkin", 3);
    store.putString(kSkins, "1", "");
    store.putString("Playlist\\Skins\\S2", "TextColor", "0x10");
    EXPECT_EQ(schemes::readSet(store),
              (std::vector<ColorScheme>{{"S0", 1, 2, 3, 4}, {"S2", 1, 2, 0, 4}}));
}

TEST(SchemeSet, NamesSurviveTheSettingsFile) {
    const std::string path = orvalis::test::freshDir("schemes") + "/Orvalis.conf";
    std::vector<ColorScheme> set = {
        {"[Dark]", 1, 2, 3, 4}, {"밤 하늘 ", 5, 6, 7, 8}, {"a\nb]\r\n[Config]", 9, 10, 11, 12}};
    for (auto& s : set) s.name = schemes::storableName(s.name);
    EXPECT_EQ(set[1].name, "밤 하늘");
    EXPECT_EQ(set[2].name, "a b]  [Config]");
    {
        IniSettingsStore store(path);
        schemes::writeSet(store, set, "[Dark]");
    }
    IniSettingsStore reread(path);
    EXPECT_EQ(schemes::readSet(reread), set);
    EXPECT_EQ(ApplyScheme(reread, "[Dark]"), set[0]);
    EXPECT_EQ(ApplyScheme(reread, "밤 하늘 ").backColor, 5u);
    EXPECT_TRUE(reread.keys("Config").empty());
}

TEST(ColorScheme, ColoursAndRows) {
    EXPECT_EQ(toRgb(0xFF018AFF), (Rgb{0xFF, 0x8A, 0x01}));
    EXPECT_EQ(fromRgb(Rgb{0x6D, 0x7E, 0xBC}), 0xBC7E6Du);

    const ColorScheme s{"x", 1, 2, 3, 4};
    RowPaint selectedTarget = rowPaint(s, true, true, true);
    EXPECT_EQ(selectedTarget.fillColor, 2u);
    EXPECT_FALSE(selectedTarget.insertionMark);
    EXPECT_EQ(selectedTarget.textColor, 4u);
    RowPaint target = rowPaint(s, false, true, false);
    EXPECT_FALSE(target.fill);
    EXPECT_EQ(target.markColor, 0x28323Cu);
    EXPECT_EQ(rowPaint(s, false, false, false).fillColor, 1u);
}
