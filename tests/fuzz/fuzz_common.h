#pragma once

// Files for the fuzz targets of readers that take a path: a folder of the target's own,
// removed when the target ends, in memory where the system has /dev/shm (a file is written
// for every input).
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvalis::fuzz {

inline const std::string& privateDir() {
    static const std::string dir = [] {
        std::string tmpl = std::filesystem::is_directory("/dev/shm")
                               ? "/dev/shm/orvalis-fuzz-XXXXXX"
                               : "/tmp/orvalis-fuzz-XXXXXX";
        if (!::mkdtemp(tmpl.data())) ::abort();
        static const std::string removed = tmpl;
        ::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(removed, ec);
        });
        return tmpl;
    }();
    return dir;
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) ::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) ::abort();
    std::fclose(f);
}

}  // namespace orvalis::fuzz
