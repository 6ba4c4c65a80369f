#include "player/PlayerParts.h"

namespace orvalis {

void PlayerParts::refreshCaptionButtons() {
    if (!transport) return;
    CaptionButtons b;
    b.loaded = engine->flags().captionsLoaded;
    b.languages = captions ? captions->languageCount() : 0;
    b.smoothing = caption.fontAlias;
    b.bold = caption.fontBold;
    b.border = caption.fontBorder;
    b.shown = caption.showCaption;
    transport->refreshCaptionButtons(b);
}

}  // namespace orvalis
