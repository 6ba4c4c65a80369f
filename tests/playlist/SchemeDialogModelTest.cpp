#include <gtest/gtest.h>

#include <deque>

#include "SchemePrint.h"
#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "playlist/ClrFile.h"
#include "playlist/SchemeDialogModel.h"
#include "playlist/SchemePreview.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::freshDir;

namespace {

const char* kSkins = sections::PlaylistSkins;

class FakeNamePrompt final : public SchemeNamePrompt {
public:
    std::optional<std::string> askName(const std::string& description,
                                       const std::string& initial) override {
        asked.push_back(description + "|" + initial);
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> asked;
};

// The dialog opened on a stored set (the factory set unless given another).
struct Dialog {
    orvalis::test::MemorySettingsStore store;
    orvalis::test::FakePrompter prompter;
    FakeNamePrompt names;
    SchemeDialogModel model{store, prompter, names};

    explicit Dialog(const char* skinName = "Blue",
                    const std::vector<ColorScheme>& set = schemes::factorySet()) {
        schemes::writeSet(store, set, skinName);
        model.open();
        store.writes.clear();
    }
    std::string lastMessage() const {
        return prompter.messages.empty() ? "" : prompter.messages.back().text;
    }
};

std::vector<ColorScheme> numbered(int count) {
    std::vector<ColorScheme> set;
    for (int i = 0; i < count; ++i) set.push_back({"S" + std::to_string(i), 1, 2, 3, 4});
    return set;
}

}  // namespace

TEST(SchemeDialog, OpeningSelectsTheStoredNameElseBlueElseNothing) {
    EXPECT_EQ(Dialog("ivory").model.current(), 2);
    EXPECT_EQ(Dialog("Ivory").model.pickerColor(), 0xB4E6F5u);
    EXPECT_EQ(Dialog("Nowhere").model.current(), 1);

    Dialog d("Nowhere", numbered(3));
    EXPECT_FALSE(d.model.hasCurrent());
    EXPECT_EQ(d.model.pickerColor(), 0u);
    // Edits have no target until a scheme is chosen.
    d.model.pickColor(0x123456);
    d.model.renameCurrent();
    d.model.copyCurrent();
    EXPECT_TRUE(d.names.asked.empty());
    EXPECT_EQ(d.model.schemes(), numbered(3));

    d.model.selectScheme(2);
    d.model.selectSlot(SchemeSlot::Text);
    d.model.pickColor(0x010203);
    EXPECT_EQ(d.model.schemes()[2].textColor, 0x010203u);
    d.model.selectScheme(3);
    EXPECT_FALSE(d.model.hasCurrent());
}

TEST(SchemeDialog, OkWritesTheWholeSetAndCancelNothing) {
    Dialog d;
    d.model.selectScheme(5);
    d.model.selectSlot(SchemeSlot::TextFocused);
    d.model.pickColor(0x00FF00);
    EXPECT_TRUE(d.store.writes.empty());  // a cancelled dialog has written nothing
    d.model.accept();
    EXPECT_EQ(ApplyScheme(d.store, schemes::storedName(d.store, "Blue")),
              (ColorScheme{"Green", 0xAFBEAB, 0x9CA998, 0x646464, 0x00FF00}));

    // Delete all, then OK: an empty set. Old name keys stay, unused.
    d.prompter.answers = {MessageResult::No};
    d.model.deleteAll();
    EXPECT_EQ(d.model.schemes().size(), 11u);
    d.model.deleteAll();
    EXPECT_TRUE(d.model.schemes().empty());
    EXPECT_EQ(d.model.slot(), SchemeSlot::Back);
    d.model.accept();
    EXPECT_EQ(d.store.getInt(kSkins, "NumberOfSkin", -1), 0);
    EXPECT_EQ(d.store.getString(kSkins, "SkinName", "?"), "");
    EXPECT_EQ(d.store.getString(kSkins, "0"), "Black");
}

TEST(SchemeDialog, CopyStopsAtFiftySchemes) {
    Dialog full("S0", numbered(50));
    full.names.answers = {"New"};
    full.model.copyCurrent();
    EXPECT_EQ(full.model.schemes().size(), 50u);
    EXPECT_TRUE(full.names.asked.empty());
    EXPECT_EQ(full.lastMessage(), "전체 색상표의 개수는 50개까지 입니다.");

    Dialog d("S3", numbered(49));
    d.names.answers = {"New"};
    d.model.copyCurrent();
    EXPECT_EQ(d.model.schemes().back(), (ColorScheme{"New", 1, 2, 3, 4}));
    EXPECT_EQ(d.model.current(), 49);
    EXPECT_EQ(d.names.asked, std::vector<std::string>{"추가할 색상표 이름을 입력하세요.|S3"});
}

TEST(SchemeDialog, DuplicateNamesAreRefusedWithoutLetterCaseUntilCancelled) {
    Dialog d("Black");
    // OK on the message asks again with the scheme's own name; Cancel stops.
    d.names.answers = {"BLUE", "pink"};
    d.prompter.answers = {MessageResult::Ok, MessageResult::Cancel};
    d.model.renameCurrent();
    EXPECT_EQ(d.model.schemes()[0].name, "Black");
    EXPECT_EQ(d.names.asked.back(), "새로운 색상표 이름을 입력하세요.|Black");
    EXPECT_EQ(d.prompter.messages.size(), 2u);
    EXPECT_EQ(d.lastMessage(), "이미 같은 이름이 존재합니다.\n다른 이름을 사용하세요.");

    // A scheme may change the case of its own name; a copy may not take it.
    d.names.answers = {"BLACK", "black", std::nullopt};
    d.model.renameCurrent();
    EXPECT_EQ(d.model.schemes()[0].name, "BLACK");
    d.model.copyCurrent();
    EXPECT_EQ(d.model.schemes().size(), 11u);

    d.names.answers = {"Red", "Night"};
    d.model.copyCurrent();
    EXPECT_EQ(d.model.schemes().back().name, "Night");
}

TEST(SchemeDialog, TypedNamesAlwaysFitARecord) {
    Dialog d;
    std::string longName;  // 60 CP949 units
    for (int i = 0; i < 30; ++i) longName += "가";
    d.names.answers = {longName, "a\tb  ", "   "};
    d.model.copyCurrent();
    EXPECT_EQ(clr::nameBytes(d.model.schemes().back().name).size(), 50u);
    // Control characters become blanks and blanks at the end go; an empty name changes nothing.
    d.model.renameCurrent();
    d.model.renameCurrent();
    EXPECT_EQ(d.model.schemes().back().name, "a b");
}

TEST(SchemeDialog, ImportReplacesTheTableOrSaysWhyNotAndExportGivesItBack) {
    Dialog d;
    const std::string dir = freshDir("scheme-import");
    std::vector<ColorScheme> two = {{"Day", 1, 2, 3, 4}, {"Night", 5, 6, 7, 8}};
    ASSERT_TRUE(clr::writeFile(dir + "/two.clr", two));
    orvalis::test::writeFile(dir + "/short.clr", std::string(50, 'x'));
    orvalis::test::writeFile(dir + "/nameless.clr", std::string(144, '\0'));

    const char* refusals[][2] = {{"/short.clr", "적절한 색상 정보 파일이 아닙니다."},
                                 {"/missing.clr", "지정한 파일을 열 수 없습니다"},
                                 {"/nameless.clr", "적절한 색상 정보 파일이 아닙니다."}};
    for (auto [file, message] : refusals) {
        d.prompter.openAnswers = {{dir + file}};
        d.model.importFile();
        EXPECT_EQ(d.lastMessage(), message);
        EXPECT_EQ(d.model.schemes(), schemes::factorySet());
    }

    d.model.selectSlot(SchemeSlot::Text);
    d.prompter.openAnswers = {{dir + "/two.clr"}};
    d.model.importFile();
    EXPECT_EQ(d.model.schemes(), two);
    EXPECT_EQ(d.model.current(), 0);
    EXPECT_EQ(d.model.pickerColor(), 1u);  // slot 0 again
    EXPECT_TRUE(d.store.writes.empty());

    // The store does not tell letter cases apart: a name that differs only so is renamed,
    // with a word why, and every scheme keeps its colours.
    std::vector<ColorScheme> clash = {
        {"Night", 1, 2, 3, 4}, {"NIGHT", 5, 6, 7, 8}, {"Night (2)", 9, 9, 9, 9}};
    ASSERT_TRUE(clr::writeFile(dir + "/clash.clr", clash));
    d.prompter.openAnswers = {{dir + "/clash.clr"}};
    d.model.importFile();
    clash[1].name = "NIGHT (3)";
    EXPECT_EQ(d.model.schemes(), clash);
    EXPECT_EQ(d.prompter.messages.back().title, "Orvalis - 이름 중복");
    EXPECT_EQ(d.lastMessage(),
              "같은 이름의 색상표가 있어 이름을 바꾸었습니다.\n\nNIGHT → NIGHT (3)");
    d.model.accept();
    EXPECT_EQ(schemes::readSet(d.store), clash);

    // Exported and imported again, the table comes back; a file that cannot be written says so.
    d.prompter.saveAnswers = {dir + "/all.clr", dir};
    d.model.exportFile();
    d.model.deleteAll();
    d.prompter.openAnswers = {{dir + "/all.clr"}};
    d.model.importFile();
    EXPECT_EQ(d.model.schemes(), clash);
    d.model.exportFile();
    EXPECT_EQ(d.lastMessage(), "색상 파일을 저장할 수 없습니다.");
}

TEST(SchemePreview, EveryAreaMapsToItsSlot) {
    SchemePreview preview(208, 88, 150, 14);
    int selected = 0, focused = 0;
    for (const auto& row : preview.rows()) {
        const auto& t = row.text;
        EXPECT_EQ(preview.slotAt(t.x, t.y + t.height - 1), row.textSlot);
        const SchemeSlot background = row.selected ? SchemeSlot::Selected : SchemeSlot::Back;
        EXPECT_EQ(preview.slotAt(t.x + t.width, t.y), background);
        EXPECT_EQ(preview.slotAt(row.area.x, row.area.y), background);
        selected += row.selected;
        focused += row.textSlot == SchemeSlot::TextFocused;
    }
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(focused, 2);
    EXPECT_EQ(preview.slotAt(207, 87), SchemeSlot::Back);
    SchemePreview tiny(10, 10, 500, 500);
    for (const auto& row : tiny.rows()) EXPECT_LE(row.text.width, row.area.width);
}
