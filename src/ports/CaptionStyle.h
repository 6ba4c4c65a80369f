#pragma once

#include <string>

namespace orvalis {

// How captions look, as the player window holds it (section Caption).
struct CaptionStyle {
    std::string fontName = "돋움";
    int fontSize = 37;
    int fontOffset = -27;
    bool fontBold = true;
    bool fontAlias = false;
    bool fontBorder = false;
    int captionBottom = 10;
    int captionMargin = 10;
    int captionSpace = 0;
    bool showCaption = true;
    int fontColor = 0xB3DEF5;
    int borderColor = 0;
};

}  // namespace orvalis
