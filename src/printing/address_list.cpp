#include "printing/address_list.h"

#include "printing/print_line.h"

#include <algorithm>

namespace zep {

namespace {

constexpr QChar SelectionSeparator = u'¶';
constexpr int ColumnGap = 20; // a line stays 2 mm clear of the next column

// Runs the address blocks down the columns; x and y are the next line's position, y measured down.
class ListRun {
public:
    ListRun(const ListGeometry& geometry, PrintMode mode) : g_(geometry), mode_(mode) { result_.pages.emplace_back(); }

    bool nextColumn() {
        if (column_ < g_.columns) {
            y_ = g_.margins.top * 10;
            x_ = g_.margins.left * 10 + column_ * g_.columnWidth;
            ++column_;
            return true;
        }
        if (mode_ == PrintMode::Preview)
            return false;
        result_.pages.emplace_back();
        x_ = g_.margins.left * 10;
        y_ = g_.margins.top * 10;
        column_ = 1;
        return true;
    }

    void block(const PrintLines& lines) {
        const auto count =
            std::count_if(lines.begin(), lines.end(), [](const QString& l) { return !isBlankPrintLine(l); });
        if (g_.pageHeight - g_.margins.bottom * 10 - y_ < (int(count) + 1) * g_.lineHeight && !nextColumn())
            return;
        y_ += g_.lineHeight;
        for (const QString& line : lines) {
            if (isBlankPrintLine(line))
                continue;
            result_.pages.back().push_back({x_, -y_, g_.columnWidth - ColumnGap, g_.lineHeight, line});
            y_ += g_.lineHeight;
        }
    }

    // The preview's page is full when not even a block without lines fits in its last column.
    bool previewFull() const {
        return mode_ == PrintMode::Preview && column_ >= g_.columns &&
               g_.pageHeight - g_.margins.bottom * 10 - y_ < std::max(g_.lineHeight, 1);
    }

    ComposedList& result() { return result_; }

private:
    const ListGeometry& g_;
    PrintMode mode_;
    int x_ = 0;
    int y_ = 0;
    int column_ = 0;
    ComposedList result_;
};

QChar initialOf(const QString& caption) {
    const QChar c = caption.isEmpty() ? SelectionSeparator : caption[0];
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - u'a' + u'A') : c;
}

} // namespace

ListGeometry setupListGeometry(const AddressListLayout& layout, const AddressListOptions& options,
                               const UnprintableMargins& unprintable, int fontHeight) {
    ListGeometry g;
    g.margins.left = std::max(printFieldValue(layout.left), unprintable.left);
    g.margins.right = std::max(printFieldValue(layout.right), unprintable.right);
    g.margins.top = std::max(printFieldValue(layout.top), unprintable.top);
    g.margins.bottom = std::max(printFieldValue(layout.bottom), unprintable.bottom);
    g.pageWidth = printFieldValue(layout.pageWidth) * 10;
    g.pageHeight = printFieldValue(layout.pageHeight) * 10;
    g.columns = std::clamp(options.columns, 1, 4);
    g.columnWidth = (g.pageWidth - g.margins.left * 10 - g.margins.right * 10) / g.columns;
    g.fontHeight = fontHeight;
    g.lineHeight = printLineHeight(fontHeight);
    return g;
}

QStringList sortedSelectionLines(QStringList lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return lines;
}

std::vector<SelectionEntry> selectionEntries(const QStringList& lines) {
    std::vector<SelectionEntry> entries;
    for (const QString& line : lines) {
        const qsizetype separator = line.lastIndexOf(SelectionSeparator);
        bool ok = false;
        const int nr = separator < 0 ? 0 : line.mid(separator + 1).toInt(&ok);
        if (ok)
            entries.push_back({line.left(separator), nr});
    }
    return entries;
}

ComposedList composeAddressList(const ListGeometry& geometry, const AddressListOptions& options, PrintMode mode,
                                const std::vector<SelectionEntry>& entries, const AddressBlockLines& blockLines,
                                const ListRunStop& stop) {
    ListRun run(geometry, mode);
    if (!options.newColumnPerInitial)
        run.nextColumn();
    std::optional<QChar> previousInitial;
    for (const SelectionEntry& entry : entries) {
        if (run.previewFull())
            break;
        if (stop && stop(int(run.result().pages.size()))) {
            run.result().stopped = true;
            break;
        }
        const std::optional<PrintLines> lines = blockLines(entry.nr);
        if (!lines)
            continue;
        if (options.newColumnPerInitial) {
            const QChar initial = initialOf(entry.caption);
            if (initial != previousInitial) {
                if (!run.nextColumn())
                    break;
                previousInitial = initial;
            }
        }
        run.block(*lines);
    }
    return std::move(run.result());
}

ListPageFrames listPageFrames(const ListGeometry& g, const UnprintableMargins& unprintable) {
    const auto inset = [&g](const UnprintableMargins& m) {
        return TenthsRect{m.left * 10, -m.top * 10, g.pageWidth - m.right * 10, -(g.pageHeight - m.bottom * 10)};
    };
    return {{0, 0, g.pageWidth, -g.pageHeight}, inset(unprintable), inset(g.margins)};
}

} // namespace zep
