#include "printing/ui/printer_device.h"

#include <QPrinter>

#include <cmath>

namespace zep {

namespace {

int tenths(double millimetres) {
    return int(std::lround(millimetres * 10));
}

} // namespace

PrinterDevice printerDevice(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    const QRectF sheet = layout.fullRect(QPageLayout::Millimeter);
    const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
    PrinterDevice device;
    device.dpiX = device.dpiY = ReportedPrinterDpi;
    device.sheetWidth = tenths(sheet.width());
    device.sheetHeight = tenths(sheet.height());
    device.offsetX = tenths(printable.left());
    device.offsetY = tenths(printable.top());
    device.printableWidthMm = int(std::lround(printable.width()));
    device.printableHeightMm = int(std::lround(printable.height()));
    return device;
}

QString printerDisplayName(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName().isEmpty() ? QStringLiteral("PDF-Datei")
                                                  : QStringLiteral("PDF-Datei ") + printer.outputFileName();
    return printer.printerName();
}

} // namespace zep
