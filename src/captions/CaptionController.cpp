#include "captions/CaptionController.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "captions/CaptionEncodings.h"
#include "captions/CaptionLanguages.h"
#include "captions/CaptionLookup.h"
#include "captions/CaptionModel.h"
#include "captions/TimedCues.h"

namespace orvalis {

namespace {

constexpr int kMinPoints = 10;
constexpr int kMaxPoints = 70;
constexpr int kMaxBottomPercent = 50;
constexpr int kSpaceStep = 2;
constexpr int kMaxSpacePercent = 30;

// One decimal with a full stop, whatever the user's locale.
std::string oneDecimal(double value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 1);
    return ec == std::errc() ? std::string(buf, end) : std::string("0.0");
}

std::string syncText(int tenths) {
    if (tenths > 0) return "자막 싱크 : " + oneDecimal(tenths * 0.1) + "초 빠름";
    if (tenths < 0) return "자막 싱크 : " + oneDecimal(tenths * -0.1) + "초 느림";
    return "자막 싱크 : 없음";
}

}  // namespace

CaptionFont captionFontOf(const CaptionStyle& style) {
    CaptionFont font;
    font.face = style.fontName;
    font.points = std::clamp(style.fontSize + style.fontOffset, kMinPoints, kMaxPoints);
    font.bold = style.fontBold;
    font.smooth = style.fontAlias && !style.fontBorder;
    return font;
}

CaptionController::CaptionController(Services parts)
    : host_(parts.host),
      style_(parts.style),
      settings_(parts.settings),
      timers_(parts.timers),
      canvas_(parts.canvas),
      prompter_(parts.prompter),
      desktop_(parts.desktop),
      osd_(parts.osd),
      trackControl_(parts.tracks),
      encodings_(parts.encodings),
      model_(std::make_unique<CaptionModel>()),
      second_(std::make_unique<CaptionModel>()) {
    if (trackControl_) trackControl_->setSubtitleTrackListener(this);
}

CaptionController::~CaptionController() {
    if (trackControl_) trackControl_->setSubtitleTrackListener(nullptr);
}

void CaptionController::resetSync() {
    setSyncOffset(0);
}
int CaptionController::syncOffset() const {
    return model_->syncOffset;
}
// Every language the language command goes through: the loaded file's, one for each other
// file, and the medium's tracks.
int CaptionController::languageCount() const {
    const int files = static_cast<int>(files_.size());
    const int others = fileLoaded_ && fileIndex_ >= 0 ? files - 1 : files;
    return (fileLoaded_ ? model_->languageCount() : 0) + others +
           static_cast<int>(trackControl_ ? tracks_.size() : 0);
}

void CaptionController::setShowing(bool fileLoaded) {
    fileLoaded_ = fileLoaded;
    host_.setCaptionsLoaded(fileLoaded_ || (embeddedTrack_ != 0 && trackCaptions_));
}

bool CaptionController::ignoreStyles() const {
    return settings::get(settings_, keys::IgnoreSubtitleStyle);
}

bool CaptionController::parse(const std::string& path) {
    if (path != chosenFor_) {
        chosenEncoding_ = encodings_ ? encodings_->encodingOf(path) : std::nullopt;
        chosenFor_ = path;
    }
    if (!model_->parseCaptionFile(path, settings_, chosenEncoding_)) return false;
    if (!model_->hasCaptions()) {
        emptyFileRead_ = true;
        return false;
    }
    if (osd_ && !model_->tables().notice.empty()) osd_->show(model_->tables().notice, 0);
    return true;
}

// A caption file that holds no caption loads nothing: the medium's own track, if it has one,
// is drawn instead, as without a file.
void CaptionController::reportEmptyFile() {
    if (emptyFileRead_ && osd_) osd_->show(std::string(kEmptyCaptionFileMessage), 0);
    emptyFileRead_ = false;
}

bool CaptionController::loaded() const {
    return host_.mediaFlags().captionsLoaded;
}

// ---------------------------------------------------------------------------------------------
// Caption files

bool CaptionController::findCaptionFile(const std::string& mediaPath) {
    // A stream gets no caption file; nothing of the medium before it stays, and its own
    // tracks are drawn.
    if (isStreamAddress(mediaPath)) {
        clearText();
        fileLoaded_ = false;
        files_.clear();
        fileIndex_ = -1;
        chooseEmbeddedTrack();
        reportButtons();
        return false;
    }
    emptyFileRead_ = false;
    files_ = captionFilesOf(mediaPath, settings_);
    const bool found = loadFileFrom(0);
    // Without one, the dialog starts where a caption file would have stood.
    if (!found) model_->captionPath = besideCandidate(mediaPath);
    fileLoaded_ = found;
    if (found) {
        dropEmbeddedTrack();
    } else {
        chooseEmbeddedTrack();
        reportEmptyFile();
    }
    emptyFileRead_ = false;
    refreshSecond();
    return found || (embeddedTrack_ != 0 && trackCaptions_);
}

void CaptionController::loadChosen(const std::string& path) {
    emptyFileRead_ = false;
    const bool ok = parse(path);
    fileIndex_ = -1;
    setShowing(ok);
    if (ok) {
        dropEmbeddedTrack();
        model_->captionPath = path;
        model_->currentCaption.clear();
        refreshSecond();
        draw();
        model_->syncOffset = 0;
    } else {
        // Captions are off now: nothing of the old file may stay on the picture.
        model_->clearCaptionTexts();
        erase();
        chooseEmbeddedTrack();
        setShowing(false);
        reportEmptyFile();
    }
}

void CaptionController::loadDropped(const std::string& path) {
    if (!host_.mediaFlags().loaded) return;
    loadChosen(path);
    reportButtons();
}

void CaptionController::openCaptionDialog() {
    const EngineFlags& flags = host_.mediaFlags();
    if (!flags.loaded) return;
    FileDialogRequest request;
    request.title = "열기";
    request.folder = settings::get(settings_, keys::DefaultFolder);
    if (request.folder.empty()) request.folder = settings::get(settings_, keys::RecentFolder);
    // Otherwise the folder of the caption file last looked for: the medium's own folder
    // unless one of the caption folders held it.
    if (request.folder.empty()) {
        const std::string& last = model_->captionPath;
        request.folder = last.substr(0, last.size() - fileNamePart(last).size());
    }
    request.filter = "자막파일 (*.smi;*.srt;*.vtt)|*.smi;*.srt;*.vtt||";
    request.defaultSuffix = "smi";

    const bool wasPlaying = flags.hasVideo && flags.playing;
    if (wasPlaying) host_.pauseOrResume();
    const std::vector<std::string> chosen = prompter_.openFiles(request, false);
    if (!chosen.empty()) {
        host_.setBusyCursor(true);
        loadChosen(chosen.front());
        host_.setBusyCursor(false);
    }
    if (wasPlaying && host_.mediaFlags().paused) host_.pauseOrResume();
    if (!chosen.empty()) reportButtons();
}

void CaptionController::reparse() {
    if (!fileLoaded_) {
        // A track's text is cut by the new divide length from its next change on.
        showTrackText();
        return;
    }
    emptyFileRead_ = false;
    const bool ok = parse(model_->captionPath);
    fileLoaded_ = ok;
    model_->clearCaptionTexts();
    erase();
    if (!ok) {
        chooseEmbeddedTrack();
        reportEmptyFile();
    }
    setShowing(ok);
    refreshSecond();
    reportButtons();
}

CaptionEncodingState CaptionController::captionEncoding() const {
    return {model_->encoding().encoding, chosenEncoding_.has_value()};
}

void CaptionController::rereadCaptionFile(std::optional<text::Encoding> encoding) {
    if (!loaded()) return;
    const std::string& path = model_->captionPath;
    // An encoding in which the file shows no caption is not taken: the file stays as it is.
    CaptionModel trial;
    if (!trial.parseCaptionFile(path, settings_, encoding) || !trial.hasCaptions()) {
        if (osd_) osd_->show(std::string(kEmptyCaptionFileMessage), 0);
        return;
    }
    chosenEncoding_ = encoding;
    chosenFor_ = path;
    if (encodings_) encodings_->remember(path, encoding);
    reparse();
    if (osd_ && loaded())
        osd_->show("자막 인코딩 : " + std::string(text::encodingName(model_->encoding().encoding)),
                   0);
}

void CaptionController::unload() {
    model_->clearCaptionTexts();
    erase();
    tracks_.clear();
    embeddedTrack_ = 0;
    fileLoaded_ = false;
    files_.clear();
    fileIndex_ = -1;
    secondLoaded_ = false;
    secondTrack_ = 0;
    secondTrackText_.clear();
    trackCaptions_ = false;
    trackText_.clear();
    reportButtons();
}

// ---------------------------------------------------------------------------------------------
// The caption on screen

void CaptionController::lookup(double position) {
    if (!fileLoaded_) return;
    const CaptionStep step = model_->tick(position);
    bool redraw = step.redraw;
    int hold = step.holdMilliseconds;
    if (secondLoaded_) {
        second_->syncOffset = std::clamp(model_->syncOffset + secondSync_, -kSyncLimit, kSyncLimit);
        const CaptionStep other = second_->tick(position);
        redraw = other.redraw || redraw;
        hold = std::max(hold, other.holdMilliseconds);
    }
    if (hold > 0) timers_.start(TimerId::CaptionHold, hold);
    if (redraw) draw();
}

void CaptionController::clearText() {
    model_->clearCaptionTexts();
    second_->clearCaptionTexts();
    erase();
}

void CaptionController::afterSeek(double position) {
    clearText();
    // A track's text after the seek comes from the framework; until then, the one it gave.
    showTrackText();
    if (!fileLoaded_) return;
    const CaptionStep step = model_->recoverAfterSeek(position);
    const CaptionStep other = secondLoaded_ ? second_->recoverAfterSeek(position) : CaptionStep{};
    if (!step.redraw && !other.redraw) return;
    draw();
    timers_.start(TimerId::CaptionHold, std::max(step.holdMilliseconds, other.holdMilliseconds));
}

void CaptionController::holdExpired(bool playing, bool paused) {
    if (!fileLoaded_) return;
    if (playing) {
        model_->clearCaptionTexts();
        second_->clearCaptionTexts();
        timers_.kill(TimerId::CaptionHold);
        draw();
    } else if (paused) {
        timers_.start(TimerId::CaptionHold, kPausedHoldMilliseconds);
    }
}

void CaptionController::draw() {
    const EngineFlags& flags = host_.mediaFlags();
    // Without captions nothing is drawn; what an earlier file left is taken away, since
    // every frame shows the caption picture again.
    if (!flags.loaded || !flags.captionsLoaded) {
        erase();
        return;
    }
    const std::string& caption = model_->currentCaption;
    const std::string& secondCaption = withSecond() ? second_->currentCaption : caption;
    const CaptionFrame frame = host_.captionFrame();
    if (!style_.showCaption || (caption.empty() && secondCaption.empty()) || frame.width <= 0 ||
        frame.height <= 0) {
        erase();
        if (caption.empty()) model_->lastDrawnCaption.clear();
        if (secondCaption.empty()) second_->lastDrawnCaption.clear();
        return;
    }
    CaptionLayoutInput in;
    in.caption = caption;
    in.clientWidth = frame.width;
    in.clientHeight = frame.height;
    in.points = captionFontOf(style_).points;
    in.fontColour = static_cast<std::uint32_t>(style_.fontColor) & 0xFFFFFF;
    in.outline = style_.fontBorder;
    in.outlineColour = static_cast<std::uint32_t>(style_.borderColor) & 0xFFFFFF;
    in.bottomPercent = style_.captionBottom;
    in.sideMarginPercent = style_.captionMargin;
    in.gap = settings::get(settings_, keys::CaptionGap);
    in.align = settings::get(settings_, keys::CaptionAlign);
    in.addOneLine = settings::get(settings_, keys::AddOneLine);
    in.barShown = frame.barShown;
    in.barHeight = frame.barHeight;
    if (withSecond()) {
        SecondCaption second;
        second.caption = secondCaption;
        second.points = std::clamp(in.points + settings::get(settings_, keys::SecondFontOffset),
                                   kMinPoints, kMaxPoints);
        second.fontColour =
            static_cast<std::uint32_t>(settings::get(settings_, keys::SecondFontColor)) & 0xFFFFFF;
        second.below = settings::get(settings_, keys::SecondCaptionBelow);
        present(layoutTwoCaptions(in, second, canvas_));
        second_->lastDrawnCaption = secondCaption;
    } else {
        present(layoutCaption(in, canvas_));
    }
    model_->lastDrawnCaption = caption;
}

void CaptionController::present(const CaptionPicture& picture) {
    picture_ = picture;
    canvas_.present(picture_);
}

void CaptionController::createFont() {
    canvas_.setFont(captionFontOf(style_));
    timers_.start(TimerId::CaptionRedraw, kFontRedrawMilliseconds);
    reportButtons();
}

void CaptionController::setSyncOffset(int tenths) {
    model_->syncOffset = std::clamp(tenths, -kSyncLimit, kSyncLimit);
    if (embeddedTrack_ != 0) trackControl_->setSubtitleDelay(subtitleDelayOf(model_->syncOffset));
}

void CaptionController::reportButtons() {
    const Buttons now{loaded(),        style_.showCaption, style_.fontAlias,
                      style_.fontBold, style_.fontBorder,  languageCount()};
    if (reported_ && *reported_ == now) return;
    reported_ = now;
    host_.refreshCaptionButtons();
}

// ---------------------------------------------------------------------------------------------
// Commands

void CaptionController::message(osd::Switch which, const std::string& text) {
    if (osd_ && osd::switchOn(settings_, which)) osd_->show(text, 0);
}

void CaptionController::registerCommands(CommandTable& table) {
    using C = CommandId;
    using Self = CaptionController;
    struct Row {
        C id;
        void (*run)(Self&);
    };
    // clang-format off
    static constexpr Row kRows[] = {
        {C::CaptionLarger, [](Self& c) { c.changeSize(1); }},
        {C::CaptionSmaller, [](Self& c) { c.changeSize(-1); }},
        {C::CaptionUp, [](Self& c) { c.moveBottom(1); }},
        {C::CaptionDown, [](Self& c) { c.moveBottom(-1); }},
        {C::CaptionAreaLarger, [](Self& c) { c.changeSpace(kSpaceStep); }},
        {C::CaptionAreaSmaller, [](Self& c) { c.changeSpace(-kSpaceStep); }},
        {C::CaptionSyncEarlier, [](Self& c) { c.changeSync(kSyncStep); }},
        {C::CaptionSyncLater, [](Self& c) { c.changeSync(-kSyncStep); }},
        {C::CaptionSyncReset, [](Self& c) { c.changeSync(0); }},
        {C::CaptionHide, [](Self& c) { c.toggleShown(); }},
        {C::CaptionFileView, [](Self& c) { c.openInEditor(); }},
        {C::CaptionLanguage, [](Self& c) { c.nextLanguage(); }},
        {C::OpenCaptionFile, [](Self& c) { c.openCaptionDialog(); }},
        {C::CaptionTwoLanguages, [](Self& c) { c.toggleTwoLanguages(); }},
        {C::CaptionIgnoreStyle, [](Self& c) { c.toggleIgnoreStyle(); }},
        // Smoothing and the outline never go together: the outline turns smoothing off.
        {C::CaptionSmoothing, [](Self& c) {
            c.restyle([](CaptionStyle& s) { s.fontAlias = !s.fontAlias && !s.fontBorder; }); }},
        {C::CaptionBold, [](Self& c) {
            c.restyle([](CaptionStyle& s) { s.fontBold = !s.fontBold; }); }},
        {C::CaptionBorder, [](Self& c) { c.restyle([](CaptionStyle& s) {
            s.fontBorder = !s.fontBorder;
            if (s.fontBorder) s.fontAlias = false; }); }},
    };
    // clang-format on
    for (const Row& row : kRows) table.add(row.id, [this, run = row.run] { run(*this); });
}

void CaptionController::toggleIgnoreStyle() {
    settings::put(settings_, keys::IgnoreSubtitleStyle, !ignoreStyles());
    if (embeddedTrack_ != 0) showEmbeddedTrack();
}

// A change of the caption style, with a caption file loaded.
void CaptionController::restyle(void (*change)(CaptionStyle&)) {
    if (!loaded()) return;
    change(style_);
    createFont();
}

void CaptionController::changeSize(int step) {
    const int points = style_.fontSize + style_.fontOffset;
    if (loaded() && (step > 0 ? points < kMaxPoints : points > kMinPoints)) {
        style_.fontOffset += step;
        createFont();
    }
    message(osd::Switch::CaptionSize,
            "자막 크기 : " + std::to_string(style_.fontSize + style_.fontOffset) + " Pt");
}

void CaptionController::moveBottom(int step) {
    int& bottom = style_.captionBottom;
    if (!loaded() || (step > 0 ? bottom >= kMaxBottomPercent : bottom <= 0)) return;
    bottom += step;
    draw();
    message(osd::Switch::CaptionOffset, "자막 하단 여백 : " + std::to_string(bottom) + "%");
}

void CaptionController::changeSpace(int step) {
    if (!loaded()) return;
    style_.captionSpace = std::clamp(style_.captionSpace + step, 0, kMaxSpacePercent);
    host_.applyCaptionSpace();
    message(osd::Switch::CaptionSpace, "자막 공간 : " + std::to_string(style_.captionSpace) + " %");
}

// A step of 0 resets the offset.
void CaptionController::changeSync(int step) {
    if (!captionsOrTrack()) return;
    setSyncOffset(step == 0 ? 0 : model_->syncOffset + step);
    message(osd::Switch::CaptionSynch, syncText(model_->syncOffset));
}

void CaptionController::toggleShown() {
    if (!captionsOrTrack()) return;
    style_.showCaption = !style_.showCaption;
    draw();
    if (embeddedTrack_ != 0 && !trackCaptions_)
        trackControl_->setSubtitlesVisible(style_.showCaption);
    reportButtons();
}

void CaptionController::openInEditor() {
    if (!fileLoaded_) return;
    if (host_.fullScreenOrMaximized()) host_.exitFullScreen();
    desktop_.openInTextEditor(model_->captionPath);
}

}  // namespace orvalis
