#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <set>

#include "base/AtomicFile.h"
#include "base/IniSettingsStore.h"
#include "base/SettingsKeys.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::freshDir;
using orvalis::test::readFile;
using orvalis::test::writeFile;

namespace {

std::string storePath() { return freshDir("store") + "/Corvane SoftWare/Orvalis.conf"; }

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

TEST(SettingsKeys, EachKeyHasASectionAndNameOfItsOwn) {
    std::set<std::string> seen;  // the file matches names without regard to case
    for (const auto& k : settings::kAllKeys) {
        std::string id = std::string(k.section) + "/" + std::string(k.name);
        for (char& c : id) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(id).second) << id;
    }
}

TEST(SettingsKeys, EachReaderGetsItsDefaultAndEveryTypeReadsBackInTheFilesForm) {
    using C = settings::Context;
    // A default left out is the one before it: after the sheet as at start, reset as read.
    constexpr settings::IntKey all{"S", "k", {.start = 1, .afterSheet = 2, .sheet = 3, .reset = 4}};
    constexpr settings::IntKey some{"S", "k", {.start = 1, .sheet = 3}};
    EXPECT_EQ(std::vector({all.def(), all.def(C::AfterSheet), all.def(C::Sheet), all.def(C::SheetReset),
                           some.def(C::AfterSheet), some.def(C::SheetReset)}),
              std::vector({1, 2, 3, 4, 1, 3}));

    IniSettingsStore store(storePath());
    EXPECT_EQ(settings::get(store, keys::FontColor, C::AfterSheet), keys::FontColor.def(C::AfterSheet));
    settings::put(store, keys::FontSize, -27);
    settings::put(store, keys::FontBold, false);
    settings::put(store, keys::FontName, "나눔고딕");
    settings::put(store, keys::TrackColor2, colours::TrackRepeating);
    settings::put(store, keys::UrlName.in(settings::urlEntrySection(3)), "라디오");
    IniSettingsStore again(store.path());
    EXPECT_EQ(settings::get(again, keys::FontSize), -27);
    EXPECT_FALSE(settings::get(again, keys::FontBold));
    EXPECT_EQ(settings::get(again, keys::FontName), "나눔고딕");
    EXPECT_EQ(again.getInt("config\\control", "track color2", 0), colours::TrackRepeating);
    const std::string text = readFile(store.path());
    EXPECT_NE(text.find("[Caption]\nFontSize=-27\nFontBold=0\nFontName=나눔고딕\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Config\\Control]\nTrack Color2=16744576\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Config\\URL\\3]\nName=라디오\n"), std::string::npos) << text;
}

TEST(SettingsStore, StringsKeepEveryCharacterAndNestedSectionsAreIndependent) {
    IniSettingsStore store(storePath());
    const std::string tricky[] = {" leading and trailing ", "line\nbreak", "\"quoted\"",
                                  "C:\\new\\table", "a=b=c", "; not a comment", ""};
    for (size_t i = 0; i < std::size(tricky); ++i) store.putString("Strings", "k" + std::to_string(i), tricky[i]);
    store.putString(sections::PlaylistSkins, "SkinName", "Blue");
    store.putInt("Playlist\\Skins\\Black", "BackColor", 0);
    store.removeSection(sections::PlaylistSkins);
    IniSettingsStore again(store.path());
    for (size_t i = 0; i < std::size(tricky); ++i)
        EXPECT_EQ(again.getString("Strings", "k" + std::to_string(i), "?"), tricky[i]);
    EXPECT_EQ(again.getString(sections::PlaylistSkins, "SkinName", "none"), "none");
    EXPECT_EQ(again.getInt("Playlist\\Skins\\Black", "BackColor", 7), 0);
}

TEST(SettingsStore, BadIntegersAndGarbledFilesReadAsDefaultsAndStayUsable) {
    std::string path = storePath();
    makeDirectories(path.substr(0, path.rfind('/')));
    writeFile(path, "[Config]\nVolume=abc\nMute=1x\nInterval= 15 \nBig=4294967295\nHuge=99999999999\nNeg=-3000\n");
    IniSettingsStore store(path);
    EXPECT_EQ(std::vector({store.getInt("Config", "Volume", 5), store.getInt("Config", "Mute", 0),
                           store.getInt("Config", "Interval", 10), store.getInt("Config", "Big", 0),
                           store.getInt("Config", "Huge", 7), store.getInt("Config", "Neg", 0)}),
              std::vector({5, 0, 15, -1, 7, -3000}));  // 4294967295: the registry's unsigned form

    std::string junk;
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 7919) % 256);
    for (const std::string& contents : {std::string(), junk, std::string("=\n[\n]]]\n[Config\nVolume")}) {
        writeFile(path, contents);
        IniSettingsStore garbled(path);
        EXPECT_EQ(garbled.getInt("Config", "Volume", 5), 5);
        garbled.putInt("Config", "Volume", 9);
        EXPECT_EQ(IniSettingsStore(path).getInt("Config", "Volume", 5), 9);
    }
}

TEST(SettingsStore, WritesOfOtherProcessesAreSeenAndNeverLost) {
    IniSettingsStore store(storePath());
    store.putInt("Race", "start", 1);
    std::vector<pid_t> children;
    for (int c = 0; c < 4; ++c) {
        if (pid_t pid = fork(); pid != 0) {
            children.push_back(pid);
            continue;
        }
        IniSettingsStore s(store.path());
        for (int i = 0; i < 25; ++i) s.putInt("Race", std::to_string(c * 100 + i), i);
        _exit(0);
    }
    for (pid_t pid : children) waitpid(pid, nullptr, 0);
    // The store opened before sees them at its next read, and its next write keeps them.
    store.putInt("Race", "last", 1);
    IniSettingsStore fresh(store.path());
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 25; ++i) {
            EXPECT_EQ(store.getInt("Race", std::to_string(c * 100 + i), -1), i);
            EXPECT_EQ(fresh.getInt("Race", std::to_string(c * 100 + i), -1), i);
        }
}

TEST(SettingsStore, ABatchWritesOnceAndTheListKeepsAFileOfItsOwn) {
    IniSettingsStore store(storePath());
    EXPECT_EQ(store.listPath(), store.path().substr(0, store.path().size() - 5) + " Playlist.conf");
    const char* lists = sections::PlaylistLists;
    auto saveList = [&] {
        SettingsBatch batch(store);
        for (int i = 0; i < 20000; ++i) store.putString("playlist\\LISTS", std::to_string(i), "/m/노래 " + std::to_string(i));
        store.putInt(lists, "nItemCount", 20000);
    };
    {
        SettingsBatch batch(store);
        saveList();
        store.putInt(sections::Config, "Volume", 4);
        EXPECT_FALSE(fileExists(store.path()) || fileExists(store.listPath()));
        EXPECT_EQ(store.getInt(lists, "nItemCount", 0), 20000);
    }
    const ino_t listFile = inodeOf(store.listPath());
    ASSERT_NE(listFile, 0u);
    saveList();  // the same list saved again
    store.putInt(sections::Playlist, "Alpha", 30);
    EXPECT_EQ(inodeOf(store.listPath()), listFile) << "a put rewrote the list";
    EXPECT_EQ(readFile(store.path()).find("Lists"), std::string::npos);
    for (const std::string& file : {store.path(), store.listPath()}) {
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u) << file;  // the settings stay their owner's
    }
    // Another process sees a change of either file at its next read.
    IniSettingsStore other(store.path());
    EXPECT_EQ(other.keys(lists).size(), 20001u);
    store.putString(lists, "19999", "/m/changed");
    store.removeKey(lists, "19998");
    EXPECT_EQ(other.getString(lists, "19999"), "/m/changed");
    EXPECT_EQ(other.getString(lists, "19998", "gone"), "gone");
    EXPECT_EQ(other.getInt(sections::Config, "Volume", 5), 4);
}

TEST(SettingsStore, AListInTheSettingsFileMovesToItsOwnFileWhole) {
    std::string path = storePath();
    makeDirectories(path.substr(0, path.rfind('/')));
    const std::string old = "[Config]\nVolume=8\n[Playlist\\Lists]\nnItemCount=3\n0=/v/가.avi\n"
                            "1=\" /v/blank \"\n2=http://x/y\nCurrent=/v/가.avi\n[Playlist]\nAlpha=20\n";
    auto expectOldValues = [](const IniSettingsStore& s) {
        const char* lists = sections::PlaylistLists;
        EXPECT_EQ(std::vector({s.getString(lists, "0"), s.getString(lists, "1"), s.getString(lists, "Current")}),
                  std::vector<std::string>({"/v/가.avi", " /v/blank ", "/v/가.avi"}));
        EXPECT_EQ(s.keys(lists).size(), 5u);
        EXPECT_EQ(std::pair(s.getInt(sections::Config, "Volume", 5), s.getInt(sections::Playlist, "Alpha", 0)),
                  std::pair(8, 20));
    };
    // Its list file could not be written (a folder stands in its place): the list stays
    // where it is, still read from there, and the failure is told.
    {
        writeFile(path, old);
        ::mkdir(IniSettingsStore::listPathFor(path).c_str(), 0700);
        IniSettingsStore store(path);
        store.putInt(sections::Config, "Mute", 1);
        EXPECT_FALSE(store.lastWriteSucceeded());
        expectOldValues(store);
        expectOldValues(IniSettingsStore(path));
        ::rmdir(IniSettingsStore::listPathFor(path).c_str());
    }
    // A stale list file (a move cut short, or an older copy of the program that wrote the
    // list where it used to be) loses to the list in the settings file.
    writeFile(path, old);
    writeFile(IniSettingsStore::listPathFor(path), "[Playlist\\Lists]\nnItemCount=1\n0=/stale\n9=/stale\n");
    IniSettingsStore store(path);
    expectOldValues(store);
    store.putInt(sections::Config, "Mute", 1);
    EXPECT_TRUE(store.lastWriteSucceeded());
    EXPECT_EQ(readFile(path).find("Lists"), std::string::npos) << readFile(path);
    EXPECT_NE(readFile(store.listPath()).find("0=/v/가.avi"), std::string::npos);
    expectOldValues(IniSettingsStore(path));
    EXPECT_EQ(IniSettingsStore(path).getInt(sections::Config, "Mute", 0), 1);
}
