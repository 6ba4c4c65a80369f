#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>


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

}  // namespace

TEST(SettingsStore, DefaultsComeFromEachReaderAndValuesRoundTrip) {
    IniSettingsStore store(storePath());
    EXPECT_EQ(store.getInt(sections::Caption, "FontSize", 37), 37);
    EXPECT_EQ(store.getInt(sections::Caption, "FontSize", 20), 20);
    EXPECT_EQ(store.getString(sections::Caption, "FontName", "돋움"), "돋움");

    store.putInt(sections::Caption, "FontSize", -27);
    store.putString(sections::Caption, "FontName", "나눔고딕");
    store.putInt(sections::ConfigControl, "Track Color2", 16744576);
    EXPECT_EQ(store.getInt(sections::Caption, "FontSize", 37), -27);
    EXPECT_EQ(store.getString(sections::Caption, "FontName"), "나눔고딕");
    EXPECT_EQ(store.getInt("config\\control", "track color2", 0), 16744576);

    // A fresh store on the same file reads what was written, names verbatim.
    IniSettingsStore again(store.path());
    EXPECT_EQ(again.getInt(sections::ConfigControl, "Track Color2", 0), 16744576);
    std::string text = readFile(store.path());
    EXPECT_NE(text.find("[Config\\Control]\nTrack Color2=16744576\n"), std::string::npos) << text;
    struct stat st {};
    ASSERT_EQ(::stat(store.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // the settings stay their owner's
}

TEST(SettingsStore, NestedSectionsAreIndependent) {
    IniSettingsStore store(storePath());
    store.putString(sections::PlaylistSkins, "SkinName", "Blue");
    store.putInt("Playlist\\Skins\\Black", "BackColor", 0);
    store.putInt(sections::Playlist, "Alpha", 20);
    store.removeSection(sections::PlaylistSkins);
    EXPECT_EQ(store.getString(sections::PlaylistSkins, "SkinName", "none"), "none");
    EXPECT_EQ(store.getInt("Playlist\\Skins\\Black", "BackColor", 7), 0);
    EXPECT_EQ(store.getInt(sections::Playlist, "Alpha", 0), 20);
}

TEST(SettingsStore, StringsKeepEveryCharacter) {
    IniSettingsStore store(storePath());
    const std::string tricky[] = {" leading and trailing ", "line\nbreak", "\"quoted\"",
                                  "C:\\new\\table", "a=b=c", "; not a comment", ""};
    for (size_t i = 0; i < std::size(tricky); ++i)
        store.putString("Strings", "k" + std::to_string(i), tricky[i]);
    IniSettingsStore again(store.path());
    for (size_t i = 0; i < std::size(tricky); ++i)
        EXPECT_EQ(again.getString("Strings", "k" + std::to_string(i), "?"), tricky[i]);
}

TEST(SettingsStore, IntegersOutsideTheirFormReadAsMissing) {
    std::string path = storePath();
    makeDirectories(path.substr(0, path.rfind('/')));
    writeFile(path, "[Config]\nVolume=abc\nMute=1x\nInterval= 15 \nBig=4294967295\nHuge=99999999999\n"
                    "Neg=-3000\n");
    IniSettingsStore store(path);
    EXPECT_EQ(store.getInt(sections::Config, "Volume", 5), 5);
    EXPECT_EQ(store.getInt(sections::Config, "Mute", 0), 0);
    EXPECT_EQ(store.getInt(sections::Config, "Interval", 10), 15);
    EXPECT_EQ(store.getInt(sections::Config, "Big", 0), -1);  // the registry's unsigned form
    EXPECT_EQ(store.getInt(sections::Config, "Huge", 7), 7);
    EXPECT_EQ(store.getInt(sections::Config, "Neg", 0), -3000);
}

TEST(SettingsStore, GarbledOrEmptyFilesReadAsDefaultsAndStayUsable) {
    std::string path = storePath();
    makeDirectories(path.substr(0, path.rfind('/')));
    std::string junk;
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 7919) % 256);
    for (const std::string& contents : {std::string(), junk, std::string("=\n[\n]]]\n[Config\nVolume")}) {
        writeFile(path, contents);
        IniSettingsStore store(path);
        EXPECT_EQ(store.getInt(sections::Config, "Volume", 5), 5);
        store.putInt(sections::Config, "Volume", 9);
        EXPECT_EQ(IniSettingsStore(path).getInt(sections::Config, "Volume", 5), 9);
    }
}

TEST(SettingsStore, AnotherProcessesWriteIsSeenAndNotLost) {
    IniSettingsStore store(storePath());
    store.putInt(sections::Config, "Volume", 3);
    EXPECT_EQ(store.getInt(sections::Config, "Volume", 5), 3);

    pid_t child = fork();
    if (child == 0) {
        IniSettingsStore other(store.path());
        other.putString(sections::Config, "ShellFileName", "/media/a.avi;");
        other.putInt(sections::Config, "Volume", 12);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(store.getInt(sections::Config, "Volume", 5), 12);
    EXPECT_EQ(store.getString(sections::Config, "ShellFileName"), "/media/a.avi;");

    // Our next write keeps what the other process wrote.
    store.putInt(sections::Config, "Mute", 1);
    IniSettingsStore fresh(store.path());
    EXPECT_EQ(fresh.getString(sections::Config, "ShellFileName"), "/media/a.avi;");
    EXPECT_EQ(fresh.getInt(sections::Config, "Mute", 0), 1);
}

TEST(SettingsStore, ManyProcessesWritingAtOnceLoseNothing) {
    std::string path = storePath();
    IniSettingsStore(path).putInt("Race", "start", 1);
    std::vector<pid_t> children;
    for (int c = 0; c < 4; ++c) {
        pid_t pid = fork();
        if (pid == 0) {
            IniSettingsStore s(path);
            for (int i = 0; i < 25; ++i) s.putInt("Race", "p" + std::to_string(c) + "_" + std::to_string(i), i);
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) waitpid(pid, nullptr, 0);
    IniSettingsStore s(path);
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(s.getInt("Race", "p" + std::to_string(c) + "_" + std::to_string(i), -1), i);
}

TEST(SettingsStore, BatchesWriteOnceAtTheEnd) {
    IniSettingsStore store(storePath());
    {
        SettingsBatch batch(store);
        for (int i = 0; i < 20000; ++i) store.putString(sections::PlaylistLists, std::to_string(i), "/m/" + std::to_string(i));
        store.putInt(sections::PlaylistLists, "nItemCount", 20000);
        store.putInt(sections::Config, "Volume", 4);
        EXPECT_FALSE(fileExists(store.path()));
        EXPECT_FALSE(fileExists(store.listPath()));
        EXPECT_EQ(store.getInt(sections::PlaylistLists, "nItemCount", 0), 20000);
    }
    IniSettingsStore again(store.path());
    EXPECT_EQ(again.getString(sections::PlaylistLists, "19999"), "/m/19999");
    EXPECT_EQ(again.keys(sections::PlaylistLists).size(), 20001u);
    EXPECT_EQ(again.getInt(sections::Config, "Volume", 5), 4);
}

namespace {

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

TEST(SettingsStore, TheListKeepsAFileOfItsOwnThatOtherPutsLeaveAlone) {
    IniSettingsStore store(storePath());
    EXPECT_EQ(store.listPath(), store.path().substr(0, store.path().size() - 5) + " Playlist.conf");
    {
        SettingsBatch batch(store);
        for (int i = 0; i < 1000; ++i) store.putString("playlist\\LISTS", std::to_string(i), "/m/노래 " + std::to_string(i));
        store.putInt(sections::PlaylistLists, "nItemCount", 1000);
    }
    const ino_t listFile = inodeOf(store.listPath());
    ASSERT_NE(listFile, 0u);
    {
        SettingsBatch batch(store);  // the same list saved again
        for (int i = 0; i < 1000; ++i) store.putString(sections::PlaylistLists, std::to_string(i), "/m/노래 " + std::to_string(i));
    }
    store.putInt(sections::Config, "Always On Top", 1);
    store.putInt(sections::Playlist, "Alpha", 30);
    EXPECT_EQ(inodeOf(store.listPath()), listFile) << "a put rewrote the list";
    EXPECT_EQ(readFile(store.path()).find("Lists"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(store.listPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // Another process sees a change of either file at its next read.
    IniSettingsStore other(store.path());
    EXPECT_EQ(other.getString(sections::PlaylistLists, "999"), "/m/노래 999");
    store.putString(sections::PlaylistLists, "999", "/m/changed");
    store.removeKey(sections::PlaylistLists, "998");
    EXPECT_EQ(other.getString(sections::PlaylistLists, "999"), "/m/changed");
    EXPECT_EQ(other.getString(sections::PlaylistLists, "998", "gone"), "gone");
    EXPECT_EQ(other.getInt(sections::Config, "Always On Top", 0), 1);
}

TEST(SettingsStore, AListInTheSettingsFileMovesToItsOwnFileWhole) {
    std::string path = storePath();
    makeDirectories(path.substr(0, path.rfind('/')));
    const std::string old = "[Config]\nVolume=8\n[Playlist\\Lists]\nnItemCount=3\n0=/v/가.avi\n"
                            "1=\" /v/blank \"\n2=http://x/y\nCurrent=/v/가.avi\n[Playlist]\nAlpha=20\n";
    auto expectOldValues = [](const IniSettingsStore& s) {
        EXPECT_EQ(s.getInt(sections::PlaylistLists, "nItemCount", 0), 3);
        EXPECT_EQ(s.getString(sections::PlaylistLists, "0"), "/v/가.avi");
        EXPECT_EQ(s.getString(sections::PlaylistLists, "1"), " /v/blank ");
        EXPECT_EQ(s.getString(sections::PlaylistLists, "Current"), "/v/가.avi");
        EXPECT_EQ(s.keys(sections::PlaylistLists).size(), 5u);
        EXPECT_EQ(s.getInt(sections::Config, "Volume", 5), 8);
        EXPECT_EQ(s.getInt(sections::Playlist, "Alpha", 0), 20);
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
    IniSettingsStore fresh(path);
    expectOldValues(fresh);
    EXPECT_EQ(fresh.getInt(sections::Config, "Mute", 0), 1);
}
