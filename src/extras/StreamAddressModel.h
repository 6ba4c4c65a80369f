#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "extras/UrlListFile.h"

// The "open an internet file" dialog as plain state and rules: the address box, the list
// of named addresses kept in Config\URL, its placeholder row, and the load/save menu. The
// dialog widget draws this, forwards the user's edits and asks its questions through the
// Prompter it was given.
namespace orvalis {

namespace stream_text {
inline constexpr const char* kTitle = "인터넷 파일 열기";
inline constexpr const char* kNameColumn = "이름";
inline constexpr const char* kAddressColumn = "주소";
inline constexpr const char* kAddButton = "+";
inline constexpr const char* kRemoveButton = "-";
inline constexpr const char* kOpenButton = "열기";
inline constexpr const char* kCloseButton = "닫기";
inline constexpr const char* kMenuButton = "기본 메뉴";
inline constexpr const char* kMenuTitle = "URL열기 관련메뉴";
inline constexpr const char* kPlaceholderName = "이름";
inline constexpr const char* kPlaceholderUrl = "편집하려면 두 번 클릭하세요.";
inline constexpr const char* kLoadQuestion = "현재 목록을 모두 지우고 파일에서 불러올까요?";
inline constexpr const char* kCannotOpen = "파일을 열 수 없습니다.";
inline constexpr const char* kCannotCreate = "파일을 생성할 수 없습니다.";
}  // namespace stream_text

// "선택된 3개의 항목을 삭제할까요?\n\n삭제된 항목은 되살릴 수 없습니다."
std::string deleteEntriesQuestion(int count);

// The items of the "기본 메뉴" popup.
struct StreamMenuItem {
    int id;
    const char* label;
};
inline constexpr int kLoadUrlFileCommand = 32861;
inline constexpr int kSaveUrlFileCommand = 32862;
inline constexpr std::array<StreamMenuItem, 2> kStreamMenu{{
    {kLoadUrlFileCommand, "불러오기(&O)..."},
    {kSaveUrlFileCommand, "파일로 저장(&S)..."},
}};

// The list shown when the store holds none. Empty: the stations' old addresses no longer
// answer, and the player ships no address it cannot vouch for.
std::vector<StreamEntry> builtInStreams();

// A row that "+" added and nobody filled in yet.
bool isPlaceholder(const StreamEntry& entry);

// The list kept in Config\URL: sections 0 ... Count - 1, entries with an empty name or
// address skipped; the built-in list while Count is 0.
std::vector<StreamEntry> readStoredStreams(const SettingsStore& store);

class StreamAddressModel {
public:
    enum Column { NameColumn = 0, AddressColumn = 1 };

    // Reads the widths, the last address and the list from the store. urlFile is the
    // file the load and save dialogs propose.
    StreamAddressModel(SettingsStore& store, Prompter& prompter, std::string urlFile);

    const std::vector<StreamEntry>& rows() const { return rows_; }
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);

    const std::string& address() const { return address_; }
    void setAddress(std::string text) { address_ = std::move(text); }
    // "열기" stays disabled while the address box is empty.
    bool canOpen() const { return !address_.empty(); }

    // A click on a row puts its address into the box.
    void clickRow(int row);
    // The in-place editor's text, stored when it loses the focus.
    void setCell(int row, int column, std::string text);
    // "+", or a double click below the rows: appends a placeholder row unless the last row
    // already is one. True when a row was added.
    bool addPlaceholder();
    // "-": asks, then removes the selected rows. True when rows were removed.
    bool removeRows(const std::vector<int>& selected);

    // The menu's "불러오기": asks, lets the user pick a file and replaces the list with it.
    // The list stays as it was when the user declines or the file cannot be read.
    bool loadFromFile();
    // The menu's "파일로 저장": every row, placeholders too.
    bool saveToFile();

    // "열기": remembers the address as the one to open, stores the list, and returns it.
    std::string accept();
    // "닫기" or Escape: stores the list. Once per dialog; accept() has done it already.
    void close();

private:
    void store();
    bool confirmOverwrite(const std::string& path);

    SettingsStore& store_;
    Prompter& prompter_;
    std::string urlFile_;
    std::vector<StreamEntry> rows_;
    std::string address_;
    std::array<int, 2> widths_{};
    bool stored_ = false;
};

}  // namespace orvalis
