#include "printing/print_units.h"

#include <cmath>
#include <cstdlib>

namespace zep {

int printFieldValue(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

int roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        return int(lower) + 1;
    return int(lower);
}

UnprintableMargins unprintableMargins(const PrinterDevice& device) {
    if (device.dpiX <= 0 || device.dpiY <= 0)
        return {};
    const int sheetWidthMm = roundHalfEven(25.4 / device.dpiX * device.sheetWidth);
    const int sheetHeightMm = roundHalfEven(25.4 / device.dpiY * device.sheetHeight);
    UnprintableMargins margins;
    margins.left = roundHalfEven(device.offsetX * 25.4 / device.dpiX);
    margins.top = roundHalfEven(device.offsetY * 25.4 / device.dpiY);
    margins.right = sheetWidthMm - device.printableWidthMm - margins.left;
    margins.bottom = sheetHeightMm - device.printableHeightMm - margins.top;
    return margins;
}

int printFontHeight(int pointSize, int printerDpiY, int screenDpiY) {
    if (screenDpiY <= 0)
        return 0;
    // The screen's character height, rounded as the windowing system does (halves away from zero).
    const int screenHeight = -int(std::lround(double(pointSize) * screenDpiY / 72.0));
    return roundHalfEven(double(screenHeight) * printerDpiY / screenDpiY);
}

int printLineHeight(int fontHeight) {
    return std::abs(fontHeight * 3 / 2);
}

PrintFont defaultPrintFont() {
    return {QStringLiteral("Arial"), false, false, 12};
}

PrintFont decodePrintFont(const QString& name, const QString& style, const QString& size) {
    PrintFont font;
    font.name = name.left(PrintFontNameLength);
    if (style.size() >= 2) {
        font.bold = style[0] == u'1';
        font.italic = style[1] == u'1';
    }
    font.pointSize = printFieldValue(size);
    return font;
}

QString encodePrintFontStyle(const PrintFont& font) {
    return QString(font.bold ? u'1' : u'0') + QChar(font.italic ? u'1' : u'0');
}

QString printFontDescription(const PrintFont& font) {
    QString text = font.name + QStringLiteral(", ");
    if (font.bold)
        text += QStringLiteral("Fett, ");
    if (font.italic)
        text += QStringLiteral("Kursiv, ");
    return text + QString::number(font.pointSize);
}

} // namespace zep
