#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Optical drives and the discs in them, and the desktop's mixer: the plain parts, without a
// window. A drive is known by its device name ("sr0"), which the menu shows where another
// system would show a drive letter.
namespace orvalis::optical {

inline constexpr int kMaxDrives = 2;

// The optical drives among the block devices of a sysfs tree (<sysBlock>/<name>/device/type
// holding 5, the SCSI type of a CD-ROM), in natural order ("sr2" before "sr10"), at most two.
std::vector<std::string> findDrives(const std::string& sysBlock = "/sys/block");
// The first two of a list of drive names in natural order.
std::vector<std::string> chooseDrives(std::vector<std::string> names);

struct Mount {
    std::string device;
    std::string mountPoint;
    bool operator==(const Mount&) const = default;
};

// The lines of /proc/self/mounts (octal escapes such as "\040" for a blank undone).
std::vector<Mount> parseMounts(std::string_view text);

// Whether a mount's device is the drive (by name, also through a link such as /dev/cdrom).
bool isDriveDevice(const std::string& device, const std::string& driveName);

// Mounts of the drives that are in `after` and were not in `before`: discs just inserted.
std::vector<Mount> newDiscMounts(const std::vector<Mount>& before, const std::vector<Mount>& after,
                                 const std::vector<std::string>& drives);

// Where the drive's disc is mounted, when it is.
std::optional<std::string> mountPointOf(const std::vector<Mount>& mounts,
                                        const std::string& driveName);

// Whether a path lies under a mount point.
bool isUnder(std::string_view path, std::string_view mountPoint);

// A pattern list such as "*.wmv;*.avi;" and a case-blind match of a file name against it
// ("*" any run of characters, "?" one character).
std::vector<std::string> splitPatterns(std::string_view list);
bool matchesAny(std::string_view fileName, const std::vector<std::string>& patterns);

// The first file (by name; folders are skipped) in the folder itself, not below it, that
// matches the patterns. Nothing when there is none or the folder cannot be read.
std::optional<std::string> firstMediaFile(const std::string& folder,
                                          const std::vector<std::string>& patterns);

enum class TrayResult { Done, Busy, Failed };
// Opens or closes the drive's tray. Busy when the disc is still mounted or in use.
TrayResult moveTray(const std::string& devicePath, bool open);

// The desktop's volume control: the command line of the first installed mixer found on the
// PATH, or nothing.
using IsExecutable = std::function<bool(const std::string& path)>;
std::optional<std::vector<std::string>> findMixer(std::string_view pathEnv,
                                                  const IsExecutable& isExecutable);
std::optional<std::vector<std::string>> findMixer();

}  // namespace orvalis::optical
