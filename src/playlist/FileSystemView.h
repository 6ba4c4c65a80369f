#pragma once

#include <string>

namespace orvalis {

// What the playlist asks of the file system, behind an interface so that tests can stage
// folders, missing files and optical discs without touching the disk.
class FileSystemView {
public:
    enum class Kind { Missing, File, Directory, Other };

    virtual ~FileSystemView() = default;
    // What the path names, links followed.
    virtual Kind kind(const std::string& path) const = 0;
    // The path lies on a mounted optical disc (a CD or DVD in a /dev/sr* drive).
    virtual bool isOnOpticalDisc(const std::string& path) const = 0;
    // The process's current folder.
    virtual std::string currentFolder() const = 0;
};

class LocalFileSystem final : public FileSystemView {
public:
    // mountTable: where the mounted file systems are listed (tests give their own file).
    explicit LocalFileSystem(std::string mountTable = "/proc/self/mounts");

    Kind kind(const std::string& path) const override;
    bool isOnOpticalDisc(const std::string& path) const override;
    std::string currentFolder() const override;

private:
    std::string mountTable_;
};

}  // namespace orvalis
