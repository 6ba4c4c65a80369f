#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>

#include "base/IniDocument.h"
#include "base/SettingsStore.h"

namespace orvalis {

// The settings tree in INI files. Every put reaches the disk at once, replacing its file
// atomically under an advisory lock, so two processes never lose each other's writes;
// every read first looks whether the file changed on the disk and reloads it when it did.
// A missing, empty or garbled file reads as defaults.
//
// The play list (section Playlist\Lists, up to hundreds of thousands of keys) lives in a
// file of its own beside the settings file, so that a put of any other key rewrites only a
// few kilobytes. A list found in the settings file (written before the list had its own
// file, or by an older copy of the program) is the newest one: it is moved into the list
// file at the next write, and read from where it is until then.
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

    const std::string& path() const { return main_.path; }
    const std::string& listPath() const { return list_.path; }
    // The list file that belongs to a settings file.
    static std::string listPathFor(const std::string& settingsPath);
    // False when the last write could not replace its file (the old file stays whole).
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
    struct File {
        std::string path;
        IniDocument doc;
        Stamp stamp;
        bool dirty = false;  // a batch holds changes that are not on the disk yet
    };
    static bool isListSection(std::string_view section);
    File& fileFor(std::string_view section);
    const IniDocument& docFor(std::string_view section) const;
    void refresh(File& file) const;
    void load(File& file) const;
    static Stamp statOf(const std::string& path);
    bool reloadChangedLocked(bool withList);
    bool moveListOutLocked();
    template <typename Edit>
    void modify(std::string_view section, Edit&& edit);
    bool flushLocked(File& file);
    int lockFile() const;

    mutable File main_;
    mutable File list_;
    int batchDepth_ = 0;
    int batchLockFd_ = -1;
    bool batchOk_ = true;
    bool lastWriteOk_ = true;
};

}  // namespace orvalis
