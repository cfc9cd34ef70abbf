#include "printing/ui/print_painter.h"

#include "printing/ui/printer_device.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

#include <cstdlib>

namespace zep {

namespace {

// The font of a line: its height a character height in tenths of a millimetre.
QFont lineFont(const PrintFont& font, int fontHeight) {
    QFont result(font.name);
    result.setPixelSize(std::max(1, std::abs(fontHeight)));
    result.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    result.setItalic(font.italic);
    result.setStyleStrategy(QFont::PreferOutline);
    return result;
}

} // namespace

void mapTenthsOntoPrinter(QPainter& painter, const QPrinter& printer) {
    const double scale = printer.resolution() / double(ReportedPrinterDpi);
    painter.resetTransform();
    painter.scale(scale, scale);
}

void mapTenthsOntoRect(QPainter& painter, int width, int height, const QRectF& target) {
    painter.resetTransform();
    painter.translate(target.topLeft());
    if (width > 0 && height > 0)
        painter.scale(target.width() / width, target.height() / height);
}

void drawListLines(QPainter& painter, const PrintedPage& lines, const PrintFont& font, int fontHeight) {
    painter.setFont(lineFont(font, fontHeight));
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const PrintedLine& line : lines)
        painter.drawText(QRectF(line.x, -line.y, line.width, line.height),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line.text);
}

void drawEnvelopeLines(QPainter& painter, const std::vector<PlacedEnvelopeLine>& lines) {
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    for (const PlacedEnvelopeLine& line : lines) {
        painter.save();
        painter.setFont(lineFont(line.font, line.fontHeight));
        // Turned about the start point; the angle counts counter-clockwise, the painter's clockwise.
        painter.translate(line.x, -line.y);
        painter.rotate(-line.angle);
        painter.drawText(QRectF(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                         line.text);
        painter.restore();
    }
}

void drawTenthsRect(QPainter& painter, const TenthsRect& rect) {
    painter.drawRect(QRectF(QPointF(rect.x1, -rect.y1), QPointF(rect.x2, -rect.y2)).normalized());
}

} // namespace zep
