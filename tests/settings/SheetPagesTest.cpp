// The settings sheet's pages: reset values and read defaults as the pages list them, the
// rules between fields, and what OK and Cancel write.
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

TEST(SheetPages, ResetSetsOnePageAndNoOther) {
    MemorySettingsStore store;
    fillWithOddValues(store);
    PageValues loaded(kEnv);
    loaded.load(store);
    for (int p = 0; p < page::Count; ++p) {
        PageValues values = loaded;
        values.resetPage(p);
        if (p != page::Association) {
            EXPECT_NE(values.pageValues(p), loaded.pageValues(p)) << p;
        }
        for (int other = 0; other < page::Count; ++other) {
            if (other == p) continue;
            EXPECT_EQ(values.pageValues(other), loaded.pageValues(other)) << p << " " << other;
        }
    }
}

TEST(SheetPages, ResetsThatLeaveFieldsAlone) {
    MemorySettingsStore store;
    fillWithOddValues(store);
    store.putString("Caption\\Caption Folders", "0", "/subs");
    store.putInt("Caption\\Caption Folders", "Count", 1);
    PageValues values(kEnv);
    values.load(store);
    values.setAllExtensions(true);
    values.resetAll();
    EXPECT_EQ(values.number("Config\\Control", "Auto Hide"), 1);  // "not reset"
    EXPECT_TRUE(values.list("Caption\\Caption Folders", "Count").empty());
    EXPECT_TRUE(values.extensions()[2]);  // the association page's reset changes nothing
}

TEST(SheetPages, BeepNeedsASoundFile) {
    MemorySettingsStore store;
    PageValues values(kEnv);
    store.putString("Config\\Control", "Sound File", "/sounds/click.wav");
    values.load(store);
    EXPECT_EQ(values.number("Config\\Control", "Beep Sound"), 1);
    EXPECT_TRUE(values.isEnabled(page::Screen, 1056));
    EXPECT_TRUE(values.isEnabled(page::Screen, 1025));

    values.setText("Config\\Control", "Sound File", "");
    EXPECT_EQ(values.number("Config\\Control", "Beep Sound"), 0);
    EXPECT_FALSE(values.isEnabled(page::Screen, 1056));
    EXPECT_FALSE(values.isEnabled(page::Screen, 1025));
    values.setNumber("Config\\Control", "Beep Sound", 1);
    EXPECT_EQ(values.number("Config\\Control", "Beep Sound"), 0);
}

TEST(SheetPages, EnableRules) {
    PageValues v(kEnv);
    EXPECT_FALSE(v.isEnabled(page::Caption, 1004));
    v.setNumber("Caption", "FontBorder", 1);
    EXPECT_TRUE(v.isEnabled(page::Caption, 1004));

    for (int id : {1040, 1043, 1046, 1047}) EXPECT_FALSE(v.isEnabled(page::Control, id));
    v.setNumber("Config\\Control", "Use Skip", 1);
    for (int id : {1040, 1043, 1046, 1047}) EXPECT_TRUE(v.isEnabled(page::Control, id));
    EXPECT_TRUE(v.isEnabled(page::Control, 1004));  // the repeat colour is not the border colour

    EXPECT_TRUE(v.isEnabled(page::Playlist, 1088));
    v.setNumber("Config\\Playlist", "Add Item", 0);
    EXPECT_FALSE(v.isEnabled(page::Playlist, 1088));

    // Colour background: the colour button; picture: the picture edit and its browse button.
    EXPECT_TRUE(v.isEnabled(page::Custom, 1021));
    EXPECT_FALSE(v.isEnabled(page::Custom, 1022));
    EXPECT_FALSE(v.isEnabled(page::Custom, 1023));
    v.setNumber("Config\\Custom", "Back Mode", 0);
    EXPECT_FALSE(v.isEnabled(page::Custom, 1021));
    EXPECT_TRUE(v.isEnabled(page::Custom, 1022));
    EXPECT_TRUE(v.isEnabled(page::Custom, 1023));
}

TEST(SheetPages, ValuesAControlCannotHoldAreSettled) {
    MemorySettingsStore store;
    store.putInt("Config", "Show Tooltip All", 7);
    store.putInt("Config\\Custom", "Esc Key", 5);
    store.putInt("Config\\Control", "Path", -4);  // any value but 0 means the chosen folder
    store.putInt("Caption", "Caption Align", 3);
    store.putInt("Caption", "Caption Synch", 99999);
    store.putString("Config\\Control", "Image Folder", "");
    PageValues v(kEnv);
    v.load(store);
    EXPECT_EQ(v.number("Config", "Show Tooltip All"), 1);
    EXPECT_EQ(v.number("Config\\Custom", "Esc Key"), 0);
    EXPECT_EQ(v.number("Config\\Control", "Path"), 1);
    EXPECT_EQ(v.number("Caption", "Caption Align"), 0);
    EXPECT_EQ(v.number("Caption", "Caption Synch"), 3000);
    EXPECT_EQ(v.text("Config\\Control", "Image Folder"), "/home/me/Pictures");
}

TEST(SheetPages, CaptionFoldersKeepTheirStoreLayout) {
    MemorySettingsStore store;
    const char* sec = "Caption\\Caption Folders";
    store.putInt(sec, "Count", 2000000000);  // garbled: far more than the section holds
    for (int i = 0; i < 4; ++i)
        store.putString(sec, std::to_string(i), "/subs/" + std::to_string(i));
    PageValues v(kEnv);
    v.load(store);
    EXPECT_EQ(v.list(sec, "Count").size(), 4u);

    v.setList(sec, "Count", {"/a", "/b"});
    v.store(store);
    EXPECT_EQ(store.getInt(sec, "Count", -1), 2);
    EXPECT_EQ(store.getString(sec, "1"), "/b");
    EXPECT_FALSE(store.has(sec, "2"));  // entries past the end are gone
    EXPECT_FALSE(store.has(sec, "3"));
}

TEST(SheetPages, AssociationBoxesMoveInStep) {
    PageValues v(kEnv);
    v.setExtension(12, true);  // mpg
    auto s = v.extensions();
    for (int i : {4, 5, 7, 10, 11, 12})
        EXPECT_TRUE(s[static_cast<std::size_t>(i)]) << i;  // m1v m2v mp2 mpe mpeg
    EXPECT_FALSE(s[8]);                                    // mp3
    v.setExtension(4, false);
    EXPECT_FALSE(v.extensions()[12]);

    v.setAllExtensions(true);
    EXPECT_FALSE(v.extensions()[3]);  // dat: nothing to associate on this desktop
    EXPECT_FALSE(v.isEnabled(page::Association, 1068));
    EXPECT_TRUE(v.isEnabled(page::Association, 1067));

    // The desktop's reading: a group is checked only when all of its boxes read checked.
    ExtensionStates desktop{};
    desktop[12] = desktop[11] = true;
    desktop[2] = true;
    v.setExtensionsFromDesktop(desktop);
    EXPECT_FALSE(v.extensions()[12]);
    EXPECT_TRUE(v.extensions()[2]);

    PageValues old({kEnv.picturesFolder, "98"});
    EXPECT_FALSE(old.isEnabled(page::Association, 1067));
    EXPECT_FALSE(old.isEnabled(page::Association, 1081));
}

// --- the sheet --------------------------------------------------------------------------

struct Sheet {
    MemorySettingsStore store;
    FakePrompter prompter;
    SettingsSheetModel model{store, prompter, kEnv, nullptr, "/nowhere"};
};

TEST(SettingsSheet, ActivePageIsKeptOnOkAndOnCancel) {
    Sheet s;
    s.model.open();
    EXPECT_EQ(s.model.activePage(), 0);
    s.model.selectPage(page::Control);
    s.model.cancel();
    EXPECT_EQ(s.store.writes, (std::vector<std::string>{"Config/ActivePage=3"}));

    SettingsSheetModel again(s.store, s.prompter, kEnv, nullptr, "/nowhere");
    again.open();
    EXPECT_EQ(again.activePage(), page::Control);
    again.selectPage(page::Screen);
    again.accept();
    EXPECT_EQ(s.store.getInt("Config", "ActivePage", -1), page::Screen);

    s.store.putInt("Config", "ActivePage", 42);
    again.open();
    EXPECT_EQ(again.activePage(), 0);
}

TEST(SettingsSheet, CancelAfterResetStoresNothingButThePage) {
    Sheet s;
    fillWithOddValues(s.store);
    s.store.writes.clear();
    s.model.open();
    s.model.selectPage(page::Caption);
    EXPECT_TRUE(s.model.runMenuCommand(sheet::kResetPageCommand));
    EXPECT_EQ(s.model.values().text("Caption", "FontName"), "굴림");
    EXPECT_TRUE(s.model.runMenuCommand(sheet::kResetAllCommand));
    s.model.cancel();
    EXPECT_EQ(s.store.writes, (std::vector<std::string>{"Config/ActivePage=1"}));
    EXPECT_EQ(s.store.getString("Caption", "FontName"), "/odd/FontName");
    EXPECT_FALSE(s.model.runMenuCommand(sheet::kOpenCommand));
}

TEST(SettingsSheet, OkStoresEveryPageInItsOrder) {
    Sheet s;
    s.model.open();
    s.model.runMenuCommand(sheet::kResetPageCommand);  // only the general page, shown first
    s.model.accept();
    // With nothing stored, the caption page shows and writes its own font, not the player's.
    EXPECT_EQ(s.store.getString("Caption", "FontName"), "굴림");
    EXPECT_EQ(s.store.getInt("Caption", "FontSize", 0), 20);
    const auto& w = s.store.writes;
    ASSERT_FALSE(w.empty());
    EXPECT_EQ(w.front(), "Config/ActivePage=0");
    auto at = [&](const std::string& entry) {
        return std::find(w.begin(), w.end(), entry) - w.begin();
    };
    EXPECT_LT(at("Config/Interval=10"), at("Caption/FontName=굴림"));
    EXPECT_LT(at("Caption/FontName=굴림"), at("Config\\Custom/Esc Key=0"));
    EXPECT_LT(at("Config\\Custom/Esc Key=0"), at("Config\\Control/Track Color1=9859955"));
    EXPECT_LT(at("Config\\Control/Track Color1=9859955"), at("Config\\Playlist/Auto Delete=0"));
    EXPECT_LT(at("Config\\Playlist/Auto Delete=0"), at("Config\\Control/Path=1"));
    EXPECT_LT(at("Config\\Control/Path=1"), at("Config\\Screen/Border Size=15"));
    EXPECT_EQ(at("Config\\Control/Hardware Decoding=1"), static_cast<std::ptrdiff_t>(w.size()) - 1);
    EXPECT_EQ(s.store.getString("Config\\Control", "Image Folder"), "/home/me/Pictures");
}

TEST(SettingsSheet, ThePagesShowThePlayersLiveValues) {
    Sheet s;
    PlayerLiveValues live;
    live.fontSize = 37;
    live.fontOffset = -27;
    live.fontBold = 1;
    live.fontBorder = 1;
    live.captionSynch = -15;
    live.backMode = 0;
    live.backImage = "/pics/back.jpg";
    writeLiveValues(s.store, live);
    s.model.open();
    const PageValues& v = s.model.values();
    EXPECT_EQ(v.number("Caption", "FontSize"), 37);
    EXPECT_EQ(v.number("Caption", "FontOffset"), -27);
    EXPECT_EQ(v.number("Caption", "Caption Synch"), -15);
    EXPECT_EQ(v.number("Config\\Custom", "Back Mode"), 0);
    EXPECT_EQ(v.text("Config\\Custom", "Back Image"), "/pics/back.jpg");
    EXPECT_TRUE(s.model.values().isEnabled(page::Caption, 1004));
    EXPECT_TRUE(s.store.has("Config", "Show Frame Number"));
}

// --- the pages' browse buttons and their own buttons ------------------------------------

TEST(SheetButtons, BrowseStartsWhereTheFieldPointsAndFillsIt) {
    Sheet s;
    s.model.open();
    const SheetPage& general = sheetPages()[page::General];
    const int folder = general.fieldIndex("Default Folder");
    s.prompter.folderAnswers = {std::string("/media/films"), std::nullopt};
    EXPECT_TRUE(s.model.browse(page::General, folder));
    EXPECT_EQ(s.prompter.dialogs.back().title, "파일 열기 기본 폴더");
    EXPECT_EQ(s.model.values().text("Config", "Default Folder"), "/media/films");
    EXPECT_FALSE(s.model.browse(page::General, folder));  // cancelled: the field stays
    EXPECT_EQ(s.prompter.dialogs.back().folder, "/media/films");
    EXPECT_EQ(s.model.values().text("Config", "Default Folder"), "/media/films");

    // A file dialog opens in the folder of the file named, with that file chosen.
    s.model.values().setText("Config\\Custom", "Back Image", "/pics/old/back.jpg");
    s.prompter.openAnswers = {{"/pics/new.png"}};
    const SheetPage& custom = sheetPages()[page::Custom];
    EXPECT_TRUE(s.model.browse(page::Custom, custom.fieldIndex("Back Image")));
    const FileDialogRequest& asked = s.prompter.dialogs.back();
    EXPECT_EQ(asked.folder, "/pics/old");
    EXPECT_EQ(asked.fileName, "back.jpg");
    EXPECT_NE(asked.filter.find("*.png"), std::string::npos);
    EXPECT_EQ(s.model.values().text("Config\\Custom", "Back Image"), "/pics/new.png");

    // A field without a browse button asks nothing.
    const std::size_t asks = s.prompter.dialogs.size();
    EXPECT_FALSE(s.model.browse(page::General, general.fieldIndex("Interval")));
    EXPECT_FALSE(s.model.browse(page::General, 99));
    EXPECT_EQ(s.prompter.dialogs.size(), asks);
}

TEST(SheetButtons, CaptionFolderListAddAndDelete) {
    Sheet s;
    s.model.open();
    const char* sec = "Caption\\Caption Folders";
    s.prompter.folderAnswers = {std::string("/subs/a"), std::string("/subs/b"),
                                std::string("/subs/a"), std::nullopt};
    EXPECT_TRUE(s.model.pressButton(page::Caption, 1027));
    EXPECT_TRUE(s.model.pressButton(page::Caption, 1027));
    EXPECT_EQ(s.prompter.dialogs.back().folder, "/subs/a");  // starts at the last folder added
    EXPECT_FALSE(s.model.pressButton(page::Caption, 1027));  // already listed
    EXPECT_FALSE(s.model.pressButton(page::Caption, 1027));  // cancelled
    EXPECT_EQ(s.model.values().list(sec, "Count"),
              (std::vector<std::string>{"/subs/a", "/subs/b"}));

    EXPECT_FALSE(s.model.pressButton(page::Caption, 1026));     // nothing selected
    EXPECT_FALSE(s.model.pressButton(page::Caption, 1026, 2));  // past the end
    EXPECT_TRUE(s.model.pressButton(page::Caption, 1026, 0));
    EXPECT_EQ(s.model.values().list(sec, "Count"), std::vector<std::string>{"/subs/b"});
    EXPECT_FALSE(s.model.pressButton(page::Caption, 4711));  // no such button
}

}  // namespace
}  // namespace orvalis
