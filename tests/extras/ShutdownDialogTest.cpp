// The sleep timer's dialog wired to its model (ShutdownSchedulerTest.cpp holds the rules),
// under the test display.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include "base/SettingsKeys.h"
#include "extras/DialogChecks.h"
#include "extras/ShutdownDialog.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

TEST(ShutdownDialogWidget, PickersBoxesAndTheClockReachTheChoiceAndTheStore) {
    std::time_t now = toTimeT({2024, 3, 9, 9, 5, 7});
    test::MemorySettingsStore store;
    ShutdownDialog dialog(store, true, nullptr, [&] { return now; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    test::expectTidyLayout(dialog);
    test::grabDialog(dialog, "shutdown-dialog");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "시스템 종료 예약기능 (09시 05분 07초)");
    now = toTimeT({2024, 3, 9, 10, 0, 0});
    EXPECT_TRUE(test::waitUntil(
        [&] { return dialog.windowTitle().toStdString().ends_with("(10시 00분 00초)"); }, 3000));

    QTest::mouseClick(dialog.box(ShutdownMode::AtTime), Qt::LeftButton);
    dialog.datePicker()->setDate(QDate(2024, 3, 10));
    dialog.timePicker()->setTime(QTime(0, 30, 15));
    dialog.delayList()->setCurrentIndex(6);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    ASSERT_TRUE(dialog.choice());
    EXPECT_EQ(dialog.choice()->mode, ShutdownMode::AtTime);
    EXPECT_EQ(dialog.choice()->target, (LocalDateTime{2024, 3, 10, 0, 30, 15}));
    EXPECT_EQ(dialog.choice()->delayIndex, 6);
    EXPECT_EQ(store.getInt(sections::ConfigShutdown, "Minute", -1), 30);
}

TEST(ShutdownDialogWidget, AskReturnsTheChoiceAndCancelOrEscapeNothingStored) {
    test::MemorySettingsStore store;
    test::onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<ShutdownDialog*>(modal);
        ASSERT_TRUE(dialog);
        QTest::mouseClick(dialog->box(ShutdownMode::AfterDelay), Qt::LeftButton);
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(ShutdownDialog::ask(nullptr, store, true));
    test::onNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_FALSE(ShutdownDialog::ask(nullptr, store, true));
    EXPECT_TRUE(store.writes.empty());

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
}

}  // namespace
}  // namespace orvalis
