// The settings dialog through its widgets, under a display: what the controls show, what OK
// and Cancel store, the rules between controls, menu 168, and how every page looks.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <deque>

#include "settings/ColourButton.h"
#include "settings/FileAssociations.h"
#include "settings/RecordingSound.h"
#include "settings/SettingsSheet.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

using test::FakePrompter;
using test::MemorySettingsStore;

const char* kCtl = "Config\\Control";

struct SheetFixture : ::testing::Test {
    MemorySettingsStore store;
    FakePrompter prompter;
    test::RecordingSound sound;
    std::deque<std::optional<int>> colours;  // what the colour dialog answers, in turn
    std::unique_ptr<SettingsSheet> sheet;

    void make(const DesktopAssociations* associations = nullptr) {
        auto chooser = [this](int, const QString&) -> std::optional<int> {
            if (colours.empty()) return std::nullopt;
            auto c = colours.front();
            colours.pop_front();
            return c;
        };
        sheet =
            std::make_unique<SettingsSheet>(SettingsSheet::Services{store,
                                                                    prompter,
                                                                    {"/home/me/Pictures", "Linux"},
                                                                    associations,
                                                                    "/settings",
                                                                    &sound,
                                                                    chooser});
    }
    void SetUp() override { make(); }

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
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    // Runs the sheet modally as the player window does; act runs inside, then presses a button.
    bool runModally(const std::function<void()>& act, const char* closeWith) {
        QTimer::singleShot(0, sheet.get(), [this, act, closeWith] {
            act();
            sheetButton(closeWith)->click();
        });
        return sheet->run();
    }
};

TEST_F(SheetFixture, OpensOnTheLastActivePageAndKeepsIt) {
    store.putInt("Config", "ActivePage", page::Playlist);
    store.writes.clear();
    bool checked = false;
    EXPECT_FALSE(runModally(
        [&] {
            EXPECT_TRUE(sheet->isModal());
            EXPECT_EQ(sheet->windowTitle(), QString::fromUtf8("환경설정"));
            EXPECT_EQ(sheet->tabs()->currentIndex(), page::Playlist);
            const char* tabs[] = {"일반 설정",   "자막 설정",         "사용자 정의",  "콘트롤 패널",
                                  "재생 목록창", "캡쳐 및 화면 설정", "프로그램 연결"};
            ASSERT_EQ(sheet->tabs()->count(), 7);
            for (int i = 0; i < 7; ++i)
                EXPECT_EQ(sheet->tabs()->tabText(i), QString::fromUtf8(tabs[i]));
            sheet->tabs()->setCurrentIndex(page::Control);
            checked = true;
        },
        "취소"));
    EXPECT_TRUE(checked);
    // Cancel keeps the page that was shown, and nothing else.
    EXPECT_EQ(store.writes, std::vector<std::string>{"Config/ActivePage=3"});
}

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
    EXPECT_TRUE(runModally([&] { changeControls(*this); }, "확인"));
    EXPECT_EQ(store.getInt("Config", "Interval", 0), 25);
    EXPECT_EQ(store.getInt("Config", "Auto CDROM", -1), 0);
    EXPECT_EQ(store.getString("Config", "Default Folder"), "/media/films");
    EXPECT_EQ(store.getInt("Caption", "FontColor", 0), 0x123456);
    EXPECT_EQ(store.getInt("Caption", "Caption Align", 0), 2);
    EXPECT_EQ(store.getInt("Caption\\Caption Folders", "Count", 0), 1);
    EXPECT_EQ(store.getString("Caption\\Caption Folders", "0"), "/subs");
    EXPECT_EQ(store.getInt("Config\\Custom", "Esc Key", 0), 2);
    EXPECT_EQ(store.getInt("Config\\Screen", "Border Size", 0), 8);
    // A colour the user cancels changes nothing.
    sheet->begin();
    control<ColourButton>(page::Caption, "FontColor")->click();
    EXPECT_EQ(sheet->model().values().number("Caption", "FontColor"), 0x123456);
}

TEST_F(SheetFixture, CancelStoresNothingAndTheNextOpeningShowsTheStore) {
    store.putInt("Config", "Interval", 12);
    store.writes.clear();
    EXPECT_FALSE(runModally([&] { changeControls(*this); }, "취소"));
    EXPECT_EQ(store.writes, std::vector<std::string>{"Config/ActivePage=0"});
    sheet->begin();
    EXPECT_EQ(control<QSpinBox>(page::General, "Interval")->value(), 12);
    EXPECT_TRUE(control<QCheckBox>(page::General, "Auto CDROM")->isChecked());
    EXPECT_EQ(control<QListWidget>(page::Caption, "Count")->count(), 0);
    EXPECT_TRUE(control<QRadioButton>(page::Custom, "Esc Key#0")->isChecked());
}

TEST_F(SheetFixture, TheBeepAndItsTestButtonNeedASoundFile) {
    sheet->begin();
    auto* beep = control<QCheckBox>(page::Screen, "Beep Sound");
    auto* test = control<QPushButton>(page::Screen, "button1025");
    auto* file = control<QLineEdit>(page::Screen, "Sound File");
    EXPECT_FALSE(beep->isEnabled());
    EXPECT_FALSE(test->isEnabled());

    prompter.openAnswers = {{"/sounds/shutter.wav"}};
    control<QPushButton>(page::Screen, "button1058")->click();
    EXPECT_EQ(file->text(), "/sounds/shutter.wav");
    EXPECT_TRUE(beep->isEnabled());
    beep->click();
    test->click();
    EXPECT_EQ(sound.played, std::vector<std::string>{"/sounds/shutter.wav"});

    // Emptying the path by hand turns the beep off at once.
    type(file, "");
    EXPECT_FALSE(beep->isChecked());
    EXPECT_FALSE(beep->isEnabled());
    EXPECT_FALSE(test->isEnabled());
}

TEST_F(SheetFixture, TheDefaultMenuResetsAndLoadsPages) {
    store.putInt(kCtl, "Auto Hide", 1);
    store.putInt(kCtl, "Track Height", 40);
    sheet->show();
    sheet->begin();
    auto* interval = control<QSpinBox>(page::General, "Interval");
    interval->setValue(99);

    sheetButton("기본 메뉴")->click();
    QMenu* menu = sheet->defaultMenu();
    ASSERT_TRUE(test::waitUntil([&] { return menu->isVisible(); }));
    QPushButton* button = sheetButton("기본 메뉴");
    EXPECT_EQ(menu->pos(), button->mapToGlobal(button->rect().bottomLeft()));
    QDir().mkpath(QStringLiteral(ORVALIS_BINARY_DIR "/screenshots"));
    menu->grab().save(QStringLiteral(ORVALIS_BINARY_DIR "/screenshots/settings-menu.png"));
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QString::fromUtf8("현재페이지 초기화(&C)"));
    EXPECT_EQ(actions[3]->text(), QString::fromUtf8("환경파일로 저장(&S)..."));
    actions[0]->trigger();
    menu->hide();
    EXPECT_EQ(interval->value(), 10);
    EXPECT_EQ(control<QSpinBox>(page::Control, "Track Height")->value(), 40);  // another page

    actions[1]->trigger();  // every page
    EXPECT_EQ(control<QSpinBox>(page::Control, "Track Height")->value(), 15);
    EXPECT_TRUE(control<QCheckBox>(page::Control, "Auto Hide")->isChecked());  // never reset

    const std::string dir = test::freshDir("sheet-import");
    test::writeFile(dir + "/mine.ini",
                    "[General]\r\nInterval=7\r\n[Control]\r\nTrackHeight=21\r\n");
    prompter.openAnswers = {{dir + "/mine.ini"}, {dir + "/missing.ini"}};
    actions[2]->trigger();
    EXPECT_EQ(interval->value(), 7);
    EXPECT_EQ(control<QSpinBox>(page::Control, "Track Height")->value(), 21);
    EXPECT_TRUE(control<QCheckBox>(page::Control, "Use Gradient")->isChecked());  // missing: kept
    actions[2]->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "파일을 열 수 없습니다.");
    EXPECT_EQ(interval->value(), 7);
    sheet->reject();
}

TEST_F(SheetFixture, AFontThatIsNotInstalledStaysChosen) {
    store.putString("Caption", "FontName", "굴림체 없는 글꼴");
    sheet->begin();
    auto* fonts = control<QComboBox>(page::Caption, "FontName");
    EXPECT_EQ(fonts->currentText(), QString::fromUtf8("굴림체 없는 글꼴"));
    EXPECT_GT(fonts->count(), 1);
    const int installed = fonts->findText(QStringLiteral("NanumGothic"));
    ASSERT_GT(installed, 0) << "the Nanum fonts of install-deps.sh";
    fonts->setCurrentIndex(installed);
    EXPECT_EQ(sheet->model().values().text("Caption", "FontName"), "NanumGothic");
    EXPECT_EQ(fonts->findText(QString::fromUtf8("굴림체 없는 글꼴")), -1);
    EXPECT_EQ(fonts->currentText(), QStringLiteral("NanumGothic"));
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
    store.putString(kCtl, "Sound File", "/sounds/shutter.wav");
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
