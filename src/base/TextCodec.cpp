#include "base/TextCodec.h"

#include <iconv.h>
#include <uchardet.h>

#include <algorithm>
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
        return bigEndian ? static_cast<char16_t>((a << 8) | b)
                         : static_cast<char16_t>((b << 8) | a);
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

const char* iconvName(Encoding encoding) {
    switch (encoding) {
        case Encoding::ShiftJis:
            return "CP932";  // Windows' Shift-JIS, which most such files are
        case Encoding::EucJp:
            return "EUC-JP";
        case Encoding::Gb18030:
            return "GB18030";
        case Encoding::Big5:
            return "BIG5-HKSCS";
        case Encoding::Windows1252:
            return "CP1252";
        default:
            return "CP949";
    }
}

// Converts text through iconv. Lenient (into UTF-8 only): an invalid or truncated sequence
// becomes U+FFFD and converting goes on after its first byte. Strict: nothing then.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(to, from) {}

    std::string lenient(std::string_view s) { return *run(s, false); }
    std::optional<std::string> strict(std::string_view s) { return run(s, true); }

private:
    std::optional<std::string> run(std::string_view s, bool strict) {
        if (!cd_.ok()) return strict ? std::nullopt : std::optional(sanitizeUtf8(s));
        iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(s.size() * 3 / 2 + 16);
        buffer_.resize(s.size() * 2 + 16);
        auto* in = const_cast<char*>(s.data());
        std::size_t inLeft = s.size();
        while (inLeft > 0) {
            char* dst = buffer_.data();
            std::size_t dstLeft = buffer_.size();
            std::size_t rc = iconv(cd_.get(), &in, &inLeft, &dst, &dstLeft);
            out.append(buffer_.data(), static_cast<std::size_t>(dst - buffer_.data()));
            if (rc == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                if (strict) return std::nullopt;
                // An invalid or truncated sequence: mark it and go on after its first byte.
                out += kReplacement;
                // glibc's CP949 converter may report an invalid sequence with nothing left.
                if (inLeft == 0) break;
                ++in;
                --inLeft;
                iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

    Iconv cd_;
    std::vector<char> buffer_;
};

// Decodes one legacy encoding to UTF-8.
class LegacyDecoder : public Converter {
public:
    explicit LegacyDecoder(Encoding encoding) : Converter("UTF-8", iconvName(encoding)) {}
};

// Calls f(line) for each line of a text, each with its line feed.
template <typename F>
void forEachLine(std::string_view s, F&& f) {
    while (!s.empty()) {
        const std::size_t end = std::min(s.find('\n'), s.size() - 1) + 1;
        f(s.substr(0, end));
        s.remove_prefix(end);
    }
}

bool hasNonAscii(std::string_view s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The lines of a text that is not valid UTF-8 which are not UTF-8 either, joined; and whether
// the text is still mostly UTF-8: at least as many of its lines show UTF-8 characters as
// break the rule.
struct Utf8Census {
    std::string otherLines;
    bool mostlyUtf8 = false;
};

Utf8Census utf8Census(std::string_view s) {
    Utf8Census census;
    std::size_t utf8Lines = 0, otherLines = 0;
    forEachLine(s, [&](std::string_view line) {
        if (!hasNonAscii(line)) return;
        if (isValidUtf8(line)) {
            ++utf8Lines;
        } else {
            ++otherLines;
            census.otherLines += line;
        }
    });
    census.mostlyUtf8 = utf8Lines > 0 && otherLines <= utf8Lines;
    return census;
}

std::string decodeMixedUtf8(std::string_view s, Encoding otherLines) {
    // A file that mixes more than two encodings: a line is read in the first of these that
    // reads it whole. Windows-1252 reads nearly any bytes, so it comes after CP949.
    const bool western = otherLines == Encoding::Windows1252;
    LegacyDecoder first(western ? Encoding::Cp949 : otherLines);
    std::optional<LegacyDecoder> second;
    std::string out;
    out.reserve(s.size() + 16);
    forEachLine(s, [&](std::string_view line) {
        if (isValidUtf8(line)) {
            out += line;
            return;
        }
        if (std::optional<std::string> d = first.strict(line)) {
            out += *d;
            return;
        }
        if (!second) second.emplace(western ? otherLines : Encoding::Cp949);
        std::optional<std::string> d = second->strict(line);
        out += d ? *d : first.lenient(line);
    });
    return out;
}

// uchardet's name of a charset, as one of ours.
std::optional<Encoding> encodingOfCharset(std::string_view charset) {
    const std::string name = toUpperAscii(charset);
    if (name == "UHC" || name == "EUC-KR" || name == "CP949" || name == "ISO-2022-KR")
        return Encoding::Cp949;
    if (name == "SHIFT_JIS" || name == "CP932" || name == "ISO-2022-JP") return Encoding::ShiftJis;
    if (name == "EUC-JP") return Encoding::EucJp;
    if (name == "GB18030" || name == "GB2312" || name == "GBK" || name == "HZ-GB-2312")
        return Encoding::Gb18030;
    if (name == "BIG5" || name == "BIG5-HKSCS" || name == "EUC-TW") return Encoding::Big5;
    if (name == "WINDOWS-1252" || name == "ISO-8859-1" || name == "ISO-8859-15")
        return Encoding::Windows1252;
    return std::nullopt;
}

// The encoding of a text that is not UTF-8. Japanese and Chinese files are often valid CP949
// byte for byte (both are double-byte codes over the same ranges), so uchardet's statistics
// decide between them; a Western guess wins only over text that CP949 cannot read at all.
Encoding guessLegacyEncoding(std::string_view s) {
    // The statistics settle long before this; a huge file costs no more.
    constexpr std::size_t kSample = std::size_t(1) << 20;
    std::optional<Encoding> guess;
    if (uchardet_t detector = uchardet_new()) {
        const std::string_view sample = s.substr(0, kSample);
        if (uchardet_handle_data(detector, sample.data(), sample.size()) == 0) {
            uchardet_data_end(detector);
            guess = encodingOfCharset(uchardet_get_charset(detector));
        }
        uchardet_delete(detector);
    }
    const bool cjk = guess && *guess != Encoding::Cp949 && *guess != Encoding::Windows1252;
    if (cjk && LegacyDecoder(*guess).strict(s)) return *guess;
    if (guess == Encoding::Windows1252 && !LegacyDecoder(Encoding::Cp949).strict(s))
        return Encoding::Windows1252;
    return Encoding::Cp949;
}

}  // namespace

Encoding detectEncoding(std::string_view b) {
    if (b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF") return Encoding::Utf8Bom;
    if (b.size() >= 2 && b.substr(0, 2) == "\xFF\xFE") return Encoding::Utf16LE;
    if (b.size() >= 2 && b.substr(0, 2) == "\xFE\xFF") return Encoding::Utf16BE;
    if (isValidUtf8(b) || utf8Census(b).mostlyUtf8) return Encoding::Utf8;
    return Encoding::Cp949;
}

TextEncoding guessEncoding(std::string_view b) {
    const Encoding found = detectEncoding(b);
    if (found == Encoding::Cp949) return {guessLegacyEncoding(b), Encoding::Cp949};
    if (found != Encoding::Utf8 || isValidUtf8(b)) return {found, Encoding::Cp949};
    return {Encoding::Utf8, guessLegacyEncoding(utf8Census(b).otherLines)};
}

std::string decode(std::string_view bytes, const TextEncoding& encoding) {
    return decode(bytes, encoding.encoding, encoding.otherLines);
}

std::string decode(std::string_view bytes) {
    return decode(bytes, detectEncoding(bytes));
}

std::string decode(std::string_view bytes, Encoding encoding, Encoding otherLines) {
    switch (encoding) {
        case Encoding::Utf8Bom:
            return sanitizeUtf8(bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF"
                                    ? bytes.substr(3)
                                    : bytes);
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            bool hasBom = bytes.size() >= 2 &&
                          (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF");
            return decodeUtf16(hasBom ? bytes.substr(2) : bytes, encoding == Encoding::Utf16BE);
        }
        case Encoding::Utf8:
            if (isValidUtf8(bytes)) return std::string(bytes);
            return decodeMixedUtf8(bytes, otherLines);
        case Encoding::Cp949:
        case Encoding::ShiftJis:
        case Encoding::EucJp:
        case Encoding::Gb18030:
        case Encoding::Big5:
        case Encoding::Windows1252:
            return LegacyDecoder(encoding).lenient(bytes);
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
    return Converter("CP949", "UTF-8").strict(utf8);
}

namespace {

struct EncodingName {
    Encoding encoding;
    std::string_view name;
};
// The first name of each encoding is the one it is shown by.
constexpr EncodingName kEncodingNames[] = {
    {Encoding::Utf8, "UTF-8"},
    {Encoding::Utf8Bom, "UTF-8 (BOM)"},
    {Encoding::Utf16LE, "UTF-16LE"},
    {Encoding::Utf16BE, "UTF-16BE"},
    {Encoding::Cp949, "CP949"},
    {Encoding::Cp949, "EUC-KR"},
    {Encoding::Cp949, "UHC"},
    {Encoding::Cp949, "MS949"},
    {Encoding::ShiftJis, "Shift-JIS"},
    {Encoding::ShiftJis, "Shift_JIS"},
    {Encoding::ShiftJis, "SJIS"},
    {Encoding::ShiftJis, "CP932"},
    {Encoding::EucJp, "EUC-JP"},
    {Encoding::Gb18030, "GB18030"},
    {Encoding::Gb18030, "GBK"},
    {Encoding::Gb18030, "GB2312"},
    {Encoding::Gb18030, "CP936"},
    {Encoding::Big5, "Big5"},
    {Encoding::Big5, "CP950"},
    {Encoding::Big5, "Big5-HKSCS"},
    {Encoding::Windows1252, "Windows-1252"},
    {Encoding::Windows1252, "CP1252"},
    {Encoding::Windows1252, "ISO-8859-1"},
    {Encoding::Windows1252, "Latin1"},
    {Encoding::Utf8, "UTF8"},
};

}  // namespace

std::string_view encodingName(Encoding encoding) {
    for (const EncodingName& e : kEncodingNames)
        if (e.encoding == encoding) return e.name;
    return {};
}

std::optional<Encoding> encodingNamed(std::string_view name) {
    const std::string wanted = toUpperAscii(trimWhitespace(name));
    for (const EncodingName& e : kEncodingNames)
        if (toUpperAscii(e.name) == wanted) return e.encoding;
    return std::nullopt;
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

std::string escapeMarkup(std::string_view s, bool quotes) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"' && quotes)
            out += "&quot;";
        else
            out += c;
    }
    return out;
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
