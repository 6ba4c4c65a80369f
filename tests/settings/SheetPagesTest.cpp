// The settings sheet's pages: resets, rules between fields, OK and Cancel, the pages' buttons.
#include <gtest/gtest.h>

#include "settings/PageValues.h"
#include "settings/SettingsSheetModel.h"
#include "settings/SheetValues.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

using test::FakePrompter;
using test::MemorySettingsStore;

using test::fillWithOddValues;
const SheetEnvironment& kEnv = test::kSheetEnv;
const char* kFolders = "Caption\\Caption Folders";
const char* kCtl = "Config\\Control";

TEST(SheetPages, ResetSetsOnePageAndNoOther) {
    MemorySettingsStore store;
    fillWithOddValues(store);
    PageValues loaded(kEnv);
    loaded.load(store);
    for (int p = 0; p < page::Count; ++p) {
        PageValues values = loaded;
        values.resetPage(p);
        EXPECT_TRUE(p == page::Association || values.pageValues(p) != loaded.pageValues(p)) << p;
        for (int other = 0; other < page::Count; ++other)
            EXPECT_TRUE(other == p || values.pageValues(other) == loaded.pageValues(other)) << p << " " << other;
    }
    // Fields the reset leaves alone: "Auto Hide", and the association boxes.
    PageValues values = loaded;
    values.setAllExtensions(true);
    values.resetAll();
    EXPECT_EQ(values.number(kCtl, "Auto Hide"), 1);
    EXPECT_TRUE(values.extensions()[2]);
}

TEST(SheetPages, EnableRulesAndABeepThatNeedsASoundFile) {
    PageValues v(kEnv);
    EXPECT_FALSE(v.isEnabled(page::Caption, 1004));
    v.setNumber("Caption", "FontBorder", 1);
    EXPECT_TRUE(v.isEnabled(page::Caption, 1004));
    EXPECT_FALSE(v.isEnabled(page::Association, 1068));  // dat: this desktop has no type for it
    // Colour background: the colour button; picture: the picture edit and its browse button.
    EXPECT_EQ(std::vector({v.isEnabled(page::Custom, 1021), v.isEnabled(page::Custom, 1022), v.isEnabled(page::Custom, 1023)}),
              std::vector({true, false, false}));
    v.setNumber("Config\\Custom", "Back Mode", 0);
    EXPECT_EQ(std::vector({v.isEnabled(page::Custom, 1021), v.isEnabled(page::Custom, 1022), v.isEnabled(page::Custom, 1023)}),
              std::vector({false, true, true}));

    MemorySettingsStore store;
    store.putString(kCtl, "Sound File", "/sounds/click.wav");
    v.load(store);
    EXPECT_EQ(v.number(kCtl, "Beep Sound"), 1);
    EXPECT_TRUE(v.isEnabled(page::Screen, 1056) && v.isEnabled(page::Screen, 1025));
    v.setText(kCtl, "Sound File", "");
    EXPECT_EQ(v.number(kCtl, "Beep Sound"), 0);
    EXPECT_FALSE(v.isEnabled(page::Screen, 1056) || v.isEnabled(page::Screen, 1025));
    v.setNumber(kCtl, "Beep Sound", 1);
    EXPECT_EQ(v.number(kCtl, "Beep Sound"), 0);
}

TEST(SheetPages, ValuesAControlCannotHoldAreSettled) {
    MemorySettingsStore store;
    store.putInt("Config", "Show Tooltip All", 7);
    store.putInt("Config\\Custom", "Esc Key", 5);
    store.putInt(kCtl, "Path", -4);  // any value but 0 means the chosen folder
    store.putInt("Caption", "Caption Align", 3);
    store.putInt("Caption", "Caption Synch", 99999);
    store.putString(kCtl, "Image Folder", "");
    PageValues v(kEnv);
    v.load(store);
    EXPECT_EQ(std::vector({v.number("Config", "Show Tooltip All"), v.number("Config\\Custom", "Esc Key"),
                           v.number(kCtl, "Path"), v.number("Caption", "Caption Align"),
                           v.number("Caption", "Caption Synch")}),
              std::vector({1, 0, 1, 0, 3000}));
    EXPECT_EQ(v.text(kCtl, "Image Folder"), "/home/me/Pictures");
}

TEST(SheetPages, CaptionFoldersKeepTheirStoreLayout) {
    MemorySettingsStore store;
    store.putInt(kFolders, "Count", 2000000000);  // garbled: far more than the section holds
    for (int i = 0; i < 4; ++i) store.putString(kFolders, std::to_string(i), "/subs/" + std::to_string(i));
    PageValues v(kEnv);
    v.load(store);
    EXPECT_EQ(v.list(kFolders, "Count").size(), 4u);
    v.resetAll();
    EXPECT_TRUE(v.list(kFolders, "Count").empty());

    v.setList(kFolders, "Count", {"/a", "/b"});
    v.store(store);
    EXPECT_EQ(store.getInt(kFolders, "Count", -1), 2);
    EXPECT_EQ(store.getString(kFolders, "1"), "/b");
    EXPECT_FALSE(store.has(kFolders, "2") || store.has(kFolders, "3"));  // entries past the end are gone
}

// --- the sheet --------------------------------------------------------------------------

struct Sheet {
    MemorySettingsStore store;
    FakePrompter prompter;
    SettingsSheetModel model{store, prompter, kEnv, nullptr, "/nowhere"};
};

TEST(SettingsSheet, CancelStoresOnlyThePageShownAndOkKeepsItToo) {
    Sheet s;
    fillWithOddValues(s.store);
    s.store.writes.clear();
    s.model.open();
    s.model.selectPage(page::Caption);
    EXPECT_TRUE(s.model.runMenuCommand(sheet::kResetPageCommand));
    EXPECT_EQ(s.model.values().text("Caption", "FontName"), "굴림");
    EXPECT_TRUE(s.model.runMenuCommand(sheet::kResetAllCommand));
    EXPECT_FALSE(s.model.runMenuCommand(sheet::kOpenCommand));
    s.model.cancel();
    EXPECT_EQ(s.store.writes, (std::vector<std::string>{"Config/ActivePage=1"}));

    SettingsSheetModel again(s.store, s.prompter, kEnv, nullptr, "/nowhere");
    again.open();
    EXPECT_EQ(again.activePage(), page::Caption);
    again.selectPage(page::Screen);
    again.accept();
    EXPECT_EQ(s.store.getInt("Config", "ActivePage", -1), page::Screen);
    s.store.putInt("Config", "ActivePage", 42);  // a page the sheet does not have
    again.open();
    EXPECT_EQ(again.activePage(), 0);
}

TEST(SheetButtons, BrowseStartsWhereTheFieldPointsAndFillsIt) {
    Sheet s;
    s.model.open();
    const int folder = sheetPages()[page::General].fieldIndex("Default Folder");
    s.prompter.folderAnswers = {std::string("/media/films"), std::nullopt};
    EXPECT_TRUE(s.model.browse(page::General, folder));
    EXPECT_FALSE(s.model.browse(page::General, folder));  // cancelled: the field stays
    EXPECT_EQ(s.prompter.dialogs.back().folder, "/media/films");
    EXPECT_EQ(s.model.values().text("Config", "Default Folder"), "/media/films");

    // A file dialog opens in the folder of the file named, with that file chosen.
    s.model.values().setText("Config\\Custom", "Back Image", "/pics/old/back.jpg");
    s.prompter.openAnswers = {{"/pics/new.png"}};
    EXPECT_TRUE(s.model.browse(page::Custom, sheetPages()[page::Custom].fieldIndex("Back Image")));
    EXPECT_EQ(s.prompter.dialogs.back().folder + " " + s.prompter.dialogs.back().fileName, "/pics/old back.jpg");
    EXPECT_EQ(s.model.values().text("Config\\Custom", "Back Image"), "/pics/new.png");

}

TEST(SheetButtons, CaptionFolderListAddAndDelete) {
    Sheet s;
    s.model.open();
    s.prompter.folderAnswers = {std::string("/subs/a"), std::string("/subs/b"), std::string("/subs/a"), std::nullopt};
    EXPECT_TRUE(s.model.pressButton(page::Caption, 1027));
    EXPECT_TRUE(s.model.pressButton(page::Caption, 1027));
    EXPECT_EQ(s.prompter.dialogs.back().folder, "/subs/a");  // starts at the last folder added
    EXPECT_FALSE(s.model.pressButton(page::Caption, 1027));  // already listed
    EXPECT_FALSE(s.model.pressButton(page::Caption, 1027));  // cancelled
    EXPECT_EQ(s.model.values().list(kFolders, "Count"), (std::vector<std::string>{"/subs/a", "/subs/b"}));

    EXPECT_FALSE(s.model.pressButton(page::Caption, 1026));     // nothing selected
    EXPECT_FALSE(s.model.pressButton(page::Caption, 1026, 2));  // past the end
    EXPECT_TRUE(s.model.pressButton(page::Caption, 1026, 0));
    EXPECT_EQ(s.model.values().list(kFolders, "Count"), std::vector<std::string>{"/subs/b"});
}

}  // namespace
}  // namespace orvalis
