#pragma once

#include "printing/address_list.h"
#include "printing/print_units.h"

#include <QSizeF>
#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace zep {

// One line of an envelope layout as the dialog holds it: text with placeholders, the start's distance
// from the envelope's left (X) and top (Y) edge in whole millimetres, the angle W in whole degrees
// (clockwise on the envelope), and the line's own font.
struct EnvelopeLine {
    QString text;
    QString x;
    QString y;
    QString angle;
    PrintFont font;
};

struct EnvelopeLayout {
    QString width = QStringLiteral("200");
    QString height = QStringLiteral("100");
    std::array<EnvelopeLine, PrintLineCount> lines;
};

// The sheet the printer is offered: the envelope fed short edge first in portrait, so the sheet is
// as wide as the envelope is high. Empty when the layout names no positive size.
QSizeF envelopeSheetSizeMm(const EnvelopeLayout& layout);

// Line number 1 .. 10 of a new layout: empty, X 100, Y 10 × number + 30, angle 0, Arial 12.
EnvelopeLine newEnvelopeLine(int number);

// A line placed for drawing: top left corner in tenths of a millimetre (y-axis up), the angle in
// degrees counter-clockwise, and the font with its height in tenths of a millimetre.
struct PlacedEnvelopeLine {
    int x = 0;
    int y = 0;
    int angle = 0;
    QString text;
    PrintFont font;
    int fontHeight = 0;
};

// A rectangle by two corners, tenths of a millimetre, y-axis up.
// The envelope unturned as the preview shows it, and the part of it the printer reaches when the
// envelope is fed as the sheet, turned by a quarter turn (its left edge along the sheet's bottom).
TenthsRect envelopeRect(const EnvelopeLayout& layout);
TenthsRect envelopePrintableRect(const EnvelopeLayout& layout, const UnprintableMargins& unprintable);

// Start point and angle of a line. The preview draws the envelope as it lies; printing draws on the
// turned sheet with the origin at the printable area's corner.
struct EnvelopePoint {
    int x = 0;
    int y = 0;
    int angle = 0;

    friend bool operator==(const EnvelopePoint&, const EnvelopePoint&) = default;
};
EnvelopePoint envelopeLineStart(int x, int y, int angle, int envelopeWidth, PrintMode mode,
                                const UnprintableMargins& unprintable);

// The lines with text, substituted, in order 1 .. 10. A line whose placeholders are all empty is
// kept as an empty text.
std::vector<PlacedEnvelopeLine> placeEnvelopeLines(const EnvelopeLayout& layout, PrintMode mode,
                                                   const UnprintableMargins& unprintable,
                                                   const std::function<QString(const QString&)>& substitute,
                                                   int printerDpiY, int screenDpiY);

} // namespace zep
