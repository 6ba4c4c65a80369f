// The "open an internet file" dialog as the user drives it (under the test display), and
// its answer opened by the player's engine on the real libmpv, over the loopback only.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include "base/SettingsKeys.h"
#include "engine/MpvBackend.h"
#include "engine/TinyHttpServer.h"
#include "extras/DialogChecks.h"
#include "extras/StreamAddressDialog.h"
#include "player/PlayerController.h"
#include "player/PlayerFakes.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

const char* kUrl = sections::ConfigUrl;

std::string entry(int i) {
    return std::string(kUrl) + "\\" + std::to_string(i);
}

class StreamDialogTest : public ::testing::Test {
protected:
    void storeList(const std::vector<StreamEntry>& rows) {
        store.putInt(kUrl, "Count", int(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            store.putString(entry(int(i)), "Name", rows[i].name);
            store.putString(entry(int(i)), "URL", rows[i].url);
        }
    }
    std::unique_ptr<StreamAddressDialog> open() {
        auto d = std::make_unique<StreamAddressDialog>(store, prompter, dir + "/URL.txt");
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        return d;
    }
    static QPoint cellCentre(QTableWidget* list, int row, int column) {
        return list->visualRect(list->model()->index(row, column)).center();
    }
    // As the window system delivers it: press, release, double click, release.
    static void doubleClick(QWidget* w, QPoint at) {
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
        QTest::mouseDClick(w, Qt::LeftButton, {}, at);
        QTest::mouseRelease(w, Qt::LeftButton, {}, at);
    }
    static std::string cell(QTableWidget* list, int row, int column) {
        return list->item(row, column)->text().toStdString();
    }

    std::string dir = test::freshDir("stream-dialog");
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    const std::vector<StreamEntry> three{{"하나", "http://one.example/live"},
                                         {"둘", "mms://two.example/radio"},
                                         {"셋", "rtsp://three.example/tv"}};
};

TEST_F(StreamDialogTest, StartsFromTheStoreAndOpensOnlyWithAnAddress) {
    storeList(three);
    store.putString(entry(3), "Name", "");  // an emptied entry beyond is not shown
    store.putString(kUrl, "Current", "http://last.example/x");
    store.putInt(kUrl, "Column Width0", 140);
    store.putInt(kUrl, "Column Width1", 260);
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "인터넷 파일 열기");
    QTableWidget* list = dialog->list();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(cell(list, 1, 0), "둘");
    EXPECT_EQ(cell(list, 1, 1), "mms://two.example/radio");
    EXPECT_EQ(list->horizontalHeaderItem(0)->text().toStdString(), "이름");
    EXPECT_EQ(list->horizontalHeaderItem(1)->text().toStdString(), "주소");
    EXPECT_EQ(list->horizontalHeader()->sectionSize(0), 140);
    EXPECT_EQ(list->horizontalHeader()->sectionSize(1), 260);
    EXPECT_EQ(dialog->addressBox()->currentText().toStdString(), "http://last.example/x");
    EXPECT_TRUE(dialog->openButton()->isEnabled());
    // The drop-down offers the list's addresses.
    EXPECT_EQ(dialog->addressBox()->count(), 3);

    dialog->addressBox()->lineEdit()->clear();
    EXPECT_FALSE(dialog->openButton()->isEnabled());
    QTest::keyClick(dialog->addressBox()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());  // Enter does nothing while there is nothing to open
    QTest::keyClicks(dialog->addressBox()->lineEdit(), "h");
    EXPECT_TRUE(dialog->openButton()->isEnabled());
    // Typing the start of a listed address does not complete it to that address.
    QTest::keyClicks(dialog->addressBox()->lineEdit(), "ttp://one");
    EXPECT_EQ(dialog->addressBox()->currentText().toStdString(), "http://one");
}

TEST_F(StreamDialogTest, OpenStoresAndReturnsTheAddressCloseOnlyKeepsTheList) {
    storeList(three);
    auto dialog = open();
    QTest::mouseClick(dialog->list()->viewport(), Qt::LeftButton, {},
                      cellCentre(dialog->list(), 2, 0));
    EXPECT_EQ(dialog->addressBox()->currentText().toStdString(), "rtsp://three.example/tv");
    QTest::mouseClick(dialog->openButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->acceptedAddress(), std::optional<std::string>("rtsp://three.example/tv"));
    EXPECT_EQ(store.getString(kUrl, "Current"), "rtsp://three.example/tv");

    auto closed = open();
    closed->addressBox()->setEditText("http://typed.example/but/not/opened");
    QTest::mouseClick(closed->closeButton(), Qt::LeftButton);
    EXPECT_EQ(closed->result(), QDialog::Rejected);
    EXPECT_FALSE(closed->acceptedAddress());
    EXPECT_EQ(store.getString(kUrl, "Current"), "rtsp://three.example/tv");
    EXPECT_EQ(store.getInt(kUrl, "Count", 0), 3);
}

TEST_F(StreamDialogTest, PlusAndADoubleClickBelowTheRowsAddOnePlaceholderNeverStored) {
    storeList({three[0]});
    auto dialog = open();
    QTableWidget* list = dialog->list();
    const QPoint below(10, list->viewport()->height() - 5);
    doubleClick(list->viewport(), below);
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(cell(list, 1, 0), "이름");
    EXPECT_EQ(cell(list, 1, 1), "편집하려면 두 번 클릭하세요.");
    QTest::mouseClick(dialog->addButton(), Qt::LeftButton);
    doubleClick(list->viewport(), below);
    EXPECT_EQ(list->rowCount(), 2);
    // The placeholder's address is no address to offer in the drop-down.
    EXPECT_EQ(dialog->addressBox()->count(), 1);

    dialog->reject();
    EXPECT_EQ(store.getInt(kUrl, "Count", 0), 2);
    EXPECT_EQ(store.getString(entry(0), "Name"), "하나");
    EXPECT_FALSE(store.has(entry(1), "Name"));
    EXPECT_FALSE(store.has(entry(1), "URL"));
}

TEST_F(StreamDialogTest, DoubleClickEditsACellInPlaceAndTheEditIsKeptOnClose) {
    auto dialog = open();  // nothing stored: the list starts empty
    QTableWidget* list = dialog->list();
    ASSERT_EQ(list->rowCount(), 0);
    QTest::mouseClick(dialog->addButton(), Qt::LeftButton);
    auto edit = [&](int column, const QString& text) {
        doubleClick(list->viewport(), cellCentre(list, 0, column));
        // The editor closed before may still be there, hidden, until its deletion runs.
        QLineEdit* editor = nullptr;
        test::waitUntil([&] {
            for (QLineEdit* e : list->viewport()->findChildren<QLineEdit*>())
                if (e->isVisible()) editor = e;
            return editor != nullptr;
        });
        ASSERT_TRUE(editor);
        editor->setText(text);
    };
    edit(0, "라디오");
    QTest::keyClick(list->viewport()->findChild<QLineEdit*>(), Qt::Key_Return);
    // Enter closes the editor a moment later and stores its text.
    EXPECT_TRUE(test::waitUntil([&] { return cell(list, 0, 0) == "라디오"; }, 3000));
    const QLineEdit* closedEditor = list->viewport()->findChild<QLineEdit*>();
    EXPECT_TRUE(!closedEditor || !closedEditor->isVisible());
    // The second edit is still open when the dialog closes.
    edit(1, "http://radio.example/live");
    dialog->reject();
    EXPECT_EQ(store.getString(entry(0), "Name"), "라디오");
    EXPECT_EQ(store.getString(entry(0), "URL"), "http://radio.example/live");
}

TEST_F(StreamDialogTest, DefaultMenuLoadsAndSavesTheListFile) {
    storeList({three[0]});
    auto dialog = open();
    QTest::mouseClick(dialog->menuButton(), Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return dialog->menu()->isVisible(); }, 3000));
    const QList<QAction*> actions = dialog->menu()->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text().toStdString(), "불러오기(&O)...");
    EXPECT_EQ(actions[1]->text().toStdString(), "파일로 저장(&S)...");
    test::grabDialog(*dialog->menu(), "stream-address-menu");

    const std::string file = dir + "/mine.txt";
    test::writeFile(file, "뉴스=http://news.example/a\r\n음악=http://music.example/b\r\n끝\r\n");
    prompter.openAnswers = {{file}};
    actions[0]->trigger();
    dialog->menu()->hide();
    EXPECT_EQ(prompter.messages.at(0).text, "현재 목록을 모두 지우고 파일에서 불러올까요?");
    EXPECT_EQ(prompter.dialogs.at(0).fileName, "URL.txt");
    QTableWidget* list = dialog->list();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(cell(list, 1, 0), "음악");
    EXPECT_EQ(dialog->addressBox()->itemText(1).toStdString(), "http://music.example/b");
}

TEST_F(StreamDialogTest, ColumnWidthsTheUserLeavesAreTheWidthsNextTime) {
    auto dialog = open();
    EXPECT_EQ(dialog->list()->horizontalHeader()->sectionSize(0), 100);
    EXPECT_EQ(dialog->list()->horizontalHeader()->sectionSize(1), 300);
    dialog->list()->horizontalHeader()->resizeSection(0, 180);
    dialog->list()->horizontalHeader()->resizeSection(1, 222);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(store.getInt(kUrl, "Column Width0", 0), 180);
    EXPECT_EQ(store.getInt(kUrl, "Column Width1", 0), 222);
    auto again = open();
    EXPECT_EQ(again->list()->horizontalHeader()->sectionSize(0), 180);
    EXPECT_EQ(again->list()->horizontalHeader()->sectionSize(1), 222);
}

TEST_F(StreamDialogTest, KoreanTextsFitWithoutOverlap) {
    storeList(three);
    store.putString(kUrl, "Current", "http://one.example/live");
    auto dialog = open();
    QTest::mouseClick(dialog->addButton(), Qt::LeftButton);
    test::expectTidyLayout(*dialog);
    // Both columns are in sight as they were left.
    QTableWidget* list = dialog->list();
    EXPECT_GE(list->viewport()->width(), 400);
    test::grabDialog(*dialog, "stream-address-dialog");
}

// The player's engine on the real libmpv, given what the dialog returns.
class StreamOpenTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(backend.isValid()); }

    std::optional<std::string> askFor(const std::string& address) {
        test::onNextModal([address](QWidget* modal) {
            auto* dialog = qobject_cast<StreamAddressDialog*>(modal);
            ASSERT_TRUE(dialog);
            dialog->addressBox()->setEditText(QString::fromStdString(address));
            QTest::mouseClick(dialog->openButton(), Qt::LeftButton);
        });
        return StreamAddressDialog::ask(nullptr, store, prompter);
    }

    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    test::FakeTimers timers;
    test::FakeView view;
    test::FakeDesktop desktop;
    MpvBackend backend{{.videoOutput = false, .audioOutput = false}};
    PlayerController controller{{store, timers, backend, view, desktop, prompter}, {}};
};

TEST_F(StreamOpenTest, AnAddressFromTheDialogPlaysAsAStream) {
    test::TinyHttpServer server(test::mediaPath("test/av.mp4"));
    const auto address = askFor(server.url("av.mp4"));
    ASSERT_TRUE(address);
    EXPECT_EQ(store.getString(kUrl, "Current"), *address);

    controller.engine().openFile(*address);
    ASSERT_TRUE(test::waitUntil([&] { return timers.isActive(TimerId::PlaybackStart); }, 15000))
        << controller.engine().lastError();
    controller.onTimer(TimerId::PlaybackStart);
    EXPECT_TRUE(controller.engine().flags().loaded);
    EXPECT_TRUE(controller.engine().flags().stream);
    EXPECT_TRUE(controller.engine().flags().playing);
    EXPECT_TRUE(test::waitUntil([&] { return backend.position() > 0.3; }, 10000))
        << backend.position();
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StreamOpenTest, ADeadAddressGivesTheOpenErrorBoxWhileTheWindowStaysAlive) {
    // A port that was free a moment ago: nothing listens there.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const std::string dead = "http://127.0.0.1:" + std::to_string(probe.serverPort()) + "/live";
    probe.close();

    for (const std::string& typed : {dead, std::string("주소가 아닌 글")}) {
        prompter.messages.clear();
        const auto address = askFor(typed);
        ASSERT_TRUE(address);
        controller.engine().openFile(*address);
        EXPECT_TRUE(prompter.messages.empty());  // the answer comes later, as an event
        ASSERT_TRUE(test::waitUntil([&] { return !prompter.messages.empty(); }, 15000)) << typed;
        EXPECT_EQ(prompter.messages[0].title, "파일 열기 오류");
        EXPECT_EQ(prompter.messages[0].text, MediaEngine::openErrorText(typed));
        EXPECT_FALSE(controller.engine().flags().loaded);
        EXPECT_FALSE(timers.isActive(TimerId::PlaybackStart));
    }
}

}  // namespace
}  // namespace orvalis
