#include "captions/CharacterReferences.h"

#include <array>
#include <optional>

#include "base/TextCodec.h"

namespace orvalis {

namespace {

struct Named {
    std::string_view name;
    char32_t code;
};

// The names of HTML 4 (Latin-1, punctuation) and the few symbols caption files use.
// clang-format off
constexpr std::array<Named, 146> kNamed{{
    {"quot", 34}, {"amp", 38}, {"apos", 39}, {"lt", 60}, {"gt", 62}, {"nbsp", 160}, {"iexcl", 161},
    {"cent", 162}, {"pound", 163}, {"curren", 164}, {"yen", 165}, {"brvbar", 166}, {"sect", 167},
    {"uml", 168}, {"copy", 169}, {"ordf", 170}, {"laquo", 171}, {"not", 172}, {"shy", 173},
    {"reg", 174}, {"macr", 175}, {"deg", 176}, {"plusmn", 177}, {"sup2", 178}, {"sup3", 179},
    {"acute", 180}, {"micro", 181}, {"para", 182}, {"middot", 183}, {"cedil", 184}, {"sup1", 185},
    {"ordm", 186}, {"raquo", 187}, {"frac14", 188}, {"frac12", 189}, {"frac34", 190},
    {"iquest", 191}, {"Agrave", 192}, {"Aacute", 193}, {"Acirc", 194}, {"Atilde", 195},
    {"Auml", 196}, {"Aring", 197}, {"AElig", 198}, {"Ccedil", 199}, {"Egrave", 200},
    {"Eacute", 201}, {"Ecirc", 202}, {"Euml", 203}, {"Igrave", 204}, {"Iacute", 205},
    {"Icirc", 206}, {"Iuml", 207}, {"ETH", 208}, {"Ntilde", 209}, {"Ograve", 210}, {"Oacute", 211},
    {"Ocirc", 212}, {"Otilde", 213}, {"Ouml", 214}, {"times", 215}, {"Oslash", 216},
    {"Ugrave", 217}, {"Uacute", 218}, {"Ucirc", 219}, {"Uuml", 220}, {"Yacute", 221},
    {"THORN", 222}, {"szlig", 223}, {"agrave", 224}, {"aacute", 225}, {"acirc", 226},
    {"atilde", 227}, {"auml", 228}, {"aring", 229}, {"aelig", 230}, {"ccedil", 231},
    {"egrave", 232}, {"eacute", 233}, {"ecirc", 234}, {"euml", 235}, {"igrave", 236},
    {"iacute", 237}, {"icirc", 238}, {"iuml", 239}, {"eth", 240}, {"ntilde", 241}, {"ograve", 242},
    {"oacute", 243}, {"ocirc", 244}, {"otilde", 245}, {"ouml", 246}, {"divide", 247},
    {"oslash", 248}, {"ugrave", 249}, {"uacute", 250}, {"ucirc", 251}, {"uuml", 252},
    {"yacute", 253}, {"thorn", 254}, {"yuml", 255}, {"OElig", 338}, {"oelig", 339}, {"Scaron", 352},
    {"scaron", 353}, {"Yuml", 376}, {"circ", 710}, {"tilde", 732}, {"ensp", 8194}, {"emsp", 8195},
    {"thinsp", 8201}, {"hyphen", 8208}, {"ndash", 8211}, {"mdash", 8212}, {"lsquo", 8216},
    {"rsquo", 8217}, {"sbquo", 8218}, {"ldquo", 8220}, {"rdquo", 8221}, {"bdquo", 8222},
    {"dagger", 8224}, {"Dagger", 8225}, {"bull", 8226}, {"hellip", 8230}, {"permil", 8240},
    {"prime", 8242}, {"Prime", 8243}, {"lsaquo", 8249}, {"rsaquo", 8250}, {"euro", 8364},
    {"trade", 8482}, {"larr", 8592}, {"uarr", 8593}, {"rarr", 8594}, {"darr", 8595}, {"harr", 8596},
    {"starf", 9733}, {"star", 9734}, {"spades", 9824}, {"clubs", 9827}, {"hearts", 9829},
    {"diams", 9830}, {"sung", 9834}, {"flat", 9837}, {"natural", 9838}, {"sharp", 9839},
}};
// clang-format on

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
// Longest name in the table and longest numeric reference worth reading ("&#x10FFFF;").
constexpr std::size_t kLongestReference = 10;

// The number of "#123" or "#x7B", or nothing when it is not one.
std::optional<char32_t> numericReference(std::string_view body) {
    body.remove_prefix(1);
    int base = 10;
    if (!body.empty() && (body[0] == 'x' || body[0] == 'X')) {
        base = 16;
        body.remove_prefix(1);
    }
    if (body.empty()) return std::nullopt;
    char32_t value = 0;
    for (char c : body) {
        int d = c >= '0' && c <= '9'                 ? c - '0'
                : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
        if (d < 0) return std::nullopt;
        value = value * static_cast<char32_t>(base) + static_cast<char32_t>(d);
        if (value > 0x10FFFF) value = 0x110000;  // stays out of range, never overflows
    }
    return value;
}

void appendCharacter(std::string& out, char32_t cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        out += kReplacement;
    else if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0) || cp == 0xA0)
        out += ' ';
    else
        text::appendUtf8(out, cp);
}

}  // namespace

std::string decodeCharacterReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) break;
        out.append(text.substr(i, amp - i));
        i = amp + 1;
        // Only as far as the longest reference: a text of "&" without ";" costs one pass.
        std::size_t semi = text.substr(i, kLongestReference + 1).find(';');
        if (semi != std::string_view::npos) semi += i;
        if (semi == std::string_view::npos || semi == i) {
            out += '&';
            continue;
        }
        std::string_view body = text.substr(i, semi - i);
        std::optional<char32_t> cp;
        if (body[0] == '#') {
            cp = numericReference(body);
        } else {
            for (const Named& n : kNamed)
                if (n.name == body) cp = n.code;
        }
        if (!cp) {
            out += '&';
            continue;
        }
        appendCharacter(out, *cp);
        i = semi + 1;
    }
    out.append(text.substr(i));
    return out;
}

}  // namespace orvalis
