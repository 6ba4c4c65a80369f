// The bar's widgets wired to the logic that PanelLogicTest checks: input reaches the commands,
// the listener and the window; odd values still give a bar that works and draws.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <limits>
#include <set>

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
        add((dragging ? "drag " : "hover ") + std::to_string(tenths));
    }
    void seekCommit(int tenths) override { add("commit " + std::to_string(tenths)); }
    void seekPreviewEnded() override { add("ended"); }
    void repeatRangeDragged(double a, double b) override { range = {a, b}; }
    void repeatRangeDragEnded() override { add("range ended"); }
    void volumeDragged(int step) override { add("volume " + std::to_string(step)); }
    void pictureChanged(PictureKind kind, int value) override {
        add((kind == PictureKind::Brightness ? "brightness " : "contrast ") +
            std::to_string(value));
    }
    void timeDisplayChanged(bool count) override { add(count ? "count" : "time"); }
    void holdBar(bool held) override { add(held ? "hold" : "release"); }

    void add(const std::string& entry) { log.push_back(entry); }
    bool saw(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    std::vector<std::string> log;
    std::pair<double, double> range{-1, -1};
};

// A player window stand-in that records the keys and wheel turns reaching it.
class WindowStandIn final : public QWidget {
public:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
    void wheelEvent(QWheelEvent* e) override { wheels.push_back(e->angleDelta().y()); }
    std::vector<int> keys, wheels;
};

struct Bar {
    test::MemorySettingsStore settings;
    RecordingListener listener;
    std::vector<CommandId> commands;
    WindowStandIn window;
    ControlPanel* panel = nullptr;

    explicit Bar(int width, double duration = 100) {
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
    void click(PanelItem p, Qt::MouseButton button = Qt::LeftButton, QPoint at = {}) {
        QTest::mouseClick(part(p), button, Qt::NoModifier,
                          at.isNull() ? part(p)->rect().center() : at);
    }
};

}  // namespace

TEST(ControlPanelUi, InputReachesTheCommandsTheListenerAndTheWindow) {
    Bar bar(640, 100.0);  // 1000 tenths
    // Every button is hit where it is drawn and sends a command of its own.
    const PanelItem buttons[] = {
        PanelItem::Open,      PanelItem::Previous,    PanelItem::Play,     PanelItem::Pause,
        PanelItem::Stop,      PanelItem::Next,        PanelItem::Mute,     PanelItem::RepeatStart,
        PanelItem::RepeatEnd, PanelItem::RepeatClear, PanelItem::Minimize, PanelItem::Maximize,
        PanelItem::Quit};
    for (PanelItem part : buttons) bar.click(part);
    EXPECT_EQ(bar.commands.size(), std::size(buttons));
    EXPECT_EQ(std::set<CommandId>(bar.commands.begin(), bar.commands.end()).size(),
              std::size(buttons));
    EXPECT_EQ(bar.commands[2], CommandId::Play);
    EXPECT_EQ(bar.commands.back(), CommandId::Exit);
    // A button shows the player's state, not the click; the right button opens files.
    auto* play = static_cast<controls::IconButton*>(bar.part(PanelItem::Play));
    EXPECT_TRUE(play->isLit());
    bar.commands.clear();
    bar.click(PanelItem::Play, Qt::RightButton);
    EXPECT_EQ(bar.commands, std::vector<CommandId>{CommandId::OpenFile});

    // The track seeks to the tenth under the pointer; the wedge sets the volume.
    ASSERT_EQ(bar.part(PanelItem::Track)->width(), 630);
    bar.click(PanelItem::Track, Qt::LeftButton, QPoint(315, 5));
    EXPECT_TRUE(bar.listener.saw("commit 501"));
    EXPECT_EQ(bar.listener.log.back(), "ended");
    QWidget* wedge = bar.part(PanelItem::Wedge);
    QTest::mousePress(wedge, Qt::LeftButton, Qt::NoModifier, QPoint(30, 15));
    QTest::mouseRelease(wedge, Qt::LeftButton, Qt::NoModifier, QPoint(30, 15));
    EXPECT_TRUE(bar.listener.saw("volume 9"));  // fill 30: (30 - 1) / 3
    EXPECT_EQ(bar.listener.log.back(), "release");
    // The repeat bar's drag edits the range, and the range comes back as its tip.
    QWidget* repeat = bar.part(PanelItem::RepeatBar);
    QTest::mousePress(repeat, Qt::LeftButton, Qt::NoModifier, QPoint(63, 3));
    QTest::mouseMove(repeat, QPoint(315, 3));
    QTest::mouseRelease(repeat, Qt::LeftButton, Qt::NoModifier, QPoint(315, 3));
    EXPECT_NEAR(bar.listener.range.first, 10.0, 0.05);
    EXPECT_NEAR(bar.listener.range.second, 50.1, 0.05);
    EXPECT_EQ(bar.listener.log.back(), "range ended");
    bar.panel->updateRepeatRange(10, 50);
    EXPECT_EQ(repeat->toolTip(), QString("00:00:10 ~ 00:00:50"));
    // The total time cycles on a click.
    const geometry::Rect& r = bar.panel->layout()[PanelItem::TotalTime].rect;
    QTest::mouseClick(bar.panel, Qt::LeftButton, Qt::NoModifier,
                      QRect(r.left, r.top, r.width(), r.height()).center());
    EXPECT_EQ(bar.listener.log.back(), "time");

    // Keys and the wheel are the player window's, from the bar and from its buttons.
    QTest::keyClick(bar.panel, Qt::Key_Space);
    QTest::keyClick(bar.part(PanelItem::Play), Qt::Key_Right);
    EXPECT_EQ(bar.window.keys, (std::vector<int>{Qt::Key_Space, Qt::Key_Right}));
    QWheelEvent wheel(QPointF(10, 10), bar.panel->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(bar.panel, &wheel);
    EXPECT_EQ(bar.window.wheels, std::vector<int>{120});

    // The fold-out row sets the picture and folds back by itself after "ComeBack Time".
    bar.settings.putInt(sections::ConfigControl, "ComeBack Time", 1);
    bar.panel->toggleAdjustRow();
    QWidget* brightness = bar.part(PanelItem::Brightness);
    ASSERT_TRUE(brightness->isVisible());
    EXPECT_FALSE(bar.part(PanelItem::Play)->isVisible());
    bar.click(PanelItem::Brightness, Qt::LeftButton,
              QPoint(brightness->width() - brightness->height() / 2 - 1, 5));
    EXPECT_TRUE(bar.listener.saw("brightness 10000"));
    EXPECT_TRUE(test::waitUntil([&] { return !bar.panel->adjustRowOpen(); }));

    // Nothing loaded: the track, Pause and Stop say nothing.
    bar.panel->setDuration(0);
    bar.panel->disableButtons();
    bar.commands.clear();
    bar.listener.log.clear();
    bar.click(PanelItem::Pause);
    bar.click(PanelItem::Stop);
    bar.click(PanelItem::Track, Qt::LeftButton, QPoint(300, 5));
    EXPECT_TRUE(bar.commands.empty());
    EXPECT_TRUE(bar.listener.log.empty());
}

// The track height's bounds are the layout's (PanelLogicTest); here the other odd values.
TEST(ControlPanelUi, UnusableValuesStillGiveAWorkingBar) {
    for (int width : {188, 4000}) {
        Bar bar(width, std::nan(""));
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
        EXPECT_FALSE(bar.part(PanelItem::Track)->isEnabled());
    }
}
