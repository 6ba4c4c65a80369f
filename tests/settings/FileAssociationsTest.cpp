// File associations on a freedesktop desktop, in the test's private XDG home: the desktop
// entry, the user's mimeapps.list kept whole, and reading the boxes back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "base/AtomicFile.h"
#include "base/DesktopEntry.h"
#include "base/IniDocument.h"
#include "settings/FileAssociations.h"
#include "settings/SettingsSheetModel.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

using test::readFile;
using test::writeFile;

constexpr int kAvi = 2, kDat = 3, kMp3 = 8, kMpa = 9, kMpg = 12, kOgg = 16, kOgm = 17;

struct Desktop {
    std::string home = test::freshDir("xdg");
    AssociationPlaces places{home + "/config", home + "/data", "/opt/orvalis/bin/orvalis", {}};
    DesktopAssociations associations{places};

    std::string list() const { return readFile(associations.mimeappsPath()); }
    void writeList(const std::string& content) const {
        makeDirectories(places.configHome);
        writeFile(associations.mimeappsPath(), content);
    }
};

ExtensionStates checked(std::initializer_list<int> boxes) {
    ExtensionStates s{};
    for (int b : boxes) s[static_cast<std::size_t>(b)] = true;
    return s;
}

TEST(DesktopAssociations, WrittenAndReadBack) {
    Desktop d;
    ASSERT_FALSE(fileExists(d.associations.desktopEntryPath()));  // its folder does not exist yet
    AssociationOutcome out = d.associations.apply(checked({kAvi, kMp3, kMpa}));
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_EQ(d.associations.read(), checked({kAvi, kMp3, kMpa}));

    std::string entry = readFile(d.associations.desktopEntryPath());
    EXPECT_NE(entry.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"/opt/orvalis/bin/orvalis\" %U\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/vnd.ms-asf;audio/x-ms-asx;video/x-msvideo;"),
              std::string::npos);
    EXPECT_EQ(
        d.list(),
        "[Default Applications]\nvideo/x-msvideo=orvalis.desktop;\naudio/mpeg=orvalis.desktop;\n");

    // A copy of the program elsewhere reads every box clear.
    AssociationPlaces other = d.places;
    other.programPath = "/home/me/old/orvalis";
    EXPECT_EQ(DesktopAssociations(other).read(), ExtensionStates{});

    // Clearing removes our defaults again; nothing else was ever in the file.
    ASSERT_TRUE(d.associations.apply(ExtensionStates{}).ok);
    EXPECT_EQ(d.associations.read(), ExtensionStates{});
    EXPECT_EQ(d.list(), "[Default Applications]\n");
}

TEST(DesktopAssociations, ClearingRestoresTheUsersFile) {
    Desktop d;
    std::string before =
        "# my own defaults\n[Default Applications]\ntext/plain = org.gnome.gedit.desktop\n"
        "video/x-msvideo=vlc.desktop;mpv.desktop\naudio/mpeg=audacious.desktop;\n\n"
        "[Added Associations]\nvideo/x-msvideo=vlc.desktop;\n";
    d.writeList(before);
    ASSERT_TRUE(d.associations.apply(checked({kAvi, kMp3})).ok);
    std::string during = d.list();
    EXPECT_NE(during.find("video/x-msvideo=orvalis.desktop;vlc.desktop;mpv.desktop\n"),
              std::string::npos);
    EXPECT_NE(during.find("audio/mpeg=orvalis.desktop;audacious.desktop;\n"), std::string::npos);
    EXPECT_NE(during.find("text/plain = org.gnome.gedit.desktop\n"), std::string::npos);
    EXPECT_EQ(d.associations.read(), checked({kAvi, kMp3, kMpa}));

    ASSERT_TRUE(d.associations.apply(ExtensionStates{}).ok);
    EXPECT_EQ(d.list(), before);
}

TEST(DesktopAssociations, ClearedBoxesDropOurOldDefaults) {
    Desktop d;
    d.writeList(
        "[Default "
        "Applications]\naudio/mpeg=orvalis.desktop;\naudio/x-wav=orvalis.desktop;vlc.desktop;\n");
    ASSERT_TRUE(d.associations.apply(checked({kAvi})).ok);
    EXPECT_EQ(
        d.list(),
        "[Default Applications]\naudio/x-wav=vlc.desktop;\nvideo/x-msvideo=orvalis.desktop;\n");
}

TEST(DesktopAssociations, TheDesktopsOwnListComesFirst) {
    Desktop d;
    d.places.desktopNames = {"kde"};
    DesktopAssociations kde(d.places);
    ASSERT_TRUE(kde.apply(checked({kAvi, kOgm})).ok);
    writeFile(d.places.configHome + "/kde-mimeapps.list",
              "[Default Applications]\nvideo/x-msvideo=dragon.desktop;\n");
    EXPECT_EQ(kde.read(), checked({kOgm}));
}

TEST(DesktopAssociations, TheDesktopsOwnListIsWrittenWhereItDecides) {
    Desktop d;
    d.places.desktopNames = {"kde"};
    DesktopAssociations kde(d.places);
    const std::string kdeList = d.places.configHome + "/kde-mimeapps.list";
    const std::string own = "[Default Applications]\nvideo/x-msvideo=dragon.desktop;\n";
    d.writeList("");
    writeFile(kdeList, own);
    ASSERT_TRUE(kde.apply(checked({kAvi, kMp3})).ok);
    EXPECT_EQ(kde.read(), checked({kAvi, kMp3, kMpa}));  // what the desktop will use
    EXPECT_EQ(readFile(kdeList),
              "[Default Applications]\nvideo/x-msvideo=orvalis.desktop;dragon.desktop;\n");
    EXPECT_NE(d.list().find("audio/mpeg=orvalis.desktop;"), std::string::npos);

    ASSERT_TRUE(kde.apply(ExtensionStates{}).ok);
    EXPECT_EQ(readFile(kdeList), own);
    EXPECT_EQ(kde.read(), ExtensionStates{});

    writeFile(kdeList, "not a key file\n");  // the desktop's list cannot be edited safely
    const std::string before = d.list();
    EXPECT_FALSE(kde.apply(checked({kAvi})).ok);
    EXPECT_EQ(d.list(), before);
}

TEST(DesktopAssociations, AListThatCannotBeEditedSafelyChangesNothing) {
    Desktop d;
    const std::string garbled =
        std::string("[Default Applications]\nvideo/x-msvideo=vlc.desktop;\n") + "\xC3\x28\n";
    for (const std::string& content :
         {garbled, std::string("[Default Applications]\njust some words\n"),
          std::string("text/plain=gedit.desktop;\n[Default Applications]\n")}) {
        d.writeList(content);
        AssociationOutcome out = d.associations.apply(checked({kAvi}));
        EXPECT_FALSE(out.ok);
        EXPECT_NE(out.message.find("프로그램 연결을 바꾸지 않았습니다."), std::string::npos);
        EXPECT_NE(out.message.find(d.associations.mimeappsPath()), std::string::npos);
        EXPECT_EQ(d.list(), content);
        EXPECT_FALSE(fileExists(d.associations.desktopEntryPath()));
    }

    std::string readOnly = "[Default Applications]\nvideo/x-msvideo=vlc.desktop;\n";
    d.writeList(readOnly);
    ::chmod(d.associations.mimeappsPath().c_str(), 0444);
    AssociationOutcome out = d.associations.apply(checked({kAvi}));
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.message.rfind("연결 설정 파일에 쓸 수 없어", 0), 0u);
    EXPECT_EQ(d.list(), readOnly);
}

TEST(DesktopAssociations, AListKeptElsewhereThroughALink) {
    Desktop d;
    std::string dotfiles = test::freshDir("dotfiles") + "/mimeapps.list";
    writeFile(dotfiles, "[Default Applications]\n");
    makeDirectories(d.places.configHome);
    ASSERT_EQ(::symlink(dotfiles.c_str(), d.associations.mimeappsPath().c_str()), 0);
    ASSERT_TRUE(d.associations.apply(checked({kAvi})).ok);
    struct stat st {};
    ASSERT_EQ(::lstat(d.associations.mimeappsPath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(readFile(dotfiles).find("video/x-msvideo=orvalis.desktop;"), std::string::npos);
    EXPECT_EQ(d.associations.read(), checked({kAvi}));
}

TEST(DesktopAssociations, ALinkOutOfTheUsersFoldersIsNotFollowed) {
    Desktop d;
    char outside[] = "/tmp/orvalis-system-XXXXXX";  // not below the (private) home
    ASSERT_NE(::mkdtemp(outside), nullptr);
    std::string systemList = std::string(outside) + "/mimeapps.list";
    writeFile(systemList, "[Default Applications]\n");
    makeDirectories(d.places.configHome);
    ASSERT_EQ(::symlink(systemList.c_str(), d.associations.mimeappsPath().c_str()), 0);
    AssociationOutcome out = d.associations.apply(checked({kAvi}));
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(readFile(systemList), "[Default Applications]\n");
    EXPECT_FALSE(fileExists(d.associations.desktopEntryPath()));
    ::unlink(systemList.c_str());
    ::rmdir(outside);
}

TEST(DesktopAssociations, ProgramPathsSurviveTheEntrysQuoting) {
    for (std::string path : {"/opt/my player/orvalis", "/x/\"quoted\"/o", "/x/$HOME/`o`",
                             "/x/back\\slash", "/x/100%/orvalis", "/x/한글/orvalis"}) {
        EXPECT_EQ(execProgram(desktopEntryExec(path)), path) << desktopEntryExec(path);
    }
    EXPECT_EQ(desktopEntryExec("/x/a\\b"), "\"/x/a\\\\\\\\b\" %U");
    EXPECT_EQ(execProgram("/usr/bin/vlc --started-from-file %U"), "/usr/bin/vlc");
    EXPECT_EQ(execProgram("\"/unterminated %U"), std::nullopt);

    Desktop d;
    d.places.programPath = "/opt/my player/orvalis";
    DesktopAssociations spaced(d.places);
    ASSERT_TRUE(spaced.apply(checked({kAvi})).ok);
    EXPECT_EQ(spaced.read(), checked({kAvi}));
    d.places.programPath = "relative/orvalis";
    EXPECT_FALSE(DesktopAssociations(d.places).apply(checked({kAvi})).ok);
}

TEST(DesktopAssociations, KeysAUserAddedToOurEntryStay) {
    Desktop d;
    makeDirectories(d.places.dataHome + "/applications");
    writeFile(d.associations.desktopEntryPath(),
              "[Desktop Entry]\nName=My Orvalis\nExec=/elsewhere/orvalis "
              "%U\nIcon=/home/me/orvalis.png\n");
    EXPECT_EQ(d.associations.read(), ExtensionStates{});
    ASSERT_TRUE(d.associations.apply(checked({kOgg})).ok);
    std::string entry = readFile(d.associations.desktopEntryPath());
    EXPECT_NE(entry.find("Icon=/home/me/orvalis.png\n"), std::string::npos);
    EXPECT_NE(entry.find("Exec=\"/opt/orvalis/bin/orvalis\" %U\n"), std::string::npos);
    EXPECT_EQ(d.associations.read(), checked({kOgg}));
}

TEST(DesktopAssociations, TheWrittenEntryIsThePackagedOne) {
    // Every type a box can claim is one the entry says the player opens.
    const auto& opens = desktop::supportedMimeTypes();
    for (const auto& type : associatedMimeTypes())
        EXPECT_NE(std::find(opens.begin(), opens.end(), type), opens.end()) << type;
    const IniDocument entry =
        IniDocument::parse(desktopEntryText("/opt/o r/orvalis"), {.quoteValues = false});
    const IniDocument packaged =
        IniDocument::parse(desktop::entryTemplate(), {.quoteValues = false});
    for (const auto& [key, value] : packaged.entries(desktop::kEntryGroup)) {
        ASSERT_NE(entry.find(desktop::kEntryGroup, key), nullptr) << key;
        if (key != "Exec" && key != "TryExec") {
            EXPECT_EQ(*entry.find(desktop::kEntryGroup, key), value) << key;
        }
    }
    EXPECT_EQ(*entry.find(desktop::kEntryGroup, "Exec"), "\"/opt/o r/orvalis\" %U");
    EXPECT_EQ(*entry.find(desktop::kEntryGroup, "TryExec"), "/opt/o r/orvalis");
}

// --- the page at OK ----------------------------------------------------------------------

TEST(AssociationPage, OkWritesTheBoxesAndTheSheetReadsThemBack) {
    Desktop d;
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    SettingsSheetModel sheet(store, prompter, {"/pics", "Linux"}, &d.associations, "/nowhere");
    sheet.open();
    sheet.values().setExtension(kMpg, true);
    sheet.values().setExtension(kDat, true);
    sheet.accept();
    EXPECT_TRUE(prompter.messages.empty());

    SettingsSheetModel again(store, prompter, {"/pics", "Linux"}, &d.associations, "/nowhere");
    again.open();
    EXPECT_EQ(again.values().extensions(), checked({4, 5, 7, 10, 11, 12}));
    EXPECT_FALSE(store.has("FileExt", "FileExt12"));  // the desktop holds them, not the store

    // A list that cannot be edited is told at OK; the store is written all the same.
    d.writeList("not a key file\n");
    again.values().setAllExtensions(false);
    again.accept();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, "Orvalis - 프로그램 연결");
    EXPECT_EQ(readFile(d.associations.mimeappsPath()), "not a key file\n");
}

TEST(AssociationPage, OkChangesOnlyTheBoxesTheUserChanged) {
    Desktop d;
    ASSERT_TRUE(d.associations.apply(checked({kAvi})).ok);
    // Set elsewhere: video/mpeg but not mp2's audio/mp2, audio/ogg but not ogg's other types.
    const std::string set =
        "[Default Applications]\nvideo/x-msvideo=orvalis.desktop;\nvideo/mpeg=orvalis.desktop;\n"
        "audio/ogg=orvalis.desktop;vlc.desktop;\n";
    d.writeList(set);
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    auto sheet = [&] {
        auto m = std::make_unique<SettingsSheetModel>(
            store, prompter, SheetEnvironment{"/p", "Linux"}, &d.associations, "/nowhere");
        m->open();
        return m;
    };
    auto untouched = sheet();
    EXPECT_EQ(untouched->values().extensions(), checked({kAvi}));
    untouched->values().setNumber("Config", "Interval", 20);
    untouched->accept();
    EXPECT_EQ(d.list(), set);

    auto changed = sheet();
    changed->values().setExtension(kMp3, true);
    changed->values().setExtension(kAvi, false);
    changed->accept();
    EXPECT_EQ(d.list(),
              "[Default Applications]\nvideo/mpeg=orvalis.desktop;\n"
              "audio/ogg=orvalis.desktop;vlc.desktop;\naudio/mpeg=orvalis.desktop;\n");
}

TEST(AssociationPage, ADisabledPageWritesNothing) {
    Desktop d;
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    SettingsSheetModel sheet(store, prompter, {"/pics", "98"}, &d.associations, "/nowhere");
    sheet.open();
    sheet.values().setAllExtensions(true);
    sheet.accept();
    EXPECT_FALSE(fileExists(d.associations.desktopEntryPath()));
    EXPECT_FALSE(fileExists(d.associations.mimeappsPath()));
}

}  // namespace
}  // namespace orvalis
