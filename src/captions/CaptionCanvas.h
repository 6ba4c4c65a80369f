#pragma once

#include <string>

#include "captions/CaptionLayout.h"

namespace orvalis {

// The caption font as the caption style describes it.
struct CaptionFont {
    std::string face;
    int points = 20;  // 10..70
    bool bold = true;
    bool smooth = false;  // never with the outline
    bool operator==(const CaptionFont&) const = default;
};

// Where captions are painted. It measures in its current font and keeps showing the last
// picture it was given until the next one.
class CaptionCanvas : public TextMeasurer {
public:
    virtual void setFont(const CaptionFont& font) = 0;
    // An empty picture erases the caption.
    virtual void present(const CaptionPicture& picture) = 0;
};

}  // namespace orvalis
