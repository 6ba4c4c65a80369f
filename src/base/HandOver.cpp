#include "base/HandOver.h"

#include <algorithm>

namespace orvalis::handover {

std::string encode(const std::vector<std::string>& paths) {
    std::size_t size = 0;
    for (const auto& path : paths) size += path.size() + 1;
    if (size > UINT32_MAX) return {};
    const auto n = static_cast<std::uint32_t>(size);
    std::string out(kMagic);
    out.reserve(kHeaderSize + size);
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((n >> shift) & 0xFF);
    for (const auto& path : paths) {
        out += path;
        out += '\0';
    }
    return out;
}

Reader::State Reader::feed(std::string_view bytes) {
    if (state_ != State::NeedMore) return state_;
    if (!headerRead_) {
        const std::size_t take = std::min(bytes.size(), kHeaderSize - buffer_.size());
        buffer_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        const std::size_t known = std::min(buffer_.size(), kMagic.size());
        if (std::string_view(buffer_).substr(0, known) != kMagic.substr(0, known))
            return state_ = State::Malformed;
        if (buffer_.size() < kHeaderSize) return state_;
        for (std::size_t i = kMagic.size(); i < kHeaderSize; ++i)
            length_ = (length_ << 8) | static_cast<unsigned char>(buffer_[i]);
        if (length_ > kMaxPayload) return state_ = State::TooLarge;
        headerRead_ = true;
        buffer_.clear();
    }
    buffer_.append(bytes.substr(0, length_ - buffer_.size()));
    if (buffer_.size() == length_) finish();
    return state_;
}

// Empty pieces name nothing and are left out; a last path without its NUL still counts.
void Reader::finish() {
    std::string_view rest = buffer_;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\0'), rest.size());
        if (end > 0) paths_.emplace_back(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    buffer_.clear();
    buffer_.shrink_to_fit();
    state_ = State::Done;
}

}  // namespace orvalis::handover
