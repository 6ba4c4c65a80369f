#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which media files the desktop opens with this program. A freedesktop desktop does not
// associate extensions but MIME types: the program announces itself in a desktop entry
// ($XDG_DATA_HOME/applications/orvalis.desktop) and is made the default application of a
// type in [Default Applications] of $XDG_CONFIG_HOME/mimeapps.list. Extensions that the
// desktop maps to one MIME type therefore form one association, and their boxes move
// together. Only these two files of the user are ever written.
namespace orvalis {

struct FileTarget;

inline constexpr int kAssociationBoxes = 18;
using ExtensionStates = std::array<bool, kAssociationBoxes>;

struct AssociatedExtension {
    const char* extension;
    int id;  // the box's control id on the page
    // The types the desktop's MIME database gives these files, by name or, where the name
    // is not listed, by content. Empty: the desktop has no type of their own for them.
    std::vector<std::string> mimeTypes;
};

// The 18 boxes of the page, in their order (the settings file's FileExt0 … FileExt17).
const std::vector<AssociatedExtension>& associatedExtensions();
// The boxes that share a MIME type with box index, directly or through another box;
// index itself included, in table order.
std::vector<int> boxesInStep(int index);
// Every MIME type of the table once, in table order: the types a box can make ours.
std::vector<std::string> associatedMimeTypes();

inline constexpr const char* kDesktopEntryName = "orvalis.desktop";
inline constexpr const char* kAssociationTitle = "Orvalis - 프로그램 연결";

struct AssociationPlaces {
    std::string configHome;   // holds mimeapps.list
    std::string dataHome;     // holds applications/orvalis.desktop
    std::string programPath;  // absolute path of the running program
    // Lower-case names of the current desktop (XDG_CURRENT_DESKTOP): their
    // <name>-mimeapps.list in configHome overrides mimeapps.list when reading.
    std::vector<std::string> desktopNames;

    static AssociationPlaces forCurrentUser(std::string programPath);
};

struct AssociationOutcome {
    bool ok = true;
    std::string message;  // for the user when not ok; nothing was changed then
};

// The program's entry is packaging/orvalis.desktop.in with the program's path (see
// desktopEntryText); `make install` puts the same entry into the system's data folder.
// While that installed entry starts this very program and the user has no entry of their
// own, the installed one serves and none is written.
class DesktopAssociations {
public:
    // The installed entry is looked for in $XDG_DATA_DIRS (default /usr/local/share and
    // /usr/share).
    explicit DesktopAssociations(AssociationPlaces places);
    DesktopAssociations(AssociationPlaces places, std::vector<std::string> systemDataDirs);

    // A box reads checked only when every type of its extension has our entry as its
    // default and that entry starts this very program (a copy elsewhere reads clear).
    ExtensionStates read() const;
    // Writes the desktop entry for this program, then, for every box the user changed
    // from what was shown, makes it the default of the box's types (checked) or takes it
    // off them (cleared); boxes left as shown change nothing, whatever their types hold.
    // While the entry did not start this program every box counts as changed. The user's
    // mimeapps.list is edited, and so is each existing list of the current desktop where
    // it names a type, since the desktop reads those first; other programs' entries and
    // every other line stay. A list that cannot be read, is not a key file, belongs to
    // someone else or cannot be written changes nothing.
    AssociationOutcome apply(const ExtensionStates& shown, const ExtensionStates& wanted) const;
    // The same, with the boxes as the desktop reads them now.
    AssociationOutcome apply(const ExtensionStates& wanted) const;

    std::string desktopEntryPath() const;
    std::string mimeappsPath() const;
    // The first orvalis.desktop of the system's data folders; empty when there is none.
    std::string installedEntryPath() const;

private:
    bool entryStartsThisProgram(const std::string& path) const;
    // The entry the desktop reads: the user's own, else the installed one.
    std::string effectiveEntryPath() const;
    bool isUsersOwn(const FileTarget& target) const;
    AssociationOutcome writeDesktopEntry() const;
    // <desktop>-mimeapps.list of each current desktop, in the desktop's order.
    std::vector<std::string> desktopListPaths() const;
    struct EditedList;
    // Reads a list to edit into out; the reason when it cannot be edited safely.
    std::optional<AssociationOutcome> openList(const std::string& path, EditedList& out) const;

    AssociationPlaces places_;
    std::vector<std::string> systemDataDirs_;
};

// The desktop entry that starts programPath: the packaged entry with TryExec and Exec
// naming the program, over the keys of an existing entry (a user's additions stay; the
// keys that say what runs and what it opens are ours).
std::string desktopEntryText(std::string_view programPath, std::string_view existing = {});

// The Exec value that starts programPath with the files given: the path quoted and
// escaped by the desktop entry rules, then "%U".
std::string desktopEntryExec(std::string_view programPath);
// The program an Exec value starts: its first argument, unescaped and unquoted.
std::optional<std::string> execProgram(std::string_view exec);
// A key file the desktop reads: UTF-8 text of groups, "key=value" lines, comments and
// blank lines, nothing else.
bool isWellFormedKeyFile(std::string_view bytes);

}  // namespace orvalis
