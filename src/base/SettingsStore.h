#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// The per-user settings tree: sections (which may nest with "\"), keys, integers and
// strings. Nothing holds defaults: every reader passes its own, and a missing or
// unreadable value yields it.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual int getInt(std::string_view section, std::string_view key, int def) const = 0;
    virtual std::string getString(std::string_view section, std::string_view key,
                                  std::string_view def = {}) const = 0;
    virtual void putInt(std::string_view section, std::string_view key, int value) = 0;
    virtual void putString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;

    virtual void removeKey(std::string_view section, std::string_view key) = 0;
    // Removes the section itself, not the sections nested below it.
    virtual void removeSection(std::string_view section) = 0;
    virtual std::vector<std::string> keys(std::string_view section) const = 0;

    // Puts between begin and end reach the file once, at the outermost end: a list of
    // thousands of entries is written in one atomic replacement, not thousands.
    virtual void beginBatch() = 0;
    virtual void endBatch() = 0;
};

class SettingsBatch {
public:
    explicit SettingsBatch(SettingsStore& store) : store_(store) { store_.beginBatch(); }
    ~SettingsBatch() { store_.endBatch(); }
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    SettingsStore& store_;
};

}  // namespace orvalis
