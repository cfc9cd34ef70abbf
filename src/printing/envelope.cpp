#include "printing/envelope.h"

namespace zep {

EnvelopeLine newEnvelopeLine(int number) {
    return {QString(), QStringLiteral("100"), QString::number(10 * number + 30), QStringLiteral("0"),
            defaultPrintFont()};
}

TenthsRect envelopeRect(const EnvelopeLayout& layout) {
    return {0, 0, printFieldValue(layout.width) * 10, -printFieldValue(layout.height) * 10};
}

QSizeF envelopeSheetSizeMm(const EnvelopeLayout& layout) {
    const int width = printFieldValue(layout.width);
    const int height = printFieldValue(layout.height);
    return width > 0 && height > 0 ? QSizeF(height, width) : QSizeF();
}

TenthsRect envelopePrintableRect(const EnvelopeLayout& layout, const UnprintableMargins& unprintable) {
    const TenthsRect envelope = envelopeRect(layout);
    return {unprintable.bottom * 10, -unprintable.left * 10, envelope.x2 - unprintable.top * 10, envelope.y2};
}

EnvelopePoint envelopeLineStart(int x, int y, int angle, int envelopeWidth, PrintMode mode,
                                const UnprintableMargins& unprintable) {
    if (mode == PrintMode::Preview)
        return {x * 10, -y * 10, 360 - angle};
    // On the sheet the envelope's rightward direction points up, so a line that runs rightwards on the
    // envelope runs up the sheet (90°); the angle turns it clockwise from there as in the preview.
    return {y * 10 - unprintable.left * 10, x * 10 - envelopeWidth + unprintable.top * 10, 90 - angle};
}

std::vector<PlacedEnvelopeLine> placeEnvelopeLines(const EnvelopeLayout& layout, PrintMode mode,
                                                   const UnprintableMargins& unprintable,
                                                   const std::function<QString(const QString&)>& substitute,
                                                   int printerDpiY, int screenDpiY) {
    const int envelopeWidth = printFieldValue(layout.width) * 10;
    std::vector<PlacedEnvelopeLine> placed;
    for (const EnvelopeLine& line : layout.lines) {
        if (line.text.isEmpty())
            continue;
        const EnvelopePoint start = envelopeLineStart(printFieldValue(line.x), printFieldValue(line.y),
                                                      printFieldValue(line.angle), envelopeWidth, mode, unprintable);
        placed.push_back({start.x, start.y, start.angle, substitute(line.text), line.font,
                          printFontHeight(line.font.pointSize, printerDpiY, screenDpiY)});
    }
    return placed;
}

} // namespace zep
