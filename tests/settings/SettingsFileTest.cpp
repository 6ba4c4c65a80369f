// The settings file: its exact layout, import by the classic INI reading rules, the edge
// cases of a hand-edited or damaged file, and the dialogs around both.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "base/AtomicFile.h"
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

PageValues importText(const std::string& bytes, PageValues values = PageValues(kEnv)) {
    applySettingsFile(values, ProfileReader(bytes));
    return values;
}

// Every field given a value that is no default, as a user's sheet would hold.
PageValues changedSheet() {
    MemorySettingsStore store;
    test::fillWithOddValues(store);
    store.putString("Caption\\Caption Folders", "0", "/subs/한국어");
    store.putString("Caption\\Caption Folders", "1", "  spaced  ");  // trimmed on the way back
    store.putInt("Caption\\Caption Folders", "Count", 2);
    PageValues v(kEnv);
    v.load(store);
    v.setList("Caption\\Caption Folders", "Count", {"/subs/한국어", "/subs/b"});
    v.setExtension(2, true);   // avi
    v.setExtension(16, true);  // ogg
    return v;
}

TEST(SettingsFileLayout, SectionsAndKeysInTheirOrder) {
    PageValues v(kEnv);
    v.setList("Caption\\Caption Folders", "Count", {"/subs/a", "/subs/b"});
    v.setExtension(2, true);
    std::string expected =
        "[General]\nInterval=10\nIntervalCtrl=30\nAutoHide=0\nAutoCDROM=1\nSaveMaximize="
        "0\nDefaultFolder=\n"
        "TooltipAll=1\nTooltipVolume=1\nTooltipSpeed=1\nTooltipCaptionSynch=1\nTooltipCaptionSize="
        "1\n"
        "TooltipCaptionOffset=1\nTooltipCaptionLanguage=1\nTooltipCaptionSpace=1\nTooltipPanScan="
        "1\n"
        "[Caption]\nFontName=굴림\nFontSize=20\nOneLine=1\nFontBold=1\nFontAlias=0\nFontBorder=0\n"
        "FontColor=11788021\nBorderColor=0\nColorKey=657930\nMargin=20\nSynch=0\nCaptionSpace=0\n"
        "DivideLength=40\nCaptionGap=2\nCaptionAlign=0\nUseCaptionFolder=0\nCaptionFolder=/subs/a;/"
        "subs/b;\n"
        "[Custom]\nEsc=0\nPlay=0\nStop=0\nWheel=1\nWheelClick=1\nBackMode=1\nBackColor="
        "4210752\nBackImage=\n"
        "[Control]\nTrackColor1=9859955\nTrackColor2=16744576\nTrackHeight=15\nGradient="
        "1\nTitleSize=9\n"
        "UseRepeatCtrl=1\nBookmark=1\nUseSkip=0\nSkipStartMin=0\nSkipStartSec=0\nSkipEndMin="
        "0\nSkipEndSec=0\n"
        "[Screen]\nImagePath=1\nImageFolder=/home/me/Pictures\nBeep=0\nSoundFile=\nResize=15\n"
        "HardwareDecoding=1\n"
        "[Playlist]\nAutoDelete=0\nAutoCheck=0\nShowControls=0\nAddItem=1\nAddFromCDROM="
        "0\nPlayContinue=1\n"
        "RepeatList=0\n"
        "[FileExt]\nFileExt0=0\nFileExt1=0\nFileExt2=1\nFileExt3=0\nFileExt4=0\nFileExt5="
        "0\nFileExt6=0\n"
        "FileExt7=0\nFileExt8=0\nFileExt9=0\nFileExt10=0\nFileExt11=0\nFileExt12=0\nFileExt13="
        "0\nFileExt14=0\n"
        "FileExt15=0\nFileExt16=0\nFileExt17=0\n";
    EXPECT_EQ(settingsFileText(v), expected);
}

TEST(SettingsFileLayout, WhatTheListDoesNotNameKeepsItsPlace) {
    std::string existing =
        "; exported by hand\n[Other]\nKeep=this one\n[general]\nMine = 1\ninterval=99\n; closing "
        "note\n\n"
        "[FileExt]\nFileExt99=1\n[Tail]\nLast=1\n";
    std::string out = settingsFileText(PageValues(kEnv), existing);
    EXPECT_EQ(out.rfind("; exported by hand\n[Other]\nKeep=this one\n[general]\nMine = "
                        "1\ninterval=10\nIntervalCtrl=30\n",
                        0),
              0u)
        << out;
    EXPECT_NE(out.find("TooltipPanScan=1\n; closing note\n\n[FileExt]\nFileExt99=1\nFileExt0=0\n"),
              std::string::npos);
    EXPECT_NE(out.find("FileExt17=0\n[Tail]\nLast=1\n[Caption]\n"), std::string::npos);
    EXPECT_EQ(out.find("[General]"), std::string::npos);  // the file's own spelling counts

    // A second export over the first changes nothing.
    EXPECT_EQ(settingsFileText(PageValues(kEnv), out), out);
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

TEST(SettingsFileImport, KeysTheFileLacksKeepTheSheetsValues) {
    const PageValues v = changedSheet();
    ASSERT_EQ(v.number("Config", "Save Maximized"), 1);
    const PageValues imported = importText("[General]\nInterval=5\nSaveMaximize=\n", v);
    EXPECT_EQ(imported.number("Config", "Interval"), 5);
    EXPECT_EQ(imported.number("Config", "Save Maximized"), 0);  // present but empty: 0
    // Everything else is as the sheet had it: no track height of 0, bookmarks, playing on,
    // jump intervals, radio groups and boxes all kept.
    test::expectSameFields(imported, v, [](const PageField& f) {
        return f.key == "Interval" || f.key == "Save Maximized";
    });
    EXPECT_EQ(imported.extensions(), v.extensions());

    // A present key is read as it stands, a missing one of the same page is kept.
    PageValues fresh(kEnv);
    fresh.resetAll();
    const PageValues screen = importText("[Screen]\nHardwareDecoding=0\n", fresh);
    EXPECT_EQ(screen.number("Config\\Control", "Hardware Decoding"), 0);
    EXPECT_EQ(screen.number("Config\\Screen", "Border Size"), 15);
    EXPECT_EQ(importText("[FileExt]\nFileExt2=0\n", v).extensions()[16], true);
}

TEST(SettingsFileImport, CaptionFoldersDropEmptyPieces) {
    PageValues v = importText("[Caption]\nCaptionFolder= /subs/one ;; /subs/two ;\n");
    EXPECT_EQ(v.list("Caption\\Caption Folders", "Count"),
              (std::vector<std::string>{"/subs/one", "/subs/two"}));
}

TEST(SettingsFileImport, RoundTripKeepsEveryPage) {
    PageValues before = changedSheet();
    PageValues after(kEnv);
    after.resetAll();
    after = importText(settingsFileText(before), after);
    // Fields the file does not hold keep what the reset gave them.
    test::expectSameFields(after, before, [](const PageField& f) { return f.exportKey.empty(); });
    EXPECT_TRUE(after.extensions()[16]);
}

TEST(SettingsFileImport, EmptyImageFolderAndBeepWithoutSound) {
    PageValues v = importText("[Screen]\nImagePath=1\nImageFolder=\nBeep=1\nSoundFile=\n");
    EXPECT_EQ(v.text("Config\\Control", "Image Folder"), "/home/me/Pictures");
    EXPECT_EQ(v.number("Config\\Control", "Beep Sound"), 0);
    EXPECT_FALSE(v.isEnabled(page::Screen, 1056));
    // The order of the keys does not matter: the page settles once it is read whole.
    v = importText("[Screen]\nBeep=1\nSoundFile=/s/ding.wav\n");
    EXPECT_EQ(v.number("Config\\Control", "Beep Sound"), 1);
    EXPECT_TRUE(v.isEnabled(page::Screen, 1056));
}

TEST(SettingsFileImport, LongValuesAreCutOnACharacter) {
    std::string korean;
    for (int i = 0; i < 300; ++i) korean += "가";
    std::string ascii(300, 'x');
    PageValues v =
        importText("[General]\nDefaultFolder=/" + korean + "\n[Custom]\nBackImage=" + ascii + "\n");
    const std::string& cut = v.text("Config", "Default Folder");
    EXPECT_EQ(text::cp949Units(cut), 253u);  // one more character would need 255
    EXPECT_TRUE(text::isValidUtf8(cut));
    EXPECT_EQ(v.text("Config\\Custom", "Back Image"), std::string(254, 'x'));

    // A folder list cut inside its last folder keeps only the whole folders.
    std::string folders = "/one;/two;/" + std::string(300, 'z') + ";";
    v = importText("[Caption]\nCaptionFolder=" + folders + "\n");
    EXPECT_EQ(v.list("Caption\\Caption Folders", "Count"),
              (std::vector<std::string>{"/one", "/two"}));
}

TEST(SettingsFileImport, NumbersAreTheirLeadingDecimalDigits) {
    struct Case {
        const char* text;
        int value;
    };
    for (Case c : {Case{"-5", -5},
                   {"12abc", 12},
                   {"abc", 0},
                   {"", 0},
                   {" +7", 7},
                   {"0x10", 0},
                   {"99999999999", INT_MAX},
                   {"4294967295", INT_MAX},
                   {"-99999999999", INT_MIN},
                   {"2147483647", INT_MAX},
                   {"-2147483648", INT_MIN}})
        EXPECT_EQ(profileNumber(c.text), c.value) << c.text;
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
    // CP949 with CRLF line ends, as many hand-edited INI files are.
    auto cp949 =
        text::toCp949("[Caption]\r\nFontName=굴림체\r\nCaptionFolder=C:\\자막;D:\\subs;\r\n");
    ASSERT_TRUE(cp949);
    PageValues v = importText(*cp949);
    EXPECT_EQ(v.text("Caption", "FontName"), "굴림체");
    EXPECT_EQ(v.list("Caption\\Caption Folders", "Count"),
              (std::vector<std::string>{"C:\\자막", "D:\\subs"}));

    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[General]\r\nInterval=7\r\n")) utf16 += {c, '\0'};
    EXPECT_EQ(importText(utf16).number("Config", "Interval"), 7);
}

TEST(SettingsFileImport, HugeBinaryAndRandomFilesGiveWhatTheyHold) {
    std::string big;
    for (int i = 0; i < 10000; ++i)
        big += "[Section" + std::to_string(i) + "]\nkey" + std::to_string(i) + "\n";
    big += "[Junk]\nline=" + std::string(1 << 20, 'q') + "\n";
    big += std::string("\0\xFF\xFE\x80 binary", 11) + "\n[General]\nInterval=5\n";
    PageValues v = importText(big);
    EXPECT_EQ(v.number("Config", "Interval"), 5);

    std::string random;
    unsigned seed = 12345;
    for (int i = 0; i < 100000; ++i)
        random += static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
    v = importText(random);
    EXPECT_EQ(v.number("Config\\Control", "Track Height"), 15);
}

// --- through the sheet's menu -----------------------------------------------------------

struct SheetWithFiles {
    std::string dir = test::freshDir("settings-file");
    MemorySettingsStore store;
    FakePrompter prompter;
    SettingsSheetModel model{store, prompter, kEnv, nullptr, dir};
    SheetWithFiles() { model.open(); }
};

TEST(SettingsFileDialogs, DefaultNameFilterAndTitles) {
    SheetWithFiles s;
    s.model.runMenuCommand(sheet::kSaveFileCommand);  // cancelled
    s.model.runMenuCommand(sheet::kLoadFileCommand);  // cancelled
    ASSERT_EQ(s.prompter.dialogs.size(), 2u);
    for (const auto& d : s.prompter.dialogs) {
        EXPECT_EQ(d.folder, s.dir);
        EXPECT_EQ(d.fileName, "Orvalis.ini");
        EXPECT_EQ(d.filter, "환경 파일 (*.ini)|*.ini||");
        EXPECT_EQ(d.defaultSuffix, "ini");
    }
    EXPECT_EQ(s.prompter.dialogs[0].title, "다른 이름으로 저장");
    EXPECT_EQ(s.prompter.dialogs[1].title, "열기");
    EXPECT_TRUE(s.prompter.messages.empty());
    EXPECT_FALSE(fileExists(s.dir + "/Orvalis.ini"));
}

TEST(SettingsFileDialogs, ExportAsksBeforeReplacing) {
    SheetWithFiles s;
    std::string path = s.dir + "/Orvalis.ini";
    writeFile(path, "[Mine]\nA=1\n");
    s.prompter.saveAnswers = {path, path};
    s.prompter.answers = {MessageResult::No, MessageResult::Yes};
    s.model.exportSettings();
    ASSERT_EQ(s.prompter.messages.size(), 2u);
    EXPECT_EQ(s.prompter.messages[0].text, "Orvalis.ini이(가) 이미 있습니다.\n바꾸시겠습니까?");
    EXPECT_EQ(s.prompter.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(s.prompter.dialogs.size(), 2u);  // No went back to the dialog
    std::string written = readFile(path);
    EXPECT_EQ(written.rfind("[Mine]\nA=1\n[General]\nInterval=10\n", 0), 0u);

    // Import fills the pages only; the store is written at OK.
    s.store.writes.clear();
    writeFile(path, "[General]\nInterval=3\n");
    s.prompter.openAnswers = {{path}};
    s.model.importSettings();
    EXPECT_EQ(s.model.values().number("Config", "Interval"), 3);
    EXPECT_TRUE(s.store.writes.empty());
}

TEST(SettingsFileDialogs, AFileThatCannotBeReadChangesNothing) {
    SheetWithFiles s;
    s.model.values().setNumber("Config", "Interval", 42);
    PageValues before = s.model.values();
    std::string folder = s.dir + "/folder.ini";
    ::mkdir(folder.c_str(), 0700);
    s.prompter.openAnswers = {{folder}, {s.dir + "/gone.ini"}};
    s.model.importSettings();
    s.model.importSettings();
    ASSERT_EQ(s.prompter.messages.size(), 2u);
    EXPECT_EQ(s.prompter.messages[0].text, "파일을 열 수 없습니다.");
    EXPECT_EQ(s.prompter.messages[0].icon, MessageIcon::Exclamation);
    for (int p = 0; p < page::Count; ++p)
        EXPECT_EQ(s.model.values().pageValues(p), before.pageValues(p));
}

TEST(SettingsFileDialogs, ExportThatCannotWriteSaysSo) {
    SheetWithFiles s;
    std::string readOnly = s.dir + "/locked.ini";
    writeFile(readOnly, "[Mine]\nA=1\n");
    ::chmod(readOnly.c_str(), 0444);
    std::string folder = s.dir + "/folder.ini";
    ::mkdir(folder.c_str(), 0700);
    s.prompter.saveAnswers = {readOnly, folder};
    s.model.exportSettings();
    s.model.exportSettings();
    ASSERT_EQ(s.prompter.messages.size(), 3u);  // the overwrite question, then two failures
    EXPECT_EQ(s.prompter.messages[1].text, "파일을 저장할 수 없습니다.");
    EXPECT_EQ(s.prompter.messages[2].text, "파일을 저장할 수 없습니다.");
    EXPECT_EQ(readFile(readOnly), "[Mine]\nA=1\n");
}

TEST(SettingsFileDialogs, ExportThroughALinkKeepsTheLink) {
    SheetWithFiles s;
    std::string real = s.dir + "/real.ini";
    std::string link = s.dir + "/link.ini";
    writeFile(real, "[Mine]\nA=1\n");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ASSERT_EQ(exportSettingsFile(s.model.values(), link), SettingsFileResult::Done);
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(readFile(real).find("[General]"), std::string::npos);
}

}  // namespace
}  // namespace orvalis
