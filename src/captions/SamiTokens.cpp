#include "captions/SamiTokens.h"

#include <algorithm>

#include "base/TextCodec.h"
#include "captions/SplitPoint.h"

namespace orvalis {

namespace {

constexpr std::string_view kBreakTag = "<BR>";
// A style sheet longer than this declares nothing more that a caption file needs.
constexpr std::size_t kLongestStyleSheet = 64 * 1024;

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Whether the "<" at this place opens a tag: a letter, "/", "!" or "?" follows it.
bool opensTag(std::string_view s, std::size_t at) {
    if (at + 1 >= s.size()) return false;
    const char c = s[at + 1];
    return isLetter(c) || c == '/' || c == '!' || c == '?';
}

// The first place of either byte from start on.
std::size_t findEither(std::string_view s, char a, char b, std::size_t start) {
    for (std::size_t i = start; i < s.size(); ++i)
        if (s[i] == a || s[i] == b) return i;
    return std::string_view::npos;
}

// The first place of a word in any letter case, from start on.
std::size_t findWordNoCase(std::string_view s, std::string_view lowerWord, std::size_t start) {
    for (std::size_t i = start; i + lowerWord.size() <= s.size(); ++i) {
        std::size_t k = 0;
        while (k < lowerWord.size() && (s[i + k] | 0x20) == lowerWord[k]) ++k;
        if (k == lowerWord.size()) return i;
    }
    return std::string_view::npos;
}

// The value of an attribute of a raw tag ("<P Class = 'KRCC' id=a"): quoted, up to its
// quote; bare, up to a blank. "" when the tag has none.
std::string_view attributeValue(std::string_view raw, std::string_view lowerName) {
    for (std::size_t at = findWordNoCase(raw, lowerName, 0); at != std::string_view::npos;
         at = findWordNoCase(raw, lowerName, at + 1)) {
        std::string_view rest = raw.substr(at + lowerName.size());
        while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
        if (rest.empty() || rest.front() != '=') continue;
        rest.remove_prefix(1);
        while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
        if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
            const char quote = rest.front();
            rest.remove_prefix(1);
            return text::trimWhitespace(rest.substr(0, rest.find(quote)));
        }
        std::size_t end = 0;
        while (end < rest.size() && !isBlank(rest[end]) && rest[end] != '"' && rest[end] != '\'')
            ++end;
        return rest.substr(0, end);
    }
    return {};
}

// Calls f with each line of a text; "\n", "\r\n" and a lone "\r" all end a line.
template <typename F>
void forEachLine(std::string_view text, F&& f) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = findEither(text, '\r', '\n', start);
        if (end == std::string_view::npos) {
            f(text.substr(start));
            return;
        }
        f(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

class Tokenizer {
public:
    Tokenizer(std::string_view text, int divideLength, SamiTokenSink& sink)
        : text_(text),
          divideLength_(static_cast<std::size_t>(std::max(divideLength, 0))),
          sink_(sink),
          lastCommentEnd_(text.rfind("-->")) {}

    void run() {
        forEachLine(text_, [this](std::string_view line) { physicalLine(line); });
        if (inTag_) closeTag();
    }

private:
    void physicalLine(std::string_view raw) {
        const auto lineEnd = static_cast<std::size_t>(raw.data() - text_.data()) + raw.size();
        const std::string_view line = text::trimWhitespace(raw);
        if (inTag_ && !line.empty()) tag_ += ' ';
        std::size_t i = 0;
        while (i < line.size()) {
            if (inComment_)
                i = comment(line, i);
            else if (inTag_)
                i = tagPart(line, i);
            else
                i = textPart(line, i);
        }
        // A tag open at the end of its line goes on only when the text after it closes it.
        if (inTag_ && !(continuesOnNextLine() && closedBeforeNextOpen(lineEnd))) closeTag();
        lineEnded_ = true;
    }

    std::size_t comment(std::string_view line, std::size_t i) {
        const std::size_t end = line.find("-->", i);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        if (inStyle_) style(line.substr(i, stop - i));
        if (end == std::string_view::npos) return line.size();
        inComment_ = false;
        return end + 3;
    }

    std::size_t tagPart(std::string_view line, std::size_t i) {
        const std::size_t mark = findEither(line, '<', '>', i);
        tag_.append(line.substr(i, mark - i));
        if (mark == std::string_view::npos) return line.size();
        closeTag();
        // A "<" inside a tag ends it and opens the next.
        return line[mark] == '>' ? mark + 1 : mark;
    }

    std::size_t textPart(std::string_view line, std::size_t i) {
        std::size_t open = line.find('<', i);
        while (open != std::string_view::npos && !opensTag(line, open))
            open = line.find('<', open + 1);
        if (open == std::string_view::npos) {
            lineEndText(line.substr(i));
            return line.size();
        }
        if (open > i) emitText(line.substr(i, open - i));
        if (line.substr(open, 4) == "<!--" && commentCloses(line, open)) {
            inComment_ = true;
            return open + 4;
        }
        inTag_ = true;
        tag_.clear();
        tag_ += '<';
        return open + 1;
    }

    // Whether a "-->" follows the "<!--" at this place of the line anywhere in the file.
    bool commentCloses(std::string_view line, std::size_t open) const {
        const auto at = static_cast<std::size_t>(line.data() - text_.data()) + open;
        return lastCommentEnd_ != std::string_view::npos && lastCommentEnd_ >= at + 4;
    }

    // An open tag that begins like a real one ("<SYNC Start", "</FONT", "<br") may go on.
    bool continuesOnNextLine() const {
        if (tag_.size() < 2) return false;
        if (tag_[1] == '/') return tag_.size() > 2 && isLetter(tag_[2]);
        return isLetter(tag_[1]) || tag_[1] == '!' || tag_[1] == '?';
    }

    // Whether the first "<" or ">" after this place of the file is a ">". The place found is
    // kept, so that a tag open over many lines costs one search.
    bool closedBeforeNextOpen(std::size_t from) {
        if (nextMark_ == std::string_view::npos || nextMark_ < from) {
            if (marksExhausted_) return false;
            nextMark_ = findEither(text_, '<', '>', from);
            marksExhausted_ = nextMark_ == std::string_view::npos;
            if (marksExhausted_) return false;
        }
        return text_[nextMark_] == '>';
    }

    void emitText(std::string_view run) {
        if (inStyle_) style(run);
        sink_.text(run, lineEnded_);
        lineEnded_ = false;
    }

    void lineEndText(std::string_view run) {
        if (run.empty()) return;
        if (text::cp949Units(run) > divideLength_) {
            auto [first, second] = splitInTwo(run);
            emitText(first);
            emitTag(kBreakTag, {});
            emitText(second);
        } else {
            emitText(run);
        }
        emitTag(kBreakTag, {});
    }

    void closeTag() {
        name_.clear();
        for (char c : tag_)
            if (!isBlank(c)) name_ += upper(c);
        name_ += '>';
        std::string_view pClass;
        if (name_.starts_with("<PCLASS=")) pClass = attributeValue(tag_, "class");
        if (name_.starts_with("<STYLE")) inStyle_ = true;
        if (name_.starts_with("</STYLE")) inStyle_ = false;
        inTag_ = false;
        emitTag(name_, pClass);
        tag_.clear();
    }

    void emitTag(std::string_view name, std::string_view pClass) { sink_.tag({name, pClass}); }

    void style(std::string_view piece) {
        if (styleBytes_ + piece.size() > kLongestStyleSheet) return;
        styleBytes_ += piece.size() + 1;
        sink_.styleText(piece);
    }

    std::string_view text_;
    std::size_t divideLength_;
    SamiTokenSink& sink_;
    const std::size_t lastCommentEnd_;
    std::size_t nextMark_ = std::string_view::npos;
    bool marksExhausted_ = false;

    std::string tag_;   // the open tag as written
    std::string name_;  // its normalised form
    bool inTag_ = false;
    bool inComment_ = false;
    bool inStyle_ = false;
    bool lineEnded_ = false;
    std::size_t styleBytes_ = 0;
};

}  // namespace

void readSamiTokens(std::string_view utf8, int divideLength, SamiTokenSink& sink) {
    Tokenizer(utf8, divideLength, sink).run();
}

std::vector<SamiClassDeclaration> samiClassDeclarations(std::string_view css) {
    std::vector<SamiClassDeclaration> found;
    for (std::size_t dot = css.find('.'); dot != std::string_view::npos;
         dot = css.find('.', dot + 1)) {
        // A selector: the dot begins a line or follows a blank, "}" or ",".
        if (dot > 0 && !isBlank(css[dot - 1]) && css[dot - 1] != '}' && css[dot - 1] != ',' &&
            css[dot - 1] != '\n')
            continue;
        std::size_t end = dot + 1;
        while (end < css.size() && (isLetter(css[end]) || (css[end] >= '0' && css[end] <= '9') ||
                                    css[end] == '-' || css[end] == '_'))
            ++end;
        std::size_t brace = end;
        while (brace < css.size() && isBlank(css[brace])) ++brace;
        if (end == dot + 1 || brace >= css.size() || css[brace] != '{') continue;
        const std::size_t close = css.find('}', brace);
        const std::string_view body =
            css.substr(brace + 1, close == std::string_view::npos ? close : close - brace - 1);
        std::string lang;
        for (std::size_t at = findWordNoCase(body, "lang", 0); at != std::string_view::npos;
             at = findWordNoCase(body, "lang", at + 1)) {
            std::string_view rest = body.substr(at + 4);
            while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
            if (rest.empty() || rest.front() != ':') continue;
            rest = rest.substr(
                1, rest.find(';') == std::string_view::npos ? rest.size() : rest.find(';') - 1);
            lang = std::string(text::trimWhitespace(rest));
            break;
        }
        found.push_back({std::string(css.substr(dot + 1, end - dot - 1)), std::move(lang)});
        if (close == std::string_view::npos) break;
        dot = close;
    }
    return found;
}

}  // namespace orvalis
