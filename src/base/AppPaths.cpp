#include "base/AppPaths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "base/AtomicFile.h"

namespace orvalis::paths {

namespace {

std::string absoluteEnv(const char* name) {
    const char* v = std::getenv(name);
    if (v && v[0] == '/') return v;
    return {};
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// XDG_PICTURES_DIR="$HOME/Pictures" in user-dirs.dirs: a path relative to $HOME or absolute.
std::string userDirsPictures(const std::string& home) {
    std::istringstream in(readWholeFile(configHome() + "/user-dirs.dirs", 1u << 20).value_or(""));
    std::string line;
    constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(kKey, 0) != 0) continue;
        std::string value = line.substr(kKey.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) return home + value.substr(5);
        return value.empty() || value.front() != '/' ? std::string() : value;
    }
    return {};
}

}  // namespace

std::string homeDir() {
    if (const char* h = std::getenv("HOME"); h && h[0]) return h;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

std::string configHome() {
    std::string v = absoluteEnv("XDG_CONFIG_HOME");
    return v.empty() ? homeDir() + "/.config" : v;
}

std::string dataHome() {
    std::string v = absoluteEnv("XDG_DATA_HOME");
    return v.empty() ? homeDir() + "/.local/share" : v;
}

std::string cacheDir() {
    std::string v = absoluteEnv("XDG_CACHE_HOME");
    return (v.empty() ? homeDir() + "/.cache" : v) + "/Orvalis";
}

std::string settingsFile() { return configHome() + "/Corvane SoftWare/Orvalis.conf"; }

std::string dataDir() { return dataHome() + "/Orvalis"; }

std::string picturesDir() {
    std::string home = homeDir();
    for (const std::string& candidate : {userDirsPictures(home), home + "/Pictures"}) {
        // "$HOME/" alone is how user-dirs.dirs switches a folder off.
        if (candidate != home && candidate != home + "/" && isDirectory(candidate))
            return candidate;
    }
    return home;
}

std::string documentationFile(const std::string& exeDir) {
    if (exeDir.empty()) return {};
    auto existing = [](const std::string& path) -> std::string {
        std::error_code error;
        const std::filesystem::path file = std::filesystem::canonical(path, error);
        return !error && std::filesystem::is_regular_file(file, error) ? file.native()
                                                                       : std::string();
    };
    // Installed: prefix/bin beside prefix/share.
    for (const char* installed :
         {"/../share/doc/orvalis/README.md", "/../share/man/man1/orvalis.1"})
        if (std::string file = existing(exeDir + installed); !file.empty()) return file;
    // Built: the program sits in a build folder of the source tree, or one level further
    // down; the tree is known by its own man page source, not by any README.
    for (const char* root : {"/..", "/../.."}) {
        if (existing(exeDir + root + "/packaging/orvalis.1").empty()) continue;
        if (std::string file = existing(exeDir + root + "/README.md"); !file.empty()) return file;
    }
    return {};
}

}  // namespace orvalis::paths
