// The "open an internet file" dialog's wiring under the test display; its rules are the
// model's (UrlListTest.cpp), the playing of its answer the engine's.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "base/SettingsKeys.h"
#include "extras/DialogChecks.h"
#include "extras/StreamAddressDialog.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

const char* kUrl = sections::ConfigUrl;

std::string entry(int i) {
    return std::string(kUrl) + "\\" + std::to_string(i);
}

std::string cell(QTableWidget* list, int row, int column) {
    return list->item(row, column)->text().toStdString();
}

TEST(StreamDialog, ShowsTheStoreAndHandsClicksEditsAndTheMenuToTheModel) {
    const std::string dir = test::freshDir("stream-dialog");
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    store.putInt(kUrl, "Count", 2);
    store.putString(entry(0), "Name", "하나");
    store.putString(entry(0), "URL", "http://one.example/live");
    store.putString(entry(1), "Name", "둘");
    store.putString(entry(1), "URL", "mms://two.example/radio");
    store.putString(kUrl, "Current", "http://last.example/x");
    store.putInt(kUrl, "Column Width0", 140);
    StreamAddressDialog dialog(store, prompter, dir + "/URL.txt");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTableWidget* list = dialog.list();
    QLineEdit* typed = dialog.addressBox()->lineEdit();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(cell(list, 1, 1), "mms://two.example/radio");
    EXPECT_EQ(list->horizontalHeader()->sectionSize(0), 140);
    EXPECT_EQ(dialog.addressBox()->currentText().toStdString(), "http://last.example/x");
    EXPECT_EQ(dialog.addressBox()->count(), 2);  // the list's addresses in the drop-down
    test::expectTidyLayout(dialog);
    test::grabDialog(dialog, "stream-address-dialog");

    typed->clear();
    EXPECT_FALSE(dialog.openButton()->isEnabled());
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());  // nothing to open
    // Typing the start of a listed address does not complete it to that address.
    QTest::keyClicks(typed, "http://one");
    EXPECT_EQ(dialog.addressBox()->currentText().toStdString(), "http://one");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    EXPECT_EQ(dialog.addressBox()->currentText().toStdString(), "mms://two.example/radio");

    // A cell edited and left open when the dialog closes is kept; a double click below the
    // rows adds a placeholder, and "+" adds no second one.
    const QPoint below(10, list->viewport()->height() - 5);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(cell(list, 2, 0), "이름");
    QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
    EXPECT_EQ(list->rowCount(), 3);
    const QPoint first = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first);
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(test::waitUntil([&] {
        for (QLineEdit* e : list->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible()) editor = e;
        return editor != nullptr;
    }));
    editor->setText("라디오");

    dialog.addressBox()->setEditText("mms://two.example/radio");
    QTest::mouseClick(dialog.openButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.acceptedAddress(), std::optional<std::string>("mms://two.example/radio"));
    EXPECT_EQ(store.getString(kUrl, "Current"), "mms://two.example/radio");
    EXPECT_EQ(store.getString(entry(0), "Name"), "라디오");
    EXPECT_EQ(store.getInt(kUrl, "Count", 0), 3);
    EXPECT_FALSE(store.has(entry(2), "Name"));  // the placeholder is never stored

    // The "기본 메뉴" popup loads a list file into the table and the drop-down.
    StreamAddressDialog again(store, prompter, dir + "/URL.txt");
    again.show();
    QTest::mouseClick(again.menuButton(), Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return again.menu()->isVisible(); }, 3000));
    test::grabDialog(*again.menu(), "stream-address-menu");
    again.menu()->hide();
    test::writeFile(dir + "/mine.txt",
                    "뉴스=http://news.example/a\r\n음악=http://music.example/b\r\n");
    prompter.openAnswers = {{dir + "/mine.txt"}};
    again.menu()->actions().at(0)->trigger();
    ASSERT_EQ(again.list()->rowCount(), 2);
    EXPECT_EQ(cell(again.list(), 1, 0), "음악");
    EXPECT_EQ(again.addressBox()->itemText(1).toStdString(), "http://music.example/b");
}

TEST(StreamDialog, AskRunsItModallyAndReturnsTheAddressOnlyWhenOpened) {
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    test::onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<StreamAddressDialog*>(modal);
        ASSERT_TRUE(dialog);
        dialog->addressBox()->setEditText("http://typed.example/live");
        QTest::mouseClick(dialog->openButton(), Qt::LeftButton);
    });
    EXPECT_EQ(StreamAddressDialog::ask(nullptr, store, prompter),
              std::optional<std::string>("http://typed.example/live"));
    test::onNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_FALSE(StreamAddressDialog::ask(nullptr, store, prompter));
    EXPECT_EQ(store.getString(kUrl, "Current"), "http://typed.example/live");
}

}  // namespace
}  // namespace orvalis
