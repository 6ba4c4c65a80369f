#include "app/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
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

bool writeFileAtomically(const std::string& path, std::string_view contents) {
    std::string dir = parentOf(path);
    if (!makeDirectories(dir)) return false;

    // Keep the old file's permissions when there is one.
    mode_t mode = 0600;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;

    std::string tmpl = path + ".XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    bool ok = writeAll(fd, contents) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(name.data(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(name.data());
        return false;
    }
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
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
