#include "app/CoverArt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/AtomicFile.h"
#include "app/Mpris.h"
#include "app/Naming.h"
#include "app/TextCodec.h"

namespace orvalis::cover {

namespace {

// No tag or box this reader looks into may make it read more than this.
constexpr std::size_t kMaxTagBytes = 32u << 20;
constexpr int kMaxBoxes = 4096;

std::uint32_t be32(std::string_view b, std::size_t at) {
    if (at + 4 > b.size()) return 0;
    return (std::uint32_t(std::uint8_t(b[at])) << 24) |
           (std::uint32_t(std::uint8_t(b[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(b[at + 2])) << 8) | std::uint32_t(std::uint8_t(b[at + 3]));
}

std::uint32_t be24(std::string_view b, std::size_t at) {
    if (at + 3 > b.size()) return 0;
    return (std::uint32_t(std::uint8_t(b[at])) << 16) |
           (std::uint32_t(std::uint8_t(b[at + 1])) << 8) | std::uint32_t(std::uint8_t(b[at + 2]));
}

std::uint32_t syncsafe(std::string_view b, std::size_t at) {
    if (at + 4 > b.size()) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 7) | (std::uint8_t(b[at + i]) & 0x7F);
    return v;
}

// Unsynchronised ID3 data: every 0xFF 0x00 stands for 0xFF.
std::string resynchronise(std::string_view b) {
    std::string out;
    out.reserve(b.size());
    for (std::size_t i = 0; i < b.size(); ++i) {
        out += b[i];
        if (std::uint8_t(b[i]) == 0xFF && i + 1 < b.size() && b[i + 1] == '\0') ++i;
    }
    return out;
}

// The end of a text in an ID3 frame: one NUL, or two on an even offset for UTF-16.
std::size_t textEnd(std::string_view b, std::size_t from, int encoding) {
    if (encoding == 1 || encoding == 2) {
        for (std::size_t i = from; i + 1 < b.size(); i += 2)
            if (b[i] == '\0' && b[i + 1] == '\0') return i + 2;
        return std::string_view::npos;
    }
    const std::size_t nul = b.find('\0', from);
    return nul == std::string_view::npos ? nul : nul + 1;
}

struct Found {
    std::string bytes;
    bool front = false;
};

// Keeps the first picture, or a front cover (type 3) over any other.
void offer(std::optional<Found>& best, std::string_view bytes, bool front) {
    if (bytes.empty() || bytes.size() > kMaxPictureBytes || pictureExtension(bytes).empty()) return;
    if (!best || (front && !best->front)) best = Found{std::string(bytes), front};
}

// APIC (ID3v2.3/2.4) or PIC (ID3v2.2) frame bodies.
void readPictureFrame(std::string_view f, bool v22, std::optional<Found>& best) {
    if (f.size() < 4) return;
    const int encoding = std::uint8_t(f[0]);
    std::size_t at = 1;
    if (v22) {
        at += 3;  // "JPG", "PNG"
    } else {
        at = f.find('\0', 1);
        if (at == std::string_view::npos) return;
        ++at;
    }
    if (at >= f.size()) return;
    const bool front = std::uint8_t(f[at]) == 3;
    const std::size_t data = textEnd(f, at + 1, encoding);
    if (data == std::string_view::npos || data > f.size()) return;
    offer(best, f.substr(data), front);
}

std::optional<Found> id3Picture(const ByteSource& src, std::uint64_t at) {
    const std::string head = src.read(at, 10);
    if (head.size() < 10 || head.compare(0, 3, "ID3") != 0) return std::nullopt;
    const int version = std::uint8_t(head[3]);
    const int flags = std::uint8_t(head[5]);
    const std::uint32_t size = syncsafe(head, 6);
    if (version < 2 || version > 4 || size > kMaxTagBytes) return std::nullopt;
    std::string tag = src.read(at + 10, size);
    if (version < 4 && (flags & 0x80)) tag = resynchronise(tag);
    std::size_t pos = 0;
    if (version >= 3 && (flags & 0x40)) {  // an extended header: skip it
        const std::uint32_t ext = version == 4 ? syncsafe(tag, 0) : be32(tag, 0) + 4;
        pos = ext;
    }
    const bool v22 = version == 2;
    const std::size_t headerSize = v22 ? 6 : 10;
    std::optional<Found> best;
    while (pos + headerSize <= tag.size() && tag[pos] != '\0') {
        const std::string_view id(tag.data() + pos, v22 ? 3 : 4);
        const std::uint32_t frameSize = v22            ? be24(tag, pos + 3)
                                        : version == 4 ? syncsafe(tag, pos + 4)
                                                       : be32(tag, pos + 4);
        const int frameFlags =
            v22 ? 0 : (std::uint8_t(tag[pos + 8]) << 8) | std::uint8_t(tag[pos + 9]);
        pos += headerSize;
        if (frameSize > tag.size() - pos) break;
        std::string_view body(tag.data() + pos, frameSize);
        pos += frameSize;
        if (id != (v22 ? "PIC" : "APIC")) continue;
        std::string plain;
        if (version == 4) {
            if (frameFlags & 0x000C) continue;  // compressed or encrypted
            if (frameFlags & 0x0001) body.remove_prefix(std::min<std::size_t>(4, body.size()));
            if (frameFlags & 0x0002) body = plain = resynchronise(body);
        } else if (version == 3) {
            if (frameFlags & 0x00C0) continue;  // compressed or encrypted
            if (frameFlags & 0x0020) body.remove_prefix(std::min<std::size_t>(1, body.size()));
        }
        readPictureFrame(body, v22, best);
    }
    return best;
}

// FLAC metadata blocks after "fLaC": block type 6 is a picture.
std::optional<Found> flacPicture(const ByteSource& src, std::uint64_t at) {
    if (src.read(at, 4) != "fLaC") return std::nullopt;
    at += 4;
    std::optional<Found> best;
    for (int blocks = 0; blocks < kMaxBoxes; ++blocks) {
        const std::string head = src.read(at, 4);
        if (head.size() < 4) break;
        const bool last = std::uint8_t(head[0]) & 0x80;
        const int type = std::uint8_t(head[0]) & 0x7F;
        const std::uint32_t length = be24(head, 1);
        if (type == 6 && length <= kMaxPictureBytes + 4096) {
            const std::string b = src.read(at + 4, length);
            const bool front = be32(b, 0) == 3;
            std::size_t pos = 4;
            pos += 4 + std::size_t(be32(b, pos));                           // MIME type
            if (pos + 4 <= b.size()) pos += 4 + std::size_t(be32(b, pos));  // description
            pos += 16;  // width, height, depth, colours
            if (pos + 4 <= b.size()) {
                const std::uint32_t n = be32(b, pos);
                pos += 4;
                if (n <= b.size() - pos) offer(best, std::string_view(b).substr(pos, n), front);
            }
        }
        at += 4 + length;
        if (last) break;
    }
    return best;
}

// MP4 boxes: moov/udta/meta/ilst/covr/data, the data after 8 bytes of type and locale.
std::optional<Found> mp4Picture(const ByteSource& src) {
    struct Box {
        std::uint64_t start, size;
    };
    auto find = [&](std::uint64_t from, std::uint64_t end,
                    std::string_view type) -> std::optional<Box> {
        for (int n = 0; n < kMaxBoxes && from + 8 <= end; ++n) {
            const std::string head = src.read(from, 16);
            if (head.size() < 8) return std::nullopt;
            std::uint64_t size = be32(head, 0);
            std::uint64_t headerSize = 8;
            if (size == 1) {
                if (head.size() < 16) return std::nullopt;
                size = (std::uint64_t(be32(head, 8)) << 32) | be32(head, 12);
                headerSize = 16;
            } else if (size == 0) {
                size = end - from;
            }
            if (size < headerSize || size > end - from) return std::nullopt;
            if (std::string_view(head).substr(4, 4) == type)
                return Box{from + headerSize, size - headerSize};
            from += size;
        }
        return std::nullopt;
    };
    const std::string ftyp = src.read(4, 4);
    if (ftyp != "ftyp") return std::nullopt;
    auto moov = find(0, src.size(), "moov");
    auto udta = moov ? find(moov->start, moov->start + moov->size, "udta") : std::nullopt;
    auto meta = udta ? find(udta->start, udta->start + udta->size, "meta") : std::nullopt;
    // "meta" is a full box: 4 bytes of version and flags before its children.
    auto ilst = meta && meta->size > 4 ? find(meta->start + 4, meta->start + meta->size, "ilst")
                                       : std::nullopt;
    auto covr = ilst ? find(ilst->start, ilst->start + ilst->size, "covr") : std::nullopt;
    auto data = covr ? find(covr->start, covr->start + covr->size, "data") : std::nullopt;
    if (!data || data->size <= 8 || data->size - 8 > kMaxPictureBytes) return std::nullopt;
    std::optional<Found> best;
    offer(best, src.read(data->start + 8, data->size - 8), true);
    return best;
}

std::string lowerExtension(const std::filesystem::path& p) {
    return text::toLowerAscii(p.extension().string());
}

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    return h;
}

}  // namespace

std::string MemorySource::read(std::uint64_t offset, std::size_t count) const {
    if (offset >= bytes_.size()) return {};
    return std::string(bytes_.substr(offset, count));
}

FileSource::FileSource(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd_);
        fd_ = -1;
    }
    if (fd_ >= 0) size_ = static_cast<std::uint64_t>(st.st_size);
}

FileSource::~FileSource() {
    if (fd_ >= 0) ::close(fd_);
}

std::string FileSource::read(std::uint64_t offset, std::size_t count) const {
    if (fd_ < 0 || offset >= size_) return {};
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    std::string out(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, count - done, static_cast<off_t>(offset + done));
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return out;
}

std::string pictureExtension(std::string_view b) {
    if (b.size() >= 3 && b.compare(0, 3, "\xFF\xD8\xFF") == 0) return "jpg";
    if (b.size() >= 8 && b.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0) return "png";
    if (b.size() >= 6 && (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0))
        return "gif";
    if (b.size() >= 12 && b.compare(0, 4, "RIFF") == 0 && b.compare(8, 4, "WEBP") == 0)
        return "webp";
    if (b.size() >= 14 && b.compare(0, 2, "BM") == 0) return "bmp";
    return {};
}

std::optional<Picture> embeddedPicture(const ByteSource& medium) {
    std::optional<Found> found = id3Picture(medium, 0);
    if (!found) {
        // FLAC files may begin with an ID3 tag of their own.
        std::uint64_t at = 0;
        const std::string head = medium.read(0, 10);
        if (head.size() == 10 && head.compare(0, 3, "ID3") == 0)
            at = 10 + syncsafe(head, 6) + ((std::uint8_t(head[5]) & 0x10) ? 10 : 0);
        found = flacPicture(medium, at);
    }
    if (!found) found = mp4Picture(medium);
    if (!found) return std::nullopt;
    return Picture{pictureExtension(found->bytes), std::move(found->bytes)};
}

std::string pictureBeside(const std::string& mediaPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path media(mediaPath);
    const fs::path folder = media.parent_path();
    if (folder.empty()) return {};
    const std::string own = text::toLowerAscii(media.stem().string());
    static constexpr const char* kNames[] = {"cover", "folder", "front", "album"};
    std::string best;
    int bestRank = 1 << 30;
    int seen = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end && seen < 10000;
         it.increment(ec), ++seen) {
        const fs::path& p = it->path();
        const std::string ext = lowerExtension(p);
        if (ext != ".jpg" && ext != ".jpeg" && ext != ".png") continue;
        const std::string stem = text::toLowerAscii(p.stem().string());
        int rank = -1;
        if (stem == own) rank = 0;
        for (int i = 0; i < 4 && rank < 0; ++i)
            if (stem == kNames[i]) rank = i + 1;
        if (rank < 0 || rank >= bestRank || !it->is_regular_file(ec)) continue;
        best = p.string();
        bestRank = rank;
    }
    return best;
}

CoverArtFiles::~CoverArtFiles() {
    dropWritten();
}

void CoverArtFiles::dropWritten() {
    if (written_.empty()) return;
    std::error_code ec;
    std::filesystem::remove(written_, ec);
    written_.clear();
}

std::string CoverArtFiles::urlFor(const std::string& mediaPath) {
    if (mediaPath.empty() || isStreamAddress(mediaPath)) {
        dropWritten();
        return {};
    }
    FileSource source(mediaPath);
    std::optional<Picture> picture = source.isOpen() ? embeddedPicture(source) : std::nullopt;
    if (!picture) {
        dropWritten();
        const std::string beside = pictureBeside(mediaPath);
        return beside.empty() ? std::string() : mpris::fileUrl(beside);
    }
    // Named by its contents: a client that keeps pictures by address never shows an old one.
    char name[40];
    std::snprintf(name, sizeof name, "cover-%016llx.",
                  static_cast<unsigned long long>(fnv1a(picture->bytes)));
    const std::string path = folder_ + "/" + name + picture->extension;
    if (path != written_) {
        if (!writeFileAtomically(path, picture->bytes)) return {};
        dropWritten();
        written_ = path;
    }
    return mpris::fileUrl(path);
}

}  // namespace orvalis::cover
