#pragma once

#include <string>
#include <string_view>
#include <vector>

// The first reading of a SAMI file: its tags and its runs of text, in file order, in one pass
// over the bytes whatever their shape.
namespace orvalis {

struct SamiTag {
    // Upper-cased, without blanks, closed by ">": "<SYNCSTART=1000>", "<PCLASS=KRCC>".
    std::string_view name;
    // The class attribute of a P tag as the file writes it (quotes off), "" for none.
    std::string_view pClass;
};

class SamiTokenSink {
public:
    virtual ~SamiTokenSink() = default;
    virtual void tag(const SamiTag& tag) = 0;
    // A run of text, blanks inside and at a tag kept as the file has them. afterLineEnd: the
    // end of a line of the file lies between it and the run before.
    virtual void text(std::string_view run, bool afterLineEnd) = 0;
    // What a STYLE block holds (the style sheet), piece by piece.
    virtual void styleText(std::string_view) {}
};

// Reads the tags and text runs of a SAMI file. Each line of the file is taken without the
// blanks at its ends. A line that ends in text ends with a "<BR>" tag; such a run longer than
// the divide length (in CP949 units) is cut in two, with a "<BR>" between. A tag left open at
// the end of a line goes on on the next one only when a ">" closes it before the next "<";
// otherwise it ends with its line, and a tag cut short by a "<" ends there, so that a broken
// tag never takes the text after it. A "<" that no letter, "/", "!" or "?" follows is text.
// Comments ("<!-- -->") give nothing but, inside a STYLE block, their style sheet.
void readSamiTokens(std::string_view utf8, int divideLength, SamiTokenSink& sink);

// A class declared in a style sheet (".KRCC { Name: 한국어; lang: ko-KR; }"): its name as
// written and its lang property.
struct SamiClassDeclaration {
    std::string name;
    std::string lang;
};
std::vector<SamiClassDeclaration> samiClassDeclarations(std::string_view styleSheet);

}  // namespace orvalis
