#include "player/MprisPlayer.h"

#include <cmath>

#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "player/CoverArt.h"
#include "player/PlayerController.h"

namespace orvalis {

namespace {

CommandId commandOf(mpris::Request r) {
    using R = mpris::Request;
    switch (r) {
        case R::PlayPause:
            return CommandId::PlayPause;
        case R::Play:
            return CommandId::Play;
        case R::Pause:
            return CommandId::Pause;
        case R::Stop:
            return CommandId::Stop;
        case R::Next:
            return CommandId::NextItem;
        case R::Previous:
            return CommandId::PreviousItem;
        case R::RepeatItem:
            return CommandId::RepeatItem;
        case R::RateHalf:
            return CommandId::RateHalf;
        case R::RateDouble:
            return CommandId::RateDouble;
        case R::RateNormal:
            return CommandId::RateNormal;
        case R::VolumeUp:
            return CommandId::VolumeUp;
        case R::VolumeDown:
            return CommandId::VolumeDown;
        case R::Mute:
            return CommandId::Mute;
        case R::FullScreen:
            return CommandId::FullScreen;
        case R::Quit:
            return CommandId::Exit;
    }
    return CommandId::Exit;
}

}  // namespace

MprisPlayer::MprisPlayer(PlayerController& controller, std::function<void()> raiseWindow,
                         cover::CoverArtFiles* covers)
    : controller_(controller), raiseWindow_(std::move(raiseWindow)), covers_(covers) {
    controller_.onSeeked = [this](double seconds) {
        if (seeked) seeked(seconds);
    };
}

MprisPlayer::~MprisPlayer() {
    controller_.onSeeked = nullptr;
}

mpris::PlayerState MprisPlayer::state() const {
    MediaEngine& e = controller_.engine();
    const EngineFlags& f = e.flags();
    mpris::PlayerState s;
    s.loaded = f.loaded;
    s.opening = f.opening && !f.loaded;
    s.playing = f.playing;
    s.paused = f.paused;
    s.listEmpty = controller_.playlistIsEmpty();
    s.repeatItem = controller_.windowSettings().repeat;
    s.repeatList = settings::get(controller_.store(), keys::RepeatList) == 1;
    s.fullScreen = controller_.state().fullScreen();
    s.rate = e.rate();
    s.minimumRate = kMinimumRate;
    s.maximumRate = kMaximumRate;
    s.volumeStep = controller_.volume().step();
    s.volumeTop = volume::kMaxStep;
    s.muted = controller_.volume().muted();
    s.position = e.position();
    s.duration = e.duration();
    s.location = e.currentFile();
    s.title = e.tags().title;
    s.artist = e.tags().artist;
    s.album = e.tags().album;
    // A new number for each medium that opens, the same file again included; a medium
    // whose opening fell between two looks is told by its other location.
    const int phase = f.loaded ? 2 : s.opening ? 1 : 0;
    const bool fresh = (phase == 1 && lastPhase_ != 1) ||
                       (phase == 2 && (lastPhase_ == 0 || lastLocation_ != s.location));
    if (fresh) {
        ++track_;
        lastLocation_ = s.location;
        artUrl_ = covers_ ? covers_->urlFor(s.location) : std::string();
    }
    lastPhase_ = phase;
    s.track = track_;
    s.artUrl = phase != 0 ? artUrl_ : std::string();
    return s;
}

void MprisPlayer::run(mpris::Request request) {
    controller_.runCommand(commandOf(request));
}

void MprisPlayer::seekTo(double seconds) {
    // The track's own seek, to the tenth of a second it works in.
    controller_.seekCommit(static_cast<int>(std::llround(seconds * 10)));
}

void MprisPlayer::setRepeatList(bool on) {
    settings::put(controller_.store(), keys::RepeatList, on ? 1 : 0);
}

// An address opens as the "open address" command opens one; a file joins the playlist and
// plays from there.
bool MprisPlayer::open(const std::string& pathOrAddress) {
    if (isStreamAddress(pathOrAddress)) {
        controller_.engine().openFile(pathOrAddress);
        return true;
    }
    PlaylistPort* list = controller_.playlist();
    return list && list->addPaths({pathOrAddress});
}

void MprisPlayer::raise() {
    if (!controller_.windowSettings().showMainDlg) controller_.showMainWindow();
    if (raiseWindow_) raiseWindow_();
}

}  // namespace orvalis
