#include "controls/grid_geometry.h"

#include <algorithm>

namespace zep::grid {

int rowHeight(int textHeight) {
    return textHeight < 13 ? 18 : textHeight + 5;
}

int visibleRows(int controlHeight, int scrollBarHeight, int rowHeight) {
    if (rowHeight <= 0)
        return 0;
    return std::max(0, (controlHeight - scrollBarHeight) / rowHeight - 1);
}

int columnWidth(int charWidth, int displayWidth, bool firstColumn, int firstColumnOffset) {
    return charWidth * displayWidth + (firstColumn ? firstColumnOffset : 0);
}

int displayChars(const FieldInfo& field) {
    if (field.displayWidth > 0)
        return field.displayWidth;
    if (field.def.size > 0)
        return field.def.size;
    switch (field.def.kind) {
    case FieldKind::Date:
        return 10;
    case FieldKind::Logical:
        return 6;
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        return 8;
    case FieldKind::Number:
        return 12;
    case FieldKind::String:
    case FieldKind::Memo:
        return 20;
    }
    return 10;
}

Hit hitTest(const std::vector<int>& columnWidths, int offset, int rowHeight, int visibleRows, int x, int y) {
    Hit hit;
    if (x >= 0) {
        int right = -offset;
        for (size_t i = 0; i < columnWidths.size(); ++i) {
            right += columnWidths[i];
            if (right >= x) {
                hit.column = int(i);
                break;
            }
        }
    }
    if (y >= 0 && rowHeight > 0) {
        // The first row whose bottom is at or below y.
        const int row = std::max(0, (y + rowHeight - 1) / rowHeight - 1);
        if (row <= visibleRows)
            hit.row = row;
    }
    return hit;
}

int horizontalMaximum(int totalWidth, int clientWidth) {
    return std::max(0, totalWidth - clientWidth + horizontalPage);
}

int clampHorizontalOffset(int wanted, int maximum) {
    return std::clamp(wanted, 0, std::max(0, maximum - horizontalPage));
}

// Long texts in narrow columns are common in the document list: search the kept length instead of
// measuring one character less at a time.
QString elideWithDots(const QString& text, int width, const std::function<int(const QString&)>& measure) {
    if (measure(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    const auto cutAt = [&text](qsizetype length) {
        return length > 0 && text.at(length - 1).isHighSurrogate() ? length - 1 : length;
    };
    qsizetype fits = 0;
    qsizetype tooWide = text.size();
    while (tooWide - fits > 1) {
        const qsizetype middle = (fits + tooWide) / 2;
        if (measure(text.left(cutAt(middle)) + dots) <= width)
            fits = middle;
        else
            tooWide = middle;
    }
    return text.left(cutAt(fits)) + dots;
}

void RecordWindow::update(int size, int currentRow, int recordCount) {
    size = std::max(0, size);
    if (recordCount <= 0 || currentRow < 0 || size == 0) {
        first_ = 0;
        count_ = 0;
        active_ = -1;
        return;
    }
    if (currentRow < first_)
        first_ = currentRow;
    else if (currentRow >= first_ + size)
        first_ = currentRow - size + 1;
    // Keep the window full when the records allow it, e.g. after records were removed at the end.
    first_ = std::clamp(first_, 0, std::max(0, recordCount - size));
    count_ = std::min(size, recordCount - first_);
    active_ = currentRow - first_;
}

} // namespace zep::grid
