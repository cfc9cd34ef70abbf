#pragma once

#include "printing/print_units.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace zep {

inline constexpr int PrintLineCount = 10;
using PrintLines = std::array<QString, PrintLineCount>;

enum class PrintMode { Print = 0, Preview = 1 };

// An address list layout as the dialog's controls hold it: page size and margins as typed (whole
// millimetres), the font and the ten line texts with placeholders.
struct AddressListLayout {
    QString pageWidth = QStringLiteral("210");
    QString pageHeight = QStringLiteral("297");
    QString top = QStringLiteral("20");
    QString bottom = QStringLiteral("20");
    QString left = QStringLiteral("20");
    QString right = QStringLiteral("20");
    PrintFont font = defaultPrintFont();
    PrintLines lines;
};

struct AddressListOptions {
    int columns = 1;                  // 1 .. 4
    bool newColumnPerInitial = false; // every new initial letter begins a column
};

// The geometry of one preview or print run. Lengths in tenths of a millimetre, margins in mm.
struct ListGeometry {
    int pageWidth = 0;
    int pageHeight = 0;
    UnprintableMargins margins; // the layout's margins, raised to what the printer cannot reach
    int columns = 1;
    int columnWidth = 0;
    int fontHeight = 0;
    int lineHeight = 0;
};

ListGeometry setupListGeometry(const AddressListLayout& layout, const AddressListOptions& options,
                               const UnprintableMargins& unprintable, int fontHeight);

// What the preview frames on the page: the sheet, the part the printer reaches, the layout's margins.
struct ListPageFrames {
    TenthsRect page;
    TenthsRect printable;
    TenthsRect margins;
};
ListPageFrames listPageFrames(const ListGeometry& g, const UnprintableMargins& unprintable);

// A line of an address block: its top left corner (y-axis up, so y is 0 or below) and the box it is
// clipped to.
struct PrintedLine {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    QString text;

    friend bool operator==(const PrintedLine&, const PrintedLine&) = default;
};

using PrintedPage = std::vector<PrintedLine>;

// A line of the selection list (subtreeEntryLine): the tree caption, "¶" and the address's Nr.
struct SelectionEntry {
    QString caption;
    int nr = 0;
};

// The lines in print order: compared without regard to case.
QStringList sortedSelectionLines(QStringList lines);
std::vector<SelectionEntry> selectionEntries(const QStringList& lines);

// The ten substituted lines of the address with that Nr; nothing when it no longer exists.
using AddressBlockLines = std::function<std::optional<PrintLines>(int nr)>;
// Asked before each entry with the number of pages begun so far; true stops the run.
using ListRunStop = std::function<bool(int pageCount)>;

struct ComposedList {
    std::vector<PrintedPage> pages; // the preview has one page at most
    bool stopped = false;
};

// Lays the address blocks of the entries, in their order, into columns and pages.
ComposedList composeAddressList(const ListGeometry& geometry, const AddressListOptions& options, PrintMode mode,
                                const std::vector<SelectionEntry>& entries, const AddressBlockLines& blockLines,
                                const ListRunStop& stop = {});

} // namespace zep
