// File associations on a freedesktop desktop, in the test's private XDG home: the desktop
// entry, the user's mimeapps.list kept whole, and reading the boxes back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "base/AtomicFile.h"
#include "base/DesktopEntry.h"
#include "settings/FileAssociations.h"
#include "settings/SettingsSheetModel.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

using test::readFile;
using test::writeFile;

constexpr int kAvi = 2, kDat = 3, kMp3 = 8, kMpa = 9, kMpg = 12;
const std::string kDefaults = "[Default Applications]\n";

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
    ASSERT_TRUE(d.associations.apply(checked({kAvi, kMp3, kMpa})).ok);
    EXPECT_EQ(d.associations.read(), checked({kAvi, kMp3, kMpa}));
    std::string entry = readFile(d.associations.desktopEntryPath());
    EXPECT_NE(entry.find("\nExec=\"/opt/orvalis/bin/orvalis\" %U\n"), std::string::npos);
    EXPECT_EQ(d.list(), kDefaults + "video/x-msvideo=orvalis.desktop;\naudio/mpeg=orvalis.desktop;\n");

    // An entry that starts a copy of the program elsewhere reads every box clear; the keys a
    // user added to it stay when it is written again.
    writeFile(d.associations.desktopEntryPath(), "[Desktop Entry]\nExec=/elsewhere/orvalis %U\nIcon=/home/me/o.png\n");
    EXPECT_EQ(d.associations.read(), ExtensionStates{});
    ASSERT_TRUE(d.associations.apply(checked({kAvi})).ok);
    EXPECT_EQ(d.associations.read(), checked({kAvi}));
    EXPECT_NE(readFile(d.associations.desktopEntryPath()).find("Icon=/home/me/o.png\n"), std::string::npos);
}

TEST(DesktopAssociations, TheUsersOwnChoicesComeBackWhenBoxesAreCleared) {
    Desktop d;
    std::string before =
        "# my own defaults\n[Default Applications]\ntext/plain = org.gnome.gedit.desktop\n"
        "video/x-msvideo=vlc.desktop;mpv.desktop\naudio/mpeg=audacious.desktop;\n\n"
        "[Added Associations]\nvideo/x-msvideo=vlc.desktop;\n";
    d.writeList(before);
    ASSERT_TRUE(d.associations.apply(checked({kAvi, kMp3})).ok);
    std::string during = d.list();
    EXPECT_NE(during.find("video/x-msvideo=orvalis.desktop;vlc.desktop;mpv.desktop\n"), std::string::npos);
    EXPECT_NE(during.find("audio/mpeg=orvalis.desktop;audacious.desktop;\n"), std::string::npos);
    ASSERT_TRUE(d.associations.apply(ExtensionStates{}).ok);
    EXPECT_EQ(d.list(), before);

    // A box cleared drops our old default and keeps the user's.
    d.writeList(kDefaults + "audio/mpeg=orvalis.desktop;\naudio/x-wav=orvalis.desktop;vlc.desktop;\n");
    ASSERT_TRUE(d.associations.apply(checked({kAvi})).ok);
    EXPECT_EQ(d.list(), kDefaults + "audio/x-wav=vlc.desktop;\nvideo/x-msvideo=orvalis.desktop;\n");
}

TEST(DesktopAssociations, TheDesktopsOwnListDecidesAndIsWrittenWhereItDecides) {
    Desktop d;
    d.places.desktopNames = {"kde"};
    DesktopAssociations kde(d.places);
    const std::string kdeList = d.places.configHome + "/kde-mimeapps.list";
    const std::string own = kDefaults + "video/x-msvideo=dragon.desktop;\n";
    d.writeList(kDefaults + "video/x-msvideo=orvalis.desktop;\nvideo/ogg=orvalis.desktop;\n");
    writeFile(kdeList, own);
    EXPECT_FALSE(kde.read()[kAvi]);  // the desktop's own list comes first
    ASSERT_TRUE(kde.apply(checked({kAvi, kMp3})).ok);
    EXPECT_EQ(kde.read(), checked({kAvi, kMp3, kMpa}));  // what the desktop will use
    EXPECT_EQ(readFile(kdeList), kDefaults + "video/x-msvideo=orvalis.desktop;dragon.desktop;\n");
    EXPECT_NE(d.list().find("audio/mpeg=orvalis.desktop;"), std::string::npos);

    ASSERT_TRUE(kde.apply(ExtensionStates{}).ok);
    EXPECT_EQ(readFile(kdeList), own);
    EXPECT_EQ(kde.read(), ExtensionStates{});
}

TEST(DesktopAssociations, AListThatCannotBeEditedSafelyChangesNothing) {
    Desktop d;
    for (const std::string& content :
         {kDefaults + "video/x-msvideo=vlc.desktop;\n\xC3\x28\n", kDefaults + "just some words\n",
          "text/plain=gedit.desktop;\n" + kDefaults}) {
        d.writeList(content);
        AssociationOutcome out = d.associations.apply(checked({kAvi}));
        EXPECT_FALSE(out.ok);
        EXPECT_NE(out.message.find("프로그램 연결을 바꾸지 않았습니다."), std::string::npos);
        EXPECT_NE(out.message.find(d.associations.mimeappsPath()), std::string::npos);
        EXPECT_TRUE(d.list() == content && !fileExists(d.associations.desktopEntryPath()));
    }
    d.writeList(kDefaults);
    ::chmod(d.associations.mimeappsPath().c_str(), 0444);
    AssociationOutcome out = d.associations.apply(checked({kAvi}));
    EXPECT_EQ(out.message.rfind("연결 설정 파일에 쓸 수 없어", 0), 0u);
    EXPECT_EQ(d.list(), kDefaults);
}

TEST(DesktopAssociations, ALinkIsFollowedOnlyWithinTheUsersFolders) {
    char outside[] = "/tmp/orvalis-system-XXXXXX";  // not below the (private) home
    ASSERT_NE(::mkdtemp(outside), nullptr);
    for (const std::string& target : {test::freshDir("dotfiles") + "/mimeapps.list", std::string(outside) + "/mimeapps.list"}) {
        Desktop d;
        const bool own = target.rfind(outside, 0) != 0;
        writeFile(target, kDefaults);
        makeDirectories(d.places.configHome);
        ASSERT_EQ(::symlink(target.c_str(), d.associations.mimeappsPath().c_str()), 0);
        EXPECT_EQ(d.associations.apply(checked({kAvi})).ok, own) << target;
        struct stat st {};
        EXPECT_TRUE(::lstat(d.associations.mimeappsPath().c_str(), &st) == 0 && S_ISLNK(st.st_mode));
        EXPECT_EQ(readFile(target) != kDefaults, own) << target;
        ::unlink(target.c_str());
    }
    ::rmdir(outside);
}

TEST(DesktopAssociations, ProgramPathsSurviveTheEntrysQuotingWhichNamesEveryTypeABoxClaims) {
    for (std::string path : {"/opt/my player/orvalis", "/x/\"quoted\"/o", "/x/$HOME/`o`",
                             "/x/back\\slash", "/x/100%/orvalis", "/x/한글/orvalis"})
        EXPECT_EQ(execProgram(desktopEntryExec(path)), path) << desktopEntryExec(path);
    EXPECT_EQ(execProgram("/usr/bin/vlc --started-from-file %U"), "/usr/bin/vlc");
    EXPECT_EQ(execProgram("\"/unterminated %U"), std::nullopt);
    for (const auto& type : associatedMimeTypes())
        EXPECT_NE(std::ranges::find(desktop::supportedMimeTypes(), type), desktop::supportedMimeTypes().end()) << type;
    AssociationPlaces relative{"/c", "/d", "relative/orvalis", {}};
    EXPECT_FALSE(DesktopAssociations(relative).apply(checked({kAvi})).ok);
}

// --- the page at OK ----------------------------------------------------------------------

struct Sheets {
    Desktop d;
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    std::unique_ptr<SettingsSheetModel> open() {
        auto m = std::make_unique<SettingsSheetModel>(store, prompter, SheetEnvironment{"/p", "Linux"},
                                                      &d.associations, "/nowhere");
        m->open();
        return m;
    }
};

TEST(AssociationPage, OkChangesOnlyTheBoxesTheUserChangedAndTellsAFailure) {
    Sheets s;
    ASSERT_TRUE(s.d.associations.apply(checked({kAvi})).ok);
    // Set elsewhere: video/mpeg but not mp2's audio/mp2, audio/ogg but not ogg's other types.
    const std::string set = kDefaults + "video/x-msvideo=orvalis.desktop;\nvideo/mpeg=orvalis.desktop;\n"
                                        "audio/ogg=orvalis.desktop;vlc.desktop;\n";
    s.d.writeList(set);
    auto untouched = s.open();
    EXPECT_EQ(untouched->values().extensions(), checked({kAvi}));
    untouched->values().setNumber("Config", "Interval", 20);
    untouched->accept();
    EXPECT_EQ(s.d.list(), set);

    auto changed = s.open();
    changed->values().setExtension(kMp3, true);
    changed->values().setExtension(kAvi, false);
    changed->values().setExtension(kMpg, true);  // and its whole group
    changed->values().setExtension(kDat, true);  // a box with no type here
    changed->accept();
    EXPECT_TRUE(s.prompter.messages.empty());
    EXPECT_EQ(s.open()->values().extensions(), checked({kMp3, kMpa, 4, 5, 7, 10, 11, 12}));
    EXPECT_NE(s.d.list().find("audio/ogg=orvalis.desktop;vlc.desktop;\n"), std::string::npos);
    EXPECT_FALSE(s.store.has("FileExt", "FileExt12"));  // the desktop holds them, not the store

    // A list that cannot be edited is told at OK; the store is written all the same.
    s.d.writeList("not a key file\n");
    changed->values().setAllExtensions(false);
    changed->values().setNumber("Config", "Interval", 30);
    changed->accept();
    ASSERT_EQ(s.prompter.messages.size(), 1u);
    EXPECT_EQ(s.prompter.messages[0].title, "Orvalis - 프로그램 연결");
    EXPECT_EQ(s.d.list(), "not a key file\n");
    EXPECT_EQ(s.store.getInt("Config", "Interval", 0), 30);
}

}  // namespace
}  // namespace orvalis
