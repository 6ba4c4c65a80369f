#include "captions/CaptionLayout.h"

#include <algorithm>

#include "base/TextCodec.h"
#include "captions/ColourNames.h"
#include "captions/SamiParser.h"
#include "captions/SplitPoint.h"

namespace orvalis {

namespace {

// Each display line wider than the limit is cut once, in two; the second part keeps the
// first part's colour text. A part that is still too wide stays so.
std::string wrapLines(std::string_view caption, int limit, const TextMeasurer& measurer) {
    std::string wrapped;
    wrapped.reserve(caption.size() + 16);
    std::string text;
    std::string colour;
    auto endLine = [&] {
        if (measurer.measure(text).width > limit) {
            auto [first, second] = splitInTwo(text);
            wrapped.append(first);
            wrapped.append(" \n");
            if (!colour.empty()) {
                wrapped.append(colour);
                wrapped.push_back('|');
            }
            wrapped.append(second);
        } else {
            wrapped.append(text);
        }
        wrapped.push_back('\n');
        text.clear();
        colour.clear();
    };
    for (char c : caption) {
        if (c == '|') {
            colour = text;
            wrapped.append(text);
            wrapped.push_back('|');
            text.clear();
        } else if (c == '\n') {
            endLine();
        } else {
            text.push_back(c);
        }
    }
    endLine();
    return wrapped;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// Left alignment: every line starts where the widest starts, and the lines that continue
// a dialogue turn ("- ...") line up with the text after its dash.
void alignLeft(std::vector<CaptionLine>& lines, const std::vector<int>& widths,
               const TextMeasurer& measurer) {
    int left = lines.front().rect.left;
    for (const CaptionLine& line : lines) left = std::min(left, line.rect.left);
    for (CaptionLine& line : lines) line.rect.left = left;
    bool indenting = false;
    int indent = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& previous = lines[i - 1].text;
        const std::string& current = lines[i].text;
        if (startsWith(previous, "-") && !startsWith(current, "-")) {
            indent = measurer.measure(startsWith(previous, "- ") ? "- " : "-").width;
            indenting = true;
            lines[i].rect.left += indent;
        } else if (startsWith(current, "-")) {
            indenting = false;
        } else if (indenting) {
            lines[i].rect.left += indent;
        }
    }
    // An indented line keeps room for all of its text: its rectangle clips what it draws.
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i].rect.right = std::max(lines[i].rect.right, lines[i].rect.left + widths[i]);
}

void alignRight(std::vector<CaptionLine>& lines) {
    int right = lines.front().rect.right;
    for (const CaptionLine& line : lines) right = std::max(right, line.rect.right);
    for (CaptionLine& line : lines) line.rect.right = right;
}

}  // namespace

CaptionPicture layoutCaption(const CaptionLayoutInput& in, const TextMeasurer& measurer) {
    CaptionPicture picture;
    picture.clientWidth = in.clientWidth;
    picture.clientHeight = in.clientHeight;
    picture.outline = in.outline;
    picture.outlineColour = in.outline ? in.outlineColour : 0;
    picture.shadowOffset = in.outline ? 0 : (in.points < 20 ? 1 : 2);
    picture.align = in.align == 0   ? CaptionAlign::Left
                    : in.align == 2 ? CaptionAlign::Right
                                    : CaptionAlign::Centre;
    if (in.caption.empty() || in.clientWidth <= 0 || in.clientHeight <= 0) return picture;

    // The whole caption measured on one line gives the line height of the block.
    int h = measurer.measure(in.caption).height;
    const int g = in.gap;
    const int margin =
        static_cast<int>(static_cast<long long>(in.clientWidth) * in.sideMarginPercent / 100);

    std::string wrapped = wrapLines(in.caption, in.clientWidth - margin, measurer);
    while (!wrapped.empty() && wrapped.back() == '\n') wrapped.pop_back();
    const int n = static_cast<int>(std::min<std::ptrdiff_t>(
        std::count(wrapped.begin(), wrapped.end(), '\n'), kMaxCaptionLines - 1));

    std::vector<int> widths;
    std::string_view rest = wrapped;
    int breaksAhead = n;
    int previousBottom = 0;
    for (bool first = true;; first = false) {
        const std::size_t end = breaksAhead > 0 ? rest.find('\n') : rest.size();
        const std::string_view raw = rest.substr(0, end);

        CaptionLine line;
        if (first) {
            int b =
                static_cast<int>(static_cast<long long>(in.clientHeight) * in.bottomPercent / 100);
            if (in.barShown && b < in.barHeight - 10) b = in.barHeight;
            line.rect.top = in.clientHeight - b - (n + 1) * h - n * g;
        } else {
            line.rect.top = previousBottom + g;
        }
        line.rect.bottom = line.rect.top + h + (breaksAhead > 0 ? g : 0);

        const std::size_t bar = raw.find('|');
        if (bar != std::string_view::npos && bar > 0) {
            const std::string_view colourText = raw.substr(0, bar);
            line.colour =
                colourText == kDefaultColourText ? in.fontColour : colourFromText(colourText);
            line.text = text::trimWhitespace(raw.substr(bar + 1));
        } else {
            line.colour = in.fontColour;
            line.text = raw;
        }

        const TextExtent extent = measurer.measure(line.text);
        h = extent.height;
        const int freeSpace = in.clientWidth - extent.width;
        line.rect.left = freeSpace / 2;
        line.rect.right = in.clientWidth - freeSpace / 2;
        previousBottom = line.rect.bottom;
        widths.push_back(extent.width);
        picture.lines.push_back(std::move(line));

        if (breaksAhead == 0) break;
        rest.remove_prefix(end + 1);
        --breaksAhead;
        if (rest.empty()) break;
    }

    if (picture.align == CaptionAlign::Left) {
        alignLeft(picture.lines, widths, measurer);
    } else if (picture.align == CaptionAlign::Right) {
        alignRight(picture.lines);
    }
    if (picture.lines.size() == 1 && in.addOneLine) {
        picture.lines.front().rect.top -= h;
        picture.lines.front().rect.bottom -= h;
    }
    return picture;
}

namespace {

// Extents in another font size, scaled from the caption font's.
class ScaledMeasurer final : public TextMeasurer {
public:
    ScaledMeasurer(const TextMeasurer& measurer, int from, int to)
        : measurer_(measurer), from_(std::max(from, 1)), to_(std::max(to, 1)) {}
    TextExtent measure(std::string_view utf8) const override {
        const TextExtent e = measurer_.measure(utf8);
        return {static_cast<int>(static_cast<long long>(e.width) * to_ / from_),
                static_cast<int>(static_cast<long long>(e.height) * to_ / from_)};
    }

private:
    const TextMeasurer& measurer_;
    int from_, to_;
};

void moveDown(CaptionPicture& picture, int dy) {
    for (CaptionLine& line : picture.lines) {
        line.rect.top += dy;
        line.rect.bottom += dy;
    }
}

int blockTop(const CaptionPicture& p) {
    return p.lines.empty() ? 0 : p.lines.front().rect.top;
}
int blockBottom(const CaptionPicture& p) {
    return p.lines.empty() ? 0 : p.lines.back().rect.bottom;
}

}  // namespace

CaptionPicture layoutTwoCaptions(const CaptionLayoutInput& first, const SecondCaption& second,
                                 const TextMeasurer& measurer) {
    CaptionPicture picture = layoutCaption(first, measurer);
    CaptionLayoutInput in = first;
    in.caption = second.caption;
    in.points = second.points;
    in.fontColour = second.fontColour;
    const ScaledMeasurer scaled(measurer, first.points, second.points);
    CaptionPicture other = layoutCaption(in, scaled);
    if (other.empty()) return picture;
    for (CaptionLine& line : other.lines) line.points = second.points;
    if (!picture.empty()) {
        if (second.below) {
            // The first goes up by the second's height; the second takes the first's place.
            const int secondHeight = blockBottom(other) - blockTop(other);
            moveDown(other, blockBottom(picture) - blockBottom(other));
            moveDown(picture, -(secondHeight + first.gap));
        } else {
            moveDown(other, blockTop(picture) - first.gap - blockBottom(other));
        }
    }
    for (CaptionLine& line : other.lines) picture.lines.push_back(std::move(line));
    return picture;
}

}  // namespace orvalis
