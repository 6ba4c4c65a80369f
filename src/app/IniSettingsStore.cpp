#include "app/IniSettingsStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>

#include "app/AtomicFile.h"
#include "app/TextCodec.h"

namespace orvalis {

namespace {

constexpr std::size_t kMaxSettingsFile = 256u << 20;

IniDocument::Options storeOptions() { return {.quoteValues = true, .keepOtherLines = false}; }

}  // namespace

bool IniSettingsStore::Stamp::operator==(const Stamp& o) const {
    return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
           mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
}

IniSettingsStore::IniSettingsStore(std::string path)
    : path_(std::move(path)), doc_(storeOptions()) {
    refresh();
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

IniSettingsStore::Stamp IniSettingsStore::statFile() const {
    Stamp s;
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) {
        s.exists = true;
        s.dev = st.st_dev;
        s.ino = st.st_ino;
        s.size = st.st_size;
        s.mtime = st.st_mtim;
    }
    return s;
}

void IniSettingsStore::loadLocked() const {
    stamp_ = statFile();
    auto bytes = readWholeFile(path_, kMaxSettingsFile);
    doc_ = bytes ? IniDocument::parse(text::decode(*bytes), storeOptions())
                 : IniDocument(storeOptions());
}

void IniSettingsStore::refresh() const {
    if (dirty_) return;  // a batch holds changes that are not on the disk yet
    if (statFile() == stamp_) return;
    loadLocked();
}

int IniSettingsStore::lockFile() const {
    makeDirectories(path_.substr(0, path_.find_last_of('/')));
    int fd = ::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    return fd;
}

bool IniSettingsStore::flushLocked() {
    lastWriteOk_ = writeFileAtomically(path_, doc_.serialize(), NewFileMode::Private);
    stamp_ = statFile();
    dirty_ = false;
    return lastWriteOk_;
}

template <typename Edit>
void IniSettingsStore::modify(Edit&& edit) {
    if (batchDepth_ > 0) {
        edit(doc_);
        dirty_ = true;
        return;
    }
    int fd = lockFile();
    // Another process may have written since our last look: edit its version.
    if (!(statFile() == stamp_)) loadLocked();
    edit(doc_);
    flushLocked();
    if (fd >= 0) ::close(fd);
}

int IniSettingsStore::getInt(std::string_view section, std::string_view key, int def) const {
    refresh();
    const std::string* v = doc_.find(section, key);
    int out = def;
    if (v && parseInt(*v, out)) return out;
    return def;
}

std::string IniSettingsStore::getString(std::string_view section, std::string_view key,
                                        std::string_view def) const {
    refresh();
    const std::string* v = doc_.find(section, key);
    return v ? *v : std::string(def);
}

void IniSettingsStore::putInt(std::string_view section, std::string_view key, int value) {
    modify([&](IniDocument& d) { d.set(section, key, std::to_string(value)); });
}

void IniSettingsStore::putString(std::string_view section, std::string_view key,
                                 std::string_view value) {
    modify([&](IniDocument& d) { d.set(section, key, value); });
}

void IniSettingsStore::removeKey(std::string_view section, std::string_view key) {
    modify([&](IniDocument& d) { d.remove(section, key); });
}

void IniSettingsStore::removeSection(std::string_view section) {
    modify([&](IniDocument& d) { d.removeSection(section); });
}

std::vector<std::string> IniSettingsStore::keys(std::string_view section) const {
    refresh();
    std::vector<std::string> out;
    for (auto& [k, v] : doc_.entries(section)) out.push_back(k);
    return out;
}

void IniSettingsStore::beginBatch() {
    if (batchDepth_++ == 0) {
        batchLockFd_ = lockFile();
        if (!(statFile() == stamp_)) loadLocked();
    }
}

void IniSettingsStore::endBatch() {
    if (batchDepth_ == 0) return;
    if (--batchDepth_ == 0) {
        if (dirty_) flushLocked();
        if (batchLockFd_ >= 0) ::close(batchLockFd_);
        batchLockFd_ = -1;
    }
}

}  // namespace orvalis
