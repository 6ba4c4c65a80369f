// Cover pictures for the desktop's media controls: taken out of ID3, FLAC and MP4 media (the
// committed cover.mp3 and media built here byte by byte), found beside a medium, and the
// files kept for them.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "app/AtomicFile.h"
#include "app/CoverArt.h"
#include "support/TestSupport.h"

namespace orvalis::cover {
namespace {

const std::string kPng = std::string("\x89PNG\r\n\x1A\n", 8) + "png-body";
const std::string kJpeg =
    "\xFF\xD8\xFF\xE0"
    "jpeg"
    "\xFF\xE1"
    "body";

std::string be32(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
std::string syncsafe(std::uint32_t v) {
    return {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
}
std::string apic(int type, const std::string& picture) {
    return std::string("\0image/x\0", 9) + char(type) + std::string("desc\0", 5) + picture;
}
std::string id3v23(const std::vector<std::string>& frames) {
    std::string body;
    for (const auto& f : frames) body += "APIC" + be32(f.size()) + std::string(2, '\0') + f;
    return "ID3" + std::string("\x03\x00\x00", 3) + syncsafe(body.size()) + body + "audio...";
}
std::string box(const std::string& type, const std::string& content) {
    return be32(8 + content.size()) + type + content;
}

std::optional<Picture> pictureOf(const std::string& bytes) {
    return embeddedPicture(MemorySource(bytes));
}

TEST(CoverArt, TheCommittedMp3CarriesAPngCover) {
    FileSource file(test::mediaPath("test/cover.mp3"));
    ASSERT_TRUE(file.isOpen());
    auto picture = embeddedPicture(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->extension, "png");
    EXPECT_EQ(picture->bytes.compare(0, 8, kPng, 0, 8), 0);
    FileSource noCover(test::mediaPath("test/audio.mp3"));
    EXPECT_FALSE(embeddedPicture(noCover));
    EXPECT_FALSE(FileSource(test::mediaPath("test")).isOpen());  // a folder is no medium
}

TEST(CoverArt, EachTagFormatGivesItsFrontCover) {
    // ID3v2.3: the front cover wins over a picture before it.
    auto p = pictureOf(id3v23({apic(0, kPng), apic(3, kJpeg)}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->extension, "jpg");
    EXPECT_EQ(p->bytes, kJpeg);

    // ID3v2.4 with the frame unsynchronised and a data length indicator.
    std::string unsynced;
    for (char c : apic(3, kJpeg)) {
        unsynced += c;
        if (c == '\xFF') unsynced += '\0';
    }
    std::string frame = be32(static_cast<std::uint32_t>(apic(3, kJpeg).size())) + unsynced;
    std::string tag = "APIC" + syncsafe(frame.size()) + std::string("\x00\x03", 2) + frame;
    p = pictureOf("ID3" + std::string("\x04\x00\x00", 3) + syncsafe(tag.size()) + tag);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->bytes, kJpeg);

    // ID3v2.2 PIC.
    std::string pic = std::string("\0PNG\x03\0", 6) + kPng;
    std::string v22 = "PIC" + be32(pic.size()).substr(1) + pic;
    p = pictureOf("ID3" + std::string("\x02\x00\x00", 3) + syncsafe(v22.size()) + v22);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->extension, "png");

    // FLAC: a PICTURE block after STREAMINFO, behind an ID3 tag of its own.
    std::string picture = be32(3) + be32(9) + "image/png" + be32(0) + std::string(16, '\0') +
                          be32(kPng.size()) + kPng;
    std::string flac = "fLaC" + std::string("\x00\x00\x00\x04", 4) + "info" + char(0x86) +
                       be32(picture.size()).substr(1) + picture;
    p = pictureOf("ID3" + std::string("\x03\x00\x00", 3) + syncsafe(4) + std::string(4, '\0') +
                  flac);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->bytes, kPng);

    // MP4: moov/udta/meta/ilst/covr/data, with a box of another kind before moov.
    std::string data = box("data", be32(13) + be32(0) + kJpeg);
    std::string meta = box("meta", std::string(4, '\0') + box("hdlr", "x") +
                                       box("ilst", box("\xA9nam", "t") + box("covr", data)));
    std::string mp4 = box("ftyp", "M4A ") + box("free", "") + box("moov", box("udta", meta));
    p = pictureOf(mp4);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->bytes, kJpeg);
}

TEST(CoverArt, BrokenAndHostileMediaGiveNothingAndNeverReadPastTheirEnd) {
    // A picture frame whose bytes are no picture is no cover.
    EXPECT_FALSE(pictureOf(id3v23({apic(3, "not an image at all")})));
    // Sizes that claim more than there is.
    EXPECT_FALSE(
        pictureOf("ID3\x03\x00\x00\x7F\x7F\x7F\x7F" + std::string("APIC\xFF\xFF\xFF\xFF\0\0", 10)));
    EXPECT_FALSE(pictureOf(box("ftyp", "isom") + be32(0xFFFFFFF0) + "moov"));
    EXPECT_FALSE(pictureOf(box("ftyp", "isom") + be32(1) + "moov" + std::string(8, '\xFF')));
    EXPECT_FALSE(pictureOf("fLaC" + std::string("\x06\xFF\xFF\xFF", 4) + be32(3)));
    EXPECT_FALSE(pictureOf(""));

    // Every cut of every good medium, and random bytes behind each format's signature.
    const std::vector<std::string> good = {
        id3v23({apic(3, kPng)}), "fLaC" + std::string("\x86\x00\x00\x30", 4) + be32(3) + be32(0),
        box("ftyp", "M4A ") + box("moov", "")};
    for (const auto& medium : good) {
        for (std::size_t n = 0; n <= medium.size(); ++n) (void)pictureOf(medium.substr(0, n));
    }
    std::mt19937 random(14);
    for (int i = 0; i < 3000; ++i) {
        std::string bytes(random() % 300, '\0');
        for (auto& c : bytes) c = static_cast<char>(random());
        static const std::string kHeads[] = {"ID3\x03", "ID3\x04", "ID3\x02", "fLaC",
                                             std::string("\0\0\0\x10"
                                                         "ftyp",
                                                         8)};
        auto p = pictureOf(kHeads[i % 5] + bytes);
        if (p) {
            EXPECT_EQ(pictureExtension(p->bytes), p->extension);
        }
    }
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
    test::writeFile(media + "/a.mp3", id3v23({apic(3, kPng)}));
    test::writeFile(media + "/b.mp3", id3v23({apic(3, kJpeg)}));
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
        EXPECT_EQ(test::readFile(a.substr(7)), kPng);
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
