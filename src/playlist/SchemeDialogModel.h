#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "playlist/ColorScheme.h"

namespace orvalis {

namespace schemes {
inline constexpr const char* kDialogTitle = "색상 선택";
inline constexpr const char* kMenuButton = "기본 메뉴(&F)";
inline constexpr const char* kNamePromptTitle = "색상표 이름";
inline constexpr const char* kCopyDescription = "추가할 색상표 이름을 입력하세요.";
inline constexpr const char* kRenameDescription = "새로운 색상표 이름을 입력하세요.";
}  // namespace schemes

// The scheme-name prompt: a description line and a one-line edit box holding the initial
// text. The dialog that shows it limits the box to schemes::kNameUnits CP949 units.
class SchemeNamePrompt {
public:
    virtual ~SchemeNamePrompt() = default;
    // The name entered, or nothing when cancelled.
    virtual std::optional<std::string> askName(const std::string& description,
                                               const std::string& initial) = 0;
};

// What the colour-scheme dialog edits: a working copy of the stored set, the scheme chosen
// in the list, the colour slot chosen in the slot list, and the commands of its menu. The
// store is written only by accept(); a dialog that is cancelled simply drops the model.
class SchemeDialogModel {
public:
    SchemeDialogModel(SettingsStore& store, Prompter& prompter, SchemeNamePrompt& namePrompt);

    // Reads the stored set and selects the scheme named by SkinName, else "Blue", else none
    // (then edits have no target until a scheme is chosen). Slot 0 is chosen.
    void open();

    const std::vector<ColorScheme>& schemes() const { return schemes_; }
    // Index of the chosen scheme, or -1.
    int current() const { return current_; }
    bool hasCurrent() const { return current_ >= 0; }
    SchemeSlot slot() const { return slot_; }
    // The chosen slot's colour in the chosen scheme; 0 without a scheme.
    Colorref pickerColor() const;
    // The chosen scheme's colours (all 0 without one), for the preview.
    ColorScheme previewScheme() const;

    void selectScheme(int index);
    void selectSlot(SchemeSlot slot);
    void pickColor(Colorref color);

    // The commands of the dialog's menu.
    void importFile();
    void exportFile();
    void renameCurrent();
    void copyCurrent();
    void deleteAll();

    // OK: the whole set, and SkinName = the chosen scheme (empty without one), in one write.
    void accept();

private:
    enum class NameUse { Copy, Rename };
    std::optional<std::string> askUniqueName(NameUse use);
    bool nameTaken(const std::string& name, int except) const;
    int findName(const std::string& name) const;

    SettingsStore& store_;
    Prompter& prompter_;
    SchemeNamePrompt& namePrompt_;
    std::vector<ColorScheme> schemes_;
    int current_ = -1;
    SchemeSlot slot_ = SchemeSlot::Back;
};

// Menu 177 under the dialog's menu button, in its order.
struct SchemeMenuCommand {
    int id;
    const char* label;
    void (SchemeDialogModel::*run)();
};
const std::array<SchemeMenuCommand, 5>& schemeMenu();

}  // namespace orvalis
