#include "captions/SplitPoint.h"

#include <algorithm>
#include <optional>

#include "base/TextCodec.h"

namespace orvalis {

namespace {

// One character of a UTF-8 text with its place in bytes and in CP949 units.
struct Character {
    std::size_t byte = 0;
    std::size_t length = 0;  // in bytes
    std::size_t unit = 0;
    std::size_t units = 0;  // 1 for ASCII, 2 otherwise
    std::size_t lastByte() const { return byte + length - 1; }
    std::size_t lastUnit() const { return unit + units - 1; }
};

class CharacterWalk {
public:
    explicit CharacterWalk(std::string_view s) : s_(s) { load(); }
    bool done() const { return current_.byte >= s_.size(); }
    const Character& current() const { return current_; }
    char byte() const { return s_[current_.byte]; }
    void next() {
        current_.byte += current_.length;
        current_.unit += current_.units;
        load();
    }

private:
    void load() {
        if (done()) return;
        auto lead = static_cast<unsigned char>(s_[current_.byte]);
        current_.length = std::min(text::utf8SequenceLength(lead), s_.size() - current_.byte);
        current_.units = lead < 0x80 ? 1 : 2;
    }

    std::string_view s_;
    Character current_;
};

enum class Break { None, EndsFirst, BeginsSecond };

Break breakKind(char c) {
    switch (c) {
        case ' ':
        case '.':
        case ',':
        case ')':
        case ';':
            return Break::EndsFirst;
        case '/':
        case '(':
            return Break::BeginsSecond;
        default:
            return Break::None;
    }
}

// A break character found by a probe.
struct Probe {
    Character at;
    Break kind;
    // The last byte of the first part.
    std::size_t cut() const { return kind == Break::EndsFirst ? at.byte : at.byte - 1; }
};

}  // namespace

std::size_t findSplitPoint(std::string_view s) {
    if (s.empty()) return 0;
    const std::size_t m = text::cp949Units(s) / 2;
    const std::size_t reach = m / 2;
    // The probes d = 0, -1, +1, -2, +2, ... stop at the break nearest to the middle, the
    // left one first when two are as near. Only ASCII characters can be breaks, so a probe
    // that lands on either unit of a double-width character finds none.
    CharacterWalk walk(s);
    while (!walk.done() && walk.current().lastUnit() < m - reach) walk.next();

    std::optional<Probe> left;
    Character middle;
    for (; !walk.done() && walk.current().unit <= m; walk.next()) {
        const Character& c = walk.current();
        if (c.lastUnit() >= m) middle = c;
        Break kind = c.units == 1 && c.unit > 0 ? breakKind(walk.byte()) : Break::None;
        if (kind != Break::None) left = Probe{c, kind};
    }
    if (left && left->at.unit == m) return left->cut();
    for (; !walk.done() && walk.current().unit <= m + reach; walk.next()) {
        const Character& c = walk.current();
        Break kind = c.units == 1 ? breakKind(walk.byte()) : Break::None;
        if (kind == Break::None) continue;
        if (!left || c.unit - m < m - left->at.unit) return Probe{c, kind}.cut();
        break;
    }
    if (left) return left->cut();
    // No break near the middle: a double-width character that begins at the middle unit
    // starts the second part; any character that covers it ends the first.
    if (middle.unit == m && middle.units == 2) return middle.byte - 1;
    return middle.lastByte();
}

std::pair<std::string_view, std::string_view> splitInTwo(std::string_view utf8) {
    if (utf8.empty()) return {};
    std::size_t k = findSplitPoint(utf8);
    return {utf8.substr(0, k + 1), utf8.substr(k + 1)};
}

}  // namespace orvalis
