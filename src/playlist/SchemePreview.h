#pragma once

#include <vector>

#include "playlist/ColorScheme.h"

namespace orvalis {

// The colour dialog's preview: sample rows drawn in the chosen scheme, where a click picks
// the colour slot under the pointer. Four rows: ordinary, selected, playing, and selected
// and playing, each carrying the sample text.
class SchemePreview {
public:
    static constexpr const char* kSampleText = "한글 제목 AbCdE 012345";

    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
        bool contains(int px, int py) const {
            return px >= x && py >= y && px < x + width && py < y + height;
        }
    };
    struct Row {
        Rect area;
        bool selected = false;
        SchemeSlot textSlot = SchemeSlot::Text;
        Rect text;  // where the sample text stands
    };

    // The preview's size and the sample text's size in the dialog's font.
    SchemePreview(int width, int height, int textWidth, int textHeight);

    const std::vector<Row>& rows() const { return rows_; }
    // Text: the slot of its colour; a selected row's background: Selected; anything else
    // (the rows' and the margins' background): Back.
    SchemeSlot slotAt(int x, int y) const;

private:
    std::vector<Row> rows_;
};

}  // namespace orvalis
