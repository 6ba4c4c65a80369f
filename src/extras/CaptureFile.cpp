#include "extras/CaptureFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include "base/Naming.h"
#include "base/TextCodec.h"

namespace orvalis::capture {

namespace {

// Numbers beyond this are not the player's captures; they must not push numbering out of
// range.
constexpr long long kHighestNumber = 999'999'999;
// How many taken names a capture steps over (files made between the scan and the write).
constexpr int kAttempts = 1000;

std::string_view folderOf(std::string_view path) {
    auto slash = path.rfind('/');
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string_view lastComponent(std::string_view path) {
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The name without its last extension; a leading dot is part of the name.
std::string_view withoutExtension(std::string_view name) {
    auto dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

// The number of "<prefix><digits>.bmp", or nothing for any other name.
std::optional<long long> captureNumber(std::string_view name, std::string_view prefix) {
    constexpr std::string_view ext = ".bmp";
    if (name.size() <= prefix.size() + ext.size() || name.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    if (text::toLowerAscii(name.substr(name.size() - ext.size())) != ext) return std::nullopt;
    std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - ext.size());
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kHighestNumber) return std::nullopt;
    }
    return value;
}

}  // namespace

std::string captureFolder(std::string_view mediaPath, int pathChoice, std::string_view imageFolder,
                          std::string_view picturesFolder) {
    if (pathChoice == 0) return isStreamAddress(mediaPath) ? "" : std::string(folderOf(mediaPath));
    return std::string(imageFolder.empty() ? picturesFolder : imageFolder);
}

std::string captureBase(std::string_view folder, std::string_view mediaPath) {
    if (folder.empty()) return {};
    std::string base(folder);
    if (base.back() != '/') base += '/';
    base += withoutExtension(lastComponent(mediaPath));
    return base;
}

std::string captureSuffix(long long number) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "_%03lld.bmp", number < 0 ? 0 : number);
    return buf;
}

long long nextCaptureNumber(const std::string& base) {
    namespace fs = std::filesystem;
    const std::string prefix = std::string(lastComponent(base)) + "_";
    long long highest = -1;
    std::error_code ec;
    fs::directory_iterator it(fs::path(std::string(folderOf(base))), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        auto number = captureNumber(it->path().filename().native(), prefix);
        if (!number || *number <= highest) continue;
        std::error_code typeError;
        if (it->is_directory(typeError)) continue;
        highest = *number;
    }
    return highest + 1;
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The bytes, whole and on the disk, in a hidden file of the folder; empty when they could
// not be written (nothing is left behind then). Created as open() creates any file, so
// that the capture gets the rights the user's umask gives.
std::string writeTemporary(const std::string& folder, std::string_view bytes) {
    static std::atomic<unsigned> serial{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[40];
        std::snprintf(suffix, sizeof suffix, "%08x%04x", random(), serial++ & 0xFFFF);
        std::string name = folder + "/.orvalis-capture-" + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        if (ok) return name;
        ::unlink(name.c_str());
        return {};
    }
    return {};
}

enum class LinkResult { Done, Taken, Unsupported, Failed };

// Gives the written file its name unless that name is taken. A hard link never replaces
// anything; where the file system has none, a rename that refuses to replace.
LinkResult giveName(const std::string& temporary, const std::string& path) {
    if (::link(temporary.c_str(), path.c_str()) == 0) return LinkResult::Done;
    if (errno == EEXIST) return LinkResult::Taken;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK)
        return LinkResult::Failed;
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return LinkResult::Done;
    if (errno == EEXIST) return LinkResult::Taken;
    return errno == EINVAL || errno == ENOSYS ? LinkResult::Unsupported : LinkResult::Failed;
}

}  // namespace

CreateResult createNewFile(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? CreateResult::Exists : CreateResult::Failed;
    bool ok = writeAll(fd, bytes);
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(path.c_str());
        return CreateResult::Failed;
    }
    return CreateResult::Written;
}

namespace {

// Where neither a link nor a refusing rename exists: written in place under the first free
// number, as a last resort.
std::optional<std::string> saveInPlace(const std::string& base, long long number,
                                       std::string_view bytes, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt, ++number) {
        std::string path = base + captureSuffix(number);
        switch (createNewFile(path, bytes)) {
            case CreateResult::Written:
                return path;
            case CreateResult::Exists:
                continue;
            case CreateResult::Failed:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> saveCapture(const std::string& base, std::string_view bytes) {
    if (base.empty()) return std::nullopt;
    long long number = nextCaptureNumber(base);
    // Written whole under a name that is no capture's, then named: a crash mid-write
    // leaves no cut picture holding a number.
    const std::string temporary = writeTemporary(std::string(folderOf(base)), bytes);
    if (temporary.empty()) return std::nullopt;
    std::optional<std::string> saved;
    for (int attempt = 0; attempt < kAttempts; ++attempt, ++number) {
        const std::string path = base + captureSuffix(number);
        const LinkResult result = giveName(temporary, path);
        if (result == LinkResult::Taken) continue;
        if (result == LinkResult::Done) saved = path;
        if (result == LinkResult::Unsupported)
            saved = saveInPlace(base, number, bytes, kAttempts - attempt);
        break;
    }
    ::unlink(temporary.c_str());  // after a link its other name; after a rename, nothing
    return saved;
}

}  // namespace orvalis::capture
