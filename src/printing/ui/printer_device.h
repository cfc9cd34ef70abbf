#pragma once

#include "printing/print_units.h"

#include <QString>

class QPrinter;

namespace zep {

// The resolution the program reports for every printer. At 254 pixels per inch a pixel is a tenth
// of a millimetre, so the font height rule gives a 12-point line the 4.2 mm that 12 points are.
inline constexpr int ReportedPrinterDpi = 254;

// The printer's sheet and printable area as whole pixels at the reported resolution.
PrinterDevice printerDevice(const QPrinter& printer);

// The name shown for the printer: the CUPS queue, or the PDF file it writes.
QString printerDisplayName(const QPrinter& printer);

} // namespace zep
