#include "extras/CaptureFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "app/Naming.h"
#include "app/TextCodec.h"

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

CreateResult createNewFile(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? CreateResult::Exists : CreateResult::Failed;
    bool ok = false;
    if (std::FILE* file = ::fdopen(fd, "wb")) {
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        ok = std::fclose(file) == 0 && ok;
    } else {
        ::close(fd);
    }
    if (!ok) {
        ::unlink(path.c_str());
        return CreateResult::Failed;
    }
    return CreateResult::Written;
}

std::optional<std::string> saveCapture(const std::string& base, std::string_view bytes) {
    if (base.empty()) return std::nullopt;
    long long number = nextCaptureNumber(base);
    for (int attempt = 0; attempt < kAttempts; ++attempt, ++number) {
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

}  // namespace orvalis::capture
