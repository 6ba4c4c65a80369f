#pragma once

#include <string>
#include <string_view>

namespace orvalis {

// Replaces every `from` in s by `to`, in one pass over s.
inline void replaceAll(std::string& s, std::string_view from, std::string_view to) {
    std::size_t at = s.find(from);
    if (at == std::string::npos) return;
    std::string out;
    out.reserve(s.size());
    std::size_t done = 0;
    for (; at != std::string::npos; at = s.find(from, done)) {
        out.append(s, done, at - done);
        out += to;
        done = at + from.size();
    }
    out.append(s, done);
    s = std::move(out);
}

}  // namespace orvalis
