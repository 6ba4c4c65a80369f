// The settings dialog through its widgets, under a display: what the controls show, what OK
// and Cancel store, the rules between controls, menu 168, and how every page looks.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <deque>

#include "settings/ColourButton.h"
#include "settings/SettingsSheet.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

using test::FakePrompter;
using test::MemorySettingsStore;

// Remembers the sounds it was asked to play.
struct RecordingSound final : SoundPlayer {
    void play(const std::string& path) override { played.push_back(path); }
    void stop() override {}
    std::vector<std::string> played;
};

struct SheetFixture : ::testing::Test {
    MemorySettingsStore store;
    FakePrompter prompter;
    RecordingSound sound;
    std::deque<std::optional<int>> colours;  // what the colour dialog answers, in turn
    std::unique_ptr<SettingsSheet> sheet;

    void SetUp() override {
        auto chooser = [this](int, const QString&) {
            std::optional<int> c = colours.empty() ? std::nullopt : colours.front();
            if (!colours.empty()) colours.pop_front();
            return c;
        };
        sheet = std::make_unique<SettingsSheet>(SettingsSheet::Services{
            store, prompter, {"/home/me/Pictures", "Linux"}, nullptr, "/settings", &sound, chooser});
    }

    template <class W>
    W* control(int page, const QString& name) {
        W* w = sheet->pageWidget(page)->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QPushButton* sheetButton(const char* text) {
        for (auto* b : sheet->findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8(text)) return b;
        ADD_FAILURE() << text;
        return nullptr;
    }
    void type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        text.isEmpty() ? QTest::keyClick(edit, Qt::Key_Backspace) : QTest::keyClicks(edit, text);
    }
};

// Values set in the controls of several pages: each page, its control, what the store holds.
void changeControls(SheetFixture& f) {
    f.control<QSpinBox>(page::General, "Interval")->setValue(25);
    f.control<QCheckBox>(page::General, "Auto CDROM")->click();
    f.type(f.control<QLineEdit>(page::General, "Default Folder"), "/media/films");
    f.colours = {0x123456};
    f.control<ColourButton>(page::Caption, "FontColor")->click();
    f.control<QComboBox>(page::Caption, "Caption Align")->setCurrentIndex(2);
    f.prompter.folderAnswers = {std::string("/subs")};
    f.control<QPushButton>(page::Caption, "button1027")->click();
    f.control<QRadioButton>(page::Custom, "Esc Key#2")->click();
    f.control<QSpinBox>(page::Screen, "Border Size")->setValue(8);
}

TEST_F(SheetFixture, OkStoresWhatTheControlsShow) {
    sheet->begin();
    changeControls(*this);
    sheetButton("확인")->click();
    EXPECT_EQ(std::vector({store.getInt("Config", "Interval", 0), store.getInt("Config", "Auto CDROM", -1),
                           store.getInt("Caption", "FontColor", 0), store.getInt("Caption", "Caption Align", 0),
                           store.getInt("Config\\Custom", "Esc Key", 0), store.getInt("Config\\Screen", "Border Size", 0)}),
              std::vector({25, 0, 0x123456, 2, 2, 8}));
    EXPECT_EQ(store.getString("Config", "Default Folder"), "/media/films");
    EXPECT_EQ(store.getString("Caption\\Caption Folders", "0"), "/subs");
    // Opened again: a colour the user cancels changes nothing; the test button plays the
    // sound file; a font that is not installed stays chosen until another is.
    store.putString("Config\\Control", "Sound File", "/sounds/shutter.wav");
    store.putString("Caption", "FontName", "굴림체 없는 글꼴");
    sheet->begin();
    control<ColourButton>(page::Caption, "FontColor")->click();
    EXPECT_EQ(sheet->model().values().number("Caption", "FontColor"), 0x123456);
    control<QPushButton>(page::Screen, "button1025")->click();
    EXPECT_EQ(sound.played, std::vector<std::string>{"/sounds/shutter.wav"});
    auto* fonts = control<QComboBox>(page::Caption, "FontName");
    EXPECT_EQ(fonts->currentText(), QString::fromUtf8("굴림체 없는 글꼴"));
    const int installed = fonts->findText(QStringLiteral("NanumGothic"));
    ASSERT_GT(installed, 0) << "the Nanum fonts of install-deps.sh";
    fonts->setCurrentIndex(installed);
    EXPECT_EQ(sheet->model().values().text("Caption", "FontName"), "NanumGothic");
    EXPECT_EQ(fonts->findText(QString::fromUtf8("굴림체 없는 글꼴")), -1);
    EXPECT_EQ(fonts->currentText(), QStringLiteral("NanumGothic"));
}

TEST_F(SheetFixture, TheDefaultMenuOpensUnderItsButtonAndCancelKeepsOnlyThePage) {
    QDir().mkpath(QStringLiteral(ORVALIS_BINARY_DIR "/screenshots"));
    store.putInt("Config", "ActivePage", page::Playlist);
    store.writes.clear();
    sheet->show();
    sheet->begin();
    EXPECT_EQ(sheet->tabs()->currentIndex(), page::Playlist);
    changeControls(*this);
    QPushButton* button = sheetButton("기본 메뉴");
    button->click();
    QMenu* menu = sheet->defaultMenu();
    ASSERT_TRUE(test::waitUntil([&] { return menu->isVisible(); }));
    EXPECT_EQ(menu->pos(), button->mapToGlobal(button->rect().bottomLeft()));
    menu->grab().save(QStringLiteral(ORVALIS_BINARY_DIR "/screenshots/settings-menu.png"));
    sheet->tabs()->setCurrentIndex(page::General);
    menu->actions()[0]->trigger();  // the page shown: its controls follow
    menu->hide();
    EXPECT_EQ(control<QSpinBox>(page::General, "Interval")->value(), 10);
    EXPECT_EQ(control<QSpinBox>(page::Screen, "Border Size")->value(), 8);  // another page
    sheet->tabs()->setCurrentIndex(page::Control);
    sheetButton("취소")->click();
    EXPECT_EQ(store.writes, std::vector<std::string>{"Config/ActivePage=3"});
}

// --- how the pages look ---------------------------------------------------------------------

// What a user could not read: a text cut short, or two controls on top of each other.
void expectNothingClippedOrOverlapping(QWidget* container, const std::string& where) {
    std::vector<QWidget*> children;
    for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisible()) children.push_back(w);
    for (std::size_t a = 0; a < children.size(); ++a) {
        QWidget* w = children[a];
        const std::string name =
            where + " / " + w->metaObject()->className() + " " + w->objectName().toStdString();
        EXPECT_TRUE(container->rect().contains(w->geometry())) << name;
        auto* label = qobject_cast<QLabel*>(w);
        if (auto* push = qobject_cast<QPushButton*>(w)) {
            // Push buttons ask for a width of their style's liking; their text must fit.
            const int icon = push->icon().isNull() ? 0 : push->iconSize().width();
            EXPECT_GE(push->width(), push->fontMetrics().horizontalAdvance(push->text()) + icon)
                << name;
        } else if ((label && !label->wordWrap()) || qobject_cast<QAbstractButton*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width()) << name;
            EXPECT_GE(w->height(), w->sizeHint().height()) << name;
        }
        for (std::size_t b = a + 1; b < children.size(); ++b)
            EXPECT_FALSE(w->geometry().intersects(children[b]->geometry()))
                << name << " overlaps " << children[b]->metaObject()->className() << " "
                << children[b]->objectName().toStdString();
        if (qobject_cast<QGroupBox*>(w)) expectNothingClippedOrOverlapping(w, name);
    }
}

TEST_F(SheetFixture, EveryPageFitsAndIsPhotographed) {
    ASSERT_FALSE(QFontDatabase::families(QFontDatabase::Korean).isEmpty())
        << "no Korean font: the labels would show as boxes (install-deps.sh installs Nanum)";
    store.putString("Config\\Control", "Sound File", "/sounds/shutter.wav");
    store.putString("Caption\\Caption Folders", "0", "/home/me/자막");
    store.putInt("Caption\\Caption Folders", "Count", 1);
    sheet->begin();
    sheet->show();
    const QString folder = QStringLiteral(ORVALIS_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    for (int p = 0; p < page::Count; ++p) {
        sheet->tabs()->setCurrentIndex(p);
        test::processEventsFor(50);
        expectNothingClippedOrOverlapping(sheet->pageWidget(p), "page " + std::to_string(p));
        const QString file = folder + QStringLiteral("/settings-page-%1.png").arg(p);
        EXPECT_TRUE(sheet->grab().save(file)) << file.toStdString();
    }
    expectNothingClippedOrOverlapping(sheet.get(), "sheet");
    sheet->reject();
}

}  // namespace
}  // namespace orvalis
