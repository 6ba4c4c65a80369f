#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/DesktopServices.h"
#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "captions/CaptionCanvas.h"
#include "captions/CaptionLookup.h"
#include "engine/SubtitleTracks.h"
#include "ports/CaptionHost.h"
#include "ports/CaptionPort.h"
#include "ports/CaptionStyle.h"
#include "ports/OsdPort.h"
#include "ports/OsdSwitch.h"
#include "ports/Timers.h"

namespace orvalis {

class CaptionModel;
class CaptionEncodingStore;

// Shown when a caption file holds no caption (empty, without SYNC, not a caption file).
inline constexpr std::string_view kEmptyCaptionFileMessage = "자막 파일에 자막이 없습니다";

// The font of a caption style: its face, its size kept within 10..70 points, its weight, and
// smoothing only without the outline.
CaptionFont captionFontOf(const CaptionStyle& style);

// The captions of the player window: the caption file of each medium, the caption due on
// each playback tick and after a seek, its drawing, and every caption command. A medium with
// subtitle tracks of its own and no caption file has one of its tracks shown instead: a text
// track's text is drawn as captions are, with every caption command; a picture or styled
// track is drawn by the media framework, and the language, show/hide and sync commands work
// on it.
class CaptionController final : public CaptionPort, public SubtitleTrackListener {
public:
    struct Services {
        CaptionHost& host;
        CaptionStyle& style;  // the player window's, persisted by it
        SettingsStore& settings;
        TimerService& timers;
        CaptionCanvas& canvas;
        Prompter& prompter;
        DesktopServices& desktop;
        OsdPort* osd = nullptr;
        SubtitleTrackControl* tracks = nullptr;  // none: the medium's own tracks stay hidden
        // The encodings chosen per caption file; none: a choice lasts while its file is loaded.
        CaptionEncodingStore* encodings = nullptr;
    };

    explicit CaptionController(Services parts);
    ~CaptionController() override;

    // CaptionPort
    bool findCaptionFile(const std::string& mediaPath) override;
    bool loaded() const override;
    void unload() override;
    void lookup(double position) override;
    void clearText() override;
    void draw() override;
    void afterSeek(double position) override;
    void loadDropped(const std::string& path) override;
    void holdExpired(bool playing, bool paused) override;
    void resetSync() override;
    int syncOffset() const override;
    void setSyncOffset(int tenths) override;
    void createFont() override;
    void reparse() override;
    void registerCommands(CommandTable& table) override;
    int languageCount() const override;
    CaptionEncodingState captionEncoding() const override;
    void rereadCaptionFile(std::optional<text::Encoding> encoding) override;

    // SubtitleTrackListener
    void subtitleTracksChanged(const std::vector<SubtitleTrack>& tracks) override;
    void subtitleTextChanged(const std::string& text) override;
    void secondSubtitleTextChanged(const std::string& text) override;

    void openCaptionDialog();

    const CaptionModel& model() const { return *model_; }
    // The second language shown with the first, when both are asked for and there is one.
    const CaptionModel* secondModel() const { return secondLoaded_ ? second_.get() : nullptr; }
    // The medium's track shown second, 0 for none.
    int secondTrack() const { return secondTrack_; }
    // What was last handed to the canvas.
    const CaptionPicture& picture() const { return picture_; }
    // The medium's own subtitle track being shown, 0 for none.
    int embeddedTrack() const { return embeddedTrack_; }
    // Whether its text is drawn as captions (else the media framework draws it).
    bool trackDrawnAsCaptions() const { return trackCaptions_; }

    static constexpr int kSyncStep = 5;
    static constexpr int kSyncLimit = 3000;
    static constexpr int kPausedHoldMilliseconds = 3000;
    static constexpr int kFontRedrawMilliseconds = 10;

private:
    // Reads a caption file; true only when it holds captions. A file that holds none is
    // remembered, so that the user hears of it when no other file is loaded instead.
    bool parse(const std::string& path);
    void reportEmptyFile();
    // A caption file chosen by the user: loaded, or captions turned off.
    void loadChosen(const std::string& path);
    void present(const CaptionPicture& picture);
    void erase() { present(CaptionPicture{}); }
    void message(osd::Switch which, const std::string& text);
    void reportButtons();

    void changeSize(int step);
    void restyle(void (*change)(CaptionStyle&));
    void toggleIgnoreStyle();
    void moveBottom(int step);
    void changeSpace(int step);
    void changeSync(int step);
    void toggleShown();
    void openInEditor();
    void nextLanguage();
    // Loads the first file from this index on that holds captions; false when none does.
    bool loadFileFrom(std::size_t index);
    std::string fileLanguageMessage() const;
    void showFirstTrack();
    // Finds the second language for the loaded file: another language of the file, else
    // another caption file of the medium in another language.
    void refreshSecond();
    bool twoLanguages() const;
    void toggleTwoLanguages();

    // The medium's own track, when it has some and no caption file is loaded: the one drawn
    // stays, else the preferred one is drawn, shown or hidden and shifted as the captions are.
    void chooseEmbeddedTrack();
    void dropEmbeddedTrack();
    // Shows the track now chosen: as captions or through the framework, visible or not, with
    // the caption sync as its delay.
    void showEmbeddedTrack();
    void showTrackText();
    bool ignoreStyles() const;
    bool captionsOrTrack() const { return loaded() || embeddedTrack_ != 0; }
    // Sets the caption flag the player window keeps: captions are shown from a file or from
    // a track's text.
    void setShowing(bool fileLoaded);

    CaptionHost& host_;
    CaptionStyle& style_;
    SettingsStore& settings_;
    TimerService& timers_;
    CaptionCanvas& canvas_;
    Prompter& prompter_;
    DesktopServices& desktop_;
    OsdPort* osd_;
    SubtitleTrackControl* trackControl_;
    CaptionEncodingStore* encodings_;
    // The encoding chosen for the caption file last read, and that file.
    std::optional<text::Encoding> chosenEncoding_;
    std::string chosenFor_;

    std::unique_ptr<CaptionModel> model_;
    std::unique_ptr<CaptionModel> second_;
    bool secondLoaded_ = false;
    int secondSync_ = 0;   // tenths of a second, added to the caption sync for the second
    int secondTrack_ = 0;  // the medium's track shown second, as captions
    std::string secondTrackText_;
    bool withSecond() const { return secondLoaded_ || secondTrack_ != 0; }
    // A track's text as caption display lines.
    std::string trackCaption(std::string_view text) const;
    void chooseSecondTrack();
    CaptionPicture picture_;
    struct Buttons {
        bool loaded, shown, alias, bold, border;
        int languages;
        bool operator==(const Buttons&) const = default;
    };
    std::optional<Buttons> reported_;

    bool emptyFileRead_ = false;
    bool fileLoaded_ = false;
    // The medium's caption files, and which of them is loaded (-1: one the user chose).
    std::vector<CaptionFileChoice> files_;
    int fileIndex_ = -1;

    std::vector<SubtitleTrack> tracks_;
    int embeddedTrack_ = 0;
    bool trackCaptions_ = false;  // the track's text is drawn as captions
    std::string trackText_;       // as the framework told it last
};

}  // namespace orvalis
