#pragma once

#include <set>
#include <string>

#include "playlist/FileSystemView.h"

namespace orvalis::test {

// Staged files, folders and optical discs; any other path is asked of the real disk, so
// that list files written by a test into its own folder are found too.
class FakeFileSystem final : public FileSystemView {
public:
    Kind kind(const std::string& path) const override {
        if (files.count(path)) return Kind::File;
        if (folders.count(path)) return Kind::Directory;
        return disk_.kind(path);
    }
    bool isOnOpticalDisc(const std::string& path) const override {
        for (const auto& mount : opticalMounts)
            if (path.starts_with(mount + "/")) return true;
        return false;
    }
    std::string currentFolder() const override { return cwd; }

    std::set<std::string> files, folders, opticalMounts;
    std::string cwd = "/home/user";

private:
    LocalFileSystem disk_;
};

}  // namespace orvalis::test
