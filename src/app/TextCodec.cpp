#include "app/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace orvalis::text {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one.
std::size_t validSequenceAt(std::string_view s, std::size_t i) {
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = b(i);
    if (c < 0x80) return 1;
    std::size_t n;
    char32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
    if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
    return n;
}

std::string sanitizeUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t valid = 0;  // start of the valid run not copied yet
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = validSequenceAt(s, i);
        if (n == 0) {
            out.append(s.substr(valid, i - valid));
            out += kReplacement;
            valid = ++i;
        } else {
            i += n;
        }
    }
    out.append(s.substr(valid));
    return out;
}

std::string decodeUtf16(std::string_view s, bool bigEndian) {
    std::string out;
    out.reserve(s.size());
    auto unit = [&](std::size_t i) -> char16_t {
        auto a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
        return bigEndian ? static_cast<char16_t>((a << 8) | b) : static_cast<char16_t>((b << 8) | a);
    };
    std::size_t i = 0;
    while (i + 1 < s.size()) {
        char16_t u = unit(i);
        i += 2;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < s.size()) {
                char16_t low = unit(i);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    i += 2;
                    appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00));
                    continue;
                }
            }
            out += kReplacement;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            out += kReplacement;
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

std::string decodeCp949(std::string_view s) {
    Iconv cd("UTF-8", "CP949");
    if (!cd.ok()) return sanitizeUtf8(s);
    std::string out;
    out.reserve(s.size() * 3 / 2 + 16);
    std::vector<char> buffer(s.size() * 2 + 16);
    auto* in = const_cast<char*>(s.data());
    std::size_t inLeft = s.size();
    while (inLeft > 0) {
        char* dst = buffer.data();
        std::size_t dstLeft = buffer.size();
        std::size_t rc = iconv(cd.get(), &in, &inLeft, &dst, &dstLeft);
        out.append(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or truncated sequence: mark it and go on after its first byte.
            out += kReplacement;
            // glibc's CP949 converter may report an invalid sequence with nothing left.
            if (inLeft == 0) break;
            ++in;
            --inLeft;
            iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

}  // namespace

Encoding detectEncoding(std::string_view b) {
    if (b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF") return Encoding::Utf8Bom;
    if (b.size() >= 2 && b.substr(0, 2) == "\xFF\xFE") return Encoding::Utf16LE;
    if (b.size() >= 2 && b.substr(0, 2) == "\xFE\xFF") return Encoding::Utf16BE;
    return isValidUtf8(b) ? Encoding::Utf8 : Encoding::Cp949;
}

std::string decode(std::string_view bytes) { return decode(bytes, detectEncoding(bytes)); }

std::string decode(std::string_view bytes, Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf8Bom:
            return sanitizeUtf8(bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF"
                                    ? bytes.substr(3)
                                    : bytes);
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            bool hasBom = bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" ||
                                                bytes.substr(0, 2) == "\xFE\xFF");
            return decodeUtf16(hasBom ? bytes.substr(2) : bytes, encoding == Encoding::Utf16BE);
        }
        case Encoding::Utf8:
            return sanitizeUtf8(bytes);
        case Encoding::Cp949:
            return decodeCp949(bytes);
    }
    return std::string(bytes);
}

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = validSequenceAt(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::optional<std::string> toCp949(std::string_view utf8) {
    Iconv cd("CP949", "UTF-8");
    if (!cd.ok()) return std::nullopt;
    std::string out;
    std::vector<char> buffer(utf8.size() + 16);
    auto* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    while (inLeft > 0) {
        char* dst = buffer.data();
        std::size_t dstLeft = buffer.size();
        std::size_t rc = iconv(cd.get(), &in, &inLeft, &dst, &dstLeft);
        out.append(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return std::nullopt;
    }
    return out;
}

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

std::size_t cp949Units(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        auto c = static_cast<unsigned char>(utf8[i]);
        units += c < 0x80 ? 1 : 2;
        i += utf8SequenceLength(c);
    }
    return units;
}

std::string_view prefixWithinUnits(std::string_view utf8, std::size_t maxUnits) {
    std::size_t units = 0, i = 0;
    while (i < utf8.size()) {
        auto c = static_cast<unsigned char>(utf8[i]);
        std::size_t u = c < 0x80 ? 1 : 2;
        if (units + u > maxUnits) break;
        units += u;
        i += utf8SequenceLength(c);
    }
    return utf8.substr(0, std::min(i, utf8.size()));
}

std::string toLowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

std::string toUpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

std::string_view trimWhitespace(std::string_view s) {
    auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace orvalis::text
