#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The cover picture of a medium, for the desktop's media controls: the picture the file
// carries (ID3v2 APIC/PIC, FLAC PICTURE, MP4 "covr"), else a picture beside it (its own
// name, or cover/folder/front/album), as a file URL.
namespace orvalis::cover {

// Bytes of a medium, read where asked; fewer at its end.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    virtual std::string read(std::uint64_t offset, std::size_t count) const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::string read(std::uint64_t offset, std::size_t count) const override;

private:
    std::string_view bytes_;
};

class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool isOpen() const { return fd_ >= 0; }
    std::uint64_t size() const override { return size_; }
    std::string read(std::uint64_t offset, std::size_t count) const override;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

struct Picture {
    std::string extension;  // "jpg", "png", "gif", "webp" or "bmp", from the bytes themselves
    std::string bytes;
};

// The largest picture taken from a medium.
inline constexpr std::size_t kMaxPictureBytes = 16u << 20;

// The front cover the medium carries (or its first picture); nothing when it carries none,
// or its bytes are not a picture.
std::optional<Picture> embeddedPicture(const ByteSource& medium);
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
