#pragma once

#include <QString>

namespace zep {

// Print geometry is kept in tenths of a millimetre, as whole numbers.

// The integer value of a number field of a print dialog; 0 when the text is no whole number.
int printFieldValue(const QString& text);

// Nearest integer, halves to the even neighbour.
int roundHalfEven(double value);

// What a printer reports about its sheet: the printable area in whole millimetres, the sheet and the
// printable area's top left corner in device pixels, and the resolution in pixels per inch.
struct PrinterDevice {
    int printableWidthMm = 0;
    int printableHeightMm = 0;
    int sheetWidth = 0;
    int sheetHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    int dpiX = 0;
    int dpiY = 0;
};

// The parts of the sheet the printer cannot reach, in whole millimetres.
struct UnprintableMargins {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;

    friend bool operator==(const UnprintableMargins&, const UnprintableMargins&) = default;
};

UnprintableMargins unprintableMargins(const PrinterDevice& device);

// The height of a font in tenths of a millimetre for a size in points: the character height the size
// has on the screen, scaled by the printer's vertical resolution over the screen's. The result is
// negative (a character height, without the leading above it); 0 points give 0.
int printFontHeight(int pointSize, int printerDpiY, int screenDpiY);

// The distance of two lines: one and a half font heights, positive.
int printLineHeight(int fontHeight);

// A layout's font: the name (at most 32 characters), bold and italic, and the size in points.
struct PrintFont {
    QString name;
    bool bold = false;
    bool italic = false;
    int pointSize = 0;

    friend bool operator==(const PrintFont&, const PrintFont&) = default;
};

inline constexpr int PrintFontNameLength = 32;

// The font of a new layout: Arial, 12 points, plain.
PrintFont defaultPrintFont();
// A stored font: name, style as two characters ("1" bold, then "1" italic), size text.
PrintFont decodePrintFont(const QString& name, const QString& style, const QString& size);
QString encodePrintFontStyle(const PrintFont& font);
// "Arial, Fett, Kursiv, 12"
QString printFontDescription(const PrintFont& font);

// A rectangle in tenths of a millimetre, y-axis up: from (x1, y1) to (x2, y2).
struct TenthsRect {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;

    friend bool operator==(const TenthsRect&, const TenthsRect&) = default;
};

} // namespace zep
