// The sleep timer's dialog as the user sees and uses it (under the test display).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "base/SettingsKeys.h"
#include "extras/DialogChecks.h"
#include "extras/ShutdownDialog.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

class ShutdownDialogTest : public ::testing::Test {
protected:
    std::time_t now = toTimeT({2024, 3, 9, 9, 5, 7});
    test::MemorySettingsStore store;

    std::unique_ptr<ShutdownDialog> open(bool mediumLoaded) {
        return std::make_unique<ShutdownDialog>(store, mediumLoaded, nullptr,
                                                [this] { return now; });
    }
};

TEST_F(ShutdownDialogTest, OkReturnsWhatThePickersShowAndStoresItForNextTime) {
    auto dialog = open(true);
    dialog->show();
    QTest::mouseClick(dialog->box(ShutdownMode::AtTime), Qt::LeftButton);
    dialog->datePicker()->setDate(QDate(2024, 3, 10));
    dialog->timePicker()->setTime(QTime(0, 30, 15));
    dialog->delayList()->setCurrentIndex(6);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_TRUE(dialog->choice());
    EXPECT_EQ(dialog->choice()->mode, ShutdownMode::AtTime);
    EXPECT_EQ(dialog->choice()->target, (LocalDateTime{2024, 3, 10, 0, 30, 15}));
    EXPECT_EQ(dialog->choice()->delayIndex, 6);
    const char* s = sections::ConfigShutdown;
    EXPECT_EQ(store.getInt(s, "Left Time", -1), 6);
    EXPECT_EQ(store.getInt(s, "Day", -1), 10);
    EXPECT_EQ(store.getInt(s, "Minute", -1), 30);
    EXPECT_EQ(store.getInt(s, "Second", -1), 15);
}

TEST_F(ShutdownDialogTest, CancelAndEscapeChooseNothingAndStoreNothing) {
    auto dialog = open(true);
    dialog->show();
    QTest::mouseClick(dialog->box(ShutdownMode::AfterDelay), Qt::LeftButton);
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->choice());

    auto escaped = open(true);
    escaped->show();
    QTest::keyClick(escaped.get(), Qt::Key_Escape);
    EXPECT_FALSE(escaped->isVisible());
    EXPECT_FALSE(escaped->choice());
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(ShutdownDialogTest, TitleShowsTheClockAndFollowsIt) {
    auto dialog = open(true);
    EXPECT_EQ(dialog->windowTitle().toStdString(), "시스템 종료 예약기능 (09시 05분 07초)");
    EXPECT_TRUE(dialog->titleClock()->isActive());
    EXPECT_EQ(dialog->titleClock()->interval(), 1000);
    now = toTimeT({2024, 3, 9, 10, 0, 0});
    EXPECT_TRUE(test::waitUntil(
        [&] {
            return dialog->windowTitle().toStdString() == "시스템 종료 예약기능 (10시 00분 00초)";
        },
        3000));
}

TEST_F(ShutdownDialogTest, AskRunsTheDialogModallyAndReturnsItsChoice) {
    test::onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<ShutdownDialog*>(modal);
        ASSERT_TRUE(dialog);
        QTest::mouseClick(dialog->box(ShutdownMode::AfterDelay), Qt::LeftButton);
        dialog->delayList()->setCurrentIndex(0);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    const auto choice = ShutdownDialog::ask(nullptr, store, false);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->mode, ShutdownMode::AfterDelay);
    EXPECT_EQ(choice->delayIndex, 0);

    test::onNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_FALSE(ShutdownDialog::ask(nullptr, store, true));
}

TEST_F(ShutdownDialogTest, KoreanTextsFitWithoutOverlap) {
    auto dialog = open(true);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    test::expectTidyLayout(*dialog);
    test::grabDialog(*dialog, "shutdown-dialog");
}

}  // namespace
}  // namespace orvalis
