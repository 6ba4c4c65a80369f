#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/SettingsStore.h"
#include "settings/FileAssociations.h"
#include "settings/SheetTables.h"

namespace orvalis {

struct FieldValue {
    int number = 0;    // check boxes, edits of numbers, colours, radio and combo indexes
    std::string text;  // paths and names
    std::vector<std::string> list;  // the caption folders
    bool operator==(const FieldValue&) const = default;
};

// What the sheet takes from around it.
struct SheetEnvironment {
    std::string picturesFolder;  // stands where the program once said "C:\"
    std::string osVersion;       // Version/OSVersion: "95" and "98" switch the association page off

    static SheetEnvironment current(const SettingsStore& store);
};

// The values the seven pages show, from the moment the sheet opens until OK stores them.
// Nothing here touches the store except load and store; resets and imports change these
// values only. Every change settles the page: check boxes hold 0 or 1, an index outside a
// group's choices stands for the group's fallback, an empty picture folder is the user's
// pictures folder, and a check box that its rule disables with "off" reads 0.
class PageValues {
public:
    explicit PageValues(SheetEnvironment environment = {});

    // Every page from the store with its read defaults. The association boxes are left
    // alone: the desktop, not the store, holds them (setExtensionsFromDesktop).
    void load(const SettingsStore& store);
    // Every page's fields in OK order (general, caption, custom, control, playlist,
    // screen) in one write. The association page is the desktop's and is not stored here.
    void store(SettingsStore& store) const;

    void resetPage(int page);
    // General, caption, custom, control, screen, playlist and association, in that order.
    void resetAll();

    const FieldValue& value(int page, int field) const;
    const std::vector<FieldValue>& pageValues(int page) const;
    // Replaces a whole page at once and settles it once, as an import fills a page: no
    // rule acts on a half-filled page. On the association page a checked box checks the
    // boxes in step with it.
    void setPage(int page, std::vector<FieldValue> values);
    // Sets a field as its control would (on the association page: with its boxes in step).
    void set(int page, int field, FieldValue value);

    // The same by settings-store section and key (on the association page: "" and the
    // extension). Unknown keys read 0 or empty and are not set.
    int number(std::string_view section, std::string_view key) const;
    const std::string& text(std::string_view section, std::string_view key) const;
    const std::vector<std::string>& list(std::string_view section, std::string_view key) const;
    void setNumber(std::string_view section, std::string_view key, int value);
    void setText(std::string_view section, std::string_view key, std::string value);
    void setList(std::string_view section, std::string_view key, std::vector<std::string> value);

    // Whether a control of a page can be used now, by the page's rules.
    bool isEnabled(int page, int controlId) const;

    // The association page. Boxes of extensions the desktop has no type for stay clear.
    bool associationPageEnabled() const;
    ExtensionStates extensions() const;
    // The boxes as the desktop reads: a set of boxes in step reads checked only when
    // every one of them does.
    void setExtensionsFromDesktop(const ExtensionStates& states);
    // Checks or clears a box and every box in step with it.
    void setExtension(int index, bool checked);
    // "전체 선택" and "선택 해제".
    void setAllExtensions(bool checked);

    const SheetEnvironment& environment() const { return environment_; }

private:
    struct Place {
        int page = -1;
        int field = -1;
    };
    Place locate(std::string_view section, std::string_view key) const;
    bool ruleHolds(int page, const EnableRule& rule) const;
    void settleField(const PageField& field, FieldValue& value) const;
    void settle(int page);

    SheetEnvironment environment_;
    std::vector<std::vector<FieldValue>> values_;
};

}  // namespace orvalis
