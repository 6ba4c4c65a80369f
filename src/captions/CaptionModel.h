#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/SettingsStore.h"
#include "captions/SamiParser.h"
#include "captions/SubtitleReaders.h"

namespace orvalis {

// What one caption step asks of the player window: the caption now due, whether to draw
// it, and whether to restart the caption hold timer and for how long.
struct CaptionStep {
    std::string caption;       // the new currentCaption
    bool redraw = false;       // it differs from what was drawn last
    int holdMilliseconds = 0;  // 0: leave the hold timer as it is
};

// The captions of the loaded file and the state of the caption on screen. Lookups index
// the table of the active language directly: at most three cells per playback tick.
class CaptionModel {
public:
    static constexpr int kHoldMilliseconds = 15000;
    static constexpr int kRecoveryHoldMilliseconds = 5000;
    // How far back the caption is looked for after a seek, in tenths of a second.
    static constexpr int kRecoverySlots = 50;
    // Larger files are not caption files; a two-hour SAMI file has some hundred KB.
    static constexpr std::size_t kMaxFileBytes = std::size_t(64) << 20;

    // Reads the caption file (SAMI, SubRip or WebVTT) with the divide length of the settings
    // ("Caption Divide Length", 40) and replaces the tables. The encoding is the one given, or
    // the one the file shows. False, with the model untouched, when the path is empty or the
    // file cannot be read.
    bool parseCaptionFile(const std::string& path, const SettingsStore& settings,
                          std::optional<text::Encoding> encoding = std::nullopt);
    // The same from the file's bytes; the path, when given, helps tell the format and may name
    // the language ("film.ko.srt").
    void parseBytes(std::string_view bytes, int divideLength = kDefaultDivideLength,
                    std::string_view path = {},
                    std::optional<text::Encoding> encoding = std::nullopt);
    // The encoding the file was read in, and the format it was read as.
    const text::TextEncoding& encoding() const { return encoding_; }
    CaptionFormat format() const { return format_; }

    const CaptionTables& tables() const { return tables_; }
    // Whether any cell of the tables holds a caption (an end mark is none).
    bool hasCaptions() const;
    const std::vector<std::string>& languageCodes() const { return tables_.languageCodes; }
    int languageCount() const { return tables_.languageCount(); }
    int lastSlot() const { return tables_.lastSlot; }
    std::string_view cell(int language, int slot) const { return tables_.cell(language, slot); }

    // The language whose table the lookups read: 0 after every parse.
    int activeLanguage() const { return activeLanguage_; }
    const std::string& activeLanguageCode() const;
    // The next language, back to the first after the last.
    void cycleLanguage();
    // Another language; one outside the file's is taken as the first.
    void setActiveLanguage(int language);

    // The playback tick's step at position seconds: slot i = syncOffset + tenths, then the
    // cells i, i - 1 (when i > 1) and i + 1. An end mark clears the caption and the search
    // goes on; text becomes the caption and ends it. Updates currentCaption.
    CaptionStep tick(double seconds);
    // After a seek to position seconds (with both caption texts emptied): the latest
    // caption that started within the 5 seconds before it, shown again and held 5 s.
    CaptionStep recoverAfterSeek(double seconds);
    // Both caption texts emptied, as a seek or closing the medium does.
    void clearCaptionTexts();

    // The player window's caption state, set by the caption commands and the renderer.
    std::string captionPath;
    int syncOffset = 0;  // tenths of a second, -3000..3000; positive shows captions earlier
    std::string currentCaption;
    std::string lastDrawnCaption;

private:
    CaptionTables tables_;
    text::TextEncoding encoding_;
    CaptionFormat format_ = CaptionFormat::Sami;
    int activeLanguage_ = 0;
};

}  // namespace orvalis
