// Real list files from other projects' test data, read to the entries those projects
// expect. Relative entries are expected against the list's own folder, where this player
// takes them.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/TextCodec.h"
#include "playlist/ListFiles.h"
#include "support/TestSupport.h"

using namespace orvalis;
using namespace orvalis::listfiles;

namespace {

std::string corpus() {
    std::string dir = test::corpusDir("playlists");
    return dir.empty() ? dir : std::filesystem::path(dir).lexically_normal().string();
}

std::vector<std::string> paths(const std::string& name) {
    std::string file = corpus() + "/" + name;
    ReadResult r = readListFile(file, formatOf(file));
    EXPECT_EQ(r.status, ReadStatus::Ok) << name;
    std::vector<std::string> out;
    for (const auto& e : r.entries) out.push_back(e.path);
    return out;
}

}  // namespace

TEST(PlaylistCorpus, EveryFileLoadsToTheEntriesItsSourceExpects) {
    const std::string dir = corpus();
    if (dir.empty()) GTEST_SKIP() << "no corpus in this clone";
    const std::string bocelli = "D:\\Muzyka\\Andrea Bocelli\\";
    const std::vector<std::string> chiara{
        bocelli + "04 Chiara.mp3", bocelli + "01 Con Te Partiro.mp3", bocelli + "04 E Chiove.mp3"};
    const std::vector<std::string> lizzy{
        "C:\\Music\\SampleMusic.mp3",
        "C:\\Music\\ÀÁÂÃäA Ç ÈÉÊË ÌÍÎÏ N ÒÓÔÕö  ÙÚÛü àáâãäa ç èéêë ìíîï n òóôõöo ùúûü.mp3"};
    const std::vector<std::string> polish{
        "http://stream3.polskieradio.pl:8902/",
        "http://stream.polskastacja.pl/ps43_mp3?player_group=PS_EXT_MP3",
        "/home/uzytkownik/muzyka-1.mp3"};
    std::vector<std::string> polish4 = polish;
    polish4.push_back(dir + "/Weird Al - This Is The Life.mp3");

    const std::vector<std::pair<std::string, std::vector<std::string>>> expected{
        {"lizzy-asx-test01.asx", {"http://www.johnsmith.com/media/Raging_Tango.mp3"}},
        {"lizzy-asx-test02.asx", {"mms://windowsmediaserver/path/yourfile.asf"}},
        {"lizzy-asx-test03.asx",
         {"http://example.com/announcement.wma", "http://example.com:8080"}},
        {"lizzy-asx-test04.asx", {dir + "/(The Artist)-YourSongTitle.wma"}},
        {"lizzy-asx-test05.asx", {"http://sample.microsoft.com/metafile.asx"}},
        {"lizzy-asx-test06.asx", {"mms://ucast.proseware.com/Media1.asf"}},
        {"lizzy-m3u-playlist-utf8-bom.m3u", lizzy},
        {"lizzy-m3u-playlist-utf16le-bom.m3u", lizzy},
        {"lizzy-m3u-test01.m3u",
         {"c:/music/foo.mp3", dir + "/foo/fighters.mp3", "http://foofighters.com/somesong.mp3"}},
        {"lizzy-m3u-test02.m3u",
         {dir + "/Alternative/Song.mp3", dir + "/Classical/New_Song.mp3", dir + "/crap.mp3",
          "F:\\more music\\foo_bar.mp3", "http://www.site.com:8000/listen.pls",
          "http://www.site.com/~user/mine.mp3"}},
        {"mopidy-comment-ext.m3u", {dir + "/song1.mp3"}},
        {"mopidy-empty.m3u", {}},
        {"mopidy-empty-ext.m3u", {}},
        {"playlistsnet-PlaylistExt.m3u", chiara},
        {"playlistsnet-PlaylistNotExt.m3u", chiara},
        {"playlistsnet-PlaylistVLC.m3u", {dir + "/Aimer/春はゆく - marie/01 - 春はゆく.flac"}},
        {"lizzy-pls-test02.pls", {"http://www.panix.com/web/faq/multimedia/sample.mp3"}},
        {"lizzy-pls-test04.pls", {"http://itsreggae.com:8004/"}},
        {"playlistsnet-Playlist.pls", polish},
        {"playlistsnet-Playlist2.pls", polish4},
    };
    size_t checked = 0;
    for (const auto& [name, want] : expected) {
        EXPECT_EQ(paths(name), want) << name;
        ++checked;
    }

    // Latin-1 is not one of the player's encodings: without a mark, bytes that are not
    // UTF-8 are CP949. These lists load with every entry in its place; the accented names
    // come out as CP949 reads them, never as the Latin-1 text and never as broken UTF-8.
    const std::vector<std::tuple<std::string, std::string, std::string>> latin1{
        {"lizzy-m3u-playlist-iso-8859-1.m3u", "C:\\Music\\", lizzy[1]},
        {"playlistsnet-LatinEncoding.m3u", "M:\\",
         "M:\\Röyksopp feat. Susanne Sundfør - Running To The Sea.mp3"},
        {"mopidy-encoding-ext.m3u", dir + "/", dir + "/æøå.mp3"}};
    for (const auto& [name, prefix, latin] : latin1) {
        std::vector<std::string> got = paths(name);
        ASSERT_FALSE(got.empty()) << name;
        EXPECT_TRUE(got.back().starts_with(prefix)) << name;
        EXPECT_TRUE(got.back().ends_with(".mp3")) << name;
        EXPECT_TRUE(text::isValidUtf8(got.back())) << name;
        EXPECT_NE(got.back(), latin) << name;
        ++checked;
    }
    EXPECT_EQ(paths("lizzy-m3u-playlist-iso-8859-1.m3u").front(), lizzy[0]);

    // Every list file of the corpus is covered above.
    size_t files = 0;
    for (const auto& f : std::filesystem::directory_iterator(dir))
        if (formatOf(f.path().string()) != ListFormat::None) ++files;
    EXPECT_EQ(checked, files);
}
