#pragma once

#include "printing/address_list.h"
#include "printing/envelope.h"

class QPainter;
class QPrinter;
class QRectF;

namespace zep {

// The one drawing routine of preview and print. Positions come in tenths of a millimetre with the
// y-axis up; the painter is first mapped so that one unit is a tenth of a millimetre.

// Printing: the origin at the printable area's top left corner, as the printer's painter has it.
void mapTenthsOntoPrinter(QPainter& painter, const QPrinter& printer);
// Preview: the page (width × height tenths) stretched onto the target in both directions.
void mapTenthsOntoRect(QPainter& painter, int width, int height, const QRectF& target);

void drawListLines(QPainter& painter, const PrintedPage& lines, const PrintFont& font, int fontHeight);
void drawEnvelopeLines(QPainter& painter, const std::vector<PlacedEnvelopeLine>& lines);
void drawTenthsRect(QPainter& painter, const TenthsRect& rect);

} // namespace zep
