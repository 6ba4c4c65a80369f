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

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
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
      model_(std::make_unique<CaptionModel>()) {
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
int CaptionController::languageCount() const {
    return model_->languageCount();
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
        chooseEmbeddedTrack();
        reportButtons();
        return false;
    }
    emptyFileRead_ = false;
    bool found = false;
    for (std::string_view suffix : kCaptionSuffixes) {
        for (const std::string& candidate : captionFolderCandidates(mediaPath, settings_, suffix)) {
            model_->captionPath = candidate;
            if (fileExists(candidate)) {
                found = parse(candidate);
                break;
            }
        }
        if (!found) {
            const std::string candidate = besideCandidate(mediaPath, suffix);
            model_->captionPath = candidate;
            if (fileExists(candidate)) found = parse(candidate);
        }
        if (found) break;
    }
    if (found) {
        dropEmbeddedTrack();
    } else {
        chooseEmbeddedTrack();
        reportEmptyFile();
    }
    emptyFileRead_ = false;
    return found;
}

void CaptionController::loadChosen(const std::string& path) {
    emptyFileRead_ = false;
    const bool ok = parse(path);
    host_.setCaptionsLoaded(ok);
    if (ok) {
        dropEmbeddedTrack();
        model_->captionPath = path;
        model_->currentCaption.clear();
        draw();
        model_->syncOffset = 0;
    } else {
        // Captions are off now: nothing of the old file may stay on the picture.
        model_->clearCaptionTexts();
        erase();
        chooseEmbeddedTrack();
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
    request.folder = settings_.getString(sections::Config, "Default Folder", "");
    if (request.folder.empty())
        request.folder = settings_.getString(sections::Config, "Recent Folder", "");
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
    emptyFileRead_ = false;
    const bool ok = parse(model_->captionPath);
    host_.setCaptionsLoaded(ok);
    model_->clearCaptionTexts();
    erase();
    if (!ok) {
        chooseEmbeddedTrack();
        reportEmptyFile();
    }
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
    reportButtons();
}

// ---------------------------------------------------------------------------------------------
// The medium's own subtitle tracks

void CaptionController::subtitleTracksChanged(const std::vector<SubtitleTrack>& tracks) {
    tracks_ = tracks;
    if (tracks_.empty()) {
        // Another medium or none: the framework draws nothing of it until told.
        embeddedTrack_ = 0;
        return;
    }
    chooseEmbeddedTrack();
}

void CaptionController::chooseEmbeddedTrack() {
    if (!trackControl_ || loaded() || !host_.mediaFlags().loaded || tracks_.empty()) return;
    const bool listed = std::any_of(tracks_.begin(), tracks_.end(), [this](const SubtitleTrack& t) {
        return t.id == embeddedTrack_;
    });
    if (listed && embeddedTrack_ != 0) return;
    embeddedTrack_ = preferredSubtitleTrack(tracks_);
    trackControl_->setSubtitlesVisible(style_.showCaption);
    trackControl_->setSubtitleDelay(subtitleDelayOf(model_->syncOffset));
    trackControl_->selectSubtitleTrack(embeddedTrack_);
}

void CaptionController::dropEmbeddedTrack() {
    if (embeddedTrack_ == 0) return;
    embeddedTrack_ = 0;
    if (trackControl_) trackControl_->selectSubtitleTrack(0);
}

// ---------------------------------------------------------------------------------------------
// The caption on screen

void CaptionController::lookup(double position) {
    if (!loaded()) return;
    const CaptionStep step = model_->tick(position);
    if (step.holdMilliseconds > 0) timers_.start(TimerId::CaptionHold, step.holdMilliseconds);
    if (step.redraw) draw();
}

void CaptionController::clearText() {
    model_->clearCaptionTexts();
    erase();
}

void CaptionController::afterSeek(double position) {
    clearText();
    if (!loaded()) return;
    const CaptionStep step = model_->recoverAfterSeek(position);
    if (!step.redraw) return;
    draw();
    timers_.start(TimerId::CaptionHold, step.holdMilliseconds);
}

void CaptionController::holdExpired(bool playing, bool paused) {
    if (playing) {
        model_->clearCaptionTexts();
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
    const CaptionFrame frame = host_.captionFrame();
    if (!style_.showCaption || caption.empty() || frame.width <= 0 || frame.height <= 0) {
        erase();
        if (caption.empty()) model_->lastDrawnCaption.clear();
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
    in.gap = settings_.getInt(sections::Caption, "Caption Gap", 2);
    in.align = settings_.getInt(sections::Caption, "Caption Align", 1);
    in.addOneLine = settings_.getInt(sections::Caption, "Add One Line", 1) != 0;
    in.barShown = frame.barShown;
    in.barHeight = frame.barHeight;
    present(layoutCaption(in, canvas_));
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
                      style_.fontBold, style_.fontBorder,  model_->languageCount()};
    if (reported_ && *reported_ == now) return;
    reported_ = now;
    host_.refreshCaptionButtons();
}

// ---------------------------------------------------------------------------------------------
// Commands

void CaptionController::message(osd::Switch which, const std::string& text) {
    if (osd_ && osd::switchOn(settings_, which)) osd_->show(text, 0);
}

void CaptionController::command(CommandId id) {
    using C = CommandId;
    switch (id) {
        case C::CaptionLarger:
            changeSize(1);
            break;
        case C::CaptionSmaller:
            changeSize(-1);
            break;
        case C::CaptionUp:
            moveBottom(1);
            break;
        case C::CaptionDown:
            moveBottom(-1);
            break;
        case C::CaptionAreaLarger:
            changeSpace(kSpaceStep);
            break;
        case C::CaptionAreaSmaller:
            changeSpace(-kSpaceStep);
            break;
        case C::CaptionSyncEarlier:
            changeSync(kSyncStep);
            break;
        case C::CaptionSyncLater:
            changeSync(-kSyncStep);
            break;
        case C::CaptionSyncReset:
            changeSync(0);
            break;
        case C::CaptionHide:
            toggleShown();
            break;
        case C::CaptionFileView:
            openInEditor();
            break;
        case C::CaptionLanguage:
            nextLanguage();
            break;
        case C::OpenCaptionFile:
            openCaptionDialog();
            break;
        case C::CaptionSmoothing:
            if (!loaded()) break;
            style_.fontAlias = !style_.fontAlias && !style_.fontBorder;
            createFont();
            break;
        case C::CaptionBold:
            if (!loaded()) break;
            style_.fontBold = !style_.fontBold;
            createFont();
            break;
        case C::CaptionBorder:
            if (!loaded()) break;
            style_.fontBorder = !style_.fontBorder;
            if (style_.fontBorder) style_.fontAlias = false;
            createFont();
            break;
        default:
            break;
    }
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
    if (embeddedTrack_ != 0) trackControl_->setSubtitlesVisible(style_.showCaption);
    reportButtons();
}

void CaptionController::openInEditor() {
    if (!loaded()) return;
    if (host_.fullScreenOrMaximized()) host_.exitFullScreen();
    desktop_.openInTextEditor(model_->captionPath);
}

void CaptionController::nextLanguage() {
    if (!host_.mediaFlags().loaded) return;
    std::string text = "자막 언어 : 없음";
    if (loaded()) {
        model_->cycleLanguage();
        text = languageMessage(model_->activeLanguageCode());
    } else if (embeddedTrack_ != 0) {
        embeddedTrack_ = subtitleTrackAfter(tracks_, embeddedTrack_);
        trackControl_->selectSubtitleTrack(embeddedTrack_);
        for (const SubtitleTrack& t : tracks_)
            if (t.id == embeddedTrack_) text = subtitleTrackMessage(t);
    }
    message(osd::Switch::CaptionLanguage, text);
}

}  // namespace orvalis
