#include "settings/FileAssociations.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/DesktopEntry.h"
#include "base/IniDocument.h"
#include "base/TextCodec.h"
#include "settings/FileTarget.h"

namespace orvalis {

namespace {

constexpr const char* kDefaultsGroup = "Default Applications";
constexpr const char* kEntryGroup = "Desktop Entry";
constexpr std::size_t kMaxKeyFile = 16u << 20;

IniDocument::Options keyFileOptions() {
    return {.quoteValues = false, .keepOtherLines = true, .windowsQuotes = false};
}

std::vector<std::string> splitList(std::string_view value) {
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos <= value.size()) {
        std::size_t end = value.find(';', pos);
        if (end == std::string_view::npos) end = value.size();
        std::string_view item = text::trimWhitespace(value.substr(pos, end - pos));
        if (!item.empty()) items.emplace_back(item);
        pos = end + 1;
    }
    return items;
}

// The list with ours taken out, written as the user wrote it (with or without the
// closing ";"), so that setting and clearing a box gives back the line it found.
std::string joinList(const std::vector<std::string>& items, bool closingSemicolon) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ';';
        out += items[i];
    }
    if (closingSemicolon && !out.empty()) out += ';';
    return out;
}

std::vector<std::string> othersIn(std::string_view value) {
    auto items = splitList(value);
    std::erase(items, std::string(kDesktopEntryName));
    return items;
}

bool closesWithSemicolon(std::string_view value) {
    value = text::trimWhitespace(value);
    return value.empty() || value.back() == ';';
}

// Makes ours the default of type, keeping the others after it as fallbacks. True when
// the list changed.
bool makeDefault(IniDocument& doc, const std::string& type) {
    const std::string* old = doc.find(kDefaultsGroup, type);
    if (!old) {
        doc.set(kDefaultsGroup, type, std::string(kDesktopEntryName) + ";");
        return true;
    }
    auto items = splitList(*old);
    if (!items.empty() && items.front() == kDesktopEntryName) return false;
    std::string rest = joinList(othersIn(*old), closesWithSemicolon(*old));
    doc.set(kDefaultsGroup, type, std::string(kDesktopEntryName) + ";" + rest);
    return true;
}

bool dropDefault(IniDocument& doc, const std::string& type) {
    const std::string* old = doc.find(kDefaultsGroup, type);
    if (!old) return false;
    auto items = splitList(*old);
    if (std::find(items.begin(), items.end(), kDesktopEntryName) == items.end()) return false;
    auto others = othersIn(*old);
    if (others.empty()) {
        doc.remove(kDefaultsGroup, type);
    } else {
        doc.set(kDefaultsGroup, type, joinList(others, closesWithSemicolon(*old)));
    }
    return true;
}

// Escapes of a desktop entry string value.
std::string escapeString(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string unescapeString(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        switch (char n = s[++i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                out += n;
        }
    }
    return out;
}

bool hasControlCharacter(std::string_view s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

constexpr const char* kBadProgramPath = "이 프로그램의 경로로는 프로그램 연결을 만들 수 없습니다.";
constexpr const char* kListUnreadable =
    "연결 설정 파일을 읽을 수 없어 프로그램 연결을 바꾸지 않았습니다.";
constexpr const char* kListGarbled =
    "연결 설정 파일의 내용을 알 수 없어 프로그램 연결을 바꾸지 않았습니다.";
constexpr const char* kListUnwritable =
    "연결 설정 파일에 쓸 수 없어 프로그램 연결을 바꾸지 않았습니다.";
constexpr const char* kEntryUnwritable =
    "프로그램 등록 파일에 쓸 수 없어 프로그램 연결을 바꾸지 않았습니다.";

AssociationOutcome failure(const char* what, const std::string& path) {
    return {false, std::string(what) + "\n" + path};
}

std::optional<IniDocument> readKeyFile(const std::string& path) {
    auto bytes = readWholeFile(path, kMaxKeyFile);
    if (!bytes || !isWellFormedKeyFile(*bytes)) return std::nullopt;
    return IniDocument::parse(*bytes, keyFileOptions());
}

}  // namespace

const std::vector<AssociatedExtension>& associatedExtensions() {
    static const std::vector<AssociatedExtension> table = {
        {"asf", 1065, {"application/vnd.ms-asf"}},
        {"asx", 1066, {"audio/x-ms-asx"}},
        {"avi", 1067, {"video/x-msvideo"}},
        // Video CD tracks: no name or content rule of the desktop gives them a type, and
        // claiming a catch-all type would hand every unknown file to the player.
        {"dat", 1068, {}},
        // Elementary MPEG video and MPEG audio have no name rule; the desktop knows such
        // files by their content as video/mpeg and audio/mpeg.
        {"m1v", 1069, {"video/mpeg"}},
        {"m2v", 1070, {"video/mpeg"}},
        {"m3u", 1071, {"audio/x-mpegurl", "application/vnd.apple.mpegurl"}},
        {"mp2", 1072, {"audio/mp2", "video/mpeg"}},
        {"mp3", 1073, {"audio/mpeg"}},
        {"mpa", 1074, {"audio/mpeg"}},
        {"mpe", 1075, {"video/mpeg"}},
        {"mpeg", 1076, {"video/mpeg"}},
        {"mpg", 1077, {"video/mpeg"}},
        {"wav", 1078, {"audio/x-wav"}},
        {"wma", 1079, {"audio/x-ms-wma"}},
        {"wmv", 1080, {"video/x-ms-wmv"}},
        {"ogg",
         1083,
         {"audio/ogg", "video/ogg", "audio/x-vorbis+ogg", "audio/x-flac+ogg", "audio/x-speex+ogg",
          "video/x-theora+ogg"}},
        {"ogm", 1084, {"video/x-ogm+ogg"}},
    };
    return table;
}

std::vector<int> boxesInStep(int index) {
    const auto& table = associatedExtensions();
    std::vector<bool> in(table.size(), false);
    if (index < 0 || index >= static_cast<int>(table.size())) return {};
    in[static_cast<std::size_t>(index)] = true;
    // Grow the set until no box outside it shares a type with a box inside it.
    for (bool grew = true; grew;) {
        grew = false;
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (in[i]) continue;
            for (std::size_t j = 0; j < table.size() && !in[i]; ++j) {
                if (!in[j]) continue;
                for (const auto& type : table[i].mimeTypes) {
                    const auto& other = table[j].mimeTypes;
                    if (std::find(other.begin(), other.end(), type) != other.end()) {
                        in[i] = grew = true;
                        break;
                    }
                }
            }
        }
    }
    std::vector<int> out;
    for (std::size_t i = 0; i < in.size(); ++i)
        if (in[i]) out.push_back(static_cast<int>(i));
    return out;
}

std::vector<std::string> associatedMimeTypes() {
    std::vector<std::string> out;
    for (const auto& e : associatedExtensions())
        for (const auto& type : e.mimeTypes)
            if (std::find(out.begin(), out.end(), type) == out.end()) out.push_back(type);
    return out;
}

AssociationPlaces AssociationPlaces::forCurrentUser(std::string programPath) {
    AssociationPlaces p;
    p.configHome = paths::configHome();
    p.dataHome = paths::dataHome();
    p.programPath = std::move(programPath);
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    std::string_view list = desktops ? desktops : "";
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t end = list.find(':', pos);
        if (end == std::string_view::npos) end = list.size();
        std::string name = text::toLowerAscii(list.substr(pos, end - pos));
        // A name becomes part of a file name: only plain names count.
        if (!name.empty() && name.find('/') == std::string::npos && name[0] != '.')
            p.desktopNames.push_back(name);
        pos = end + 1;
    }
    return p;
}

std::string desktopEntryExec(std::string_view programPath) {
    std::string quoted = "\"";
    for (char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += "\" %U";
    return escapeString(quoted);
}

std::optional<std::string> execProgram(std::string_view exec) {
    std::string value = unescapeString(text::trimWhitespace(exec));
    if (value.empty()) return std::nullopt;
    std::string program;
    if (value.front() != '"') {
        program = value.substr(0, value.find(' '));
    } else {
        std::size_t i = 1;
        for (; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\' && i + 1 < value.size()) ++i;
            program += value[i];
        }
        if (i == value.size()) return std::nullopt;  // no closing quote
    }
    std::string out;
    for (std::size_t i = 0; i < program.size(); ++i) {
        out += program[i];
        if (program[i] == '%' && i + 1 < program.size() && program[i + 1] == '%') ++i;
    }
    return out;
}

bool isWellFormedKeyFile(std::string_view bytes) {
    if (!text::isValidUtf8(bytes) || bytes.find('\0') != std::string_view::npos) return false;
    bool inGroup = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = text::trimWhitespace(bytes.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) return false;
            inGroup = true;
            continue;
        }
        std::size_t eq = line.find('=');
        if (!inGroup || eq == std::string_view::npos || eq == 0) return false;
    }
    return true;
}

namespace {

std::vector<std::string> dataDirsFromEnvironment() {
    const char* env = std::getenv("XDG_DATA_DIRS");
    std::string_view list = env && *env ? env : "/usr/local/share:/usr/share";
    std::vector<std::string> dirs;
    while (!list.empty()) {
        const std::size_t end = list.find(':');
        std::string_view dir = list.substr(0, end);
        if (!dir.empty() && dir.front() == '/') dirs.emplace_back(dir);
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    }
    return dirs;
}

// Keys that decide what the entry runs and which files it opens: always the packaged ones.
// The rest (icon, comments, keywords) a user may have changed, and only missing ones are
// added.
constexpr std::string_view kOwnKeys[] = {"Type",    "Name", "GenericName", "GenericName[ko]",
                                         "TryExec", "Exec", "Terminal",    "Categories",
                                         "MimeType"};

}  // namespace

std::string desktopEntryText(std::string_view programPath, std::string_view existing) {
    IniDocument entry(keyFileOptions());
    if (!existing.empty() && isWellFormedKeyFile(existing))
        entry = IniDocument::parse(existing, keyFileOptions());
    const IniDocument packaged = IniDocument::parse(desktop::entryTemplate(), keyFileOptions());
    for (const auto& [key, value] : packaged.entries(kEntryGroup)) {
        const bool own =
            std::find(std::begin(kOwnKeys), std::end(kOwnKeys), key) != std::end(kOwnKeys);
        if (!own && entry.find(kEntryGroup, key)) continue;
        if (key == "TryExec") {
            entry.set(kEntryGroup, key, escapeString(programPath));
        } else if (key == "Exec") {
            entry.set(kEntryGroup, key, desktopEntryExec(programPath));
        } else {
            entry.set(kEntryGroup, key, value);
        }
    }
    return entry.serialize();
}

DesktopAssociations::DesktopAssociations(AssociationPlaces places)
    : DesktopAssociations(std::move(places), dataDirsFromEnvironment()) {}

DesktopAssociations::DesktopAssociations(AssociationPlaces places,
                                         std::vector<std::string> systemDataDirs)
    : places_(std::move(places)), systemDataDirs_(std::move(systemDataDirs)) {}

std::string DesktopAssociations::installedEntryPath() const {
    for (const auto& dir : systemDataDirs_) {
        std::string path = dir + "/applications/" + kDesktopEntryName;
        if (fileExists(path)) return path;
    }
    return {};
}

std::string DesktopAssociations::effectiveEntryPath() const {
    const std::string own = inspectFileTarget(desktopEntryPath()).path;
    return fileExists(own) ? own : installedEntryPath();
}

std::string DesktopAssociations::desktopEntryPath() const {
    return places_.dataHome + "/applications/" + kDesktopEntryName;
}

std::string DesktopAssociations::mimeappsPath() const {
    return places_.configHome + "/mimeapps.list";
}

bool DesktopAssociations::entryStartsThisProgram(const std::string& path) const {
    if (path.empty()) return false;
    auto entry = readKeyFile(path);
    if (!entry) return false;
    const std::string* exec = entry->find(kEntryGroup, "Exec");
    auto program = exec ? execProgram(*exec) : std::nullopt;
    return program && !places_.programPath.empty() && *program == places_.programPath;
}

ExtensionStates DesktopAssociations::read() const {
    ExtensionStates states{};
    if (!entryStartsThisProgram(effectiveEntryPath())) return states;
    // The user's lists in the desktop's order: its own lists first, then the common one.
    std::vector<IniDocument> lists;
    for (const auto& path : desktopListPaths())
        if (auto doc = readKeyFile(path)) lists.push_back(std::move(*doc));
    if (auto doc = readKeyFile(inspectFileTarget(mimeappsPath()).path))
        lists.push_back(std::move(*doc));

    auto oursByDefault = [&](const std::string& type) {
        for (const auto& list : lists) {
            const std::string* value = list.find(kDefaultsGroup, type);
            if (!value) continue;
            auto items = splitList(*value);
            if (items.empty()) continue;
            return items.front() == kDesktopEntryName;
        }
        return false;
    };
    const auto& table = associatedExtensions();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& types = table[i].mimeTypes;
        states[i] = !types.empty() && std::all_of(types.begin(), types.end(), oursByDefault);
    }
    return states;
}

// Only the user's own files are ever written, even where a link leads elsewhere.
bool DesktopAssociations::isUsersOwn(const FileTarget& target) const {
    for (const auto& folder : {places_.configHome, places_.dataHome, paths::homeDir()})
        if (isInsideFolder(target.path, folder)) return !target.exists || target.ownedByUser;
    return false;
}

AssociationOutcome DesktopAssociations::writeDesktopEntry() const {
    FileTarget target = inspectFileTarget(desktopEntryPath());
    if (!isUsersOwn(target) || (target.exists && (!target.regular || !target.writable)))
        return failure(kEntryUnwritable, target.path);
    // Keys a user added to our entry stay; an entry that is not a key file is ours to redo.
    std::optional<std::string> old;
    if (target.exists) old = readWholeFile(target.path, kMaxKeyFile);
    std::string text = desktopEntryText(places_.programPath, old ? *old : std::string());
    if (old && *old == text) return {};
    if (!writeFileAtomically(target.path, text)) return failure(kEntryUnwritable, target.path);
    return {};
}

namespace {

struct TypeChanges {
    std::vector<std::string> make;  // ours as the default
    std::vector<std::string> drop;  // ours taken out
};

// The types of the boxes that changed (every box when everyBox), in table order: a box
// now checked makes its types ours, a box now cleared takes ours off its types unless a
// checked box shares them. Types of boxes left as they were stay as they are.
TypeChanges changedTypes(const ExtensionStates& shown, const ExtensionStates& wanted,
                         bool everyBox) {
    const auto& table = associatedExtensions();
    std::set<std::string> make, drop, kept;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& types = table[i].mimeTypes;
        if (wanted[i]) kept.insert(types.begin(), types.end());
        if (!everyBox && shown[i] == wanted[i]) continue;
        (wanted[i] ? make : drop).insert(types.begin(), types.end());
    }
    TypeChanges out;
    for (const auto& type : associatedMimeTypes()) {
        if (make.count(type)) out.make.push_back(type);
        if (drop.count(type) && !kept.count(type)) out.drop.push_back(type);
    }
    return out;
}

}  // namespace

struct DesktopAssociations::EditedList {
    std::string path;
    IniDocument doc{keyFileOptions()};
    bool desktopOwn = false;
};

std::vector<std::string> DesktopAssociations::desktopListPaths() const {
    std::vector<std::string> out;
    for (const auto& name : places_.desktopNames)
        out.push_back(places_.configHome + "/" + name + "-mimeapps.list");
    return out;
}

// A list that can be edited safely: the user's own, a readable key file, writable. A
// missing file reads as empty (it is created when written).
std::optional<AssociationOutcome> DesktopAssociations::openList(const std::string& path,
                                                                EditedList& out) const {
    FileTarget list = inspectFileTarget(path);
    out.path = list.path;
    if (!isUsersOwn(list)) return failure(kListUnwritable, list.path);
    if (!list.exists) return std::nullopt;
    auto bytes =
        list.regular && list.readable ? readWholeFile(list.path, kMaxKeyFile) : std::nullopt;
    if (!bytes) return failure(kListUnreadable, list.path);
    if (!isWellFormedKeyFile(*bytes)) return failure(kListGarbled, list.path);
    if (!list.writable) return failure(kListUnwritable, list.path);
    out.doc = IniDocument::parse(*bytes, keyFileOptions());
    return std::nullopt;
}

AssociationOutcome DesktopAssociations::apply(const ExtensionStates& wanted) const {
    return apply(read(), wanted);
}

AssociationOutcome DesktopAssociations::apply(const ExtensionStates& shown,
                                              const ExtensionStates& wanted) const {
    const std::string& program = places_.programPath;
    if (program.empty() || program.front() != '/' || hasControlCharacter(program) ||
        !text::isValidUtf8(program))
        return failure(kBadProgramPath, program);

    // Look at every list the desktop reads before anything is written: if one cannot be
    // edited safely, nothing changes at all. The desktop's own lists come first when it
    // reads; only those that exist are edited.
    std::vector<EditedList> lists;
    for (const auto& path : desktopListPaths()) {
        if (!fileExists(inspectFileTarget(path).path)) continue;
        EditedList list;
        list.desktopOwn = true;
        if (auto refused = openList(path, list)) return *refused;
        lists.push_back(std::move(list));
    }
    EditedList common;
    if (auto refused = openList(mimeappsPath(), common)) return *refused;
    lists.push_back(std::move(common));

    // While our entry started another program (or none), the boxes all read clear and any
    // default naming it was not ours: every box then says what the user wants.
    const bool boxesWereRead = entryStartsThisProgram(effectiveEntryPath());
    // The installed entry serves as long as the user has none of their own to shadow it.
    const bool installedServes = !fileExists(inspectFileTarget(desktopEntryPath()).path) &&
                                 entryStartsThisProgram(installedEntryPath());
    if (!installedServes)
        if (AssociationOutcome entry = writeDesktopEntry(); !entry.ok) return entry;

    const auto [make, drop] = changedTypes(shown, wanted, !boxesWereRead);
    for (EditedList& list : lists) {
        bool changed = false;
        for (const auto& type : make)
            // A desktop's own list decides only the types it names.
            if (!list.desktopOwn || list.doc.find(kDefaultsGroup, type))
                changed |= makeDefault(list.doc, type);
        for (const auto& type : drop) changed |= dropDefault(list.doc, type);
        if (changed && !writeFileAtomically(list.path, list.doc.serialize()))
            return failure(kListUnwritable, list.path);
    }
    return {};
}

}  // namespace orvalis
