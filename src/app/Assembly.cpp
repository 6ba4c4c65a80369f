#include "app/Assembly.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>
#include <csignal>
#include <cstdio>

#include "app/DbusDesktopServices.h"
#include "app/MprisService.h"
#include "app/QtPrompter.h"
#include "app/SingleInstance.h"
#include "app/StartupTrace.h"
#include "base/AppPaths.h"
#include "captions/CaptionController.h"
#include "captions/CaptionEncodings.h"
#include "captions/CaptionRenderer.h"
#include "controlpanel/ControlPanel.h"
#include "engine/Decoding.h"
#include "engine/MpvBackend.h"
#include "engine/MpvSoundPlayer.h"
#include "extras/BookmarkService.h"
#include "extras/CaptureService.h"
#include "extras/DbusPowerControl.h"
#include "extras/ShutdownDialog.h"
#include "extras/ShutdownService.h"
#include "extras/StreamAddressDialog.h"
#include "player/CoverArt.h"
#include "player/MprisPlayer.h"
#include "player/OsdTip.h"
#include "player/PlayerController.h"
#include "player/PlayerDialogs.h"
#include "player/PlayerWindow.h"
#include "player/QtTimerService.h"
#include "player/VideoSurface.h"
#include "playlist/PlaylistWindow.h"
#include "settings/FileAssociations.h"
#include "settings/PageValues.h"
#include "settings/SettingsSheet.h"

namespace orvalis {

// The desktop's own services, for the program as users run it.
struct Assembly::DesktopPlatform {
    explicit DesktopPlatform(SettingsStore& settings)
        : settings(settings), backend(engineOptions(settings)) {}

    static MpvBackend::Options engineOptions(SettingsStore& settings) {
        MpvBackend::Options options;
        options.hwdec = decoding::hwdecOption(decoding::hardwareDecoding(settings));
        return options;
    }

    SettingsStore& settings;
    MpvBackend backend;
    QtPrompter prompter;
    DbusDesktopServices desktop;
    DbusPowerControl power;
};

// The sheet's seven pages (and the list of installed fonts) are built at its first use,
// not at every start.
struct Assembly::LazySheet final : SettingsSheetPort {
    std::function<SettingsSheetPort*()> create;
    bool run() override { return create()->run(); }
};

namespace {

constexpr int kLongestFirstShowMs = 3000;

int signalPipe[2] = {-1, -1};

void onTerminate(int) {
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &c, 1);
}

// SIGTERM and SIGINT (a logout, Ctrl+C) run the Exit command, so nothing is lost.
void installTerminationHandler(QObject* owner, std::function<void()> exitPlayer) {
    if (signalPipe[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [exitPlayer, notifier] {
        char c;
        [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &c, 1);
        notifier->setEnabled(false);
        exitPlayer();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

// Runs `then` once, just after the window's first picture reached the screen.
class AfterFirstExpose final : public QObject {
public:
    AfterFirstExpose(QWindow* window, std::function<void()> then)
        : QObject(window), then_(std::move(then)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // The expose paints the window; what follows waits until that is done.
            QTimer::singleShot(0, watched, then_);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> then_;
};

// libmpv's raw screenshot of the video, as the capture takes it.
void requestFrame(VideoOutput& video, CaptureService::FrameAnswer answer) {
    video.grabFrame([answer = std::move(answer)](std::optional<VideoFrame> f) {
        answer(f ? RawFrame::copyOf(f->pixels.data(), f->width, f->height,
                                    static_cast<std::ptrdiff_t>(f->stride), f->format)
                 : std::nullopt);
    });
}

}  // namespace

Assembly::Assembly(SettingsStore& settings, std::vector<std::string> commandLinePaths)
    : Assembly(std::make_unique<DesktopPlatform>(settings), nullptr, std::move(commandLinePaths)) {}

Assembly::Assembly(Platform platform, std::vector<std::string> commandLinePaths)
    : Assembly(nullptr, &platform, std::move(commandLinePaths)) {}

Assembly::Assembly(std::unique_ptr<DesktopPlatform> own, const Platform* given,
                   std::vector<std::string> commandLinePaths)
    : own_(std::move(own)),
      settings_(given ? given->settings : own_->settings),
      backend_(given ? given->backend : own_->backend),
      prompter_(given ? given->prompter : own_->prompter),
      desktop_(given ? given->desktop : own_->desktop),
      power_(given ? given->power : own_->power) {
    startupMark("libmpv started");
    if (!backend_.isValid()) return;
    buildPlayer(std::move(commandLinePaths));
    buildPlaylist();
    buildExtras();
    buildSettingsSheet();
    buildPicture();
    buildCaptions();
    if (own_) own_->prompter.setParent(window_.get());
    startupMark("assembly built");
}

Assembly::~Assembly() {
    if (own_) own_->prompter.setParent(nullptr);
}

MediaEngine& Assembly::engine() { return controller_->engine(); }

void Assembly::buildPlayer(std::vector<std::string> commandLinePaths) {
    window_ = std::make_unique<PlayerWindow>();
    timers_ = std::make_unique<QtTimerService>([this](TimerId id) { controller_->onTimer(id); });
    controller_ = std::make_unique<PlayerController>(
        PlayerController::Services{settings_, *timers_, backend_, *window_, desktop_, prompter_},
        std::move(commandLinePaths));
    window_->attach(*controller_, backend_);
    controller_->onExited = [this] {
        if (playlist_) {
            playlist_->saveNow();
            playlist_->hide();
        }
        window_->hide();
        if (exited_) exited_();
    };
    osd_ = std::make_unique<OsdTip>(*timers_, [this] {
        PlayerWindow& w = *window_;
        const QRect client(w.mapToGlobal(QPoint(0, 0)), w.size());
        const QPoint cursor = QCursor::pos();
        osd::Placement p;
        p.client = {client.left(), client.top(), client.left() + client.width(),
                    client.top() + client.height()};
        p.mainWindowShown = controller_->windowSettings().showMainDlg && w.isVisible();
        p.barShown = controller_->state().barShown;
        p.barHeight = controller_->state().barHeight;
        p.cursor = {cursor.x(), cursor.y()};
        return p;
    });
    controller_->attachOsd(osd_.get());
}

void Assembly::buildPlaylist() {
    PlaylistHost host;
    host.openPath = [this](const std::string& path) { controller_->engine().openFile(path); };
    host.runCommand = [this](CommandId id) { controller_->runCommand(id); };
    host.mediaLoaded = [this] { return controller_->engine().flags().loaded; };
    host.playerShown = [this] { return controller_->windowSettings().showMainDlg; };
    host.playerInScreenMode = [this] { return controller_->state().fullScreen(); };
    host.minimizePlayer = [this] { controller_->minimize(); };
    host.showPlayerMenu = [this] { window_->showContextMenu(QCursor::pos()); };
    host.playerRect = [this]() -> std::optional<geometry::Rect> { return window_->windowRect(); };
    host.showTip = [this](const std::string& text, int ms) {
        const QPoint at = QCursor::pos();
        osd_->showAt(text, {at.x(), at.y()}, ms);
    };
    playlist_ = std::make_unique<PlaylistWindow>(settings_, prompter_, std::move(host), window_.get());
    controller_->attachPlaylist(&playlist_->port());
    window_->setDockedWindow(playlist_.get());
    window_->passKeyToPlaylist = [this](QKeyEvent* event) {
        if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_5)
            playlist_->transparencyKey(event->key() - Qt::Key_0);
    };

    dialogs_ = std::make_unique<PlayerDialogs>(window_.get(), *controller_, desktop_);
    dialogs_->streamAddressDialog = [this] {
        return StreamAddressDialog::ask(window_.get(), settings_, prompter_);
    };
    controller_->attachDialogs(dialogs_.get());
}

void Assembly::buildExtras() {
    shutdown_ = std::make_unique<ShutdownService>(
        ShutdownService::Player{*timers_, *osd_, [this] { controller_->closeFile(); },
                                [this] { controller_->exit(); }},
        power_, settings_);
    shutdown_->setDialog([this] {
        return ShutdownDialog::ask(window_.get(), settings_, controller_->engine().flags().loaded);
    });
    controller_->attachShutdown(shutdown_.get());
    // A second libmpv for short sounds; it starts at the first sound, not here.
    sound_ = std::make_unique<MpvSoundPlayer>(MpvSoundPlayer::Options{});
}

void Assembly::buildSettingsSheet() {
    associations_ = std::make_unique<DesktopAssociations>(
        AssociationPlaces::forCurrentUser(QCoreApplication::applicationFilePath().toStdString()));
    lazySheet_ = std::make_unique<LazySheet>();
    lazySheet_->create = [this] {
        if (!sheet_) {
            sheet_ = std::make_unique<SettingsSheet>(
                SettingsSheet::Services{settings_, prompter_, SheetEnvironment::current(settings_),
                                     associations_.get(), paths::dataDir(), sound_.get(), {}},
                window_.get());
        }
        return sheet_.get();
    };
    controller_->attachSettingsSheet(lazySheet_.get());
}

void Assembly::buildPicture() {
    surface_ = VideoSurface::create(backend_, *window_);  // owned by the window
    window_->setVideoSurface(surface_);
    surface_->setRendererReadyCallback([this] { controller_->rendererReady(); });

    panel_ = std::make_unique<ControlPanel>(
        settings_, [this](CommandId id) { controller_->runCommand(id); }, *controller_,
        window_.get());
    panel_->hide();
    panel_->setAttribute(Qt::WA_NativeWindow);  // a native window above the picture's
    controller_->attachTransport(panel_.get());

    bookmarks_ =
        std::make_unique<BookmarkService>(settings_, BookmarkStore::defaultFilePath(), *osd_);
    bookmarks_->setTransport(panel_.get());
    controller_->attachBookmarks(bookmarks_.get());
    capture_ = std::make_unique<CaptureService>(
        CaptureService::Player{controller_->engine(),
                               [this](bool busy) { controller_->setBusyCursor(busy); },
                               [this](CaptureService::FrameAnswer answer) {
                                   requestFrame(backend_, std::move(answer));
                               }},
        *osd_, sound_.get(), settings_, paths::picturesDir());
    controller_->attachCapture(capture_.get());
}

void Assembly::buildCaptions() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    captionRenderer_ = std::make_unique<CaptionRenderer>(
        primary ? primary->logicalDotsPerInch() : 96.0, window_->devicePixelRatioF());
    captionRenderer_->imageChanged = [this](const QImage& image, QPoint at) {
        surface_->setCaptionImage(image, at);
    };
    captionEncodings_ =
        std::make_unique<CaptionEncodingStore>(paths::dataDir() + "/CaptionEncodings.txt");
    captions_ = std::make_unique<CaptionController>(
        CaptionController::Services{*controller_, controller_->captionStyle(), settings_, *timers_,
                                 *captionRenderer_, prompter_, desktop_, osd_.get(), &backend_,
                                 captionEncodings_.get()});
    controller_->attachCaptions(captions_.get());
}

void Assembly::start() {
    if (started_) return;
    started_ = true;
    surface_->prepareRenderer();
    startupMark("renderer made");
    controller_->initialise();
    startupMark("window placed and shown");
    QWindow* handle = window_->windowHandle();
    if (handle && window_->isVisible()) {
        new AfterFirstExpose(handle, [this] { afterFirstShow(); });
        // A window that is never exposed (started minimised) does not hold the rest back.
        QTimer::singleShot(kLongestFirstShowMs, window_.get(), [this] { afterFirstShow(); });
    } else {
        // Hidden from the start (audio only): nothing waits for a picture.
        QTimer::singleShot(0, window_.get(), [this] { afterFirstShow(); });
    }
}

void Assembly::afterFirstShow() {
    if (shown_) return;
    shown_ = true;
    startupMark("first picture on the screen");
    installTerminationHandler(window_.get(), [this] { exitPlayer(); });
    startDesktopInterface();
    startupMark("desktop interface started");
}

// Media keys, desktop panels and playerctl: the same commands over the session bus.
void Assembly::startDesktopInterface() {
    if (!own_) return;  // tests bring up their own bus when they want one
    covers_ = std::make_unique<cover::CoverArtFiles>(paths::cacheDir());
    mprisPlayer_ = std::make_unique<MprisPlayer>(
        *controller_, [this] { receiveHandOver({}); }, covers_.get());
    mpris_ = std::make_unique<MprisService>(*mprisPlayer_, QDBusConnection::sessionBus());
    mpris_->start();
}

int Assembly::run(SingleInstance& instance) {
    if (!valid()) {
        std::fprintf(stderr, "Orvalis: libmpv could not be started\n");
        return 1;
    }
    QObject::connect(&instance, &SingleInstance::listReceived, window_.get(),
                     [this](const std::vector<std::string>& paths) { receiveHandOver(paths); });
    exited_ = [] {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    };
    // The main window may hide while sound plays; the player ends only with Exit.
    QApplication::setQuitOnLastWindowClosed(false);
    start();
    const int rc = QApplication::exec();
    // A scheduled power-off is on its way to the system: let it arrive before the end.
    if (own_) finishPowerOff(own_->power);
    return rc;
}

void Assembly::receiveHandOver(const std::vector<std::string>& paths) { window_->receiveHandOver(paths); }

void Assembly::exitPlayer() { controller_->exit(); }

}  // namespace orvalis
