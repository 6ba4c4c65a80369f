// Any bytes as a caption file: the parse ends with tables that hold together, and every
// operation the player runs on them (lookups, recovery, splitting, colours, the layout of a
// caption on the picture) stays inside.
#include "base/TextCodec.h"
#include "captions/CaptionLayout.h"
#include "captions/CaptionModel.h"
#include "captions/ColourNames.h"
#include "captions/SplitPoint.h"
#include "fuzz_common.h"

using namespace orvalis;
using fuzz::check;

namespace {

// 8 pixels a CP949 unit, 16 high: any font would do.
class FixedMeasurer final : public TextMeasurer {
public:
    TextExtent measure(std::string_view utf8) const override {
        return {static_cast<int>(text::cp949Units(utf8)) * 8, 16};
    }
};

void checkCell(std::string_view cell) {
    check(text::isValidUtf8(cell));
    if (cell.empty() || cell == kEndMark) return;
    static const FixedMeasurer measurer;
    CaptionLayoutInput in;
    in.caption = cell;
    in.clientWidth = 192;
    in.clientHeight = 130;
    const CaptionPicture picture = layoutCaption(in, measurer);
    check(picture.lines.size() <= static_cast<std::size_t>(kMaxCaptionLines));
    for (const CaptionLine& line : picture.lines) check(text::isValidUtf8(line.text));
    for (std::size_t start = 0; start <= cell.size();) {
        const std::size_t end = std::min(cell.find('\n', start), cell.size());
        const std::string_view line = cell.substr(start, end - start);
        if (const std::size_t bar = line.find('|'); bar != std::string_view::npos)
            colourFromText(line.substr(0, bar));
        auto [first, second] = splitInTwo(line);
        check(first.size() + second.size() == line.size());
        check(text::isValidUtf8(first) && text::isValidUtf8(second));
        start = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte picks the divide length, as the settings would.
    CaptionModel model;
    model.parseBytes(fuzz::bytesOf(data, size), size > 0 ? data[0] % 64 : 40);

    const CaptionTables& tables = model.tables();
    check(model.languageCount() >= 1 && model.languageCount() <= kMaxCaptionLanguages);
    check(tables.slots.size() == tables.languageCodes.size());
    // A language without text has no table; the others have one cell per slot.
    for (const auto& table : tables.slots) {
        check(table.empty() || table.size() == static_cast<std::size_t>(model.lastSlot() + 1));
        for (std::uint32_t index : table) check(index < tables.texts.size());
    }
    check(model.lastSlot() >= -1 && model.lastSlot() <= kLatestSyncMilliseconds / 100);
    for (const std::string& cell : tables.texts) checkCell(cell);
    for (int language = 0; language < model.languageCount(); ++language) {
        fuzz::playMoments(model);
        model.cycleLanguage();
    }
    return 0;
}
