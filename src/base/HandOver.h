#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::handover {

// The message a second start sends to the running player: a marker, the length of what
// follows (4 bytes, most significant first), then every path followed by one NUL byte.
// No path the system hands a program can hold a NUL, so paths travel whole, whatever their
// bytes (";", blanks at either end, names that are not UTF-8).
inline constexpr std::string_view kMagic = "ORVALIS2";
inline constexpr std::size_t kHeaderSize = kMagic.size() + 4;
// The most a running player takes in one message: hundreds of thousands of paths, while a
// client that claims gigabytes cannot make it hold them.
inline constexpr std::uint32_t kMaxPayload = 64u << 20;

// The whole message; empty when the paths are too many to frame.
std::string encode(const std::vector<std::string>& paths);

// Reads one message as its bytes arrive, whoever sends them.
class Reader {
public:
    enum class State {
        NeedMore,   // the message is not complete yet
        Done,       // paths() holds the list
        Malformed,  // not a hand-over: the sender is to be dropped
        TooLarge,   // longer than kMaxPayload: the sender is told so
    };

    // Takes the next bytes; once the state is not NeedMore, further bytes are ignored.
    State feed(std::string_view bytes);
    State state() const { return state_; }
    const std::vector<std::string>& paths() const { return paths_; }

private:
    void finish();

    std::string buffer_;
    bool headerRead_ = false;
    std::uint32_t length_ = 0;
    State state_ = State::NeedMore;
    std::vector<std::string> paths_;
};

}  // namespace orvalis::handover
