// The colour-scheme dialog's wiring and its name prompt under a display; the rules are the
// model's (SchemeDialogModelTest.cpp).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "extras/DialogChecks.h"
#include "playlist/SchemeDialog.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace {

class OneName final : public SchemeNamePrompt {
public:
    std::optional<std::string> askName(const std::string&, const std::string&) override {
        return "Mine";
    }
};

}  // namespace

TEST(SchemeDialogWidget, ListSlotsPickerPreviewAndMenuReachTheModelAndOkStoresIt) {
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    OneName names;
    schemes::writeFactorySet(store);
    store.writes.clear();
    std::optional<Colorref> pick;
    std::vector<Colorref> pickedFrom;
    auto picker = [&](QWidget*, Colorref initial,
                      const std::function<void(Colorref)>& live) -> std::optional<Colorref> {
        pickedFrom.push_back(initial);
        live(0x010203);  // tried out, then a final choice
        return pick;
    };
    SchemeDialog dialog(store, prompter, nullptr, &names, picker);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    test::grabDialog(dialog, "scheme-dialog");
    EXPECT_EQ(dialog.nameList()->count(), 11);
    EXPECT_EQ(dialog.nameList()->currentItem()->text(), "Blue");

    dialog.nameList()->setCurrentRow(2);  // Ivory
    dialog.slotBox()->setCurrentIndex(1);
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);  // cancelled: put back
    EXPECT_EQ(pickedFrom, std::vector<Colorref>{0x87C8DC});
    EXPECT_EQ(dialog.model().schemes()[2].selectedColor, 0x87C8DCu);
    pick = 0x123456;
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.model().schemes()[2].selectedColor, 0x123456u);

    // The preview's rows, from the top: ordinary, selected, playing, selected and playing.
    SchemePreviewWidget* preview = dialog.preview();
    const int rowHeight = (preview->height() - 8) / 4;
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(12, 4 + rowHeight / 2));
    EXPECT_EQ(dialog.slotBox()->currentIndex(), 2);
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(dialog.slotBox()->currentIndex(), 0);

    dialog.runMenuCommand(32830);  // copy under another name
    ASSERT_EQ(dialog.nameList()->count(), 12);
    EXPECT_EQ(dialog.nameList()->currentItem()->text(), "Mine");
    EXPECT_TRUE(store.writes.empty());

    // A double click on a name is OK.
    QListWidget* list = dialog.nameList();
    const QPoint ivory = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, ivory);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, ivory);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(store.getString(sections::PlaylistSkins, schemes::kSkinName), "Ivory");
    EXPECT_EQ(store.getInt(sections::PlaylistSkins, schemes::kNumberOfSkin, 0), 12);
    EXPECT_EQ(store.getInt(schemes::sectionOf("Ivory"), schemes::kSelectedColor, 0), 0x123456);

    // With every scheme deleted there is nothing to colour.
    SchemeDialog emptied(store, prompter, nullptr, &names, picker);
    prompter.answers = {MessageResult::Yes};
    emptied.runMenuCommand(32832);  // delete all
    EXPECT_EQ(emptied.nameList()->count(), 0);
    EXPECT_FALSE(emptied.colourButton()->isEnabled());
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
    test::grabDialog(dialog, "scheme-name");
}
