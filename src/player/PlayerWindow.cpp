#include "player/PlayerWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <cmath>

#include "app/SettingsKeys.h"
#include "app/Startup.h"
#include "engine/MpvBackend.h"
#include "player/VideoSurface.h"

namespace orvalis {

namespace {

// Attenuation of the 20 volume steps in hundredths of a decibel.
constexpr int kAttenuation[20] = {-10000, -5000, -3440, -2720, -2310, -1970, -1680,
                                  -1360,  -1100, -880,  -720,  -550,  -450,  -350,
                                  -290,   -200,  -140,  -100,  -90,   0};

}  // namespace

PlayerWindow::PlayerWindow(SettingsStore& settings, MpvBackend& backend, Prompter& prompter,
                           DesktopServices& desktop, std::string commandLineList)
    : settings_(settings),
      backend_(backend),
      prompter_(prompter),
      desktop_(desktop),
      pendingList_(std::move(commandLineList)) {
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(192, 130);
    timers_ = std::make_unique<QtTimerService>([this](TimerId id) { onTimer(id); }, this);
    engine_ = std::make_unique<MediaEngine>(backend_, *this, settings_, desktop_, prompter_);
    surface_ = new VideoSurface(backend_, this);
    surface_->setGeometry(rect());

    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect r(0, 0, 366, 272);
    r.moveCenter(screen.center());
    setGeometry(r);
    timers_->start(TimerId::DeferredInit, 100);
}

PlayerWindow::~PlayerWindow() = default;

void PlayerWindow::onTimer(TimerId id) {
    switch (id) {
        case TimerId::DeferredInit:
            timers_->kill(id);
            deferredInit();
            break;
        case TimerId::PlaybackTick:
            playbackTick();
            break;
        case TimerId::PlaybackStart:
            timers_->kill(id);
            startOfPlayback();
            break;
        default:
            timers_->kill(id);
            break;
    }
}

void PlayerWindow::deferredInit() {
    if (!pendingList_.empty()) queueList(pendingList_, true);
    pendingList_.clear();
}

void PlayerWindow::queueList(const std::string& list, bool play) {
    auto entries = splitCommandLineList(list);
    if (entries.empty()) return;
    int first = static_cast<int>(queue_.size());
    for (auto& e : entries) queue_.push_back(std::move(e));
    if (play) {
        queuePos_ = first;
        engine_->openFile(queue_[static_cast<size_t>(queuePos_)]);
    }
}

void PlayerWindow::receiveHandOver(const QString& list) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (!list.isEmpty()) queueList(list.toStdString(), true);
}

void PlayerWindow::startPlaybackTick() { timers_->start(TimerId::PlaybackTick, 100); }
void PlayerWindow::stopPlaybackTick() { timers_->kill(TimerId::PlaybackTick); }
void PlayerWindow::startStartOfPlayback() { timers_->start(TimerId::PlaybackStart, 10); }

void PlayerWindow::setBusyCursor(bool busy) {
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void PlayerWindow::applyVolume() {
    int step = std::clamp(settings_.getInt(sections::Config, "Volume", 5), 0, 19);
    bool mute = settings_.getInt(sections::Config, "Mute", 0) != 0;
    double db = kAttenuation[mute ? 0 : step] / 100.0;
    backend_.setVolume(step == 0 || mute ? 0.0 : 100.0 * std::pow(10.0, db / 60.0));
}

bool PlayerWindow::hasVideoSurface() const { return surface_ && surface_->rendererReady(); }

bool PlayerWindow::playlistIsEmpty() const { return queue_.empty(); }

void PlayerWindow::playlistPlayEntry(int which) {
    if (queue_.empty()) return;
    if (which == -1) {
        if (queuePos_ + 1 >= static_cast<int>(queue_.size())) {
            engine_->setPosition(0.0);
            engine_->stop();
            return;
        }
        ++queuePos_;
    } else if (which >= 0 && which < static_cast<int>(queue_.size())) {
        queuePos_ = which;
    } else if (queuePos_ < 0) {
        queuePos_ = 0;
    }
    engine_->openFile(queue_[static_cast<size_t>(queuePos_)]);
}

void PlayerWindow::playlistPlayPrevious() {
    if (queue_.empty()) return;
    queuePos_ = std::max(0, queuePos_ - 1);
    engine_->openFile(queue_[static_cast<size_t>(queuePos_)]);
}

void PlayerWindow::runCloseFile() {
    if (engine_->flags().loaded) {
        stopPlaybackTick();
        engine_->closeMedia();
    }
    engine_->flags().captionsLoaded = false;
    engine_->clearFilters();
    surface_->setShowVideo(false);
    engine_->releaseSleep();
    update();
}

void PlayerWindow::runOpenFileDialog() {
    auto files = prompter_.openFiles({"파일 열기", settings_.getString(sections::Config, "Recent Folder"),
                                      "", "모든 파일 (*.*)|*.*||", ""},
                                     true);
    std::string list;
    for (const auto& f : files) list += f + ";";
    queueList(list, true);
}

bool PlayerWindow::shiftHeld() const {
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

void PlayerWindow::startOfPlayback() {
    MediaEngine& e = *engine_;
    if (!e.flags().loaded) return;
    surface_->setShowVideo(e.flags().hasVideo);
    if (e.flags().hasVideo && e.videoWidth() > 0 && e.videoHeight() > 0 && !isFullScreen()) {
        QRect screen = this->screen()->availableGeometry();
        QSize size(e.videoWidth(), e.videoHeight());
        size = size.boundedTo(screen.size());
        resize(size.expandedTo(QSize(192, 130)));
    }
    if (!e.flags().stream) startPlaybackTick();
    e.startRunning();
    e.flags().opening = false;
}

void PlayerWindow::playbackTick() {
    MediaEngine& e = *engine_;
    if (e.flags().stream) return;
    double p = e.position();
    if (p < 0) return;
    if (p < e.duration()) return;
    // End of the medium: play on, or stop at the start.
    if (settings_.getInt(sections::ConfigPlaylist, "Play Continue", 1) != 0) {
        e.releaseSleep();
        playlistPlayEntry(-1);
    } else {
        e.setPosition(0.0);
        e.stop();
    }
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) engine_->togglePause();
    // Every key is the player's: none reaches default processing.
    event->accept();
}

void PlayerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    surface_->setGeometry(rect());
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
    exitPlayer();
    event->accept();
}

void PlayerWindow::exitPlayer() {
    if (exiting_) return;
    exiting_ = true;
    engine_->releaseSleep();
    if (engine_->flags().loaded) runCloseFile();
    timers_->kill(TimerId::PlaybackTick);
    hide();
    emit exited();
}

}  // namespace orvalis
