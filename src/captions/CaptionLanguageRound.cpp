#include <algorithm>

#include "base/SettingsKeys.h"
#include "captions/CaptionController.h"
#include "captions/CaptionLanguages.h"
#include "captions/CaptionModel.h"
#include "captions/TimedCues.h"

// The caption controller's languages: the medium's own tracks, the round of the language
// command through files and tracks, and a second language shown with the first.
namespace orvalis {

// ---------------------------------------------------------------------------------------------
// The medium's own subtitle tracks

void CaptionController::subtitleTracksChanged(const std::vector<SubtitleTrack>& tracks) {
    tracks_ = tracks;
    if (tracks_.empty()) {
        // Another medium or none: the framework draws nothing of it until told.
        const bool wasCaptions = trackCaptions_;
        embeddedTrack_ = 0;
        trackCaptions_ = false;
        trackText_.clear();
        secondTrack_ = 0;
        secondTrackText_.clear();
        if (wasCaptions && !fileLoaded_) {
            clearText();
            setShowing(false);
        }
        return;
    }
    chooseEmbeddedTrack();
}

void CaptionController::subtitleTextChanged(const std::string& text) {
    trackText_ = text;
    showTrackText();
}

void CaptionController::secondSubtitleTextChanged(const std::string& text) {
    secondTrackText_ = text;
    showTrackText();
}

void CaptionController::chooseEmbeddedTrack() {
    if (!trackControl_ || fileLoaded_ || !host_.mediaFlags().loaded || tracks_.empty()) return;
    const bool listed = std::any_of(tracks_.begin(), tracks_.end(), [this](const SubtitleTrack& t) {
        return t.id == embeddedTrack_;
    });
    if (listed && embeddedTrack_ != 0) return;
    embeddedTrack_ = preferredSubtitleTrack(tracks_);
    showEmbeddedTrack();
}

void CaptionController::showEmbeddedTrack() {
    const auto track = std::find_if(tracks_.begin(), tracks_.end(), [this](const SubtitleTrack& t) {
        return t.id == embeddedTrack_;
    });
    trackCaptions_ =
        track != tracks_.end() && trackDrawingOf(*track, ignoreStyles()) == TrackDrawing::Captions;
    trackText_.clear();
    clearText();
    trackControl_->setSubtitlesVisible(!trackCaptions_ && style_.showCaption);
    trackControl_->setSubtitleDelay(subtitleDelayOf(model_->syncOffset));
    trackControl_->selectSubtitleTrack(embeddedTrack_);
    setShowing(fileLoaded_);
    chooseSecondTrack();
    reportButtons();
}

void CaptionController::dropEmbeddedTrack() {
    if (embeddedTrack_ == 0) return;
    embeddedTrack_ = 0;
    trackCaptions_ = false;
    trackText_.clear();
    if (trackControl_) trackControl_->selectSubtitleTrack(0);
    chooseSecondTrack();
}

// The track's text as a caption: its lines in the caption colour, cut as a caption file's
// lines are, at most as many and as long as a caption file's cue may hold.
std::string CaptionController::trackCaption(std::string_view text) const {
    std::vector<std::string_view> lines;
    while (!text.empty() && lines.size() < static_cast<std::size_t>(kMaxCueLines)) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    const int divideLength = settings::get(settings_, keys::CaptionDivideLength);
    return cueDisplayText(lines, CueMarkup::SubRip, divideLength);
}

void CaptionController::showTrackText() {
    if (!trackCaptions_ || fileLoaded_) return;
    model_->currentCaption = trackCaption(trackText_);
    second_->currentCaption = secondTrack_ != 0 ? trackCaption(secondTrackText_) : std::string();
    if (model_->currentCaption != model_->lastDrawnCaption ||
        second_->currentCaption != second_->lastDrawnCaption)
        draw();
}

// ---------------------------------------------------------------------------------------------
// The language round

bool CaptionController::loadFileFrom(std::size_t index) {
    for (std::size_t i = index; i < files_.size(); ++i) {
        model_->captionPath = files_[i].path;
        if (parse(files_[i].path)) {
            fileIndex_ = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

std::string CaptionController::fileLanguageMessage() const {
    const std::string& code = model_->activeLanguageCode();
    const bool known = languageMessage(code) != languageMessage("");
    if (!known && fileIndex_ >= 0 && !files_[static_cast<std::size_t>(fileIndex_)].tag.empty()) {
        const CaptionFileChoice& file = files_[static_cast<std::size_t>(fileIndex_)];
        if (!file.code.empty()) return languageMessage(file.code);
        SubtitleTrack named;
        named.language = file.tag;
        return subtitleTrackMessage(named);
    }
    return languageMessage(code);
}

void CaptionController::showFirstTrack() {
    fileLoaded_ = false;
    model_->clearCaptionTexts();
    embeddedTrack_ = tracks_.front().id;
    showEmbeddedTrack();
}

// Every language of the loaded file, then the next files', then the medium's tracks, and
// round again.
void CaptionController::nextLanguage() {
    if (!host_.mediaFlags().loaded) return;
    std::string text = "자막 언어 : 없음";
    const bool tracksToo = trackControl_ && !tracks_.empty();
    auto trackMessage = [&] {
        for (const SubtitleTrack& t : tracks_)
            if (t.id == embeddedTrack_) text = subtitleTrackMessage(t);
    };
    const std::string current = model_->captionPath;
    auto toFile = [&](std::size_t from) {
        const bool ok = loadFileFrom(from);
        if (!ok) {
            model_->captionPath = current;
            return false;
        }
        emptyFileRead_ = false;
        dropEmbeddedTrack();
        setShowing(true);
        clearText();
        text = fileLanguageMessage();
        return true;
    };
    if (fileLoaded_) {
        if (model_->activeLanguage() + 1 < model_->languageCount()) {
            model_->cycleLanguage();
            text = fileLanguageMessage();
        } else if (toFile(static_cast<std::size_t>(fileIndex_ + 1))) {
        } else if (tracksToo) {
            showFirstTrack();
            trackMessage();
        } else if (fileIndex_ > 0 && toFile(0)) {
        } else {
            // Round to the first language of the one file; the files tried on the way may
            // have replaced its tables.
            const int index = fileIndex_;
            parse(current);
            fileIndex_ = index;
            clearText();
            text = fileLanguageMessage();
        }
        emptyFileRead_ = false;
    } else if (embeddedTrack_ != 0) {
        const bool last = embeddedTrack_ == tracks_.back().id;
        if (!(last && toFile(0))) {
            embeddedTrack_ = subtitleTrackAfter(tracks_, embeddedTrack_);
            showEmbeddedTrack();
            trackMessage();
        }
    }
    refreshSecond();
    message(osd::Switch::CaptionLanguage, text);
    reportButtons();
}

// ---------------------------------------------------------------------------------------------
// Two languages at once

bool CaptionController::twoLanguages() const {
    return settings::get(settings_, keys::ShowTwoLanguages);
}

void CaptionController::refreshSecond() {
    secondLoaded_ = false;
    second_->clearCaptionTexts();
    chooseSecondTrack();
    if (!fileLoaded_ || !twoLanguages()) return;
    secondSync_ =
        std::clamp(settings::get(settings_, keys::SecondCaptionSynch), -kSyncLimit, kSyncLimit);
    const std::string& firstCode = model_->activeLanguageCode();
    if (model_->languageCount() > 1) {
        if (!second_->parseCaptionFile(model_->captionPath, settings_)) return;
        second_->setActiveLanguage((model_->activeLanguage() + 1) % model_->languageCount());
        secondLoaded_ = second_->hasCaptions();
        return;
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const CaptionFileChoice& file = files_[i];
        if (static_cast<int>(i) == fileIndex_ || file.path == model_->captionPath) continue;
        if (!file.code.empty() && file.code == firstCode) continue;
        if (second_->parseCaptionFile(file.path, settings_) && second_->hasCaptions()) {
            secondLoaded_ = true;
            return;
        }
    }
}

// The second track: another text track, in another language when there is one.
void CaptionController::chooseSecondTrack() {
    int chosen = 0;
    if (!fileLoaded_ && trackCaptions_ && twoLanguages()) {
        const SubtitleTrack* first = nullptr;
        for (const SubtitleTrack& t : tracks_)
            if (t.id == embeddedTrack_) first = &t;
        const std::string_view firstLanguage = first ? languageClassOfTrack(*first) : "";
        for (const SubtitleTrack& t : tracks_) {
            if (t.id == embeddedTrack_ ||
                trackDrawingOf(t, ignoreStyles()) != TrackDrawing::Captions)
                continue;
            if (chosen == 0) chosen = t.id;
            if (firstLanguage.empty() || languageClassOfTrack(t) != firstLanguage) {
                chosen = t.id;
                break;
            }
        }
    }
    if (chosen == secondTrack_) return;
    secondTrack_ = chosen;
    secondTrackText_.clear();
    if (trackControl_) trackControl_->selectSecondSubtitleTrack(secondTrack_);
}

void CaptionController::toggleTwoLanguages() {
    if (!fileLoaded_ && !trackCaptions_) return;
    settings::put(settings_, keys::ShowTwoLanguages, !twoLanguages());
    refreshSecond();
    showTrackText();
    draw();
    std::string text = "두 언어 자막 : 끔";
    auto trackLanguage = [this](int id) {
        for (const SubtitleTrack& t : tracks_)
            if (t.id == id) return std::string(languageName(languageClassOfTrack(t)));
        return std::string(languageName(""));
    };
    if (twoLanguages()) {
        if (secondLoaded_)
            text = "두 언어 자막 : " + std::string(languageName(model_->activeLanguageCode())) +
                   " + " + std::string(languageName(second_->activeLanguageCode()));
        else if (secondTrack_ != 0)
            text = "두 언어 자막 : " + trackLanguage(embeddedTrack_) + " + " +
                   trackLanguage(secondTrack_);
        else
            text = "두 언어 자막 : 다른 언어 없음";
    }
    message(osd::Switch::CaptionLanguage, text);
}

}  // namespace orvalis
