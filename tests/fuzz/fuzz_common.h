#pragma once

// What every fuzz target shares: the input as text, a check that ends the run, and for readers
// that take a path, a folder of the target's own, removed when it ends, in memory where the
// system has /dev/shm (a file is written for every input).
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::fuzz {

inline void check(bool ok) {
    if (!ok) std::abort();
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size, std::size_t skip = 0) {
    return std::string_view(reinterpret_cast<const char*>(data), size).substr(std::min(skip, size));
}

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
    check(f && (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size()));
    std::fclose(f);
}

// The caption model played at about 64 moments spread over the whole file, its edges
// included: every run stays quick, and the fuzzer still reaches the late cues.
template <class Model>
void playMoments(Model& model) {
    const int step = std::max(3, (model.lastSlot() + 4) / 64);
    for (int slot = -2; slot <= model.lastSlot() + 2; slot += step) {
        model.tick(slot / 10.0);
        model.recoverAfterSeek(slot / 10.0);
    }
}

}  // namespace orvalis::fuzz
