#include "base/Startup.h"

#include <filesystem>

#include "base/Naming.h"
#include "base/SettingsKeys.h"

namespace orvalis {

std::string osVersionText() { return "Linux"; }

namespace {

// "a/./b/../c" -> "a/c", for an absolute path; keeps the rest as given.
std::string normalizeAbsolute(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    std::string out;
    for (const auto& p : parts) out += "/" + p;
    return out.empty() ? "/" : out;
}

std::string percentDecode(std::string_view s) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    // "file://host/path": skip a host name when one is given.
    if (!out.empty() && out.front() != '/') {
        auto slash = out.find('/');
        out = slash == std::string::npos ? "/" : out.substr(slash);
    }
    return out;
}

}  // namespace

std::vector<std::string> commandLinePaths(const std::vector<std::string>& args,
                                          const std::string& cwd) {
    std::vector<std::string> paths;
    for (const auto& arg : args) {
        if (arg.empty()) continue;
        if (arg.rfind("file://", 0) == 0) {
            // A file manager's URI names a local file: take its path.
            paths.push_back(fileUriPath(arg));
        } else if (isStreamAddress(arg) || (arg.front() != '/' && cwd.empty())) {
            paths.push_back(arg);
        } else {
            paths.push_back(normalizeAbsolute(arg.front() == '/' ? arg : cwd + "/" + arg));
        }
    }
    return paths;
}

std::string fileUriPath(std::string_view uri) {
    if (uri.substr(0, 7) == "file://") uri.remove_prefix(7);
    return normalizeAbsolute(percentDecode(uri));
}

std::string currentFolder() {
    std::error_code error;
    std::filesystem::path cwd = std::filesystem::current_path(error);
    return error ? std::string() : cwd.native();
}

std::string commandLineList(const std::vector<std::string>& paths) {
    std::string list;
    for (const auto& path : paths) {
        list += path;
        list += ';';
    }
    return list;
}

void writeStartupValues(SettingsStore& store, const std::string& exeFile) {
    SettingsBatch batch(store);
    settings::put(store, keys::AppName, kAppName);
    settings::put(store, keys::OSVersion, osVersionText());
    auto slash = exeFile.find_last_of('/');
    settings::put(store, keys::ExePath,
                  slash == std::string::npos ? std::string() : exeFile.substr(0, slash));
    settings::put(store, keys::ExeFile, exeFile);
    settings::put(store, keys::ShellFileName, "");
}

}  // namespace orvalis
