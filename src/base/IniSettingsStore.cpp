#include "base/IniSettingsStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>

#include "base/AtomicFile.h"
#include "base/SettingsKeys.h"
#include "base/TextCodec.h"

namespace orvalis {

namespace {

constexpr std::size_t kMaxSettingsFile = 256u << 20;

IniDocument::Options storeOptions() { return {.quoteValues = true, .keepOtherLines = false}; }

}  // namespace

bool IniSettingsStore::Stamp::operator==(const Stamp& o) const {
    return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
           mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
}

IniSettingsStore::IniSettingsStore(std::string path) {
    main_.doc = list_.doc = IniDocument(storeOptions());
    list_.path = listPathFor(path);
    main_.path = std::move(path);
    refresh(main_);  // the list is read when first asked for
}

std::string IniSettingsStore::listPathFor(const std::string& settingsPath) {
    const auto slash = settingsPath.find_last_of('/');
    const auto dot = settingsPath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot > 0 &&
                              (slash == std::string::npos || dot > slash + 1);
    if (!hasExtension) return settingsPath + " Playlist";
    return settingsPath.substr(0, dot) + " Playlist" + settingsPath.substr(dot);
}

bool IniSettingsStore::isListSection(std::string_view section) {
    static const std::string folded = foldAsciiCase(sections::PlaylistLists);
    return section.size() == folded.size() && foldAsciiCase(section) == folded;
}

bool IniSettingsStore::parseInt(std::string_view text, int& out) {
    text = text::trimWhitespace(text);
    if (text.empty()) return false;
    std::string_view digits = text;
    if (digits.front() == '+') digits.remove_prefix(1);
    long long v = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) return false;
    if (v < INT32_MIN || v > static_cast<long long>(UINT32_MAX)) return false;
    out = static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
    return true;
}

IniSettingsStore::Stamp IniSettingsStore::statOf(const std::string& path) {
    Stamp s;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        s.exists = true;
        s.dev = st.st_dev;
        s.ino = st.st_ino;
        s.size = st.st_size;
        s.mtime = st.st_mtim;
    }
    return s;
}

void IniSettingsStore::load(File& file) const {
    file.stamp = statOf(file.path);
    auto bytes = readWholeFile(file.path, kMaxSettingsFile);
    file.doc = bytes ? IniDocument::parse(text::decode(*bytes), storeOptions())
                     : IniDocument(storeOptions());
}

void IniSettingsStore::refresh(File& file) const {
    if (file.dirty) return;
    if (statOf(file.path) == file.stamp) return;
    load(file);
}

// The list stays in the settings file only while it could not be moved out.
IniSettingsStore::File& IniSettingsStore::fileFor(std::string_view section) {
    return isListSection(section) && !main_.doc.hasSection(section) ? list_ : main_;
}

// A read of the list looks only at the list file: one look at the disk per key, as a list
// of 100,000 is read key by key. A list that an older copy of the program writes into the
// settings file meanwhile is seen at the next read of another key, or the next write.
const IniDocument& IniSettingsStore::docFor(std::string_view section) const {
    if (!isListSection(section)) {
        refresh(main_);
        return main_.doc;
    }
    if (main_.doc.hasSection(section)) return main_.doc;
    refresh(list_);
    return list_.doc;
}

int IniSettingsStore::lockFile() const {
    makeDirectories(main_.path.substr(0, main_.path.find_last_of('/')));
    int fd = ::open((main_.path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    return fd;
}

bool IniSettingsStore::flushLocked(File& file) {
    const bool ok = writeFileAtomically(file.path, file.doc.serialize(), NewFileMode::Private, Flush::Soon);
    file.stamp = statOf(file.path);
    file.dirty = false;
    return ok;
}

// The list goes to its own file first; only once it is there does it leave the settings
// file, so that a crash in between leaves it in both places, never in neither.
bool IniSettingsStore::moveListOutLocked() {
    const char* lists = sections::PlaylistLists;
    if (!main_.doc.hasSection(lists)) return true;
    list_.doc.removeSection(lists);
    for (const auto& [key, value] : main_.doc.entries(lists)) list_.doc.set(lists, key, value);
    if (!flushLocked(list_)) {
        load(list_);  // the list stays where it was, and is read from there
        return false;
    }
    main_.doc.removeSection(lists);
    return flushLocked(main_);
}

// Another process may have written since our last look: edit its version.
bool IniSettingsStore::reloadChangedLocked(bool withList) {
    refresh(main_);
    if (withList || main_.doc.hasSection(sections::PlaylistLists)) refresh(list_);
    return moveListOutLocked();
}

template <typename Edit>
void IniSettingsStore::modify(std::string_view section, Edit&& edit) {
    // A put of the value the key holds writes nothing: a list saved unchanged is not
    // rewritten.
    if (batchDepth_ > 0) {
        File& file = fileFor(section);
        if (edit(file.doc)) file.dirty = true;
        return;
    }
    int fd = lockFile();
    const bool moved = reloadChangedLocked(isListSection(section));
    File& file = fileFor(section);
    lastWriteOk_ = (!edit(file.doc) || flushLocked(file)) && moved;
    if (fd >= 0) ::close(fd);
}

int IniSettingsStore::getInt(std::string_view section, std::string_view key, int def) const {
    const std::string* v = docFor(section).find(section, key);
    int out = def;
    if (v && parseInt(*v, out)) return out;
    return def;
}

std::string IniSettingsStore::getString(std::string_view section, std::string_view key,
                                        std::string_view def) const {
    const std::string* v = docFor(section).find(section, key);
    return v ? *v : std::string(def);
}

void IniSettingsStore::putInt(std::string_view section, std::string_view key, int value) {
    modify(section, [&](IniDocument& d) { return d.set(section, key, std::to_string(value)); });
}

void IniSettingsStore::putString(std::string_view section, std::string_view key,
                                 std::string_view value) {
    modify(section, [&](IniDocument& d) { return d.set(section, key, value); });
}

void IniSettingsStore::removeKey(std::string_view section, std::string_view key) {
    modify(section, [&](IniDocument& d) { return d.remove(section, key); });
}

void IniSettingsStore::removeSection(std::string_view section) {
    modify(section, [&](IniDocument& d) { return d.removeSection(section); });
}

std::vector<std::string> IniSettingsStore::keys(std::string_view section) const {
    std::vector<std::string> out;
    for (auto& [k, v] : docFor(section).entries(section)) out.push_back(k);
    return out;
}

void IniSettingsStore::beginBatch() {
    if (batchDepth_++ == 0) {
        batchLockFd_ = lockFile();
        batchOk_ = reloadChangedLocked(true);
    }
}

void IniSettingsStore::endBatch() {
    if (batchDepth_ == 0) return;
    if (--batchDepth_ == 0) {
        bool ok = batchOk_;
        for (File* file : {&main_, &list_})
            if (file->dirty) ok = flushLocked(*file) && ok;
        lastWriteOk_ = ok;
        if (batchLockFd_ >= 0) ::close(batchLockFd_);
        batchLockFd_ = -1;
    }
}

}  // namespace orvalis
