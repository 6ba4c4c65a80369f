#include "player/CoverArt.h"

#include <aifffile.h>
#include <asffile.h>
#include <attachedpictureframe.h>
#include <fcntl.h>
#include <fileref.h>
#include <flacfile.h>
#include <id3v2tag.h>
#include <mp4file.h>
#include <mpegfile.h>
#include <sys/stat.h>
#include <tfilestream.h>
#include <unistd.h>
#include <wavfile.h>
#include <xiphcomment.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/Naming.h"
#include "base/TextCodec.h"
#include "player/Mpris.h"

namespace orvalis::cover {

namespace {

std::string lowerExtension(const std::filesystem::path& p) {
    return text::toLowerAscii(p.extension().string());
}

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    return h;
}

// The front cover among the pictures a tag carries, else the first of them.
class Choice {
public:
    void offer(const TagLib::ByteVector& data, bool front) {
        if (found_ && (isFront_ || !front)) return;
        if (data.isEmpty() || data.size() > kMaxPictureBytes) return;
        std::string bytes(data.data(), data.size());
        if (pictureExtension(bytes).empty()) return;
        found_ = std::move(bytes);
        isFront_ = front;
    }
    std::optional<std::string> take() { return std::move(found_); }

private:
    std::optional<std::string> found_;
    bool isFront_ = false;
};

void offerId3(TagLib::ID3v2::Tag* tag, Choice& choice) {
    if (!tag) return;
    // TagLib reads the PIC frames of ID3v2.2 as APIC frames.
    for (TagLib::ID3v2::Frame* frame : tag->frameList("APIC")) {
        if (auto* pic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame))
            choice.offer(pic->picture(),
                         pic->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    }
}

void offerFlac(const TagLib::List<TagLib::FLAC::Picture*>& pictures, Choice& choice) {
    for (TagLib::FLAC::Picture* pic : pictures)
        choice.offer(pic->data(), pic->type() == TagLib::FLAC::Picture::FrontCover);
}

void offerAsf(TagLib::ASF::Tag* tag, Choice& choice) {
    if (!tag || !tag->contains("WM/Picture")) return;
    for (const TagLib::ASF::Attribute& attribute : tag->attribute("WM/Picture")) {
        const TagLib::ASF::Picture pic = attribute.toPicture();
        if (pic.isValid())
            choice.offer(pic.picture(), pic.type() == TagLib::ASF::Picture::FrontCover);
    }
}

void offerMp4(TagLib::MP4::Tag* tag, Choice& choice) {
    if (!tag || !tag->contains("covr")) return;
    // MP4 says nothing of which picture is the front: the first one is.
    for (const TagLib::MP4::CoverArt& art : tag->item("covr").toCoverArtList())
        choice.offer(art.data(), false);
}

std::optional<std::string> taggedPicture(TagLib::File* file) {
    Choice choice;
    if (auto* f = dynamic_cast<TagLib::MPEG::File*>(file)) {
        offerId3(f->ID3v2Tag(), choice);
    } else if (auto* f = dynamic_cast<TagLib::FLAC::File*>(file)) {
        offerFlac(f->pictureList(), choice);
        offerId3(f->ID3v2Tag(), choice);  // FLAC files may carry an ID3 tag of their own
    } else if (auto* f = dynamic_cast<TagLib::MP4::File*>(file)) {
        offerMp4(f->tag(), choice);
    } else if (auto* f = dynamic_cast<TagLib::ASF::File*>(file)) {
        offerAsf(f->tag(), choice);
    } else if (auto* f = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) {
        offerId3(f->ID3v2Tag(), choice);
    } else if (auto* f = dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) {
        offerId3(f->tag(), choice);
    } else if (auto* xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(file ? file->tag() : nullptr)) {
        // Vorbis, Opus, Speex and FLAC in Ogg: METADATA_BLOCK_PICTURE comments.
        offerFlac(xiph->pictureList(), choice);
    }
    return choice.take();
}

}  // namespace

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

std::optional<Picture> embeddedPicture(const std::string& mediaPath) {
    // Opened here, without waiting, so that a pipe or a device named as a medium is refused
    // before TagLib reads from it; the stream takes the descriptor over.
    const int fd = ::open(mediaPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    TagLib::FileStream stream(fd, true);
    if (!stream.isOpen()) return std::nullopt;
    const TagLib::FileRef ref(&stream, false);
    std::optional<std::string> bytes = taggedPicture(ref.file());
    if (!bytes) return std::nullopt;
    std::string extension = pictureExtension(*bytes);
    return Picture{std::move(extension), std::move(*bytes)};
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
    std::optional<Picture> picture = embeddedPicture(mediaPath);
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
