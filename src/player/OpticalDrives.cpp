#include "player/OpticalDrives.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/TextCodec.h"

namespace orvalis::optical {

namespace fs = std::filesystem;

namespace {

// "sr10" after "sr2": the name's letters, then its trailing number.
bool naturalLess(const std::string& a, const std::string& b) {
    auto split = [](const std::string& s) {
        std::size_t digits = s.size();
        while (digits > 0 && s[digits - 1] >= '0' && s[digits - 1] <= '9') --digits;
        std::string number = s.substr(digits);
        number.erase(0, std::min(number.find_first_not_of('0'), number.size()));
        return std::make_tuple(s.substr(0, digits), number.size(), number, s);
    };
    return split(a) < split(b);
}

std::string unescapeMountField(std::string_view field) {
    auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) &&
            octal(field[i + 2]) && octal(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

bool globMatch(std::string_view name, std::string_view pattern) {
    // Iterative matcher with one backtracking point: linear in practice, never recursive.
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

std::vector<std::string> chooseDrives(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), naturalLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    if (names.size() > static_cast<std::size_t>(kMaxDrives)) names.resize(kMaxDrives);
    return names;
}

std::vector<std::string> findDrives(const std::string& sysBlock) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(sysBlock, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        auto type = readWholeFile((it->path() / "device" / "type").string(), 16);
        if (type && text::trimWhitespace(*type) == "5") names.push_back(name);
    }
    return chooseDrives(std::move(names));
}

std::vector<Mount> parseMounts(std::string_view text) {
    std::vector<Mount> mounts;
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        std::size_t a = line.find(' ');
        if (a == std::string_view::npos || a == 0) continue;
        std::size_t b = line.find(' ', a + 1);
        std::string_view point = line.substr(a + 1, b == std::string_view::npos ? b : b - a - 1);
        if (point.empty()) continue;
        mounts.push_back({unescapeMountField(line.substr(0, a)), unescapeMountField(point)});
    }
    return mounts;
}

bool isDriveDevice(const std::string& device, const std::string& driveName) {
    if (driveName.empty()) return false;
    const std::string path = "/dev/" + driveName;
    if (device == path) return true;
    if (device.rfind("/dev/", 0) != 0) return false;
    std::error_code ec;
    fs::path real = fs::canonical(device, ec);
    return !ec && real == path;
}

std::vector<Mount> newDiscMounts(const std::vector<Mount>& before, const std::vector<Mount>& after,
                                 const std::vector<std::string>& drives) {
    std::vector<Mount> found;
    for (const Mount& m : after) {
        if (std::find(before.begin(), before.end(), m) != before.end()) continue;
        for (const std::string& d : drives) {
            if (isDriveDevice(m.device, d)) {
                found.push_back(m);
                break;
            }
        }
    }
    return found;
}

std::optional<std::string> mountPointOf(const std::vector<Mount>& mounts,
                                        const std::string& driveName) {
    for (const Mount& m : mounts) {
        if (isDriveDevice(m.device, driveName)) return m.mountPoint;
    }
    return std::nullopt;
}

bool isUnder(std::string_view path, std::string_view mountPoint) {
    while (mountPoint.size() > 1 && mountPoint.back() == '/') mountPoint.remove_suffix(1);
    if (mountPoint.empty() || path.substr(0, mountPoint.size()) != mountPoint) return false;
    if (mountPoint == "/") return path.starts_with('/');
    return path.size() > mountPoint.size() && path[mountPoint.size()] == '/';
}

std::vector<std::string> splitPatterns(std::string_view list) {
    std::vector<std::string> patterns;
    while (!list.empty()) {
        std::size_t semi = list.find(';');
        std::string_view one = text::trimWhitespace(list.substr(0, semi));
        if (!one.empty()) patterns.emplace_back(one);
        if (semi == std::string_view::npos) break;
        list.remove_prefix(semi + 1);
    }
    return patterns;
}

bool matchesAny(std::string_view fileName, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& p) { return globMatch(fileName, p); });
}

std::optional<std::string> firstMediaFile(const std::string& folder,
                                          const std::vector<std::string>& patterns) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || typeError) continue;
        std::string name = it->path().filename().string();
        if (matchesAny(name, patterns)) names.push_back(std::move(name));
    }
    if (names.empty()) return std::nullopt;
    std::string first = *std::min_element(names.begin(), names.end());
    return (fs::path(folder) / first).string();
}

TrayResult moveTray(const std::string& devicePath, bool open) {
    int fd = ::open(devicePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return TrayResult::Failed;
    int rc = ::ioctl(fd, open ? CDROMEJECT : CDROMCLOSETRAY, 0);
    int error = errno;
    ::close(fd);
    if (rc == 0) return TrayResult::Done;
    return error == EBUSY ? TrayResult::Busy : TrayResult::Failed;
}

std::optional<std::vector<std::string>> findMixer(std::string_view pathEnv,
                                                  const IsExecutable& isExecutable) {
    // The stand-alone mixers first; a desktop's settings panel opened on its sound page last.
    static const std::vector<std::vector<std::string>> kMixers = {
        {"pavucontrol"},
        {"pavucontrol-qt"},
        {"pwvucontrol"},
        {"mate-volume-control"},
        {"xfce4-mixer"},
        {"kmix"},
        {"gnome-control-center", "sound"},
    };
    std::vector<std::string> dirs;
    while (!pathEnv.empty()) {
        std::size_t colon = pathEnv.find(':');
        std::string_view dir = pathEnv.substr(0, colon);
        if (!dir.empty() && dir.front() == '/') dirs.emplace_back(dir);
        if (colon == std::string_view::npos) break;
        pathEnv.remove_prefix(colon + 1);
    }
    for (const auto& mixer : kMixers) {
        for (const std::string& dir : dirs) {
            std::string program = dir + "/" + mixer.front();
            if (!isExecutable(program)) continue;
            std::vector<std::string> command = mixer;
            command.front() = program;
            return command;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> findMixer() {
    const char* path = std::getenv("PATH");
    return findMixer(path ? path : "", [](const std::string& p) {
        std::error_code ec;
        return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
    });
}

}  // namespace orvalis::optical
