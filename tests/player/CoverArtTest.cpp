// Cover pictures for the desktop's media controls: taken out of media that ffmpeg tags here
// (and the committed cover.mp3), found beside a medium, and the files kept for them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "base/AtomicFile.h"
#include "player/CoverArt.h"
#include "support/TestSupport.h"

namespace orvalis::cover {
namespace {

const std::string kPng = std::string("\x89PNG\r\n\x1A\n", 8);

// A one-frame picture of 16x16 pixels, its format by its extension.
bool makePicture(const std::string& path) {
    const std::string command =
        "ffmpeg -nostdin -y -v error -f lavfi -i color=c=red:s=16x16 -frames:v 1 '" + path + "'";
    return std::system(command.c_str()) == 0;
}

// A short silent medium carrying picture as its cover; "" when ffmpeg could not make it.
std::string tagged(const std::string& dir, const std::string& name, const std::string& picture,
                   const std::string& options) {
    const std::string out = dir + "/" + name;
    const std::string command =
        "ffmpeg -nostdin -y -v error -f lavfi -i anullsrc=r=8000:cl=mono -i '" + picture +
        "' -map 0:a -map 1 -t 0.2 -c:v copy -metadata:s:v comment='Cover (front)' " + options +
        " '" + out + "'";
    return std::system(command.c_str()) == 0 ? out : "";
}

TEST(CoverArt, EachTagFormatGivesItsCover) {
    auto committed = embeddedPicture(test::mediaPath("test/cover.mp3"));
    ASSERT_TRUE(committed);
    EXPECT_EQ(committed->extension, "png");
    EXPECT_FALSE(embeddedPicture(test::mediaPath("test/audio.mp3")));

    const std::string dir = test::freshDir("tagged");
    const std::string png = dir + "/pic.png", jpg = dir + "/pic.jpg";
    ASSERT_TRUE(makePicture(png) && makePicture(jpg));
    const struct {
        const char* name;
        const char* picture;
        const char* options;
    } media[] = {
        {"id3.mp3", "png", "-c:a libmp3lame -id3v2_version 3"},
        {"covr.m4a", "jpg", "-c:a aac -disposition:v attached_pic"},
        {"picture.flac", "png", "-c:a flac -disposition:v attached_pic"},
    };
    for (const auto& m : media) {
        const std::string picture = std::string(m.picture) == "png" ? png : jpg;
        const std::string medium = tagged(dir, m.name, picture, m.options);
        ASSERT_FALSE(medium.empty()) << m.name;
        auto found = embeddedPicture(medium);
        ASSERT_TRUE(found) << m.name;
        EXPECT_EQ(found->extension, m.picture) << m.name;
        EXPECT_EQ(found->bytes, test::readFile(picture)) << m.name;
    }
    // No medium, no picture: a folder, a pipe, a device, a file that is all noise.
    const std::string fifo = dir + "/pipe.mp3";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::writeFile(dir + "/noise.mp3",
                    "ID3\x03\x00\x00\x7F\x7F\x7F\x7F" + std::string(64, '\xFF'));
    for (const std::string& path : {dir, fifo, std::string("/dev/zero"), dir + "/noise.mp3"})
        EXPECT_FALSE(embeddedPicture(path)) << path;
}

TEST(CoverArt, APictureBesideTheMedium) {
    const std::string dir = test::freshDir("beside");
    test::writeFile(dir + "/Song.mp3", "x");
    EXPECT_EQ(pictureBeside(dir + "/Song.mp3"), "");
    test::writeFile(dir + "/Folder.JPG", "x");
    test::writeFile(dir + "/notes.png", "x");
    EXPECT_EQ(pictureBeside(dir + "/Song.mp3"), dir + "/Folder.JPG");
    test::writeFile(dir + "/cover.png", "x");
    EXPECT_EQ(pictureBeside(dir + "/Song.mp3"), dir + "/cover.png");
    test::writeFile(dir + "/song.jpeg", "x");  // its own name first
    EXPECT_EQ(pictureBeside(dir + "/Song.mp3"), dir + "/song.jpeg");
    EXPECT_EQ(pictureBeside("Song.mp3"), "");  // no folder to look in
}

TEST(CoverArt, TakenPicturesAreKeptOneAtATime) {
    const std::string media = test::freshDir("cover-media");
    const std::string folder = test::freshDir("cover-cache") + "/covers";
    std::filesystem::copy_file(test::mediaPath("test/cover.mp3"), media + "/a.mp3");
    const std::string jpg = media + "/pic.jpg";
    ASSERT_TRUE(makePicture(jpg));
    ASSERT_NE(tagged(media, "b.mp3", jpg, "-c:a libmp3lame"), "");
    test::writeFile(media + "/c.mp3", "no tag");
    auto files = [&] {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(folder, ec))
            out.push_back(e.path().string());
        return out;
    };
    {
        CoverArtFiles covers(folder);
        const std::string a = covers.urlFor(media + "/a.mp3");
        ASSERT_EQ(a.rfind("file://" + folder + "/cover-", 0), 0u) << a;
        EXPECT_EQ(a.substr(a.size() - 4), ".png");
        EXPECT_EQ(test::readFile(a.substr(7)).substr(0, 8), kPng);
        EXPECT_EQ(covers.urlFor(media + "/a.mp3"), a);  // the same picture, the same file
        const std::string b = covers.urlFor(media + "/b.mp3");
        EXPECT_NE(b, a);
        EXPECT_EQ(files(), (std::vector<std::string>{b.substr(7)}));
        EXPECT_EQ(covers.urlFor(media + "/c.mp3"), "");
        EXPECT_TRUE(files().empty());
        EXPECT_EQ(covers.urlFor("http://radio.example/live"), "");
        covers.urlFor(media + "/a.mp3");
        EXPECT_EQ(files().size(), 1u);
    }
    EXPECT_TRUE(files().empty());  // nothing left behind
}

}  // namespace
}  // namespace orvalis::cover
