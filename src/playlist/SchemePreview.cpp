#include "playlist/SchemePreview.h"

#include <algorithm>

namespace orvalis {

namespace {
constexpr int kRows = 4;
constexpr int kMargin = 4;
}  // namespace

SchemePreview::SchemePreview(int width, int height, int textWidth, int textHeight) {
    const int innerWidth = std::max(0, width - 2 * kMargin);
    const int rowHeight = std::max(0, (height - 2 * kMargin) / kRows);
    for (int i = 0; i < kRows; ++i) {
        Row row;
        row.area = {kMargin, kMargin + i * rowHeight, innerWidth, rowHeight};
        row.selected = i % 2 == 1;
        row.textSlot = i < 2 ? SchemeSlot::Text : SchemeSlot::TextFocused;
        const int textX = row.area.x + kTextOffsetX;
        const int textH = std::clamp(textHeight, 0, rowHeight);
        row.text = {textX, row.area.y + (rowHeight - textH) / 2,
                    std::clamp(textWidth, 0, std::max(0, row.area.x + innerWidth - textX)), textH};
        rows_.push_back(row);
    }
}

SchemeSlot SchemePreview::slotAt(int x, int y) const {
    for (const Row& row : rows_) {
        if (!row.area.contains(x, y)) continue;
        if (row.text.contains(x, y)) return row.textSlot;
        return row.selected ? SchemeSlot::Selected : SchemeSlot::Back;
    }
    return SchemeSlot::Back;
}

}  // namespace orvalis
