// The playlist window's wiring under a display (PlaylistControllerTest.cpp holds its rules):
// rows appear, keys and clicks play them, rows are dragged, files dropped, the scheme drawn
// and the list kept across windows. With ORVALIS_SCREENSHOTS set, pictures are kept there.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QDir>
#include <QKeyEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>

#include "base/SettingsKeys.h"
#include "extras/DialogChecks.h"
#include "playlist/PlaylistButtons.h"
#include "playlist/PlaylistListView.h"
#include "playlist/PlaylistWindow.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace {

// Stands in for the player window: it collects what the list passes on.
class KeySink final : public QWidget {
public:
    std::vector<int> keys;
    int wheels = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
    void wheelEvent(QWheelEvent*) override { ++wheels; }
};

class PlaylistWindowTest : public ::testing::Test {
protected:
    PlaylistWindowTest() {
        host.openPath = [this](const std::string& p) { opened.push_back(p); };
        host.runCommand = [this](CommandId id) { commands.push_back(id); };
        host.mediaLoaded = [this] { return loaded; };
        host.playerShown = [] { return true; };
        dir = test::freshDir("window");
    }
    PlaylistWindow& open() {
        window.reset();
        window = std::make_unique<PlaylistWindow>(settings, prompter, host, &sink);
        window->resize(220, 320);
        return *window;
    }
    PlaylistWindow& openShown() {
        open();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }
    std::string file(const std::string& name) {
        std::string path = dir + "/" + name;
        test::writeFile(path, "not really a medium");
        return path;
    }
    QAbstractItemModel& rows() { return *window->list().model(); }
    QString rowText(int row) { return rows().index(row, 0).data().toString(); }
    QString rowPath(int row) {
        return rows().index(row, 0).data(PlaylistRows::PathRole).toString();
    }
    QPoint rowCentre(int row) { return window->list().visualRect(rows().index(row, 0)).center(); }
    QWidget* viewport() { return window->list().viewport(); }

    test::MemorySettingsStore settings;
    test::FakePrompter prompter;
    PlaylistHost host;
    KeySink sink;
    std::unique_ptr<PlaylistWindow> window;
    std::string dir;
    std::vector<std::string> opened;
    std::vector<CommandId> commands;
    bool loaded = false;
};

}  // namespace

TEST_F(PlaylistWindowTest, AddedRowsAppearAndKeysClicksAndTheWheelGoWhereTheyBelong) {
    openShown();
    const std::string a = file("a 노래.mkv"), b = file("b.flac"), c = file("c.avi");
    window->port().dropFiles({b, c, a});
    ASSERT_EQ(rows().rowCount(), 3);
    EXPECT_EQ(rowText(0), QString::fromUtf8("a 노래.mkv"));
    EXPECT_EQ(rowPath(1), QString::fromStdString(b));
    EXPECT_EQ(opened, std::vector<std::string>{a});
    EXPECT_TRUE(rows().index(0, 0).data(PlaylistRows::PlayingRole).toBool());
    EXPECT_TRUE(viewport()->rect().contains(window->list().visualRect(rows().index(2, 0))));

    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCentre(2));
    QTest::keyClick(&window->list(), Qt::Key_Return);
    EXPECT_EQ(opened.back(), c);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::keyClick(&window->list(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(opened.back(), b);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCentre(0));
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(opened.back(), a);

    QTest::keyClick(&window->list(), Qt::Key_G);
    QTest::keyClick(&window->list(), Qt::Key_3, Qt::ControlModifier);
    QTest::keyClick(&window->list(), Qt::Key_Down);  // nothing loaded: the list's own
    loaded = true;
    QTest::keyClick(&window->list(), Qt::Key_Up);
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport(), &wheel);
    ASSERT_TRUE(test::waitUntil([&] { return sink.keys.size() == 3 && sink.wheels == 1; }));
    // The Ctrl of Ctrl+3 is passed on, but Ctrl+3 itself is the list's transparency.
    EXPECT_EQ(sink.keys, (std::vector<int>{Qt::Key_G, Qt::Key_Control, Qt::Key_Up}));
    EXPECT_NEAR(window->windowOpacity(), 178 / 255.0, 0.01);
    window->transparencyKey(0);  // Ctrl+0 pressed in the player window
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
}

TEST_F(PlaylistWindowTest, DraggingARowShowsTheInsertionMarkAndReordersTheList) {
    schemes::writeFactorySet(settings);
    openShown();
    const std::string a = file("a.avi"), b = file("b.avi"), c = file("c.avi"), d = file("d.avi");
    window->port().dropFiles({a, b, c, d});
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowCentre(0));

    std::unique_ptr<QMimeData> mime(window->list().rowDragMime());
    const QPoint over = rowCentre(2);
    QDragEnterEvent enter(over, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport(), &enter);
    QDragMoveEvent move(over, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport(), &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(window->list().dropRow(), 2);
    // The mark is a line along the top of the row under the pointer.
    const QRect target = window->list().visualRect(rows().index(2, 0));
    QImage picture = viewport()->grab().toImage();
    test::grabDialog(*window, "playlist-drag");
    EXPECT_EQ(picture.pixelColor(20, target.top()), qColourOf(kInsertionMarkColor));
    EXPECT_EQ(picture.pixelColor(20, target.top() + 1),
              qColourOf(window->controller().scheme().backColor));

    QDropEvent drop(QPointF(over), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport(), &drop);
    EXPECT_EQ(window->list().dropRow(), -1);
    std::vector<QString> order;
    for (int i = 0; i < 4; ++i) order.push_back(rowText(i));
    EXPECT_EQ(order, (std::vector<QString>{"b.avi", "a.avi", "c.avi", "d.avi"}));

    // Something that is neither rows of this list nor files is refused.
    QMimeData text;
    text.setText("hello");
    QDragEnterEvent other(over, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport(), &other);
    EXPECT_FALSE(other.isAccepted());

    // Files dropped from outside are added, folders skipped, and the first added plays.
    const std::string media = file("clip.webm");
    QDir().mkpath(QString::fromStdString(dir + "/folder.avi"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir + "/folder.avi")),
                   QUrl::fromLocalFile(QString::fromStdString(media))});
    QDragEnterEvent outside(over, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport(), &outside);
    EXPECT_TRUE(outside.isAccepted());
    opened.clear();
    QDropEvent filesDrop(QPointF(over), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport(), &filesDrop);
    ASSERT_TRUE(test::waitUntil([&] { return !opened.empty(); }));
    EXPECT_EQ(rows().rowCount(), 5);
    EXPECT_EQ(opened, std::vector<std::string>{media});
}

TEST_F(PlaylistWindowTest, TheListTheCurrentItemAndThePlaceSurviveANewWindow) {
    open();
    window->move(300, 200);
    const std::string a = file("a.avi"), b = file("b.avi"), c = file("c.avi");
    window->port().dropFiles({a, b, c});
    window->port().playEntry(1);
    window.reset();

    opened.clear();
    open();
    ASSERT_EQ(rows().rowCount(), 3);
    EXPECT_EQ(rowPath(2), QString::fromStdString(c));
    EXPECT_TRUE(rows().index(1, 0).data(PlaylistRows::PlayingRole).toBool());
    EXPECT_EQ(window->pos(), QPoint(300, 200));
    // Nothing loaded: the first continue plays the kept current item.
    window->port().playEntry(-1);
    EXPECT_EQ(opened, std::vector<std::string>{b});
}

TEST_F(PlaylistWindowTest, TheSchemeIsDrawnAndTheControlRowKeepsTheListsHeight) {
    schemes::writeFactorySet(settings);
    settings.putString(sections::PlaylistSkins, schemes::kSkinName, "Black");
    openShown();
    window->port().dropFiles({file("a.avi"), file("b.avi")});
    QImage picture = window->grab().toImage();
    test::grabDialog(*window, "playlist-black");
    const QRect list = window->list().geometry();
    // The area below the rows, and a selected row (the one that started).
    EXPECT_EQ(picture.pixelColor(list.center().x(), list.bottom() - 4), QColor(0, 0, 0));
    const QRect first = window->list().visualRect(rows().index(0, 0)).translated(list.topLeft());
    EXPECT_EQ(picture.pixelColor(first.right() - 4, first.bottom() - 1), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(picture.pixelColor(list.center().x(), list.top() - 6), PlaylistChrome::frame());

    const int height = window->height(), listHeight = window->list().height();
    EXPECT_FALSE(window->button(PlaylistButton::Play)->isVisible());
    window->controller().menuCommand(playlist_cmd::ShowControls);
    EXPECT_EQ(window->height(), height + 18);
    EXPECT_EQ(window->list().height(), listHeight);
    EXPECT_FALSE(window->button(PlaylistButton::Pause)->isEnabled());
    window->port().showPlaying();
    EXPECT_TRUE(window->button(PlaylistButton::Play)->latched());
    QTest::mouseClick(window->button(PlaylistButton::Pause), Qt::LeftButton);
    EXPECT_EQ(commands, std::vector<CommandId>{CommandId::Pause});
    EXPECT_FALSE(window->button(PlaylistButton::Pause)->latched());  // until the player says so
    // The edit row sits right under the list, the control row under it.
    EXPECT_EQ(window->button(PlaylistButton::Add)->geometry().top(), window->height() - 38);
    EXPECT_EQ(window->button(PlaylistButton::Next)->geometry().top(), window->height() - 20);
    test::grabDialog(*window, "playlist-controls");
}
