// The settings file: its layout, import by the classic INI reading rules, the edge cases of a
// hand-edited or damaged file, and the dialogs around both.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "base/TextCodec.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSheetModel.h"
#include "settings/SheetValues.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

using test::FakePrompter;
using test::MemorySettingsStore;
using test::readFile;
using test::writeFile;

const SheetEnvironment& kEnv = test::kSheetEnv;
const char* kFolders = "Caption\\Caption Folders";

PageValues importText(const std::string& bytes, PageValues values = PageValues(kEnv)) {
    applySettingsFile(values, ProfileReader(bytes));
    return values;
}

// Every field given a value that is no default, as a user's sheet would hold.
PageValues changedSheet() {
    MemorySettingsStore store;
    test::fillWithOddValues(store);
    PageValues v(kEnv);
    v.load(store);
    v.setList(kFolders, "Count", {"/subs/한국어", "/subs/b"});
    v.setExtension(2, true);   // avi
    v.setExtension(16, true);  // ogg
    return v;
}

TEST(SettingsFileLayout, PagesInTheirOrderWithTheirValuesEncoded) {
    PageValues v(kEnv);
    v.setList(kFolders, "Count", {"/subs/a", "/subs/b"});
    v.setExtension(2, true);
    const std::string out = settingsFileText(v);
    // The sections in the sheet's file order; colours in decimal, the folders joined, an empty
    // capture folder as the pictures folder, the boxes by number.
    std::size_t at = 0;
    for (const char* piece : {"[General]\nInterval=10\n", "FontColor=11788021\n", "CaptionFolder=/subs/a;/subs/b;\n",
                              "[Custom]\n", "[Control]\n", "[Screen]\nImagePath=1\nImageFolder=/home/me/Pictures\n",
                              "[Playlist]\n", "[FileExt]\nFileExt0=0\nFileExt1=0\nFileExt2=1\n", "FileExt17=0\n"})
        EXPECT_NE(at = out.find(piece, at), std::string::npos) << piece << "\n" << out;
}

TEST(SettingsFileLayout, WhatTheListDoesNotNameKeepsItsPlace) {
    std::string existing =
        "; exported by hand\n[Other]\nKeep=this one\n[general]\nMine = 1\ninterval=99\n; closing note\n\n"
        "[FileExt]\nFileExt99=1\n[Tail]\nLast=1\n";
    std::string out = settingsFileText(PageValues(kEnv), existing);
    EXPECT_EQ(out.rfind("; exported by hand\n[Other]\nKeep=this one\n[general]\nMine = 1\ninterval=10\nIntervalCtrl=30\n", 0),
              0u) << out;
    EXPECT_NE(out.find("TooltipPanScan=1\n; closing note\n\n[FileExt]\nFileExt99=1\nFileExt0=0\n"), std::string::npos);
    EXPECT_NE(out.find("FileExt17=0\n[Tail]\nLast=1\n[Caption]\n"), std::string::npos);
    EXPECT_EQ(out.find("[General]"), std::string::npos);  // the file's own spelling counts
}

TEST(SettingsFileLayout, ValuesThatWouldNotReadBackAreQuoted) {
    PageValues v(kEnv);
    v.setText("Config", "Default Folder", "  /padded  ");
    v.setText("Config\\Custom", "Back Image", "\"quoted\"");
    v.setText("Config\\Control", "Sound File", "/a\n[General]\nInterval=1");
    std::string out = settingsFileText(v);
    EXPECT_NE(out.find("DefaultFolder=\"  /padded  \"\n"), std::string::npos);
    PageValues back = importText(out);
    EXPECT_EQ(back.text("Config", "Default Folder"), "  /padded  ");
    EXPECT_EQ(back.text("Config\\Custom", "Back Image"), "\"quoted\"");
    // A line break cannot be held; it never becomes a line of its own.
    EXPECT_EQ(back.text("Config\\Control", "Sound File"), "/a [General] Interval=1");
    EXPECT_EQ(back.number("Config", "Interval"), 10);
}

TEST(SettingsFileImport, RoundTripKeepsEveryPageAndKeysTheFileLacksKeepTheSheetsValues) {
    const PageValues v = changedSheet();
    PageValues after(kEnv);
    after.resetAll();
    after = importText(settingsFileText(v), after);
    // Fields the file does not hold keep what the reset gave them.
    test::expectSameFields(after, v, [](const PageField& f) { return f.exportKey.empty(); });
    EXPECT_EQ(after.extensions(), v.extensions());

    ASSERT_EQ(v.number("Config", "Save Maximized"), 1);
    const PageValues imported = importText("[General]\nInterval=5\nSaveMaximize=\n", v);
    EXPECT_EQ(imported.number("Config", "Interval"), 5);
    EXPECT_EQ(imported.number("Config", "Save Maximized"), 0);  // present but empty: 0
    // Everything else is as the sheet had it: no track height of 0, bookmarks, playing on,
    // jump intervals, radio groups and boxes all kept.
    test::expectSameFields(imported, v, [](const PageField& f) {
        return f.key == "Interval" || f.key == "Save Maximized";
    });
    EXPECT_TRUE(importText("[FileExt]\nFileExt2=0\n", v).extensions()[16]);
}

TEST(SettingsFileImport, APageSettlesOnceItIsReadWhole) {
    // The beep comes before its sound file: the order of the keys does not matter.
    EXPECT_EQ(importText("[Screen]\nBeep=1\nSoundFile=/s/ding.wav\n").number("Config\\Control", "Beep Sound"), 1);
    EXPECT_EQ(importText("[Screen]\nBeep=1\nSoundFile=\n").number("Config\\Control", "Beep Sound"), 0);
}

TEST(SettingsFileImport, LongValuesAreCutOnACharacterAndFoldersDropEmptyPieces) {
    std::string korean;
    for (int i = 0; i < 300; ++i) korean += "가";
    PageValues v = importText("[General]\nDefaultFolder=/" + korean + "\n[Custom]\nBackImage=" +
                              std::string(300, 'x') + "\n");
    const std::string& cut = v.text("Config", "Default Folder");
    EXPECT_EQ(text::cp949Units(cut), 253u);  // one more character would need 255
    EXPECT_TRUE(text::isValidUtf8(cut));
    EXPECT_EQ(v.text("Config\\Custom", "Back Image"), std::string(254, 'x'));

    // A folder list cut inside its last folder keeps only the whole folders.
    v = importText("[Caption]\nCaptionFolder= /one ;; /two ;/" + std::string(300, 'z') + ";\n");
    EXPECT_EQ(v.list(kFolders, "Count"), (std::vector<std::string>{"/one", "/two"}));
}

TEST(SettingsFileImport, NumbersAreTheirLeadingDecimalDigits) {
    std::vector<int> read;
    for (const char* text : {"-5", "12abc", "abc", "", " +7", "0x10", "99999999999", "4294967295", "-99999999999",
                             "2147483647", "-2147483648"})
        read.push_back(profileNumber(text));
    EXPECT_EQ(read, std::vector({-5, 12, 0, 0, 7, 0, INT_MAX, INT_MAX, INT_MIN, INT_MAX, INT_MIN}));
    PageValues v = importText("[Control]\nTrackHeight=-40\nTitleSize=\"12\"\n");
    EXPECT_EQ(v.number("Config\\Control", "Track Height"), -40);
    EXPECT_EQ(v.number("Config\\Control", "Title Size"), 12);
}

TEST(SettingsFileImport, NamesWithoutCaseFirstOneCountsQuotesDropped) {
    PageValues v = importText(
        "[general]\nINTERVAL=5\ninterval=6\nno equals sign here\nDefaultFolder='/x y'\n"
        "[General]\nIntervalCtrl=99\n[Caption]\nFontName = \"  돋움  \" \n");
    EXPECT_EQ(v.number("Config", "Interval"), 5);       // names without regard to case, first wins
    EXPECT_EQ(v.number("Config", "IntervalCtrl"), 30);  // only the first [General] is read
    EXPECT_EQ(v.text("Config", "Default Folder"), "/x y");
    EXPECT_EQ(v.text("Caption", "FontName"), "  돋움  ");
}

TEST(SettingsFileImport, Cp949AndUtf16FilesWithCrLfLines) {
    EXPECT_EQ(importText(*text::toCp949("[Caption]\r\nFontName=굴림체\r\n")).text("Caption", "FontName"), "굴림체");
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[General]\r\nInterval=7\r\n")) utf16 += {c, '\0'};
    EXPECT_EQ(importText(utf16).number("Config", "Interval"), 7);
}

// --- through the sheet's menu -----------------------------------------------------------

struct SheetWithFiles {
    std::string dir = test::freshDir("settings-file");
    MemorySettingsStore store;
    FakePrompter prompter;
    SettingsSheetModel model{store, prompter, kEnv, nullptr, dir};
    SheetWithFiles() { model.open(); }
};

TEST(SettingsFileDialogs, ExportAsksBeforeReplacingAndImportFillsOnlyThePages) {
    SheetWithFiles s;
    const std::string path = s.dir + "/Orvalis.ini";
    writeFile(path, "[Mine]\nA=1\n");
    s.prompter.saveAnswers = {std::nullopt, path, path};
    s.prompter.answers = {MessageResult::No, MessageResult::Yes};
    s.model.runMenuCommand(sheet::kSaveFileCommand);  // cancelled: nothing written
    EXPECT_EQ(s.prompter.dialogs.back().folder + "/" + s.prompter.dialogs.back().fileName, path);
    EXPECT_EQ(readFile(path), "[Mine]\nA=1\n");
    s.model.exportSettings();
    ASSERT_EQ(s.prompter.messages.size(), 2u);  // No went back to the dialog
    EXPECT_EQ(s.prompter.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(readFile(path).rfind("[Mine]\nA=1\n[General]\nInterval=10\n", 0), 0u);

    s.store.writes.clear();
    writeFile(path, "[General]\nInterval=3\n");
    s.prompter.openAnswers = {{path}};
    s.model.importSettings();
    EXPECT_EQ(s.model.values().number("Config", "Interval"), 3);
    EXPECT_TRUE(s.store.writes.empty());  // the store is written at OK
}

TEST(SettingsFileDialogs, FilesThatCannotBeReadOrWrittenChangeNothing) {
    SheetWithFiles s;
    s.model.values().setNumber("Config", "Interval", 42);
    const PageValues before = s.model.values();
    const std::string folder = s.dir + "/folder.ini", readOnly = s.dir + "/locked.ini";
    ::mkdir(folder.c_str(), 0700);
    writeFile(readOnly, "[Mine]\nA=1\n");
    ::chmod(readOnly.c_str(), 0444);
    s.prompter.openAnswers = {{folder}, {s.dir + "/gone.ini"}};
    s.prompter.saveAnswers = {readOnly, folder};
    for (int i = 0; i < 2; ++i) {
        s.model.importSettings();
        s.model.exportSettings();
    }
    for (int p = 0; p < page::Count; ++p) EXPECT_EQ(s.model.values().pageValues(p), before.pageValues(p));
    // Each failure is told: the two reads, and the two writes after the overwrite question.
    ASSERT_EQ(s.prompter.messages.size(), 5u);
    EXPECT_EQ(s.prompter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(readFile(readOnly), "[Mine]\nA=1\n");
}

}  // namespace
}  // namespace orvalis
