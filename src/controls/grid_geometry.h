#pragma once

#include "data/dataset.h"

#include <QString>
#include <functional>
#include <vector>

namespace zep {

// The pixel rules of the read-only document grid, free of any widget.
namespace grid {

// Row height from the text height of "Yy": small fonts get a fixed 18 so icons keep their room.
int rowHeight(int textHeight);
// Data rows that fit below the header row; never negative.
int visibleRows(int controlHeight, int scrollBarHeight, int rowHeight);
// Width of a column of displayWidth characters; the first column adds the room for icons.
int columnWidth(int charWidth, int displayWidth, bool firstColumn, int firstColumnOffset);

// A field's width in characters: its display width, else its own size; kinds without a size get
// room for their usual text forms.
int displayChars(const FieldInfo& field);

struct Hit {
    int column = -1; // index into the visible columns
    int row = -1;    // 0 is the header, 1 the first data row
    bool operator==(const Hit&) const = default;
};
// Columns start at x = -offset; rows at y = 0 with the header.
Hit hitTest(const std::vector<int>& columnWidths, int offset, int rowHeight, int visibleRows, int x, int y);

// Horizontal scrolling: a page is 150 pixels and the bar's range reaches 150 beyond the last column.
inline constexpr int horizontalPage = 150;
inline constexpr int horizontalLine = 50;
int horizontalMaximum(int totalWidth, int clientWidth);
// Clamps a wanted offset to 0 .. maximum - page (and never below 0).
int clampHorizontalOffset(int wanted, int maximum);

// A text that does not fit loses characters at its end until it fits together with "..."; then
// "..." is appended (alone when nothing fits). measure gives a text's width in pixels.
QString elideWithDots(const QString& text, int width, const std::function<int(const QString&)>& measure);

// The records a grid shows: a window of consecutive 0-based rows that holds the current record,
// scrolled as little as possible when the current record moves out of it.
class RecordWindow {
public:
    // Re-fits the window after the size, the current row or the record count changed.
    void update(int size, int currentRow, int recordCount);
    int first() const { return first_; }
    int count() const { return count_; }        // records in the window, at most its size
    int activeIndex() const { return active_; } // the current record's index, -1 when empty

private:
    int first_ = 0;
    int count_ = 0;
    int active_ = -1;
};

} // namespace grid
} // namespace zep
