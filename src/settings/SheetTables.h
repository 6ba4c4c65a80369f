#pragma once

#include <array>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

// The settings sheet as data: its seven pages, every field of every page with its store
// key, control, label, reset value, read default and settings-file key, and the rules by
// which one field enables others. One page class builds any page from its table.
namespace orvalis {

enum class FieldControl {
    Check,       // 0 or 1
    Number,      // edit, with a spin where the page has one
    Text,        // edit holding a path or a name
    Colour,      // colour button, a COLORREF 0x00BBGGRR
    Radio,       // group of radio buttons, the index of the checked one
    Combo,       // drop-down list, the index of the selected item
    FontCombo,   // the installed fonts, by name
    FolderList,  // list box of folders with add and delete
    None,        // kept by the page, shown by no control
};

enum class ValueKind { Number, Text, List };
enum class BrowseKind { None, Folder, File };

struct Choice {
    Choice(std::string label, int id = 0, std::string tooltip = {})
        : label(std::move(label)), id(id), tooltip(std::move(tooltip)) {}
    std::string label;
    int id = 0;
    std::string tooltip;
};

struct PageField {
    std::string section;  // settings-store section; empty: the desktop keeps it (associations)
    std::string key;      // settings-store key
    FieldControl control = FieldControl::Number;
    int id = 0;             // control id on the page; 0 where the page gives none
    std::string label;      // text beside or on the control
    std::string exportKey;  // key in the settings file; empty: not in the file
    int resetNumber = 0;    // what the page's reset sets
    std::string resetText;
    int readNumber = 0;  // the default passed when the page reads the store
    std::string readText;
    bool resets = true;  // false: the page's reset leaves the field as it is
    std::string suffix;  // text after an edit ("초 앞/뒤로 이동", "(15)")
    std::string group;   // the group box the field stands in
    std::string tooltip;
    std::vector<Choice> choices;  // radio buttons or combo items, by index
    int outOfRange = 0;           // the index a value outside the choices stands for
    BrowseKind browse = BrowseKind::None;
    int browseId = 0;
    std::string browseTooltip;
    int minimum = INT_MIN;  // range of a spin
    int maximum = INT_MAX;
    // An empty value stands for the user's pictures folder (where the program once said
    // "C:\"): the page shows and stores that folder instead.
    bool picturesFolderWhenEmpty = false;
    bool spin = false;         // a number edit with up and down arrows
    std::string browseTitle;   // title of the folder or file dialog behind the browse button
    std::string browseFilter;  // "name|patterns|...||" of a file dialog

    // Where the field stands on its page. The page reads in table order without these;
    // they only put related controls side by side.
    bool sameRow = false;    // on the row of the field before it
    int besideChoice = 0;    // beside the radio button of this id (a colour or path of that choice)
    int gridColumns = 0;     // this and the check boxes after it in its group, in columns
    bool indented = false;   // under the field before it, set in

    ValueKind kind() const;
};

enum class RuleCondition { NonZero, Equals, TextSet };

// Controls enabled only while a field of the same page meets a condition.
struct EnableRule {
    std::string sourceKey;
    RuleCondition condition = RuleCondition::NonZero;
    int value = 0;  // for Equals
    std::vector<int> controls;
    // The ruled check box reads off while disabled (a beep with no sound to play).
    bool offWhenDisabled = false;
};

enum class ButtonAction {
    AddFolder,     // a folder dialog; the choice joins the page's folder list
    DeleteFolder,  // the selected folder leaves the list
    PlaySound,     // plays the page's sound file
    CheckAll,      // every association box
    ClearAll,
};

// A button of a page that is not a field (add, delete, test, select all …).
struct PageButton {
    int id = 0;
    std::string text;
    ButtonAction action = ButtonAction::AddFolder;
    std::string besideKey;  // the field it stands beside; empty: a row under the page
};

struct SheetPage {
    int index = 0;
    std::string tabText;
    int dialogId = 0;
    std::string exportSection;  // section of the settings file
    std::vector<PageField> fields;
    std::vector<EnableRule> rules;
    std::vector<PageButton> buttons;
    std::string note;  // a line of explanation on the page

    // Index of the field with this store key (or, on the association page, extension);
    // -1 when the page has none.
    int fieldIndex(std::string_view key) const;
    int fieldIndexById(int id) const;
    const PageButton* button(int id) const;
};

namespace page {
inline constexpr int General = 0;
inline constexpr int Caption = 1;
inline constexpr int Custom = 2;
inline constexpr int Control = 3;
inline constexpr int Playlist = 4;
inline constexpr int Screen = 5;
inline constexpr int Association = 6;
inline constexpr int Count = 7;
}  // namespace page

// The seven pages in tab order (tab index = Config/ActivePage).
const std::vector<SheetPage>& sheetPages();

// Pages store their values at OK in this order.
inline constexpr std::array<int, page::Count> kStoreOrder = {
    page::General,  page::Caption, page::Custom,     page::Control,
    page::Playlist, page::Screen,  page::Association};
// "Reset all pages", the settings file's sections, and import go in this order.
inline constexpr std::array<int, page::Count> kFileOrder = {
    page::General, page::Caption,  page::Custom,     page::Control,
    page::Screen,  page::Playlist, page::Association};

namespace sheet {
inline constexpr const char* kTitle = "환경설정";
inline constexpr const char* kOk = "확인";
inline constexpr const char* kCancel = "취소";
inline constexpr const char* kDefaultMenuButton = "기본 메뉴";
inline constexpr const char* kApply = "적용";  // hidden and disabled, never shown
inline constexpr int kOkId = 1;
inline constexpr int kCancelId = 2;
inline constexpr int kApplyId = 3;
inline constexpr int kDefaultMenuId = 4;
inline constexpr int kDialogId = 130;
inline constexpr int kTabId = 1048;
inline constexpr int kOpenCommand = 32787;  // "환경 설정(&C)..." in the player window, F2

inline constexpr const char* kMenuTitle = "환경설정 관련메뉴";  // menu 168
inline constexpr int kMenuId = 168;
inline constexpr int kResetPageCommand = 32863;
inline constexpr int kResetAllCommand = 32864;
inline constexpr int kSaveFileCommand = 32865;
inline constexpr int kLoadFileCommand = 32866;

struct MenuEntry {
    int command;
    const char* text;
};
// Menu 168 in its order.
inline constexpr std::array<MenuEntry, 4> kDefaultMenu = {{
    {kResetPageCommand, "현재페이지 초기화(&C)"},
    {kResetAllCommand, "전체페이지 초기화(&A)"},
    {kLoadFileCommand, "환경파일 불러오기(&O)..."},
    {kSaveFileCommand, "환경파일로 저장(&S)..."},
}};
}  // namespace sheet

}  // namespace orvalis
