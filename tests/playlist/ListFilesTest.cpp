#include <gtest/gtest.h>

#include <filesystem>

#include "playlist/FileSystemView.h"
#include "playlist/ListFiles.h"
#include "support/TestSupport.h"

using namespace orvalis;
using namespace orvalis::listfiles;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;  // label, path

Entries pairs(const std::vector<ListEntry>& entries) {
    Entries out;
    for (const auto& e : entries) out.emplace_back(e.displayName, e.path);
    return out;
}

std::vector<PlaylistItem> rows(const Entries& e) {
    std::vector<PlaylistItem> out;
    for (const auto& [label, path] : e) out.push_back({label, path});
    return out;
}

}  // namespace

// M3U keeps absolute paths and addresses and resolves the rest against the list's folder;
// PLS takes its File keys in their numbered order; ASX takes ref addresses whatever their
// spacing, and nothing else.
TEST(ListFileReaders, EachFormatGivesItsEntriesInOrder) {
    const std::string m3u =
        "#EXTM3U\r\n#EXTINF:123,Title\r\nC:\\a\\b.mp3\r\n\r\nmusic\\c.mp3\r\n"
        "# a comment\r\n#EXTVLCOPT:network-caching=1000\r\nhttp://host/live/x.mp3\r\n"
        "bare.avi\r/abs/d.ogg\n  ../up.wav  \n";
    EXPECT_EQ(pairs(readM3u(m3u, "/lists/here")), (Entries{{"b.mp3", "C:\\a\\b.mp3"},
                                                           {"c.mp3", "/lists/here/music/c.mp3"},
                                                           {"x.mp3", "http://host/live/x.mp3"},
                                                           {"bare.avi", "/lists/here/bare.avi"},
                                                           {"d.ogg", "/abs/d.ogg"},
                                                           {"up.wav", "/lists/up.wav"}}));

    const std::string pls =
        "[playlist]\nNumberOfEntries=4\nFile2=mms://radio/live\nTitle2=ignored\n"
        "File1=http://host:8000/\nLength1=-1\nfile3 = D:\\v.avi\nFile4=\nFile5=song.mp3\nVersion=2";
    EXPECT_EQ(pairs(readPls(pls, "/p")), (Entries{{"http://host:8000/", "http://host:8000/"},
                                                  {"live", "mms://radio/live"},
                                                  {"v.avi", "D:\\v.avi"},
                                                  {"song.mp3", "/p/song.mp3"}}));

    const std::string asx =
        "<ASX VERSION=\"3.0\">\n<MOREINFO HREF=\"http://info.example/\" />\n"
        "<!-- <ref href = \"http://commented.out/a.asf\" />\n still a comment -->\n"
        "<entry><title>T</title>\n<ref href = \"mms://server/a.asf\" />\n</entry>\n"
        "<Entry><REF HREF='http://x.example/b?a=1&amp;b=2'/><LOGURL "
        "HREF=\"http://log/\"/></Entry>\n"
        "<entry><ref\n   href=\"relative c.wma\"\n/></entry>\n"
        "<ENTRYREF HREF=\"http://y.example/more.asx\" />\n"
        "<entry><ref href = \"unterminated /></entry>\n";
    EXPECT_EQ(pairs(readAsx(asx, "/a")), (Entries{{"a.asf", "mms://server/a.asf"},
                                                  {"b?a=1&b=2", "http://x.example/b?a=1&b=2"},
                                                  {"relative c.wma", "/a/relative c.wma"},
                                                  {"more.asx", "http://y.example/more.asx"}}));
    // The older reference files: one address per line, no markup.
    EXPECT_EQ(pairs(readAsx("[Reference]\r\nRef1=http://s/1.asf?MSWMExt=.asf\r\nRef2=MMS://s/2\r\n",
                            "/a")),
              (Entries{{"1.asf?MSWMExt=.asf", "http://s/1.asf?MSWMExt=.asf"}, {"2", "MMS://s/2"}}));
}

TEST(ListFileReaders, EntriesAreResolvedByTheirKind) {
    EXPECT_EQ(resolveEntry("file:///home/u/My%20Song%20%ED%95%9C.mp3", "/l"),
              "/home/u/My Song 한.mp3");
    EXPECT_EQ(resolveEntry("file://localhost/srv/a.avi", "/l"), "/srv/a.avi");
    EXPECT_EQ(resolveEntry("file://otherhost/srv/a.avi", "/l"), "file://otherhost/srv/a.avi");
    EXPECT_EQ(resolveEntry("file:///D:/Music/a%20b.mp3", "/l"), "D:/Music/a b.mp3");
    // VLC escapes relative names; a name with a blank in it was never escaped.
    EXPECT_EQ(resolveEntry("Aimer/01%20-%20%E6%98%A5.flac", "/l"), "/l/Aimer/01 - 春.flac");
    EXPECT_EQ(resolveEntry("100% pure.mp3", "/l"), "/l/100% pure.mp3");
    EXPECT_EQ(resolveEntry("50%off.mp3", "/l"), "/l/50%off.mp3");
    EXPECT_EQ(resolveEntry("c:/music/foo.mp3", "/l"), "c:/music/foo.mp3");
    EXPECT_EQ(resolveEntry("\\\\server\\share\\a.avi", "/l"), "\\\\server\\share\\a.avi");
    EXPECT_EQ(resolveEntry("rtsp://cam/stream", "/l"), "rtsp://cam/stream");
    EXPECT_EQ(resolveEntry("http_tutorial.avi", "/l"), "/l/http_tutorial.avi");
    EXPECT_EQ(displayNameOf("http://itsreggae.com:8004/"), "http://itsreggae.com:8004/");
}

TEST(ListFileWriters, WriteM3uAndAsxAndReadBackTheSameRows) {
    const Entries original{{"a.mp3", "/music/a.mp3"},
                           {"노래 & \"따옴표\".avi", "/음악/노래 & \"따옴표\".avi"},
                           {"live", "mms://server/live"}};
    std::string m3u = writeM3u(rows(original));
    EXPECT_TRUE(m3u.starts_with("#EXTM3U\n#EXTINF:0,a.mp3\n/music/a.mp3\n#EXTINF:0,노래 & "));
    EXPECT_EQ(pairs(readM3u(m3u, "/elsewhere")), original);

    std::string asx = writeAsx(rows({original[0]}));
    EXPECT_EQ(
        asx,
        "<asx version = \"3.0\" >\n\n<entry>\n\t<title> a.mp3 </title>\n"
        "\t<duration value = \"0:0:0.0\" />\n\t<ref href = \"/music/a.mp3\" />\n</entry>\n\n");
    EXPECT_EQ(pairs(readAsx(writeAsx(rows(original)), "/elsewhere")), original);

    // A path with a line break cannot be one entry of a line-based file.
    EXPECT_EQ(writeM3u(rows({{"x", "/a\nb.avi"}})), "#EXTM3U\n");
}

TEST(ListFileFiles, EncodingsLongLinesBinaryFilesAndSelfReferences) {
    std::string dir = test::freshDir("lists");
    auto read = [&](const std::string& name, const std::string& bytes) {
        test::writeFile(dir + "/" + name, bytes);
        return readListFile(dir + "/" + name, formatOf(name));
    };
    // CP949, UTF-8 and UTF-16 with its mark give the same Korean name.
    EXPECT_EQ(read("cp949.m3u", "/v/\xbe\xc8\xb3\xe7.avi\n").entries.at(0).path, "/v/안녕.avi");
    EXPECT_EQ(read("utf8.m3u", "/v/안녕.avi\n").entries.at(0).path, "/v/안녕.avi");
    EXPECT_EQ(read("utf16.m3u", std::string("\xff\xfe/\0\x48\xc5\n\0", 8)).entries.at(0).path,
              "/안");

    // A line of a megabyte is one entry, not two thousand.
    std::string longName = "/v/" + std::string(1 << 20, 'x') + ".avi";
    ReadResult big = read("long.m3u", "#EXTM3U\n" + longName + "\n/v/next.avi\n");
    ASSERT_EQ(big.entries.size(), 2u);
    EXPECT_EQ(big.entries[0].path, longName);

    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 2654435761u) >> 7);
    EXPECT_EQ(read("binary.m3u", binary).status, ReadStatus::NotText);
    EXPECT_EQ(read("nonul.asx", std::string(200, '\x01') + "<ref href=\"a\"/>").status,
              ReadStatus::NotText);
    EXPECT_EQ(readListFile(dir + "/missing.m3u", ListFormat::M3u).status, ReadStatus::Unreadable);
    EXPECT_EQ(readListFile(dir, ListFormat::M3u).status, ReadStatus::Unreadable);

    ReadResult self = read("self.m3u", "self.m3u\n" + dir + "/self.m3u\n./other.m3u\n");
    EXPECT_EQ(pairs(self.entries), (Entries{{"other.m3u", dir + "/other.m3u"}}));
}

TEST(LocalFileSystem, OpticalDiscsAreKnownByTheDriveTheirMountComesFrom) {
    std::string table = test::freshDir("mounts") + "/mounts";
    test::writeFile(table,
                    "/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/user/DISC\\040ONE iso9660 ro 0 0\n"
                    "/dev/sdb1 /media/user/DISC\\040ONE/usb vfat rw 0 0\ngarbage\n");
    LocalFileSystem fs(table);
    EXPECT_TRUE(fs.isOnOpticalDisc("/media/user/DISC ONE/VIDEO_TS/a.vob"));
    EXPECT_FALSE(fs.isOnOpticalDisc("/media/user/DISC ONE/usb/a.avi"));
    EXPECT_FALSE(fs.isOnOpticalDisc("/media/user/DISC ONEX/a.avi"));
    EXPECT_FALSE(fs.isOnOpticalDisc("/home/a.avi"));
    EXPECT_FALSE(fs.isOnOpticalDisc("http://host/a.avi"));
    EXPECT_FALSE(LocalFileSystem("/nonexistent").isOnOpticalDisc("/media/user/DISC ONE/a"));
}
