#pragma once

#include <optional>
#include <string>

namespace orvalis {

class BookmarkPort {
public:
    virtual ~BookmarkPort() = default;
    virtual void load(const std::string& mediaPath, double duration) = 0;
    virtual void save() = 0;
    virtual void toggle(double position) = 0;
    virtual void clearAll() = 0;
    // Where the previous or next bookmark lies, if there is one to go to.
    virtual std::optional<double> previous(double position) = 0;
    virtual std::optional<double> next(double position) = 0;
    // The settings changed: the seek track's marks follow "Use Bookmark".
    virtual void refreshMarks() {}
};

}  // namespace orvalis
