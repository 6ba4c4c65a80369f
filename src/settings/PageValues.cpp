#include "settings/PageValues.h"

#include <algorithm>

#include "base/AppPaths.h"
#include "base/SettingsKeys.h"

namespace orvalis {

namespace {

const FieldValue& emptyValue() {
    static const FieldValue empty;
    return empty;
}

bool validPage(int page) {
    return page >= 0 && page < page::Count;
}

std::vector<std::string> loadFolders(const SettingsStore& store, const std::string& section,
                                     const std::string& countKey) {
    // A count the section cannot hold (a garbled file) never makes thousands of reads.
    int count = store.getInt(section, countKey, 0);
    int present = static_cast<int>(store.keys(section).size());
    count = std::clamp(count, 0, present);
    std::vector<std::string> folders;
    for (int i = 0; i < count; ++i) {
        std::string folder = store.getString(section, settings::indexKey(i));
        if (!folder.empty()) folders.push_back(std::move(folder));
    }
    return folders;
}

void storeFolders(SettingsStore& store, const std::string& section, const std::string& countKey,
                  const std::vector<std::string>& folders) {
    int count = static_cast<int>(folders.size());
    store.putInt(section, countKey, count);
    for (int i = 0; i < count; ++i)
        store.putString(section, settings::indexKey(i), folders[static_cast<std::size_t>(i)]);
    // Entries past the new end would come back if the count ever grew again.
    for (const auto& key : store.keys(section)) {
        if (key.empty() ||
            !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        if (key.size() > 9 || std::stoi(key) >= count) store.removeKey(section, key);
    }
}

}  // namespace

SheetEnvironment SheetEnvironment::current(const SettingsStore& store) {
    return {paths::picturesDir(), settings::get(store, keys::OSVersion)};
}

PageValues::PageValues(SheetEnvironment environment) : environment_(std::move(environment)) {
    for (const auto& p : sheetPages()) {
        std::vector<FieldValue> fields(p.fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i].number = p.fields[i].readNumber;
            fields[i].text = p.fields[i].readText;
        }
        values_.push_back(std::move(fields));
    }
    for (int p = 0; p < page::Count; ++p) settle(p);
}

void PageValues::load(const SettingsStore& store) {
    for (const auto& p : sheetPages()) {
        for (std::size_t i = 0; i < p.fields.size(); ++i) {
            const PageField& f = p.fields[i];
            if (f.section.empty()) continue;
            FieldValue& v = values_[static_cast<std::size_t>(p.index)][i];
            switch (f.kind()) {
                case ValueKind::Number:
                    v.number = store.getInt(f.section, f.key, f.readNumber);
                    break;
                case ValueKind::Text:
                    v.text = store.getString(f.section, f.key, f.readText);
                    break;
                case ValueKind::List:
                    v.list = loadFolders(store, f.section, f.key);
                    break;
            }
        }
        settle(p.index);
    }
}

void PageValues::store(SettingsStore& store) const {
    SettingsBatch batch(store);
    for (int index : kStoreOrder) {
        const SheetPage& p = sheetPages()[static_cast<std::size_t>(index)];
        for (std::size_t i = 0; i < p.fields.size(); ++i) {
            const PageField& f = p.fields[i];
            if (f.section.empty()) continue;
            const FieldValue& v = values_[static_cast<std::size_t>(index)][i];
            switch (f.kind()) {
                case ValueKind::Number:
                    store.putInt(f.section, f.key, v.number);
                    break;
                case ValueKind::Text:
                    store.putString(f.section, f.key, v.text);
                    break;
                case ValueKind::List:
                    storeFolders(store, f.section, f.key, v.list);
                    break;
            }
        }
    }
}

void PageValues::resetPage(int page) {
    if (!validPage(page)) return;
    const SheetPage& p = sheetPages()[static_cast<std::size_t>(page)];
    for (std::size_t i = 0; i < p.fields.size(); ++i) {
        const PageField& f = p.fields[i];
        if (!f.resets) continue;
        values_[static_cast<std::size_t>(page)][i] = FieldValue{f.resetNumber, f.resetText, {}};
    }
    settle(page);
}

void PageValues::resetAll() {
    for (int index : kFileOrder) resetPage(index);
}

const FieldValue& PageValues::value(int page, int field) const {
    if (!validPage(page)) return emptyValue();
    const auto& fields = values_[static_cast<std::size_t>(page)];
    if (field < 0 || field >= static_cast<int>(fields.size())) return emptyValue();
    return fields[static_cast<std::size_t>(field)];
}

const std::vector<FieldValue>& PageValues::pageValues(int page) const {
    static const std::vector<FieldValue> none;
    return validPage(page) ? values_[static_cast<std::size_t>(page)] : none;
}

void PageValues::setPage(int page, std::vector<FieldValue> values) {
    if (!validPage(page) || values.size() != values_[static_cast<std::size_t>(page)].size()) return;
    if (page == page::Association) {
        for (std::size_t i = 0; i < values.size(); ++i) values_[page::Association][i].number = 0;
        for (std::size_t i = 0; i < values.size(); ++i)
            if (values[i].number != 0) setExtension(static_cast<int>(i), true);
        return;
    }
    values_[static_cast<std::size_t>(page)] = std::move(values);
    settle(page);
}

void PageValues::set(int page, int field, FieldValue value) {
    if (&this->value(page, field) == &emptyValue()) return;
    if (page == page::Association) {
        setExtension(field, value.number != 0);
        return;
    }
    values_[static_cast<std::size_t>(page)][static_cast<std::size_t>(field)] = std::move(value);
    settle(page);
}

PageValues::Place PageValues::locate(std::string_view section, std::string_view key) const {
    for (const auto& p : sheetPages())
        for (std::size_t i = 0; i < p.fields.size(); ++i)
            if (p.fields[i].section == section && p.fields[i].key == key)
                return {p.index, static_cast<int>(i)};
    return {};
}

int PageValues::number(std::string_view section, std::string_view key) const {
    Place at = locate(section, key);
    return value(at.page, at.field).number;
}

const std::string& PageValues::text(std::string_view section, std::string_view key) const {
    Place at = locate(section, key);
    return value(at.page, at.field).text;
}

const std::vector<std::string>& PageValues::list(std::string_view section,
                                                 std::string_view key) const {
    Place at = locate(section, key);
    return value(at.page, at.field).list;
}

void PageValues::setNumber(std::string_view section, std::string_view key, int number) {
    Place at = locate(section, key);
    FieldValue v = value(at.page, at.field);
    v.number = number;
    set(at.page, at.field, std::move(v));
}

void PageValues::setText(std::string_view section, std::string_view key, std::string text) {
    Place at = locate(section, key);
    FieldValue v = value(at.page, at.field);
    v.text = std::move(text);
    set(at.page, at.field, std::move(v));
}

void PageValues::setList(std::string_view section, std::string_view key,
                         std::vector<std::string> list) {
    Place at = locate(section, key);
    FieldValue v = value(at.page, at.field);
    v.list = std::move(list);
    set(at.page, at.field, std::move(v));
}

bool PageValues::ruleHolds(int page, const EnableRule& rule) const {
    const SheetPage& p = sheetPages()[static_cast<std::size_t>(page)];
    const FieldValue& source = value(page, p.fieldIndex(rule.sourceKey));
    switch (rule.condition) {
        case RuleCondition::NonZero:
            return source.number != 0;
        case RuleCondition::Equals:
            return source.number == rule.value;
        case RuleCondition::TextSet:
            return !source.text.empty();
    }
    return true;
}

bool PageValues::isEnabled(int page, int controlId) const {
    if (!validPage(page)) return false;
    const SheetPage& p = sheetPages()[static_cast<std::size_t>(page)];
    if (page == page::Association) {
        if (!associationPageEnabled()) return false;
        int field = p.fieldIndexById(controlId);
        return field < 0 ||
               !associatedExtensions()[static_cast<std::size_t>(field)].mimeTypes.empty();
    }
    for (const auto& rule : p.rules)
        if (std::find(rule.controls.begin(), rule.controls.end(), controlId) !=
                rule.controls.end() &&
            !ruleHolds(page, rule))
            return false;
    return true;
}

void PageValues::settleField(const PageField& f, FieldValue& v) const {
    switch (f.control) {
        case FieldControl::Check:
            v.number = v.number != 0;
            break;
        case FieldControl::Radio:
        case FieldControl::Combo:
            if (v.number < 0 || v.number >= static_cast<int>(f.choices.size()))
                v.number = f.outOfRange;
            break;
        case FieldControl::Number:
            v.number = std::clamp(v.number, f.minimum, f.maximum);
            break;
        default:
            break;
    }
    if (f.picturesFolderWhenEmpty && v.text.empty()) v.text = environment_.picturesFolder;
}

void PageValues::settle(int page) {
    const SheetPage& p = sheetPages()[static_cast<std::size_t>(page)];
    auto& fields = values_[static_cast<std::size_t>(page)];
    for (std::size_t i = 0; i < fields.size(); ++i) settleField(p.fields[i], fields[i]);
    for (const auto& rule : p.rules) {
        if (!rule.offWhenDisabled || ruleHolds(page, rule)) continue;
        for (int id : rule.controls)
            if (int field = p.fieldIndexById(id); field >= 0)
                fields[static_cast<std::size_t>(field)].number = 0;
    }
}

bool PageValues::associationPageEnabled() const {
    return environment_.osVersion != "95" && environment_.osVersion != "98";
}

ExtensionStates PageValues::extensions() const {
    ExtensionStates states{};
    const auto& boxes = values_[page::Association];
    for (std::size_t i = 0; i < states.size() && i < boxes.size(); ++i)
        states[i] = boxes[i].number != 0;
    return states;
}

void PageValues::setExtensionsFromDesktop(const ExtensionStates& states) {
    auto& boxes = values_[page::Association];
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        auto group = boxesInStep(static_cast<int>(i));
        bool all = !group.empty() && std::all_of(group.begin(), group.end(), [&](int b) {
            return states[static_cast<std::size_t>(b)];
        });
        boxes[i].number = all;
    }
}

void PageValues::setExtension(int index, bool checked) {
    auto& boxes = values_[page::Association];
    const auto& table = associatedExtensions();
    for (int b : boxesInStep(index))
        boxes[static_cast<std::size_t>(b)].number =
            checked && !table[static_cast<std::size_t>(b)].mimeTypes.empty();
}

void PageValues::setAllExtensions(bool checked) {
    for (int i = 0; i < kAssociationBoxes; ++i) setExtension(i, checked);
}

}  // namespace orvalis
