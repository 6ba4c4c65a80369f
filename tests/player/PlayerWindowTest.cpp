// The player window on the real libmpv under the test display: geometry, screen modes, the
// mouse's border zones and drags, and real input reaching its commands.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QOpenGLContext>
#include <QUrl>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

#include "app/Assembly.h"
#include "base/SettingsKeys.h"
#include "controlpanel/ControlPanel.h"
#include "engine/MpvBackend.h"
#include "extras/PowerControl.h"
#include "player/OsdTip.h"
#include "player/PlayerWindow.h"
#include "player/VideoSurface.h"
#include "player/VideoWindow.h"
#include "playlist/PlaylistListView.h"
#include "playlist/PlaylistWindow.h"
#include "settings/SettingsSheet.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::mediaPath;
using orvalis::test::waitUntil;

namespace {

class WindowTest : public ::testing::Test {
protected:
    WindowTest()
        : backend({.videoOutput = true, .audioOutput = false}),
          player({store, backend, prompter, desktop, power}, {}),
          window(player.window()) {}

    void startWith(const std::string& file) {
        player.start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.receiveHandOver({file});
        ASSERT_TRUE(waitUntil([&] { return window.engine().flags().playing; }, 15000))
            << "the medium did not start";
    }

    // The picture's own window inside the player window.
    QWindow* pictureWindow() { return dynamic_cast<QWindow*>(&window.videoSurface()); }

    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    test::FakeDesktop desktop;
    struct NoPower final : PowerControl {
        void powerOff() override { ADD_FAILURE() << "no test may power off"; }
    } power;
    MpvBackend backend;
    Assembly player;
    PlayerWindow& window;
};

}  // namespace

// The window manager's maximize (its button, its keys, wmctrl) toggles full screen as Enter
// does; its minimize takes the transport bar away.
TEST_F(WindowTest, TheWindowManagersMaximizeAndMinimizeAreThePlayersOwn) {
    startWith(mediaPath("test/av.mp4"));
    const QRect normal = window.geometry();
    window.showMaximized();
    const QRect screen = window.screen()->geometry();
    EXPECT_TRUE(waitUntil([&] { return window.isFullScreen() && window.geometry().size() == screen.size(); },
                          5000));
    EXPECT_TRUE(window.controller().state().fullScreen());
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(waitUntil([&] { return window.geometry() == normal; }, 5000));
    EXPECT_FALSE(window.isMaximized());

    window.controller().showTransportBar(true);
    ASSERT_TRUE(waitUntil([&] { return player.transportBar().isVisible(); }, 3000));
    window.showMinimized();
    EXPECT_FALSE(window.controller().state().barShown);
    EXPECT_TRUE(waitUntil([&] { return !player.transportBar().isVisible(); }, 3000));
    window.showNormal();
}

// A drag in a border zone resizes in the picture's proportions; one inside moves the window.
TEST_F(WindowTest, DragsResizeAtTheBorderAndMoveInside) {
    startWith(mediaPath("demo.mp4"));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QRect start = window.geometry();  // 640 x 360
    // Press in the right border zone and drag 80 pixels to the right.
    const QPoint edge(start.width() - 4, start.height() / 2);
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, edge);
    QMouseEvent stretch(QEvent::MouseMove, QPointF(edge + QPoint(80, 0)),
                        QPointF(window.mapToGlobal(edge + QPoint(80, 0))), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &stretch);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, edge + QPoint(80, 0));
    EXPECT_TRUE(waitUntil([&] { return window.width() == start.width() + 80; }, 3000)) << window.width();
    EXPECT_EQ(window.height(), (start.width() + 80) * 360 / 640);

    const QRect before = window.geometry();
    const QPoint press(before.width() / 2, before.height() / 2);
    const QPoint pressGlobal = window.mapToGlobal(press);
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, press);
    for (int step = 1; step <= 3; ++step) {
        // The pointer moves on the screen; the window follows it.
        const QPoint global = pressGlobal + QPoint(10 * step, 7 * step);
        QMouseEvent move(QEvent::MouseMove, QPointF(window.mapFromGlobal(global)), QPointF(global),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &move);
    }
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, press);
    EXPECT_TRUE(waitUntil([&] { return window.pos() == before.topLeft() + QPoint(30, 21); }, 3000))
        << window.pos().x() << "," << window.pos().y();
    EXPECT_TRUE(window.engine().flags().playing) << "a resize or a drag is not a click";
}

TEST_F(WindowTest, FilesDroppedOnThePlayerFillTheListAndTheFirstPlays) {
    player.start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Dropped files join the list in name order.
    const std::string first = mediaPath("test/audio.wav"), second = mediaPath("test/av.mp4");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(second)),
                  QUrl::fromLocalFile(QString::fromStdString(first))});
    // Dropped on the picture, which hands them to the window.
    QWindow* picture = pictureWindow();
    ASSERT_NE(picture, nullptr);
    const QPoint at(picture->width() / 2, picture->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &drop);
    EXPECT_TRUE(drop.isAccepted());

    PlaylistWindow& list = player.playlistWindow();
    // The drop is answered first and handled right after.
    EXPECT_TRUE(waitUntil([&] { return list.list().model()->rowCount() == 2; }, 5000));
    ASSERT_TRUE(waitUntil([&] { return window.engine().flags().playing; }, 15000));
    EXPECT_EQ(window.engine().currentFile(), first);
}

// A frame saved by Ctrl + F as a BMP file that an image reader opens, while the medium plays
// on; a medium without a picture saves nothing.
TEST_F(WindowTest, FrameCaptureOnThePlayingMedium) {
    const std::string shots = test::freshDir("shots");
    store.putString(sections::ConfigControl, "Image Folder", shots);
    startWith(mediaPath("demo.mp4"));
    MediaEngine& e = window.engine();
    auto osd = [&] { return player.osd().text().toStdString(); };
    // The capture pauses, writes the frame and plays on.
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(e.flags().paused);
    const std::string file = shots + "/demo_000.bmp";
    ASSERT_TRUE(waitUntil([&] { return osd() == "demo_000.bmp"; }, 10000)) << osd();
    EXPECT_TRUE(e.flags().playing);
    const QImage picture(QString::fromStdString(file), "BMP");
    ASSERT_FALSE(picture.isNull());
    if (const char* dir = std::getenv("ORVALIS_SHOT_DIR"))
        picture.save(QString("%1/window-capture.png").arg(dir));
    EXPECT_EQ(picture.size(), QSize(640, 360));
    EXPECT_NE(picture.pixel(10, 10), picture.pixel(630, 350));  // a picture, not a blank

    // Audio only: the command does nothing at all. The file's name, handed over as a second
    // start would, has a leading blank, a ";" and CP949 bytes: it reaches libmpv as it is.
    const std::string odd = test::freshDir("odd names") + "/ \xc0\xbd;\xbe\xc7.wav";
    std::filesystem::copy_file(mediaPath("test/audio.wav"), odd);
    window.receiveHandOver({odd});
    ASSERT_TRUE(waitUntil([&] { return e.flags().playing && !e.flags().hasVideo; }, 15000));
    player.osd().hide();
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    test::processEventsFor(300);
    EXPECT_FALSE(player.osd().isVisible());
    const auto written = std::filesystem::directory_iterator(shots);
    EXPECT_EQ(std::distance(begin(written), end(written)), 1);  // the video's frame alone
}

// The transport bar in the player: it comes with the pointer in the bottom band, its track
// seeks the playing clip, and it goes when the pointer leaves.
TEST_F(WindowTest, TheTransportBarSeeksAndComesAndGoes) {
    startWith(mediaPath("demo.mp4"));
    ControlPanel& bar = player.transportBar();
    EXPECT_FALSE(bar.isVisible());
    const QPoint band(window.width() / 2, window.height() - 20);
    QCursor::setPos(window.mapToGlobal(band));
    QMouseEvent move(QEvent::MouseMove, QPointF(band), QPointF(window.mapToGlobal(band)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pictureWindow(), &move);  // the pointer moves over the picture
    ASSERT_TRUE(waitUntil([&] { return bar.isVisible(); }, 3000));
    EXPECT_TRUE(bar.testAttribute(Qt::WA_NativeWindow)) << "above the picture's own window";

    QWidget* track = bar.partWidget(panel::PanelItem::Track);
    ASSERT_NE(track, nullptr);
    const QPoint middle(track->width() / 2, track->height() / 2);
    QTest::mouseClick(track, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_TRUE(waitUntil([&] { return std::abs(window.engine().position() - 5.0) < 0.6; }, 5000))
        << window.engine().position();

    // The pointer leaves the window: the bar goes within the auto-hide timer's period.
    QCursor::setPos(window.mapToGlobal(QPoint(window.width() + 200, window.height() + 200)));
    EXPECT_TRUE(waitUntil([&] { return !bar.isVisible(); }, 3000));
}

// F2 reaches the settings sheet the assembly builds on first use, modal over the player.
TEST_F(WindowTest, F2OpensTheSettingsSheet) {
    player.start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QString title;
    QTimer::singleShot(500, [&] {
        if (auto* sheet = qobject_cast<SettingsSheet*>(QApplication::activeModalWidget())) {
            title = sheet->windowTitle();
            sheet->reject();
        }
    });
    QTest::keyClick(&window, Qt::Key_F2);
    EXPECT_EQ(title, QStringLiteral("환경설정"));
}

TEST_F(WindowTest, TheBackgroundPictureIsReadOnlyFromARegularFile) {
    const std::string dir = test::freshDir("background");
    const std::string fifo = dir + "/back.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Should the window wait on the pipe, a writer that comes and goes lets it go, and the
    // test fails instead of hanging.
    std::promise<void> returned;
    auto watchdog = std::async(std::launch::async, [&, done = returned.get_future()] {
        if (done.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return false;
        int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
        return true;
    });
    window.setBackground(0, 0, fifo);
    returned.set_value();
    EXPECT_FALSE(watchdog.get()) << "the window waited on a pipe";
    EXPECT_FALSE(window.backgroundImageSize());

    const std::string png = dir + "/real.png";
    ASSERT_EQ(std::system(("ffmpeg -nostdin -y -v error -f lavfi -i color=s=24x12 -frames:v 1 '" +
                           png + "'").c_str()),
              0);
    window.setBackground(0, 0, png);
    ASSERT_TRUE(window.backgroundImageSize());
    EXPECT_EQ(window.backgroundImageSize()->width, 24);
}

// The picture is a window of its own inside the player window: keys, clicks, the wheel and
// the right button's menu that reach it run the player's commands as on the window itself.
TEST_F(WindowTest, InputOnThePictureReachesThePlayersCommands) {
    startWith(mediaPath("demo.mp4"));
    QWindow* picture = pictureWindow();
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(picture));
    EXPECT_EQ(picture->size(), window.size());

    QTest::keyClick(picture, Qt::Key_Space);
    EXPECT_TRUE(window.engine().flags().paused);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QPoint middle(picture->width() / 2, picture->height() / 2);
    QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_TRUE(window.engine().flags().playing);

    const int step = window.controller().volume().step();
    QWheelEvent wheel(QPointF(middle), QPointF(picture->mapToGlobal(middle)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &wheel);
    EXPECT_EQ(window.controller().volume().step(), step + 1);
    EXPECT_EQ(player.osd().text().toStdString(), "Volume : " + std::to_string((step + 1) * 100 / 19) + "%");
    EXPECT_TRUE(player.osd().isVisible());
    QTest::keyClick(picture, Qt::Key_G);  // not in the map: nothing, and no crash
    // X11 gives Alt + wheel as a sideways turn: it still sizes the caption area.
    ASSERT_TRUE(window.engine().flags().captionsLoaded);
    const int space = window.controller().captionStyle().captionSpace;
    QWheelEvent turn(QPointF(middle), window.mapToGlobal(QPointF(middle)), QPoint(), QPoint(120, 0),
                     Qt::NoButton, Qt::AltModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window, &turn);
    EXPECT_GT(window.controller().captionStyle().captionSpace, space);

    QString menuShown;
    QTimer::singleShot(300, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menuShown = menu->actions().value(0) ? menu->actions().value(0)->text() : "?";
            menu->close();
        }
    });
    QTest::mouseClick(picture, Qt::RightButton, Qt::NoModifier, middle);
    EXPECT_FALSE(menuShown.isEmpty()) << "the right button opens the player's menu";

    store.putInt(sections::ConfigCustom, "Wheel Click", 0);  // the middle button: full screen
    QTest::mouseClick(picture, Qt::MiddleButton, Qt::NoModifier, middle);
    EXPECT_TRUE(waitUntil([&] { return window.isFullScreen(); }, 5000));
    EXPECT_TRUE(waitUntil([&] { return picture->size() == window.size(); }, 5000));
}

// The demo plays in a window of its size and draws frames. The picture's GL context going away
// takes the renderer with it; the next one gets a renderer of its own and the picture plays on.
TEST_F(WindowTest, PlaysTheDemoAndItsRendererComesBackWithTheNextContext) {
    startWith(mediaPath("demo.mp4"));
    EXPECT_EQ(window.size(), QSize(640, 360));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvalis "));
    EXPECT_TRUE(desktop.inhibited);
    auto* picture = dynamic_cast<VideoWindow*>(pictureWindow());
    ASSERT_NE(picture, nullptr);
    VideoSurface& surface = window.videoSurface();
    ASSERT_TRUE(waitUntil([&] { return surface.framesDrawn() > 2; }, 10000));
    ASSERT_TRUE(backend.hasRenderer());

    emit picture->context()->aboutToBeDestroyed();
    EXPECT_FALSE(backend.hasRenderer());
    EXPECT_FALSE(surface.rendererReady());

    // The medium plays on, and its picture comes back with the next renderer.
    surface.redraw();
    QImage shown;
    EXPECT_TRUE(waitUntil(
        [&] {
            shown = surface.grabShown();
            return shown.size() == QSize(640, 360) && shown.pixel(10, 10) != shown.pixel(630, 350);
        },
        10000))
        << "still no picture";
    EXPECT_TRUE(surface.rendererReady());
    EXPECT_TRUE(backend.hasRenderer());
    EXPECT_TRUE(window.engine().flags().playing);
    const quint64 frames = surface.framesDrawn();
    EXPECT_TRUE(waitUntil([&] { return surface.framesDrawn() > frames + 2; }, 10000));
}
