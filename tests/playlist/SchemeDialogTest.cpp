// The colour-scheme dialog and its name prompt under a display.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <deque>

#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "playlist/SchemeDialog.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace {

const char* kSkins = sections::PlaylistSkins;

class QueuedNames final : public SchemeNamePrompt {
public:
    std::optional<std::string> askName(const std::string&, const std::string&) override {
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<std::string>> answers;
};

class SchemeDialogTest : public ::testing::Test {
protected:
    SchemeDialogTest() {
        schemes::writeFactorySet(store);
        store.writes.clear();
    }
    std::unique_ptr<SchemeDialog> make() {
        auto picker = [this](QWidget*, Colorref initial,
                             const std::function<void(Colorref)>& live) -> std::optional<Colorref> {
            pickedFrom.push_back(initial);
            live(0x010203);  // tried out, then a final choice
            return pick;
        };
        auto dialog = std::make_unique<SchemeDialog>(store, prompter, nullptr, &names, picker);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }
    static QPushButton* okButton(SchemeDialog& d) {
        return d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    }

    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    QueuedNames names;
    std::optional<Colorref> pick = 0x123456;
    std::vector<Colorref> pickedFrom;
};

}  // namespace

TEST_F(SchemeDialogTest, OkWritesTheWholeSetAndCancelWritesNothing) {
    auto dialog = make();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("색상 선택"));
    EXPECT_EQ(dialog->nameList()->count(), 11);
    EXPECT_EQ(dialog->nameList()->currentItem()->text(), "Blue");
    dialog->nameList()->setCurrentRow(2);  // Ivory
    dialog->slotBox()->setCurrentIndex(1);
    QTest::mouseClick(dialog->colourButton(), Qt::LeftButton);
    EXPECT_EQ(pickedFrom, std::vector<Colorref>{0x87C8DC});
    EXPECT_EQ(dialog->model().schemes()[2].selectedColor, 0x123456u);
    dialog->reject();
    EXPECT_TRUE(store.writes.empty());

    dialog = make();
    dialog->nameList()->setCurrentRow(2);
    dialog->slotBox()->setCurrentIndex(1);
    pick.reset();  // a cancelled choice puts the colour back as it was
    QTest::mouseClick(dialog->colourButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->model().schemes()[2].selectedColor, 0x87C8DCu);
    pick = 0x123456;
    QTest::mouseClick(dialog->colourButton(), Qt::LeftButton);
    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(store.getString(kSkins, schemes::kSkinName), "Ivory");
    EXPECT_EQ(store.getInt(kSkins, schemes::kNumberOfSkin, 0), 11);
    EXPECT_EQ(store.getInt(schemes::sectionOf("Ivory"), schemes::kSelectedColor, 0), 0x123456);
}

TEST_F(SchemeDialogTest, ThePreviewPicksTheSlotUnderThePointerAndADoubleClickIsOk) {
    auto dialog = make();
    SchemePreviewWidget* preview = dialog->preview();
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(dialog->slotBox()->currentIndex(), 0);
    // The rows are, from the top: ordinary, selected, playing, selected and playing.
    const int rowHeight = (preview->height() - 8) / 4;
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(preview->width() - 8, 4 + rowHeight + 2));
    EXPECT_EQ(dialog->slotBox()->currentIndex(), 1);
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(12, 4 + rowHeight / 2));
    EXPECT_EQ(dialog->slotBox()->currentIndex(), 2);
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(12, 4 + 2 * rowHeight + rowHeight / 2));
    EXPECT_EQ(dialog->slotBox()->currentIndex(), 3);
    EXPECT_TRUE(store.writes.empty());

    QListWidget* list = dialog->nameList();
    QRect black = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, black.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, black.center());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(store.getString(kSkins, schemes::kSkinName), "Black");
}

TEST_F(SchemeDialogTest, TheMenuCommandsShowTheirResultInTheList) {
    auto dialog = make();
    names.answers = {std::string("Mine")};
    dialog->runMenuCommand(32830);  // copy under another name
    ASSERT_EQ(dialog->nameList()->count(), 12);
    EXPECT_EQ(dialog->nameList()->currentRow(), 11);
    EXPECT_EQ(dialog->nameList()->currentItem()->text(), "Mine");

    prompter.answers = {MessageResult::Yes};
    dialog->runMenuCommand(32832);  // delete all
    EXPECT_EQ(dialog->nameList()->count(), 0);
    EXPECT_FALSE(dialog->colourButton()->isEnabled());
    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    EXPECT_EQ(store.getInt(kSkins, schemes::kNumberOfSkin, -1), 0);
}

TEST(SchemeNameDialog, HoldsAtMostFiftyCp949Units) {
    SchemeNameDialog dialog(nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* edit = dialog.edit();
    edit->setFocus();
    auto type = [&](const QString& text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QCoreApplication::sendEvent(edit, &press);
    };
    type("a");
    for (int i = 0; i < 30; ++i) type(QString::fromUtf8("가"));
    EXPECT_EQ(text::cp949Units(edit->text().toStdString()), 49u);
    type(QString::fromUtf8("나"));  // one unit left: a Korean letter does not fit
    type("b");
    EXPECT_EQ(edit->text().size(), 26);
    EXPECT_TRUE(edit->text().endsWith('b'));
    EXPECT_EQ(text::cp949Units(edit->text().toStdString()), 50u);
}
