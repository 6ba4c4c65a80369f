#pragma once

#include <optional>
#include <string>
#include <string_view>

// The cover picture of a medium, for the desktop's media controls: the picture its tags carry
// (ID3v2, FLAC, MP4, Ogg and ASF pictures, read by TagLib), else a picture beside it (its own
// name, or cover/folder/front/album), as a file URL.
namespace orvalis::cover {

struct Picture {
    std::string extension;  // "jpg", "png", "gif", "webp" or "bmp", from the bytes themselves
    std::string bytes;
};

// The largest picture taken from a medium.
inline constexpr std::size_t kMaxPictureBytes = 16u << 20;

// The front cover the medium at path carries (or its first picture); nothing when it carries
// none, its bytes are not a picture, or path is no regular file.
std::optional<Picture> embeddedPicture(const std::string& mediaPath);
// The extension of a picture by its first bytes; empty when they are no picture format.
std::string pictureExtension(std::string_view bytes);
// A picture file beside the medium: its own title, then cover, folder, front, album, in
// .jpg, .jpeg or .png (any letter case); empty when there is none.
std::string pictureBeside(const std::string& mediaPath);

// Cover pictures taken from media are written into a folder of their own, one at a time:
// the one before is removed when the next is written, and the last when this goes.
class CoverArtFiles {
public:
    explicit CoverArtFiles(std::string folder) : folder_(std::move(folder)) {}
    ~CoverArtFiles();
    CoverArtFiles(const CoverArtFiles&) = delete;
    CoverArtFiles& operator=(const CoverArtFiles&) = delete;

    // The cover of a local medium as a file URL; empty when it has none (and for addresses).
    std::string urlFor(const std::string& mediaPath);

private:
    void dropWritten();

    std::string folder_;
    std::string written_;
};

}  // namespace orvalis::cover
