#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <pthread.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <cstdlib>
#include <mutex>
#include <new>
#include <random>
#include <set>
#include <thread>
#include <vector>

namespace orvalis {

namespace {

std::string parentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file that replacing path replaces: the end of its links when it is a link that
// leads somewhere, else path itself.
std::string replacedFile(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) return path;
    return resolved;
}

// A name beside target that no file has yet, as claimed by claim(name): true when claimed,
// false when the name was taken (another is tried) or when claim failed for good (errno).
constexpr const char* kTemporaryMark = ".orvalis-";

template <typename Claim>
bool claimFreshName(const std::string& target, std::string& name, Claim claim) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + kTemporaryMark;
        for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
        if (claim(name)) return true;
        if (errno != EEXIST) break;
    }
    name.clear();
    return false;
}

// The file the contents are written to before it replaces target. Where the file system
// allows it the file has no name while it is written (O_TMPFILE) and gets one only just
// before the rename, so a writer killed midway leaves nothing behind; elsewhere it is a new
// file beside target under a name no other file has. -1 when neither can be made.
int createTemporary(const std::string& target, const std::string& dir, mode_t mode,
                    bool& unnamed, std::string& name) {
    name.clear();
    int fd = -1;
#ifdef O_TMPFILE
    // The name is given through /proc; without it the file could never be named.
    static const bool canName = ::access("/proc/self/fd", X_OK) == 0;
    if (canName) fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
#endif
    unnamed = fd >= 0;
    if (unnamed) return fd;
    claimFreshName(target, name, [&](const std::string& candidate) {
        fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        return fd >= 0;
    });
    return fd;
}

// Names a file made by createTemporary that has no name yet, beside target.
bool nameTemporary(int fd, const std::string& target, std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return claimFreshName(target, name, [&](const std::string& candidate) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0;
    });
}

// Temporaries of earlier writers killed between naming theirs and the rename: target's name
// with the mark and six letters or digits more, a regular file untouched for a minute. Looked
// for once per file and process, so a folder of thousands of captures is not read at every
// save.
void removeStaleTemporaries(const std::string& target, const std::string& dir) {
    static std::mutex mutex;
    static std::set<std::string> done;
    {
        std::lock_guard lock(mutex);
        if (!done.insert(target).second) return;
    }
    const std::string prefix =
        target.substr(target.find_last_of('/') + 1) + std::string(kTemporaryMark);
    const std::time_t old = std::time(nullptr) - 60;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0 ||
            !std::all_of(name.begin() + prefix.size(), name.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < old)
            ::unlink(it->path().c_str());
    }
}

void syncPath(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Files renamed into place and still to be flushed, with the thread that flushes them. It
// is never destroyed (the thread may still be running when statics die); at exit, what is
// still queued is flushed by the exiting thread.
class LaterSync {
public:
    static LaterSync& instance() {
        static LaterSync* sync = [] {
            auto* s = new LaterSync;
            ::pthread_atfork([] { instance().mutex_.lock(); },
                             [] { instance().mutex_.unlock(); },
                             // A forked child has no flushing thread: it starts its own,
                             // with a lock and a condition that no thread of the parent's
                             // is in the middle of.
                             [] {
                                 LaterSync& s = instance();
                                 new (&s.mutex_) std::mutex;
                                 new (&s.wake_) std::condition_variable;
                                 s.running_ = false;
                             });
            std::atexit([] { instance().drain(); });
            return s;
        }();
        return *sync;
    }

    void add(std::string file, std::string folder) {
        std::lock_guard lock(mutex_);
        if (std::find(files_.begin(), files_.end(), file) == files_.end())
            files_.push_back(std::move(file));
        if (std::find(folders_.begin(), folders_.end(), folder) == folders_.end())
            folders_.push_back(std::move(folder));
        if (!running_) {
            running_ = true;
            std::thread([this] { run(); }).detach();
        }
        wake_.notify_one();
    }

    void drain() {
        std::vector<std::string> files, folders;
        {
            std::lock_guard lock(mutex_);
            files.swap(files_);
            folders.swap(folders_);
        }
        flush(files, folders);
    }

private:
    static void flush(const std::vector<std::string>& files,
                      const std::vector<std::string>& folders) {
        for (const auto& f : files) syncPath(f, O_NOFOLLOW);
        for (const auto& d : folders) syncPath(d, O_DIRECTORY);
    }

    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return !files_.empty() || !folders_.empty(); });
            std::vector<std::string> files, folders;
            files.swap(files_);
            folders.swap(folders_);
            lock.unlock();
            flush(files, folders);
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::string> files_, folders_;
    bool running_ = false;
};

}  // namespace

bool makeDirectories(const std::string& path) {
    if (path.empty()) return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    std::string parent = parentOf(path);
    if (parent != path && parent != "." && parent != "/" && !makeDirectories(parent)) return false;
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool writeFileAtomically(const std::string& path, std::string_view contents, NewFileMode newMode,
                         Flush flush) {
    const std::string target = replacedFile(path);
    std::string dir = parentOf(target);
    if (!makeDirectories(dir)) return false;

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    std::string temp;
    bool unnamed = false;
    // open() takes the umask off the mode, as for any file a program creates.
    int fd = createTemporary(target, dir, newMode == NewFileMode::Private ? 0600 : 0666, unnamed,
                             temp);
    if (fd < 0) return false;
    bool ok = writeAll(fd, contents) && (!exists || ::fchmod(fd, st.st_mode & 07777) == 0) &&
              (flush == Flush::Soon || ::fsync(fd) == 0);
    if (ok && unnamed) ok = nameTemporary(fd, target, temp);
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        if (!temp.empty()) ::unlink(temp.c_str());
        return false;
    }
    removeStaleTemporaries(target, dir);
    if (flush == Flush::Soon) {
        LaterSync::instance().add(target, dir);
    } else {
        syncPath(dir, O_DIRECTORY);
    }
    return true;
}

namespace {

// Opens without waiting: a pipe, a terminal or a device given as a file would otherwise hold
// the caller in open() or read() for ever. Only regular files are read; O_NONBLOCK changes
// nothing for them.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes,
                                           bool refuseLarger) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (refuseLarger && static_cast<std::size_t>(st.st_size) > maxBytes)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string data;
    data.reserve(std::min(static_cast<std::size_t>(st.st_size), maxBytes));
    char buffer[65536];
    // Files of /proc tell a size of 0 and may grow while read: the cap holds for them too.
    while (data.size() <= maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes + 1 - data.size());
        ssize_t n = ::read(fd, buffer, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (data.size() > maxBytes) {
        if (refuseLarger) return std::nullopt;
        data.resize(maxBytes);
    }
    return data;
}

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes) {
    return readRegularFile(path, maxBytes, true);
}

std::optional<std::string> readFileStart(const std::string& path, std::size_t maxBytes) {
    return readRegularFile(path, maxBytes, false);
}

}  // namespace orvalis
