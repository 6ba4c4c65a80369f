#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "base/SettingsKeys.h"
#include "controlpanel/ControlPanel.h"
#include "controls/IconButton.h"
#include "support/TestSupport.h"

using namespace orvalis;
using panel::PanelItem;

namespace {

class RecordingListener final : public TransportListener {
public:
    void seekPreview(int tenths, bool dragging) override {
        log.push_back((dragging ? "drag " : "hover ") + std::to_string(tenths));
    }
    void seekCommit(int tenths) override { log.push_back("commit " + std::to_string(tenths)); }
    void seekPreviewEnded() override { log.push_back("ended"); }
    void repeatRangeDragged(double a, double b) override {
        ranges.push_back({a, b});
        log.push_back("range");
    }
    void repeatRangeDragEnded() override { log.push_back("range ended"); }
    void volumeDragged(int step) override { steps.push_back(step); }
    void pictureChanged(PictureKind kind, int value) override {
        log.push_back((kind == PictureKind::Brightness ? "brightness " : "contrast ") +
                      std::to_string(value));
    }
    void timeDisplayChanged(bool count) override { log.push_back(count ? "count" : "time"); }
    void holdBar(bool held) override { log.push_back(held ? "hold" : "release"); }

    bool saw(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }

    std::vector<std::string> log;
    std::vector<int> steps;
    std::vector<std::pair<double, double>> ranges;
};

// A player window stand-in that records the keys and wheel turns reaching it.
class WindowStandIn final : public QWidget {
public:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
    void wheelEvent(QWheelEvent* e) override { wheels.push_back(e->angleDelta().y()); }
    std::vector<int> keys;
    std::vector<int> wheels;
};

struct Bar {
    test::MemorySettingsStore settings;
    RecordingListener listener;
    std::vector<CommandId> commands;
    WindowStandIn window;
    ControlPanel* panel = nullptr;

    explicit Bar(int width, double duration = 600) {
        window.resize(width + 4, 400);
        panel = new ControlPanel(
            settings, [this](CommandId id) { commands.push_back(id); }, listener, &window);
        window.show();
        panel->setGeometry(2, 400 - 2 - panel->preferredHeight(), width, panel->preferredHeight());
        panel->show();
        panel->setDuration(duration);
        panel->showPlaying();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget* part(PanelItem p) const { return panel->partWidget(p); }
    QPoint centre(PanelItem p) const { return part(p)->rect().center(); }
    void click(PanelItem p, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(part(p), button, Qt::NoModifier, centre(p));
    }
};

CaptionButtons loadedCaptions(int languages = 2) {
    CaptionButtons c;
    c.loaded = true;
    c.languages = languages;
    return c;
}

}  // namespace

TEST(ControlPanelUi, ClickOnTheTrackSeeksToTheTenthUnderThePointer) {
    Bar bar(640, 100.0);  // 1000 tenths
    QWidget* track = bar.part(PanelItem::Track);
    ASSERT_EQ(track->width(), 630);
    for (int x : {0, 157, 315, 629}) {
        bar.listener.log.clear();
        QTest::mouseClick(track, Qt::LeftButton, Qt::NoModifier, QPoint(x, track->height() / 2));
        const int expected = static_cast<int>(std::lround(x / 629.0 * 1000));
        ASSERT_TRUE(bar.listener.saw("commit " + std::to_string(expected))) << x;
        EXPECT_TRUE(bar.listener.saw("drag " + std::to_string(expected)));
        EXPECT_EQ(bar.listener.log.back(), "ended");
    }
    // Nothing loaded, or a stream: the track is disabled and never seeks.
    bar.panel->setDuration(0);
    bar.listener.log.clear();
    QTest::mouseClick(track, Qt::LeftButton, Qt::NoModifier, QPoint(300, 5));
    EXPECT_TRUE(bar.listener.log.empty());
}

TEST(ControlPanelUi, DraggingTheWedgeSetsTheVolumeBetweenItsEnds) {
    Bar bar(640);
    QWidget* wedge = bar.part(PanelItem::Wedge);
    ASSERT_TRUE(wedge->isVisible());
    QTest::mousePress(wedge, Qt::LeftButton, Qt::NoModifier, QPoint(30, 15));
    ASSERT_EQ(bar.listener.steps, std::vector<int>{9});  // fill 30: (30 - 1) / 3
    EXPECT_TRUE(bar.listener.saw("hold"));
    // Far beyond either end: the ends of the wedge, 19 and 0.
    QTest::mouseMove(wedge, QPoint(400, 15));
    EXPECT_EQ(bar.listener.steps.back(), 19);
    QTest::mouseMove(wedge, QPoint(-300, 15));
    EXPECT_EQ(bar.listener.steps.back(), 0);
    QTest::mouseRelease(wedge, Qt::LeftButton, Qt::NoModifier, QPoint(-300, 15));
    EXPECT_EQ(bar.listener.steps.back(), 0);
    EXPECT_EQ(bar.listener.log.back(), "release");

    // The wedge shows the player's step: full at 19, the columns in their drawn colours.
    bar.panel->setVolumeStep(19);
    const QImage full = wedge->grab().toImage();
    const QColor filled = full.pixelColor(50 * full.width() / wedge->width(),
                                          full.height() - 2 * full.height() / wedge->height());
    EXPECT_EQ(filled, QColor(160, 150, 145));
    bar.panel->setVolumeStep(0);
    const QImage empty = wedge->grab().toImage();
    EXPECT_EQ(empty.pixelColor(50 * empty.width() / wedge->width(),
                               empty.height() - 2 * empty.height() / wedge->height()),
              QColor(192, 188, 180));
}

TEST(ControlPanelUi, ButtonsSendCommandsAndTheRightButtonOpensFiles) {
    Bar bar(1280);
    // Every button is hit where it is drawn and sends a command of its own.
    std::set<CommandId> sent;
    for (PanelItem part : {PanelItem::Open, PanelItem::Previous, PanelItem::Play, PanelItem::Pause,
                           PanelItem::Stop, PanelItem::Next, PanelItem::Mute,
                           PanelItem::RepeatStart, PanelItem::RepeatEnd, PanelItem::RepeatClear,
                           PanelItem::Minimize, PanelItem::Maximize, PanelItem::Quit}) {
        bar.commands.clear();
        bar.click(part);
        ASSERT_EQ(bar.commands.size(), 1u) << static_cast<int>(part);
        EXPECT_TRUE(sent.insert(bar.commands[0]).second) << static_cast<int>(part);
    }
    bar.commands.clear();
    bar.click(PanelItem::Play);
    bar.click(PanelItem::Quit);
    EXPECT_EQ(bar.commands, (std::vector<CommandId>{CommandId::Play, CommandId::Exit}));
    // A button shows the player's state, not the click: Play stays lit after a Pause click
    // until the player says it paused.
    auto* play = static_cast<controls::IconButton*>(bar.part(PanelItem::Play));
    bar.click(PanelItem::Pause);
    EXPECT_TRUE(play->isLit());
    bar.panel->showPaused();
    EXPECT_FALSE(play->isLit());

    // The right button, on the bar itself or on one of its buttons.
    bar.commands.clear();
    QTest::mouseClick(bar.panel, Qt::RightButton, Qt::NoModifier,
                      QPoint(900, bar.panel->height() - 4));
    bar.click(PanelItem::Play, Qt::RightButton);
    EXPECT_EQ(bar.commands, (std::vector<CommandId>{CommandId::OpenFile, CommandId::OpenFile}));

    // With nothing loaded Pause and Stop are disabled and send nothing.
    bar.panel->setDuration(0);
    bar.panel->disableButtons();
    bar.commands.clear();
    bar.click(PanelItem::Pause);
    bar.click(PanelItem::Stop);
    EXPECT_TRUE(bar.commands.empty());
}

TEST(ControlPanelUi, TimeTextCyclesOnClickAndKeysAndWheelGoToTheWindow) {
    Bar bar(640, 600);
    bar.panel->setPosition(65.5);
    const geometry::Rect& r = bar.panel->layout()[PanelItem::TotalTime].rect;
    const QRect total(r.left, r.top, r.width(), r.height());
    ASSERT_FALSE(total.isEmpty());
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(bar.panel, Qt::LeftButton, Qt::NoModifier, total.center());
    EXPECT_EQ(bar.listener.log, (std::vector<std::string>{"time", "count", "time"}));
    EXPECT_EQ(bar.panel->state().time().mode(), panel::TimeMode::Total);
    QTest::mouseClick(bar.panel, Qt::LeftButton, Qt::NoModifier, total.center());
    EXPECT_EQ(bar.panel->state().time().totalText(), "00:08:55");

    QTest::keyClick(bar.panel, Qt::Key_Space);
    QTest::keyClick(bar.part(PanelItem::Play), Qt::Key_Right);
    EXPECT_EQ(bar.window.keys, (std::vector<int>{Qt::Key_Space, Qt::Key_Right}));
    QWheelEvent wheel(QPointF(10, 10), bar.panel->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(bar.panel, &wheel);
    EXPECT_EQ(bar.window.wheels, std::vector<int>{120});
    EXPECT_EQ(bar.panel->state().trackPosition(), 655);  // the wheel is no seek of the bar's own
}

TEST(ControlPanelUi, RepeatBarDragEditsTheRangeWithItsTip) {
    Bar bar(640, 100.0);
    QWidget* repeat = bar.part(PanelItem::RepeatBar);
    ASSERT_TRUE(repeat->isVisible());
    EXPECT_EQ(repeat->toolTip(), QString("반복 구간 설정"));
    bar.panel->updateRepeatRange(0, 0);
    EXPECT_EQ(repeat->toolTip(), QString("반복 구간 설정"));

    QTest::mousePress(repeat, Qt::LeftButton, Qt::NoModifier, QPoint(63, 3));
    QTest::mouseMove(repeat, QPoint(315, 3));
    QTest::mouseRelease(repeat, Qt::LeftButton, Qt::NoModifier, QPoint(315, 3));
    ASSERT_FALSE(bar.listener.ranges.empty());
    EXPECT_NEAR(bar.listener.ranges.back().first, 10.0, 0.05);
    EXPECT_NEAR(bar.listener.ranges.back().second, 50.1, 0.05);
    EXPECT_EQ(bar.listener.log.back(), "range ended");

    bar.panel->updateRepeatRange(10, 50);
    EXPECT_EQ(repeat->toolTip(), QString("00:00:10 ~ 00:00:50"));
}

TEST(ControlPanelUi, FoldOutRowSetsThePictureAndFoldsBack) {
    Bar bar(640);
    bar.settings.putInt(sections::ConfigControl, "ComeBack Time", 1);
    PictureControls picture;
    picture.setDefaults(750, 10000, 10000);
    bar.panel->setPictureValues(picture);

    bar.panel->toggleAdjustRow();
    QWidget* brightness = bar.part(PanelItem::Brightness);
    ASSERT_TRUE(brightness->isVisible());
    EXPECT_FALSE(bar.part(PanelItem::Play)->isVisible());

    const int lastX = brightness->width() - brightness->height() / 2 - 1;
    QTest::mouseClick(brightness, Qt::LeftButton, Qt::NoModifier, QPoint(lastX, 5));
    EXPECT_TRUE(bar.listener.saw("brightness 10000"));
    EXPECT_EQ(bar.listener.log.back(), "release");

    // One second after the last change the buttons come back.
    EXPECT_TRUE(test::waitUntil([&] { return !bar.panel->adjustRowOpen(); }, 5000));
    EXPECT_TRUE(bar.part(PanelItem::Play)->isVisible());

    // "ComeBack Time" 0 keeps the row out until it is folded back by hand.
    bar.settings.putInt(sections::ConfigControl, "ComeBack Time", 0);
    bar.panel->toggleAdjustRow();
    test::processEventsFor(1300);
    EXPECT_TRUE(bar.panel->adjustRowOpen());
    bar.click(PanelItem::FoldBackSharpness);
    EXPECT_FALSE(bar.panel->adjustRowOpen());
}

TEST(ControlPanelUi, UnusableValuesStillGiveAWorkingBar) {
    for (int trackHeight : {0, 200}) {
        for (int width : {188, 4000}) {
            Bar bar(width, std::nan(""));
            bar.settings.putInt(sections::ConfigControl, "Track Height", trackHeight);
            bar.settings.putInt(sections::ConfigControl, "Title Size", 400);
            bar.panel->refresh();
            bar.panel->setGeometry(2, 2, width, bar.panel->preferredHeight());
            bar.panel->setPosition(std::numeric_limits<double>::infinity());
            bar.panel->setTitle(std::string(300, 'x'));
            bar.panel->updateRepeatRange(std::nan(""), -5);
            bar.panel->setBookmarkMarks({-1, 5, 2000000000});
            EXPECT_GE(bar.part(PanelItem::Track)->height(), geometry::kMinTrackHeight);
            EXPECT_LE(bar.panel->height(), geometry::kMaxTrackHeight + 49);
            EXPECT_FALSE(bar.panel->grab().isNull());
            EXPECT_EQ(bar.panel->state().time().totalText(), "00:00:00");
            EXPECT_FALSE(bar.part(PanelItem::Track)->isEnabled());
        }
    }
}

// Renders the bar at the widths a window commonly has, with and without captions. With
// ORVALIS_SHOT_DIR set the pictures are written there to be looked at.
TEST(ControlPanelUi, DrawsTrackAndTextsAtEveryWidth) {
    const char* dir = std::getenv("ORVALIS_SHOT_DIR");
    for (int width : {366, 640, 1280}) {
        for (bool captions : {false, true}) {
            Bar bar(width, 5400);
            bar.panel->setPosition(1234.5);
            bar.panel->setTitle("여름 휴가 - 해변에서 (2023).mp4");
            bar.panel->setVolumeStep(11);
            bar.panel->setBookmarkMarks({600, 2400});
            bar.panel->updateRepeatRange(1500, 2700);
            if (captions) bar.panel->refreshCaptionButtons(loadedCaptions(2));
            const QImage shot = bar.panel->grab().toImage();
            if (dir) {
                QDir().mkpath(dir);
                shot.save(QString("%1/bar-%2%3.png")
                              .arg(dir)
                              .arg(width)
                              .arg(captions ? "-captions" : ""));
            }
            const qreal scale = shot.devicePixelRatio();
            // The played part of the track is in the track colour, the rest is the groove.
            const QWidget* track = bar.part(PanelItem::Track);
            const int y = static_cast<int>((track->y() + track->height() / 2) * scale);
            const QColor played = shot.pixelColor(static_cast<int>((track->x() + 20) * scale), y);
            const QColor rest =
                shot.pixelColor(static_cast<int>((track->x() + track->width() - 10) * scale), y);
            EXPECT_GT(played.blue(), played.red()) << width;  // the default 0x967373: blue-grey
            EXPECT_NE(played, rest);
            // The current time is drawn in light text on the dark bar.
            const auto& cur = bar.panel->layout()[PanelItem::CurrentTime].rect;
            int light = 0;
            for (int px = cur.left; px < cur.right; ++px)
                for (int py = cur.top; py < cur.bottom; ++py)
                    if (shot.pixelColor(static_cast<int>(px * scale), static_cast<int>(py * scale))
                            .lightness() > 150)
                        ++light;
            EXPECT_GT(light, 20) << width;
        }
    }
}

// The bar with nothing loaded, and with the picture sliders folded out.
TEST(ControlPanelUi, DrawsIdleBarAndFoldOutRow) {
    const char* dir = std::getenv("ORVALIS_SHOT_DIR");
    Bar bar(640, 0);
    bar.panel->disableButtons();
    QImage shot = bar.panel->grab().toImage();
    if (dir) shot.save(QString("%1/bar-640-idle.png").arg(dir));
    const qreal scale = shot.devicePixelRatio();
    const QWidget* track = bar.part(PanelItem::Track);
    const int y = static_cast<int>((track->y() + track->height() / 2) * scale);
    // No medium: the whole track is groove, no played part and no playhead.
    const QColor left = shot.pixelColor(static_cast<int>((track->x() + 1) * scale), y);
    EXPECT_EQ(left,
              shot.pixelColor(static_cast<int>((track->x() + track->width() / 2) * scale), y));

    bar.panel->setDuration(600);
    PictureControls picture;
    picture.setDefaults(750, 10000, 10000);
    picture.set(PictureKind::Brightness, 5375);
    bar.panel->setPictureValues(picture);
    bar.panel->toggleAdjustRow();
    shot = bar.panel->grab().toImage();
    if (dir) shot.save(QString("%1/bar-640-pictures.png").arg(dir));
    // The brightness knob stands three quarters along its slider.
    auto* brightness = bar.part(PanelItem::Brightness);
    const int knobX = static_cast<int>((brightness->x() + brightness->height() / 2.0 +
                                        0.75 * (brightness->width() - brightness->height() - 1)) *
                                       scale);
    const int knobY = static_cast<int>((brightness->y() + brightness->height() / 2) * scale);
    EXPECT_GT(shot.pixelColor(knobX, knobY).lightness(), 200);
}
