// Any bytes as a SubRip file (fuzz_subrip) or a WebVTT file (fuzz_webvtt): the tables hold
// together, stay within a bound of the input's size, every cell is text the layout can take, and
// the player's lookups on them stay inside.
#include "base/TextCodec.h"
#include "captions/CaptionModel.h"
#include "captions/SubtitleReaders.h"
#include "captions/TimedCues.h"
#include "fuzz_common.h"

using namespace orvalis;
using fuzz::check;

namespace {

#if ORVALIS_FUZZ_WEBVTT
constexpr bool kWebVtt = true;
#else
constexpr bool kWebVtt = false;
#endif

// Display lines "colour|text": a short colour, a line no longer than a cue line may be. Cells
// joined from overlapping cues hold at most the lines of twenty cues' worth.
void checkCell(std::string_view cell) {
    check(text::isValidUtf8(cell));
    if (cell == kEndMark) return;
    check(!cell.empty());
    int lines = 0;
    for (std::size_t start = 0; start <= cell.size(); ++lines) {
        const std::size_t end = std::min(cell.find('\n', start), cell.size());
        const std::string_view line = cell.substr(start, end - start);
        const std::size_t bar = line.find('|');
        check(bar != std::string_view::npos && bar > 0 && bar <= 20);
        check(line.size() - bar - 1 <= kMaxCueLineBytes && line.size() > bar + 1);
        start = end + 1;
    }
    check(lines <= 2 * kMaxCueLines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const int divideLength = size > 0 ? data[0] % 64 : 40;
    const std::string text = decodeCaptionText(bytes);
    const TimedTextOptions options{divideLength, ""};
    const CaptionTables t = kWebVtt ? parseWebVtt(text, options) : parseSubRip(text, options);

    check(t.languageCount() == 1);
    check(t.lastSlot >= -1 && t.lastSlot <= kLatestSyncMilliseconds / 100);
    check(t.slots.size() == 1 && t.slots[0].size() == static_cast<std::size_t>(t.lastSlot + 1));
    check(!t.texts.empty() && t.texts[0].empty());
    for (std::uint32_t index : t.slots[0]) check(index < t.texts.size());
    for (std::size_t i = 1; i < t.texts.size(); ++i) checkCell(t.texts[i]);
    check(t.memoryBytes() <= 16 * size + (8u << 20));

    CaptionModel model;
    model.parseBytes(bytes, divideLength, kWebVtt ? "fuzz.vtt" : "fuzz.srt");
    fuzz::playMoments(model);
    return 0;
}
