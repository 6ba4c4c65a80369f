#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "player/OpticalDrives.h"
#include "support/TestSupport.h"

using namespace orvalis;
using namespace orvalis::optical;
using orvalis::test::freshDir;
using orvalis::test::writeFile;

namespace {

const char* kMediaPatterns =
    "*.wmv;*.avi;*.asf;*.mpg;*.mpe;*.mpeg;*.mpa;*.dat;*.m1v;*.m2v;*.vob;*.mp3;*.mp2;*.wma;*.wav;"
    "*.wax;*.wmx;*.wvx;*.divx;*.ogg;*.ogm;";

void blockDevice(const std::string& root, const std::string& name, const std::string& type) {
    std::filesystem::create_directories(root + "/" + name + "/device");
    writeFile(root + "/" + name + "/device/type", type);
}

}  // namespace

TEST(OpticalDrives, FindsAtMostTwoCdDrivesInNaturalOrder) {
    std::string sys = freshDir("sysblock");
    blockDevice(sys, "sda", "0\n");
    blockDevice(sys, "sr10", "5\n");
    blockDevice(sys, "sr2", "5\n");
    blockDevice(sys, "sr0", "5\n");
    std::filesystem::create_directories(sys + "/loop0");  // no device folder at all
    EXPECT_EQ(findDrives(sys), (std::vector<std::string>{"sr0", "sr2"}));

    std::string one = freshDir("sysblock-one");
    blockDevice(one, "nvme0n1", "0");
    blockDevice(one, "sr1", "5");
    EXPECT_EQ(findDrives(one), (std::vector<std::string>{"sr1"}));

    EXPECT_TRUE(findDrives(freshDir("sysblock-none")).empty());
    EXPECT_TRUE(findDrives("/nonexistent/sys/block").empty());
    EXPECT_EQ(chooseDrives({"sr9", "sr10", "sr9", "sr08"}),
              (std::vector<std::string>{"sr08", "sr9"}));
}

TEST(OpticalDrives, MountsTableAndNewlyInsertedDiscs) {
    const std::string before =
        "sysfs /sys sysfs rw,nosuid 0 0\n"
        "/dev/sda1 / ext4 rw,relatime 0 0\n";
    const std::string after = before +
                              "/dev/sr0 /media/user/MY\\040DISC iso9660 ro,nosuid 0 0\n"
                              "garbage-without-fields\n"
                              " leading-blank x\n"
                              "/dev/sdb1 /media/user/STICK vfat rw 0 0\n";
    auto was = parseMounts(before);
    auto now = parseMounts(after);
    ASSERT_EQ(was.size(), 2u);
    EXPECT_EQ(now[2], (Mount{"/dev/sr0", "/media/user/MY DISC"}));

    auto fresh = newDiscMounts(was, now, {"sr0", "sr1"});
    ASSERT_EQ(fresh.size(), 1u);
    EXPECT_EQ(fresh[0].mountPoint, "/media/user/MY DISC");
    EXPECT_TRUE(newDiscMounts(now, now, {"sr0"}).empty());
    EXPECT_TRUE(newDiscMounts(was, now, {}).empty());

    EXPECT_EQ(mountPointOf(now, "sr0"), "/media/user/MY DISC");
    EXPECT_FALSE(mountPointOf(now, "sr1").has_value());
    EXPECT_TRUE(parseMounts("").empty());
    EXPECT_TRUE(parseMounts(std::string("\0\0\n\\", 4)).empty());
}

TEST(OpticalDrives, PathOnDisc) {
    EXPECT_TRUE(isUnder("/media/user/DISC/movie.avi", "/media/user/DISC"));
    EXPECT_TRUE(isUnder("/media/user/DISC/a/b.avi", "/media/user/DISC/"));
    EXPECT_FALSE(isUnder("/media/user/DISC2/movie.avi", "/media/user/DISC"));
    EXPECT_FALSE(isUnder("/media/user/DISC", "/media/user/DISC"));
    EXPECT_FALSE(isUnder("http://x/movie.avi", "/media/user/DISC"));
    EXPECT_FALSE(isUnder("/a", ""));
}

TEST(OpticalDrives, MediaPatterns) {
    auto patterns = splitPatterns(kMediaPatterns);
    EXPECT_EQ(patterns.size(), 21u);
    EXPECT_TRUE(matchesAny("MOVIE.AVI", patterns));
    EXPECT_TRUE(matchesAny("a.b.ogm", patterns));
    EXPECT_FALSE(matchesAny("movie.avi.txt", patterns));
    EXPECT_FALSE(matchesAny("avi", patterns));
    EXPECT_FALSE(matchesAny("movie.mkv", patterns));
    EXPECT_TRUE(matchesAny("x", splitPatterns(" ? ;")));
    EXPECT_FALSE(matchesAny("x", splitPatterns(";;")));
    // A long name against many stars stays quick.
    EXPECT_FALSE(matchesAny(std::string(5000, 'a'), {"*a*a*a*a*a*a*a*a*b"}));
}

TEST(OpticalDrives, FirstMediaFileOfTheDiscsTopFolder) {
    auto patterns = splitPatterns(kMediaPatterns);
    std::string disc = freshDir("disc");
    std::filesystem::create_directories(disc + "/VIDEO_TS.avi");  // a folder, not a file
    std::filesystem::create_directories(disc + "/sub");
    writeFile(disc + "/sub/inner.avi", "x");
    EXPECT_FALSE(firstMediaFile(disc, patterns).has_value());  // only folders

    writeFile(disc + "/readme.txt", "x");
    writeFile(disc + "/b-track.MP3", "x");
    writeFile(disc + "/a-movie.mpg", "x");
    EXPECT_EQ(firstMediaFile(disc, patterns), disc + "/a-movie.mpg");
    EXPECT_FALSE(firstMediaFile(disc + "/missing", patterns).has_value());
    EXPECT_FALSE(firstMediaFile(disc, {}).has_value());

    // An unreadable folder finds nothing and throws nothing.
    std::string locked = freshDir("locked-disc");
    writeFile(locked + "/a.avi", "x");
    ::chmod(locked.c_str(), 0);
    if (::geteuid() != 0) {
        EXPECT_FALSE(firstMediaFile(locked, patterns).has_value());
    }
    ::chmod(locked.c_str(), 0755);
}

TEST(OpticalDrives, TrayOfSomethingThatIsNoDrive) {
    EXPECT_EQ(moveTray("/nonexistent/sr9", true), TrayResult::Failed);
    std::string file = freshDir("tray") + "/plain";
    writeFile(file, "x");
    EXPECT_EQ(moveTray(file, false), TrayResult::Failed);
}

TEST(Mixer, FirstInstalledMixerOnThePath) {
    std::vector<std::string> asked;
    auto installed = [&](std::initializer_list<std::string> present) {
        std::vector<std::string> p(present);
        return [p, &asked](const std::string& path) {
            asked.push_back(path);
            return std::find(p.begin(), p.end(), path) != p.end();
        };
    };
    EXPECT_EQ(findMixer("/usr/local/bin:/usr/bin", installed({"/usr/bin/pavucontrol"})),
              (std::vector<std::string>{"/usr/bin/pavucontrol"}));
    EXPECT_EQ(findMixer("/usr/bin",
                        installed({"/usr/bin/gnome-control-center", "/usr/bin/pavucontrol-qt"})),
              (std::vector<std::string>{"/usr/bin/pavucontrol-qt"}));
    EXPECT_EQ(findMixer("/usr/bin", installed({"/usr/bin/gnome-control-center"})),
              (std::vector<std::string>{"/usr/bin/gnome-control-center", "sound"}));
    EXPECT_FALSE(findMixer("/usr/bin:/bin", installed({})).has_value());
    // Relative and empty PATH entries are never searched.
    asked.clear();
    EXPECT_FALSE(findMixer(":relative:", installed({"relative/pavucontrol"})).has_value());
    EXPECT_TRUE(asked.empty());
}
