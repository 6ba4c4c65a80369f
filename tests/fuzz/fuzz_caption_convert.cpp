// Any bytes as a caption file, converted as orvalis --convert does: every cue lies inside
// the caption hold with text to show, every written file is UTF-8, and the player's own
// readers take each of them back without a single cue more or less.
#include "base/TextCodec.h"
#include "captions/CaptionModel.h"
#include "captions/CaptionWriters.h"
#include "fuzz_common.h"

using namespace orvalis;
using fuzz::check;

namespace {

constexpr int kHold = CaptionModel::kHoldMilliseconds;

void checkCues(const std::vector<CaptionCue>& cues) {
    long long last = -1;
    for (const CaptionCue& cue : cues) {
        check(cue.startMs > last && cue.startMs < cue.endMs && cue.endMs - cue.startMs <= kHold);
        check(!cue.lines.empty());
        for (const CueLine& line : cue.lines)
            check(!line.text.empty() && text::isValidUtf8(line.text));
        last = cue.startMs;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte picks the name the file comes under, and so its format when the text
    // does not tell.
    static constexpr std::string_view kNames[] = {"in.smi", "in.srt", "in.vtt"};
    CaptionModel model;
    model.parseBytes(fuzz::bytesOf(data, size), kNoLineDivide,
                     size > 0 ? kNames[data[0] % 3] : kNames[0]);

    std::vector<SamiTrack> tracks;
    for (int i = 0; i < model.languageCount(); ++i) {
        tracks.push_back({model.languageCodes()[static_cast<std::size_t>(i)],
                          captionCues(model.tables(), i, kHold)});
        checkCues(tracks.back().cues);
    }
    const std::vector<CaptionCue>& first = tracks.front().cues;
    const std::string srt = writeSubRip(first), vtt = writeWebVtt(first), sami = writeSami(tracks);
    check(text::isValidUtf8(srt) && text::isValidUtf8(vtt) && text::isValidUtf8(sami));

    const TimedTextOptions whole{kNoLineDivide, ""};
    check(captionCues(parseSubRip(srt, whole), 0, kHold).size() == first.size());
    check(captionCues(parseWebVtt(vtt, whole), 0, kHold).size() == first.size());
    const CaptionTables back = SamiParser(kNoLineDivide).parse(sami);
    check(back.languageCount() == model.languageCount());
    for (int i = 0; i < back.languageCount(); ++i)
        check(captionCues(back, i, kHold).size() ==
              tracks[static_cast<std::size_t>(i)].cues.size());
    return 0;
}
