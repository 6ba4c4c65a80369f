#include "settings/FileTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace orvalis {

FileTarget inspectFileTarget(const std::string& path) {
    FileTarget t;
    t.path = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return t;
    if (S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        // A link to nowhere is replaced like a missing file.
        if (!::realpath(path.c_str(), resolved) || ::stat(resolved, &st) != 0) return t;
        t.path = resolved;
    }
    t.exists = true;
    t.regular = S_ISREG(st.st_mode);
    t.readable = ::access(t.path.c_str(), R_OK) == 0;
    // The mode bits too: a file the user marked read-only stays so even for root.
    t.writable = ::access(t.path.c_str(), W_OK) == 0 && (st.st_mode & 0222) != 0;
    t.ownedByUser = st.st_uid == ::getuid();
    return t;
}

namespace {

// The path with its links resolved; where its end does not exist yet, the nearest folder
// that does is resolved and the rest kept as written.
std::string resolvedPath(const std::string& path) {
    std::string head = path, tail;
    while (!head.empty()) {
        char resolved[PATH_MAX];
        if (::realpath(head.c_str(), resolved)) return resolved + tail;
        auto slash = head.find_last_of('/');
        if (slash == std::string::npos || slash == 0) break;
        tail = head.substr(slash) + tail;
        head.resize(slash);
    }
    return path;
}

}  // namespace

bool isInsideFolder(const std::string& path, const std::string& folder) {
    if (folder.empty()) return false;
    std::string root = resolvedPath(folder);
    if (root.back() != '/') root += '/';
    return resolvedPath(path).rfind(root, 0) == 0;
}

}  // namespace orvalis
