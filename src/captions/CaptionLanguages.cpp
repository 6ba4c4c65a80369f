#include "captions/CaptionLanguages.h"

#include <algorithm>
#include <array>

#include "base/TextCodec.h"

namespace orvalis {

namespace {

// Titles and tags longer than this are cut in the message (CP949 units).
constexpr std::size_t kLongestTitle = 48;
constexpr std::size_t kLongestTag = 16;

struct Language {
    std::string_view code;
    std::string_view name;  // in the message
    std::array<std::string_view, 4> tags;
    std::array<std::string_view, 3> words;  // in a title
};

constexpr std::array<Language, 4> kLanguages{{
    {"KRCC", "한글", {"ko", "kor", "korean", ""}, {"korean", "한국어", "한글"}},
    {"EGCC", "영어", {"en", "eng", "english", ""}, {"english", "영어", ""}},
    {"JPCC", "일어", {"ja", "jpn", "japanese", "jp"}, {"japanese", "일본어", ""}},
    {"FRCC", "불어", {"fr", "fra", "fre", "french"}, {"french", "프랑스어", ""}},
}};

// Control characters and broken bytes out, blanks at both ends off, cut to a length.
std::string clean(std::string_view raw, std::size_t longest) {
    std::string s = text::isValidUtf8(raw) ? std::string(raw) : text::decode(raw);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    std::string_view kept = text::prefixWithinUnits(text::trimWhitespace(s), longest);
    return std::string(text::trimWhitespace(kept));
}

const Language* languageOf(std::string_view code) {
    for (const Language& l : kLanguages)
        if (l.code == code) return &l;
    return nullptr;
}

}  // namespace

std::string_view languageClassOfTag(std::string_view tag) {
    tag = text::trimWhitespace(tag);
    // "ko-KR", "en_US": the primary language decides.
    tag = tag.substr(0, std::min(tag.find_first_of("-_"), tag.size()));
    if (tag.empty()) return {};
    const std::string lower = text::toLowerAscii(tag);
    for (const Language& l : kLanguages)
        for (std::string_view t : l.tags)
            if (!t.empty() && lower == t) return l.code;
    return {};
}

std::string_view languageClassOfName(std::string_view word) {
    if (std::string_view code = languageClassOfTag(word); !code.empty()) return code;
    const std::string lower = text::toLowerAscii(text::trimWhitespace(word));
    for (const Language& l : kLanguages)
        for (std::string_view w : l.words)
            if (!w.empty() && lower == w) return l.code;
    return {};
}

namespace {

// The language class of a tag, by its primary language, else by its region ("kr-KR").
std::string_view languageClassOfTagOrRegion(std::string_view tag) {
    if (std::string_view code = languageClassOfTag(tag); !code.empty()) return code;
    const std::size_t dash = tag.find_first_of("-_");
    if (dash == std::string_view::npos) return {};
    const std::string region = text::toUpperAscii(text::trimWhitespace(tag.substr(dash + 1)));
    for (auto [name, code] : {std::pair<std::string_view, std::string_view>{"KR", "KRCC"},
                              {"US", "EGCC"},
                              {"GB", "EGCC"},
                              {"JP", "JPCC"},
                              {"FR", "FRCC"}})
        if (region == name) return code;
    return {};
}

}  // namespace

std::string samiLanguageCode(std::string_view className, std::string_view lang) {
    const std::string name = text::toUpperAscii(text::trimWhitespace(className));
    if (name == "ENCC" || name == "NLCC") return "EGCC";
    for (const Language& l : kLanguages)
        if (name == l.code) return name;
    if (std::string_view code = languageClassOfTagOrRegion(lang); !code.empty())
        return std::string(code);
    for (std::string_view code : {"KRCC", "ENCC", "EGCC", "JPCC", "FRCC"})
        if (name.find(code) != std::string::npos)
            return code == "ENCC" ? "EGCC" : std::string(code);
    if (std::string_view code = languageClassOfTagOrRegion(name); !code.empty())
        return std::string(code);
    // "ENUSCC", "FRFRCC", "KOKRCC": a language and a region before "CC".
    if (name.size() == 6 && name.ends_with("CC")) {
        const std::string tag = name.substr(0, 2) + "-" + name.substr(2, 2);
        if (std::string_view code = languageClassOfTagOrRegion(tag); !code.empty())
            return std::string(code);
    }
    return name;
}

std::string_view languageName(std::string_view code) {
    const Language* l = languageOf(code);
    return l ? l->name : "알 수 없음";
}

std::string languageMessage(std::string_view code) {
    return "자막 언어 : " + std::string(languageName(code));
}

std::string_view languageClassOfTrack(const SubtitleTrack& track) {
    const std::string_view tag = text::trimWhitespace(track.language);
    if (!tag.empty() && text::toLowerAscii(tag) != "und") return languageClassOfTag(tag);
    const std::string title = text::toLowerAscii(track.title);
    for (const Language& l : kLanguages)
        for (std::string_view word : l.words)
            if (!word.empty() && title.find(word) != std::string::npos) return l.code;
    return {};
}

int preferredSubtitleTrack(const std::vector<SubtitleTrack>& tracks) {
    for (std::string_view wanted : {"KRCC", "EGCC"})
        for (const SubtitleTrack& t : tracks)
            if (languageClassOfTrack(t) == wanted) return t.id;
    return tracks.empty() ? 0 : tracks.front().id;
}

int subtitleTrackAfter(const std::vector<SubtitleTrack>& tracks, int id) {
    if (tracks.empty()) return 0;
    auto at = std::find_if(tracks.begin(), tracks.end(),
                           [id](const SubtitleTrack& t) { return t.id == id; });
    if (at == tracks.end() || ++at == tracks.end()) return tracks.front().id;
    return at->id;
}

std::string subtitleTrackMessage(const SubtitleTrack& track) {
    std::string name;
    if (const Language* l = languageOf(languageClassOfTrack(track))) {
        name = l->name;
    } else {
        name = clean(track.language, kLongestTag);
        if (name.empty() || text::toLowerAscii(name) == "und") name = "알 수 없음";
    }
    std::string message = "자막 언어 : " + name;
    const std::string title = clean(track.title, kLongestTitle);
    if (!title.empty() && title != name) message += " (" + title + ")";
    return message;
}

TrackDrawing trackDrawingOf(const SubtitleTrack& track, bool ignoreStyles) {
    const std::string codec = text::toLowerAscii(text::trimWhitespace(track.codec));
    static constexpr std::array<std::string_view, 8> kText{
        "subrip", "srt", "webvtt", "webvtt-webm", "mov_text", "text", "microdvd", "subviewer"};
    static constexpr std::array<std::string_view, 2> kStyled{"ass", "ssa"};
    if (std::find(kText.begin(), kText.end(), codec) != kText.end()) return TrackDrawing::Captions;
    if (ignoreStyles && std::find(kStyled.begin(), kStyled.end(), codec) != kStyled.end())
        return TrackDrawing::Captions;
    return TrackDrawing::Framework;
}

double subtitleDelayOf(int syncTenths) {
    return -syncTenths / 10.0;
}

}  // namespace orvalis
