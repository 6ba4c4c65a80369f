// Every reader of a file the user names refuses a pipe, a folder and a device at once: none of
// them may hold the window waiting for a writer or read an endless device.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>

#include "base/AtomicFile.h"
#include "captions/CaptionModel.h"
#include "extras/BookmarkStore.h"
#include "extras/UrlListFile.h"
#include "playlist/ClrFile.h"
#include "playlist/ListFiles.h"
#include "settings/PageValues.h"
#include "settings/SettingsFile.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

// True when the reader refused the file; the reader runs beside the test so that one that
// blocks fails the test instead of hanging it.
bool refusedWithoutBlocking(const std::function<bool(const std::string&)>& refuses,
                            const std::string& path) {
    auto done = std::async(std::launch::async, refuses, path);
    if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << path << " blocked the reader";
        // Let the blocked reader go: a writer that comes and goes ends its wait.
        int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
        done.wait();
        return false;
    }
    return done.get();
}

TEST(SpecialFiles, EveryReaderRefusesAPipeAFolderAndADeviceAtOnce) {
    const std::string dir = test::freshDir("special");
    const std::string fifo = dir + "/list.m3u";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::MemorySettingsStore settings;

    using Refuses = std::function<bool(const std::string&)>;
    const std::pair<const char*, Refuses> readers[] = {
        {"whole file", [](auto& p) { return !readWholeFile(p); }},
        {"playlist",
         [](auto& p) {
             return listfiles::readListFile(p, listfiles::ListFormat::M3u).status ==
                    listfiles::ReadStatus::Unreadable;
         }},
        {"caption", [&](auto& p) { return !CaptionModel().parseCaptionFile(p, settings); }},
        {".clr", [](auto& p) { return clr::readFile(p).schemes.empty(); }},
        {"settings import",
         [](auto& p) {
             PageValues values;
             return importSettingsFile(values, p) == SettingsFileResult::CannotRead;
         }},
        {"URL list", [](auto& p) { return !readUrlFile(p); }},
        {"bookmarks",
         [&](auto& p) {
             BookmarkStore store(settings, p);
             store.load(test::mediaPath("demo.mp4"), 60);
             store.ready();
             return store.positions().empty();
         }},
    };
    for (const auto& [name, refuses] : readers)
        for (const std::string& path : {fifo, dir, std::string("/dev/zero")})
            EXPECT_TRUE(refusedWithoutBlocking(refuses, path)) << name << ": " << path;
}

TEST(SpecialFiles, ReadsStopAtTheirCap) {
    const std::string dir = test::freshDir("capped");
    test::writeFile(dir + "/big", std::string(5000, 'x'));
    EXPECT_FALSE(readWholeFile(dir + "/big", 4999));
    EXPECT_EQ(readWholeFile(dir + "/big", 5000)->size(), 5000u);
    EXPECT_EQ(readFileStart(dir + "/big", 100)->size(), 100u);
    EXPECT_FALSE(readFileStart(dir, 100));
    // Files of /proc say they are empty and are read to their end all the same.
    auto mounts = readWholeFile("/proc/self/mounts", 4u << 20);
    ASSERT_TRUE(mounts);
    EXPECT_FALSE(mounts->empty());
}

}  // namespace
}  // namespace orvalis
