#include "printing/ui/envelope_print_dialog.h"

#include "app/program.h"
#include "data/engine_error.h"
#include "printing/print_layouts.h"
#include "printing/print_line.h"
#include "printing/ui/print_job.h"
#include "printing/ui/print_painter.h"
#include "printing/ui/print_preview_window.h"
#include "printing/ui/printer_device.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>

namespace zep {

namespace {

enum Column { TextColumn = 1, XColumn, YColumn, WColumn };

LayoutDialog::Kind envelopeKind() {
    return {QStringLiteral("TBrief2"),
            QStringLiteral("Briefumschlag drucken"),
            QStringLiteral("Brief.db"),
            QStringLiteral("TBrief1"),
            QStringLiteral("adr100"),
            {QStringLiteral("Text"), QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("W")},
            {55, 151, 30, 30, 30},
            QStringLiteral("200"),
            QStringLiteral("100")};
}

} // namespace

EnvelopePrintDialog::EnvelopePrintDialog(const QString& generalDir, DataSet& address, QWidget* parent)
    : LayoutDialog(envelopeKind(), generalDir, parent), address_(address) {
    fonts_.fill(defaultPrintFont());
    QGridLayout* grid = controlsLayout();
    const std::tuple<QLineEdit**, const char16_t*, const char16_t*> fields[] = {
        {&E_X, u"E_X", u"Abstand von linker\nKante [mm] (X)"},
        {&E_Y, u"E_Y", u"Abstand von oberer\nKante [mm] (Y)"},
        {&E_W, u"E_W", u"Winkel [°] (W)"}};
    int row = 0;
    for (const auto& [edit, name, caption] : fields) {
        *edit = addNumberField(QString::fromUtf16(name), 3, QString());
        grid->addWidget(new QLabel(QString::fromUtf16(caption), this), row, 2);
        grid->addWidget(*edit, row++, 3);
    }
    Grid->setToolTip(QStringLiteral("Zeilenübersicht"));
    preview().resize(440, 260); // an envelope lies across
    preview().placeAtBottomRight();
    NeuBtn->setToolTip(QStringLiteral("Neue Adresse"));
}

void EnvelopePrintDialog::loadLayout(DataSet& record) {
    const EnvelopeLayout layout = readEnvelopeLayout(record);
    E_Breite->setText(layout.width);
    E_Hohe->setText(layout.height);
    for (int row = 0; row < PrintLineCount; ++row) {
        const EnvelopeLine& line = layout.lines[size_t(row)];
        Grid->item(row, TextColumn)->setText(line.text);
        Grid->item(row, XColumn)->setText(line.x);
        Grid->item(row, YColumn)->setText(line.y);
        Grid->item(row, WColumn)->setText(line.angle);
        fonts_[size_t(row)] = line.font;
    }
}

EnvelopeLayout EnvelopePrintDialog::layoutFromControls() const {
    EnvelopeLayout layout;
    layout.width = E_Breite->text();
    layout.height = E_Hohe->text();
    for (int row = 0; row < PrintLineCount; ++row)
        layout.lines[size_t(row)] = {Grid->item(row, TextColumn)->text(), Grid->item(row, XColumn)->text(),
                                     Grid->item(row, YColumn)->text(), Grid->item(row, WColumn)->text(),
                                     fonts_[size_t(row)]};
    return layout;
}

void EnvelopePrintDialog::writeLayout(Table& table, const QString& name) {
    writeEnvelopeLayout(table, name, layoutFromControls());
}

void EnvelopePrintDialog::resetToNewLayout() {
    for (int row = 0; row < PrintLineCount; ++row) {
        const EnvelopeLine line = newEnvelopeLine(row + 1);
        Grid->item(row, TextColumn)->setText(line.text);
        Grid->item(row, XColumn)->setText(line.x);
        Grid->item(row, YColumn)->setText(line.y);
        Grid->item(row, WColumn)->setText(line.angle);
        fonts_[size_t(row)] = line.font;
    }
}

void EnvelopePrintDialog::loadCurrentRow() {
    const int row = currentRow();
    E_T->setText(Grid->item(row, TextColumn)->text());
    E_X->setText(Grid->item(row, XColumn)->text());
    E_Y->setText(Grid->item(row, YColumn)->text());
    E_W->setText(Grid->item(row, WColumn)->text());
    E_F->setText(printFontDescription(fonts_[size_t(row)]));
}

void EnvelopePrintDialog::copyFieldsToRow() {
    const int row = currentRow();
    Grid->item(row, TextColumn)->setText(E_T->text());
    Grid->item(row, XColumn)->setText(E_X->text());
    Grid->item(row, YColumn)->setText(E_Y->text());
    Grid->item(row, WColumn)->setText(E_W->text());
}

std::vector<PlacedEnvelopeLine> EnvelopePrintDialog::placedLines(PrintMode mode) {
    const PrintFieldText fieldText = recordFieldText(address_);
    const QStringList known = knownNames();
    const bool hasAddress = address_.isActive() && !address_.isEmpty();
    const auto substitute = [&](const QString& text) {
        return SubstitutePrintLine(
            text, known, hasAddress ? fieldText : [](const QString&) { return std::optional<QString>(QString()); });
    };
    return placeEnvelopeLines(layoutFromControls(), mode, unprintableMargins(printerDevice(printer())), substitute,
                              ReportedPrinterDpi, screenDpiY());
}

void EnvelopePrintDialog::paintPreview(QPainter& painter, const QRect& box) {
    const EnvelopeLayout layout = layoutFromControls();
    const TenthsRect envelope = envelopeRect(layout);
    mapTenthsOntoRect(painter, envelope.x2, -envelope.y2, box);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::yellow);
    drawTenthsRect(painter, envelope);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    drawTenthsRect(painter, envelopePrintableRect(layout, unprintableMargins(printerDevice(printer()))));
    painter.setPen(Qt::black);
    try {
        drawEnvelopeLines(painter, placedLines(PrintMode::Preview));
    } catch (const EngineError&) {
        // A preview paint never asks; the failure shows when the user prints.
    }
}

void EnvelopePrintDialog::printLayout() {
    // Offered in the printer dialog; the user may still pick the envelope tray's own size there.
    if (const QSizeF sheet = envelopeSheetSizeMm(layoutFromControls()); !sheet.isEmpty())
        printer().setPageSize(QPageSize(sheet, QPageSize::Millimeter, QStringLiteral("Briefumschlag")));
    printer().setPageOrientation(QPageLayout::Portrait);
    if (!choosePrinter())
        return;
    const QPageLayout::Orientation orientation = printer().pageLayout().orientation();
    printer().setPageOrientation(QPageLayout::Portrait);
    try {
        const std::vector<PlacedEnvelopeLine> lines = placedLines(PrintMode::Print);
        PrintJob job(printer(), false, this);
        if (!job.stopRequested(1))
            job.print(1, [&lines](QPainter& painter, int) { drawEnvelopeLines(painter, lines); });
    } catch (const EngineError& e) {
        showEngineError(e.message());
    }
    printer().setPageOrientation(orientation);
}

int EnvelopePrintDialog::storedIndex() const {
    return Program::instance().settings().printLetterIndex();
}

void EnvelopePrintDialog::storeIndex(int index) const {
    Program::instance().settings().setPrintLetterIndex(index);
}

} // namespace zep
