#include "playlist/FileSystemView.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "base/Naming.h"

namespace orvalis {

namespace {

// Mount tables write blanks and a few other bytes as octal escapes ("\040").
std::string unescapeMountField(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3' &&
            s[i + 2] >= '0' && s[i + 2] <= '7' && s[i + 3] >= '0' && s[i + 3] <= '7') {
            out +=
                static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool isOpticalDevice(std::string_view device) {
    return device.starts_with("/dev/sr") || device.starts_with("/dev/scd") ||
           device.starts_with("/dev/cdrom") || device.starts_with("/dev/dvd");
}

// mount lies on path: equal, or a folder above it.
bool contains(std::string_view mount, std::string_view path) {
    if (!path.starts_with(mount)) return false;
    return path.size() == mount.size() || mount.ends_with('/') || path[mount.size()] == '/';
}

}  // namespace

LocalFileSystem::LocalFileSystem(std::string mountTable) : mountTable_(std::move(mountTable)) {}

FileSystemView::Kind LocalFileSystem::kind(const std::string& path) const {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return Kind::Missing;
    if (S_ISREG(st.st_mode)) return Kind::File;
    if (S_ISDIR(st.st_mode)) return Kind::Directory;
    return Kind::Other;
}

bool LocalFileSystem::isOnOpticalDisc(const std::string& path) const {
    if (path.empty() || path.front() != '/' || isStreamAddress(path)) return false;
    auto table = readWholeFile(mountTable_, std::size_t(4) << 20);
    if (!table) return false;
    // The file system that holds the path is the one mounted on the longest folder above it.
    std::string bestMount, bestDevice;
    std::string_view rest = *table;
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        size_t a = line.find(' ');
        if (a == std::string_view::npos) continue;
        size_t b = line.find(' ', a + 1);
        std::string mount = unescapeMountField(
            line.substr(a + 1, b == std::string_view::npos ? std::string_view::npos : b - a - 1));
        if (contains(mount, path) && mount.size() >= bestMount.size()) {
            bestMount = mount;
            bestDevice = unescapeMountField(line.substr(0, a));
        }
    }
    return isOpticalDevice(bestDevice);
}

std::string LocalFileSystem::currentFolder() const {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

}  // namespace orvalis
