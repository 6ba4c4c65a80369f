#include "app/AppPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace orvalis::paths {

namespace {

std::string absoluteEnv(const char* name) {
    const char* v = std::getenv(name);
    if (v && v[0] == '/') return v;
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

std::string settingsFile() { return configHome() + "/Corvane SoftWare/Orvalis.conf"; }

std::string dataDir() { return dataHome() + "/Orvalis"; }

}  // namespace orvalis::paths
