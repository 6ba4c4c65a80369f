#include "captions/CaptionModel.h"

#include <cmath>

#include "base/AtomicFile.h"
#include "base/SettingsKeys.h"
#include "captions/SubtitleReaders.h"

namespace orvalis {

namespace {

// Tenths of a second of a position in seconds, truncated; nothing for a position no
// table could reach.
bool tenthsOf(double seconds, long long& tenths) {
    double t = std::trunc(seconds * 10);
    if (!(t > -1e12 && t < 1e12)) return false;
    tenths = static_cast<long long>(t);
    return true;
}

}  // namespace

bool CaptionModel::parseCaptionFile(const std::string& path, const SettingsStore& settings,
                                    std::optional<text::Encoding> encoding) {
    if (path.empty()) return false;
    int divideLength = settings::get(settings, keys::CaptionDivideLength);
    std::optional<std::string> bytes = readWholeFile(path, kMaxFileBytes);
    if (!bytes) return false;
    parseBytes(*bytes, divideLength, path, encoding);
    return true;
}

void CaptionModel::parseBytes(std::string_view bytes, int divideLength, std::string_view path,
                              std::optional<text::Encoding> encoding) {
    encoding_ = encoding ? text::TextEncoding{*encoding} : text::guessEncoding(bytes);
    const std::string text = decodeCaptionText(bytes, encoding_);
    const TimedTextOptions options{divideLength, std::string(languageCodeOfFileName(path))};
    format_ = detectCaptionFormat(path, text);
    switch (format_) {
        case CaptionFormat::SubRip:
            tables_ = parseSubRip(text, options);
            break;
        case CaptionFormat::WebVtt:
            tables_ = parseWebVtt(text, options);
            break;
        case CaptionFormat::Sami:
            tables_ = SamiParser(divideLength).parse(text);
            break;
    }
    activeLanguage_ = 0;
}

bool CaptionModel::hasCaptions() const {
    for (const auto& table : tables_.slots)
        for (std::uint32_t index : table)
            if (index != 0 && !tables_.texts[index].empty() && tables_.texts[index] != kEndMark)
                return true;
    return false;
}

const std::string& CaptionModel::activeLanguageCode() const {
    static const std::string none;
    return activeLanguage_ < languageCount()
               ? tables_.languageCodes[static_cast<std::size_t>(activeLanguage_)]
               : none;
}

void CaptionModel::cycleLanguage() {
    activeLanguage_ = activeLanguage_ + 1 < languageCount() ? activeLanguage_ + 1 : 0;
}

void CaptionModel::setActiveLanguage(int language) {
    activeLanguage_ = language >= 0 && language < languageCount() ? language : 0;
}

CaptionStep CaptionModel::tick(double seconds) {
    CaptionStep step;
    step.caption = currentCaption;
    long long tenths = 0;
    if (!tenthsOf(seconds, tenths)) return step;
    const long long i = syncOffset + tenths;
    // The final slot is looked at as well: a file whose only caption starts within the
    // first tenth of a second has nothing else to show it.
    if (i < 0 || i > tables_.lastSlot) return step;

    // The slot before is looked at down to the first, so that a caption at the very start
    // is still found by a tick in the second tenth of a second.
    const long long probes[] = {i, i - 1, i + 1};
    for (long long slot : probes) {
        if (slot < 0 || slot > tables_.lastSlot) continue;
        std::string_view cell = tables_.cell(activeLanguage_, static_cast<int>(slot));
        if (cell.empty()) continue;
        bool text = cell != kEndMark;
        if (text)
            step.caption = cell;
        else
            step.caption.clear();
        if (step.caption != lastDrawnCaption) step.redraw = true;
        if (text) {
            step.holdMilliseconds = kHoldMilliseconds;
            break;
        }
    }
    currentCaption = step.caption;
    return step;
}

CaptionStep CaptionModel::recoverAfterSeek(double seconds) {
    CaptionStep step;
    step.caption = currentCaption;
    long long s = 0;
    if (!tenthsOf(seconds, s)) return step;
    for (long long slot = s - 1; slot >= 0 && slot >= s - kRecoverySlots; --slot) {
        if (slot > tables_.lastSlot) continue;
        std::string_view cell = tables_.cell(activeLanguage_, static_cast<int>(slot));
        if (cell.empty() || cell == kEndMark) continue;
        currentCaption = cell;
        step.caption = currentCaption;
        step.redraw = true;
        step.holdMilliseconds = kRecoveryHoldMilliseconds;
        break;
    }
    return step;
}

void CaptionModel::clearCaptionTexts() {
    currentCaption.clear();
    lastDrawnCaption.clear();
}

}  // namespace orvalis
