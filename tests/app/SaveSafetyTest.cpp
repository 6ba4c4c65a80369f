// Every file the player writes, through the player's own writing code: a writer killed at
// any moment leaves each of its files as one whole save made it, and a full disk leaves the
// old files as they were and is reported to the caller.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "base/AtomicFile.h"
#include "base/IniSettingsStore.h"
#include "extras/BookmarkStore.h"
#include "extras/CaptureFile.h"
#include "extras/UrlListFile.h"
#include "playlist/ClrFile.h"
#include "playlist/Playlist.h"
#include "settings/FileAssociations.h"
#include "settings/PageValues.h"
#include "settings/SettingsFile.h"
#include "support/TestSupport.h"

using namespace orvalis;
namespace fs = std::filesystem;

namespace {

// One writer: save(dir, version) writes version 0 or 1 of its files below dir and returns
// what the program takes for success (false makes its caller tell the user).
struct Writer {
    const char* name;
    std::function<bool(const std::string& dir, int version)> save;
};

void PrintTo(const Writer& writer, std::ostream* out) {
    *out << writer.name;
}

// Text of a few kilobytes and more that differs between the versions.
std::string filler(int version, int i) {
    return (version ? "/영화/둘째 " : "/music/first ") + std::to_string(i) +
           std::string(i % 40, 'x');
}

bool saveSettings(const std::string& dir, int version) {
    IniSettingsStore store(dir + "/Orvalis.conf");
    std::string text;
    for (int i = 0; i < 200; ++i) text += filler(version, i);
    store.putString("Config", "Big", text);
    return store.lastWriteSucceeded();
}

// A play list of rows, in the settings (the stored list) or in a list file.
struct ListWriter {
    ListWriter(SettingsStore& store, int rows, int version, const char* ext)
        : list(store, prompter, files) {
        for (int i = 0; i < rows; ++i) {
            const std::string path = filler(version, i) + ext;
            list.model().append({listfiles::displayNameOf(path), path});
        }
    }
    test::FakePrompter prompter;
    LocalFileSystem files;
    Playlist list;
};

bool saveStoredList(const std::string& dir, int version) {
    IniSettingsStore store(dir + "/Orvalis.conf");
    ListWriter(store, 100 + version * 20, version, ".avi").list.save();
    return store.lastWriteSucceeded();
}

bool saveListFile(const std::string& dir, int version) {
    test::MemorySettingsStore settings;
    ListWriter writer(settings, 200, version, ".mp3");
    writer.prompter.saveAnswers.push_back(dir + "/list.m3u");  // and yes, replace it
    writer.list.SaveList();
    const auto& asked = writer.prompter.messages;  // the replace question, never the error
    return std::none_of(asked.begin(), asked.end(), [](const MessageRequest& m) {
        return m.title == "Orvalis - 목록 파일 저장 오류";
    });
}

bool saveBookmarks(const std::string& dir, int version) {
    test::MemorySettingsStore settings;
    BookmarkStore store(settings, dir + "/Bookmark.ini");
    store.load(filler(version, 0) + ".avi", 10000);
    store.clear();
    for (int s = 1; s <= 50; ++s) store.toggle(s * (7 + version));
    return store.save();
}

bool saveUrlList(const std::string& dir, int version) {
    std::vector<StreamEntry> entries;
    for (int i = 0; i < 100; ++i)
        entries.push_back({filler(version, i), "http://radio.example/" + std::to_string(i)});
    return writeUrlFile(dir + "/URL.txt", entries);
}

bool saveClrExport(const std::string& dir, int version) {
    std::vector<ColorScheme> schemes;
    for (int i = 0; i < 30 + version * 10; ++i)
        schemes.push_back({"색상 " + std::to_string(i), 1u * i, 2, 3, 4});
    return clr::writeFile(dir + "/Orvalis.clr", schemes);
}

bool saveSettingsExport(const std::string& dir, int version) {
    PageValues values(SheetEnvironment{"/home/me/Pictures", "Linux"});
    std::vector<std::string> folders;
    for (int i = 0; i < 100; ++i) folders.push_back(filler(version, i));
    values.setList("Caption\\Caption Folders", "Count", folders);
    return exportSettingsFile(values, dir + "/Orvalis.ini") == SettingsFileResult::Done;
}

// The desktop entry and mimeapps.list: the program moved (a new entry), its boxes all
// checked or all cleared (the defaults in the list).
bool saveAssociations(const std::string& dir, int version) {
    AssociationPlaces places{
        dir + "/config",
        dir + "/data",
        version ? "/opt/orvalis/bin/orvalis" : "/usr/local/games/orvalis/orvalis",
        {}};
    DesktopAssociations desktop(places, {});
    ExtensionStates wanted;
    wanted.fill(version == 0);
    return desktop.apply(wanted).ok;
}

// A capture never replaces a file: each save adds one, which is whole or not there.
bool saveCaptureFile(const std::string& dir, int) {
    return capture::saveCapture(dir + "/clip", std::string(8000, 'p')).has_value();
}

const Writer kWriters[] = {
    {"settings", saveSettings},
    {"stored_list", saveStoredList},
    {"list_file", saveListFile},
    {"bookmarks", saveBookmarks},
    {"url_list", saveUrlList},
    {"clr_export", saveClrExport},
    {"settings_export", saveSettingsExport},
    {"associations", saveAssociations},
    {"captures", saveCaptureFile},
};

// The files below dir (temporary ones of a killed writer left out) and their bytes.
std::map<std::string, std::string> filesBelow(const std::string& dir, bool all = false) {
    std::map<std::string, std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = entry.path().filename().string();
        const std::string ext = entry.path().extension().string();
        const bool known = name == "URL.txt" || name == "mimeapps.list" || ext == ".conf" ||
                           ext == ".m3u" || ext == ".ini" || ext == ".clr" || ext == ".desktop" ||
                           ext == ".bmp";
        if (all || known) out[entry.path().string()] = test::readFile(entry.path().string());
    }
    return out;
}

// Kills and full disks run on a memory file system where there is one: what is tested is
// what a killed process leaves, and a flush to a real disk would only make it slow.
std::string scratchDir(const std::string& name) {
    std::string pattern = "/dev/shm/orvalis-" + name + "-XXXXXX";
    return ::access("/dev/shm", W_OK) == 0 && ::mkdtemp(pattern.data()) ? pattern
                                                                        : test::freshDir(name);
}

class SaveSafety : public ::testing::TestWithParam<Writer> {
protected:
    void SetUp() override {
        dir = scratchDir(GetParam().name);
        // Each way twice, so that files which keep what other saves wrote (bookmarks of
        // other media, keys of an existing export) reach the two states they alternate in.
        for (int version : {0, 1, 0, 1}) {
            const auto start = std::chrono::steady_clock::now();
            ASSERT_TRUE(GetParam().save(dir, version));
            saveTime = std::chrono::steady_clock::now() - start;
            if (version == 0) wholeSaves.clear();
            for (auto& [path, bytes] : filesBelow(dir)) wholeSaves.insert(bytes);
        }
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string dir;
    std::chrono::steady_clock::duration saveTime{};
    std::set<std::string> wholeSaves;  // every state a complete save leaves a file in
};

TEST_P(SaveSafety, AWriterKilledAtAnyMomentLeavesEveryFileWhole) {
    auto* saves = static_cast<std::atomic<long>*>(::mmap(nullptr, sizeof(std::atomic<long>),
                                                         PROT_READ | PROT_WRITE,
                                                         MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(saves, MAP_FAILED);
    new (saves) std::atomic<long>(0);
    std::mt19937 random(std::random_device{}());
    const auto slice = std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count() + 1;

    int kills = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (saves->load() < 200 || kills < 10) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << saves->load() << " saves";
        const long before = saves->load();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int version = before % 2;; version ^= 1) {
                GetParam().save(dir, version);
                ++*saves;
            }
        }
        // Some whole saves, then a moment anywhere inside the next one.
        const long wanted = before + static_cast<long>(random() % 20);
        while (saves->load() < wanted && std::chrono::steady_clock::now() < deadline) ::usleep(20);
        ::usleep(static_cast<useconds_t>(random() % slice));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the writer died on its own";
        ++kills;
        for (const auto& [path, bytes] : filesBelow(dir))
            ASSERT_TRUE(wholeSaves.count(bytes)) << path << " is no whole save after " << kills
                                                 << " kills (" << bytes.size() << " bytes)";
    }
    ::munmap(saves, sizeof *saves);
}

TEST_P(SaveSafety, AFullDiskKeepsTheOldFilesAndSaysSo) {
    const auto before = filesBelow(dir, true);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::_Exit(GetParam().save(dir, 0) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a failed save was taken for a success";
    EXPECT_EQ(filesBelow(dir, true), before) << "the old files changed, or a piece was left";
}

INSTANTIATE_TEST_SUITE_P(EveryFile, SaveSafety, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
