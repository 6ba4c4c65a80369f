#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>

#include "app/IniDocument.h"
#include "app/SettingsStore.h"

namespace orvalis {

// The settings tree in one INI file. Every put reaches the file at once, replacing it
// atomically under an advisory lock, so two processes never lose each other's writes;
// every read first looks whether the file changed on the disk and reloads it when it did.
// A missing, empty or garbled file reads as defaults.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(std::string path);

    int getInt(std::string_view section, std::string_view key, int def) const override;
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view def = {}) const override;
    void putInt(std::string_view section, std::string_view key, int value) override;
    void putString(std::string_view section, std::string_view key,
                   std::string_view value) override;
    void removeKey(std::string_view section, std::string_view key) override;
    void removeSection(std::string_view section) override;
    std::vector<std::string> keys(std::string_view section) const override;
    void beginBatch() override;
    void endBatch() override;

    const std::string& path() const { return path_; }
    // False when the last write could not replace the file (the old file stays whole).
    bool lastWriteSucceeded() const { return lastWriteOk_; }

    // Integer text as the store reads it: decimal, optional sign, 32-bit (values up to
    // 4294967295 wrap as the registry's unsigned integers did). Anything else is missing.
    static bool parseInt(std::string_view text, int& out);

private:
    struct Stamp {
        bool exists = false;
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = 0;
        timespec mtime{};
        bool operator==(const Stamp& o) const;
    };
    Stamp statFile() const;
    void refresh() const;
    void loadLocked() const;
    template <typename Edit>
    void modify(Edit&& edit);
    bool flushLocked();
    int lockFile() const;

    std::string path_;
    mutable IniDocument doc_;
    mutable Stamp stamp_;
    int batchDepth_ = 0;
    bool dirty_ = false;
    int batchLockFd_ = -1;
    bool lastWriteOk_ = true;
};

}  // namespace orvalis
