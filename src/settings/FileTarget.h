#pragma once

#include <string>

namespace orvalis {

// A file the program is about to replace, looked at first. A link is followed, so that
// replacing the file keeps the user's link (a settings folder kept elsewhere) in place.
struct FileTarget {
    std::string path;  // where to read and write: the link's target, else the path itself
    bool exists = false;
    bool regular = false;
    bool readable = false;
    bool writable = false;
    bool ownedByUser = false;
};

FileTarget inspectFileTarget(const std::string& path);

// Whether path (its links followed as far as they lead) lies inside folder.
bool isInsideFolder(const std::string& path, const std::string& folder);

}  // namespace orvalis
