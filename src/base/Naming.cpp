#include "base/Naming.h"

#include <cstdio>

namespace orvalis {

std::string_view fileNamePart(std::string_view path) {
    auto back = path.rfind('\\');
    if (back != std::string_view::npos && back >= 1) return path.substr(back + 1);
    auto slash = path.rfind('/');
    if (slash != std::string_view::npos && slash >= 1) return path.substr(slash + 1);
    return path;
}

std::string_view fileTitle(std::string_view path) {
    std::string_view name = fileNamePart(path);
    auto dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string clockText(long long seconds) {
    if (seconds < 0) seconds = 0;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", seconds / 3600, (seconds % 3600) / 60,
                  seconds % 60);
    return buf;
}

std::optional<int> parseClockText(std::string_view t) {
    if (t.size() != 8 || t[2] != ':' || t[5] != ':') return std::nullopt;
    auto two = [&](std::size_t i) -> int {
        if (t[i] < '0' || t[i] > '9' || t[i + 1] < '0' || t[i + 1] > '9') return -1;
        return (t[i] - '0') * 10 + (t[i + 1] - '0');
    };
    int h = two(0), m = two(3), s = two(6);
    if (h < 0 || m < 0 || s < 0) return std::nullopt;
    return h * 3600 + m * 60 + s;
}

bool isStreamAddress(std::string_view name) {
    auto at = name.find("://");
    return at != std::string_view::npos && at >= 1;
}

}  // namespace orvalis
