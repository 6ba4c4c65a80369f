#include "settings/SettingsFile.h"

#include <climits>

#include "base/AtomicFile.h"
#include "base/TextCodec.h"
#include "settings/FileTarget.h"

namespace orvalis {

namespace {

constexpr std::size_t kMaxSettingsFile = 64u << 20;

IniDocument::Options profileOptions() {
    return {.quoteValues = false, .keepOtherLines = true, .windowsQuotes = true};
}

std::string valueText(const PageField& field, const FieldValue& value) {
    switch (field.kind()) {
        case ValueKind::Text:
            return value.text;
        case ValueKind::List: {
            std::string joined;
            for (const auto& folder : value.list) joined += folder + ";";
            return joined;
        }
        case ValueKind::Number:
            break;
    }
    return std::to_string(value.number);
}

// "CaptionFolder": pieces between ";", trimmed, empty ones dropped. A value cut at the
// length limit ends in part of a folder name, which names no folder: that piece goes too.
std::vector<std::string> splitFolders(std::string_view value, bool cut) {
    std::vector<std::string> folders;
    std::size_t pos = 0;
    while (pos < value.size()) {
        std::size_t end = value.find(';', pos);
        bool complete = end != std::string_view::npos;
        if (!complete) end = value.size();
        std::string_view piece = text::trimWhitespace(value.substr(pos, end - pos));
        if (!piece.empty() && (complete || !cut)) folders.emplace_back(piece);
        pos = end + 1;
    }
    return folders;
}

}  // namespace

ProfileReader::ProfileReader(std::string_view bytes)
    : doc_(IniDocument::parse(text::decode(bytes), profileOptions())) {}

std::string ProfileReader::getString(std::string_view section, std::string_view key,
                                     bool* cut) const {
    const std::string* value = doc_.find(section, key);
    std::string_view v = value ? std::string_view(*value) : std::string_view();
    std::string_view kept = text::prefixWithinUnits(v, kProfileValueUnits);
    if (cut) *cut = kept.size() < v.size();
    return std::string(kept);
}

bool ProfileReader::has(std::string_view section, std::string_view key) const {
    return doc_.find(section, key) != nullptr;
}

int ProfileReader::getInt(std::string_view section, std::string_view key) const {
    return profileNumber(getString(section, key));
}

int profileNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        n = n * 10 + (text[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) break;  // past the range: its end
    }
    if (negative) n = -n;
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return static_cast<int>(n);
}

std::string settingsFileText(const PageValues& values, std::string_view existingText) {
    IniDocument doc = IniDocument::parse(existingText, profileOptions());
    for (int index : kFileOrder) {
        const SheetPage& p = sheetPages()[static_cast<std::size_t>(index)];
        for (std::size_t i = 0; i < p.fields.size(); ++i) {
            const PageField& f = p.fields[i];
            if (!f.exportKey.empty())
                doc.set(p.exportSection, f.exportKey,
                        valueText(f, values.value(index, static_cast<int>(i))));
        }
    }
    return doc.serialize();
}

void applySettingsFile(PageValues& values, const ProfileReader& file) {
    for (int index : kFileOrder) {
        const SheetPage& p = sheetPages()[static_cast<std::size_t>(index)];
        std::vector<FieldValue> page = values.pageValues(index);
        for (std::size_t i = 0; i < p.fields.size(); ++i) {
            const PageField& f = p.fields[i];
            if (f.exportKey.empty()) continue;
            // A key the file does not hold (a file cut short, edited by hand or written by
            // an older version) keeps what the page shows: reading it as 0 would switch
            // bookmarks off and make the seek track vanish.
            if (!file.has(p.exportSection, f.exportKey)) continue;
            switch (f.kind()) {
                case ValueKind::Number:
                    page[i].number = file.getInt(p.exportSection, f.exportKey);
                    break;
                case ValueKind::Text:
                    page[i].text = file.getString(p.exportSection, f.exportKey);
                    break;
                case ValueKind::List: {
                    bool cut = false;
                    std::string joined = file.getString(p.exportSection, f.exportKey, &cut);
                    page[i].list = splitFolders(joined, cut);
                    break;
                }
            }
        }
        values.setPage(index, std::move(page));
    }
}

SettingsFileResult exportSettingsFile(const PageValues& values, const std::string& path) {
    FileTarget target = inspectFileTarget(path);
    std::string existing;
    if (target.exists) {
        if (!target.regular) return SettingsFileResult::CannotWrite;
        auto bytes = target.readable ? readWholeFile(target.path, kMaxSettingsFile) : std::nullopt;
        if (!bytes) return SettingsFileResult::CannotRead;
        if (!target.writable) return SettingsFileResult::CannotWrite;
        existing = text::decode(*bytes);
    }
    return writeFileAtomically(target.path, settingsFileText(values, existing))
               ? SettingsFileResult::Done
               : SettingsFileResult::CannotWrite;
}

SettingsFileResult importSettingsFile(PageValues& values, const std::string& path) {
    auto bytes = readWholeFile(path, kMaxSettingsFile);
    if (!bytes) return SettingsFileResult::CannotRead;
    applySettingsFile(values, ProfileReader(*bytes));
    return SettingsFileResult::Done;
}

}  // namespace orvalis
