#include "playlist/ClrFile.h"

#include "base/AtomicFile.h"
#include "base/TextCodec.h"

namespace orvalis::clr {

namespace {

constexpr std::size_t kColorOffsets[kSlotCount] = {52, 56, 60, 64};

Colorref readLe32(std::string_view b, std::size_t at) {
    auto byte = [&](std::size_t k) { return Colorref(static_cast<unsigned char>(b[at + k])); };
    return byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
}

void writeLe32(std::string& out, std::size_t at, Colorref v) {
    for (std::size_t k = 0; k < 4; ++k) out[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

// The longest prefix of bytes within limit, cut where a character of the given width rule
// begins.
template <typename Width>
std::string cutWhole(std::string_view bytes, std::size_t limit, Width width) {
    std::size_t end = 0;
    while (end < bytes.size()) {
        std::size_t w = width(static_cast<unsigned char>(bytes[end]));
        if (end + w > limit) break;
        end += w;
    }
    return std::string(bytes.substr(0, std::min(end, bytes.size())));
}

}  // namespace

std::string nameBytes(std::string_view name) {
    if (auto cp949 = text::toCp949(name)) {
        return cutWhole(*cp949, kNameBytes,
                        [](unsigned char c) -> std::size_t { return c < 0x80 ? 1 : 2; });
    }
    return cutWhole(name, kNameBytes, text::utf8SequenceLength);
}

std::string recordName(std::string_view field) {
    field = field.substr(0, std::min(field.size(), kNameField));
    std::size_t nul = field.find('\0');
    std::size_t length = nul == std::string_view::npos ? kNameBytes : nul;
    return text::decode(field.substr(0, std::min(length, field.size())));
}

std::vector<ColorScheme> decode(std::string_view bytes) {
    std::vector<ColorScheme> out;
    for (std::size_t at = 0; at + kRecordSize <= bytes.size() && out.size() < kMaxRecords;
         at += kRecordSize) {
        std::string_view record = bytes.substr(at, kRecordSize);
        ColorScheme s;
        s.name = recordName(record.substr(0, kNameField));
        for (int i = 0; i < kSlotCount; ++i)
            s.setSlot(kAllSlots[i], readLe32(record, kColorOffsets[i]));
        out.push_back(std::move(s));
    }
    return out;
}

std::string encode(const std::vector<ColorScheme>& schemes) {
    std::string out(schemes.size() * kRecordSize, '\0');
    for (std::size_t r = 0; r < schemes.size(); ++r) {
        const std::size_t at = r * kRecordSize;
        const std::string name = nameBytes(schemes[r].name);
        out.replace(at, name.size(), name);
        for (int i = 0; i < kSlotCount; ++i)
            writeLe32(out, at + kColorOffsets[i], schemes[r].slot(kAllSlots[i]));
    }
    return out;
}

ReadResult readFile(const std::string& path) {
    ReadResult result;
    auto bytes = readFileStart(path, kMaxRecords * kRecordSize);
    if (!bytes) return result;
    result.schemes = decode(*bytes);
    result.status = result.schemes.empty() ? ReadStatus::NoRecord : ReadStatus::Ok;
    return result;
}

bool writeFile(const std::string& path, const std::vector<ColorScheme>& schemes) {
    return writeFileAtomically(path, encode(schemes));
}

}  // namespace orvalis::clr
