#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "playlist/FileSystemView.h"
#include "playlist/Playlist.h"

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

// Each path staged as a file and added as a row of its own; nothing is selected after.
inline void addFiles(Playlist& list, FakeFileSystem& fs, std::initializer_list<std::string> paths) {
    for (const auto& p : paths) {
        fs.files.insert(p);
        EXPECT_EQ(list.AddPath(p), 1) << p;
    }
    list.model().clearSelection();
}

inline std::vector<std::string> rowPaths(const PlaylistModel& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows.rows()) out.push_back(r.path);
    return out;
}

}  // namespace orvalis::test
