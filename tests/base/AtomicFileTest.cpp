#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "base/AtomicFile.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

void makeFile(const std::string& path, long ageSeconds) {
    test::writeFile(path, "left over");
    const timespec when{::time(nullptr) - ageSeconds, 0};
    const timespec times[2] = {when, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(AtomicFile, AWriterKilledWhileWritingLeavesNothingBesideTheFile) {
    const std::string dir = test::freshDir("killed-writer");
    const int probe = ::open(dir.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) GTEST_SKIP() << "this file system has no unnamed files";
    ::close(probe);
    const std::string target = dir + "/big.conf";
    ASSERT_TRUE(writeFileAtomically(target, "old"));

    int started[2];
    ASSERT_EQ(::pipe(started), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string big(256 << 20, 'x');  // long enough to be killed inside the write
        for (;;) {
            if (::write(started[1], "s", 1) != 1) std::_Exit(1);
            writeFileAtomically(target, big);
        }
    }
    char c;
    ASSERT_EQ(::read(started[0], &c, 1), 1);
    ::usleep(20 * 1000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(started[0]);
    ::close(started[1]);
    EXPECT_EQ(namesIn(dir), std::set<std::string>{"big.conf"});
}

TEST(AtomicFile, ASaveRemovesOnlyTheStaleTemporariesOfItsOwnFile) {
    const std::string dir = test::freshDir("stale-temporaries");
    makeFile(dir + "/list.conf.orvalis-Ab3dE9", 3600);     // a killed writer's, an hour old
    makeFile(dir + "/list.conf.orvalis-Zz9yX1", 5);        // another writer's, still being written
    makeFile(dir + "/list.conf.backup", 3600);     // the user's own
    makeFile(dir + "/other.conf.orvalis-Qw8eR7", 3600);    // another file's
    ASSERT_TRUE(writeFileAtomically(dir + "/list.conf", "new"));
    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"list.conf", "list.conf.orvalis-Zz9yX1", "list.conf.backup",
                                                   "other.conf.orvalis-Qw8eR7"}));
}

}  // namespace
}  // namespace orvalis
