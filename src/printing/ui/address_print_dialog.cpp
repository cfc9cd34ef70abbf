#include "printing/ui/address_print_dialog.h"

#include "app/program.h"
#include "data/engine_error.h"
#include "printing/print_layouts.h"
#include "printing/print_line.h"
#include "printing/ui/print_job.h"
#include "printing/ui/print_painter.h"
#include "printing/ui/printer_device.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zep {

namespace {

LayoutDialog::Kind listKind() {
    return {QStringLiteral("TW_A_Print2"),
            QStringLiteral("Adressen drucken"),
            QStringLiteral("AdrPrt.db"),
            QStringLiteral("TW_A_Print1"),
            QStringLiteral("adr090"),
            {QStringLiteral("Text")},
            {55, 170},
            QStringLiteral("210"),
            QStringLiteral("297")};
}

// The page, the part the printer reaches and the layout's margins, as the preview frames them.
void drawPageFrames(QPainter& painter, const ListPageFrames& frames) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::yellow);
    drawTenthsRect(painter, frames.page);
    painter.setBrush(Qt::white);
    drawTenthsRect(painter, frames.printable);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::gray, 0, Qt::DashLine));
    drawTenthsRect(painter, frames.margins);
    painter.setPen(Qt::black);
}

} // namespace

AddressPrintDialog::AddressPrintDialog(const QString& generalDir, const QString& addressDir,
                                       const SelectionSource& selection, QWidget* parent)
    : LayoutDialog(listKind(), generalDir, parent), source_(selection) {
    addresses_.setDirectory(addressDir);
    addresses_.setTableName(QStringLiteral("Adressen.DB"));
    buildOwnControls();
    rebuildSelection();
}

void AddressPrintDialog::buildOwnControls() {
    QGridLayout* grid = controlsLayout();
    const std::tuple<QLineEdit**, const char16_t*, const char16_t*> margins[] = {
        {&E_RO, u"E_RO", u"Oben"}, {&E_RU, u"E_RU", u"Unten"}, {&E_RL, u"E_RL", u"Links"}, {&E_RR, u"E_RR", u"Rechts"}};
    int row = 0;
    for (const auto& [edit, name, caption] : margins) {
        *edit = addNumberField(QString::fromUtf16(name), 4, QStringLiteral("20"));
        grid->addWidget(new QLabel(QString::fromUtf16(caption) + QStringLiteral(" [mm]"), this), row, 2);
        grid->addWidget(*edit, row++, 3);
    }

    auto* columns = new QGroupBox(QStringLiteral("Spalten"), this);
    auto* columnsLayout = new QVBoxLayout(columns);
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        R_S[i] =
            new QRadioButton(i == 0 ? QStringLiteral("1 Spalte") : QStringLiteral("%1 Spalten").arg(i + 1), columns);
        R_S[i]->setObjectName(QStringLiteral("R_S%1").arg(i + 1));
        group->addButton(R_S[i], i + 1);
        columnsLayout->addWidget(R_S[i]);
    }
    R_S[0]->setChecked(true);
    grid->addWidget(columns, 0, 4, 4, 1);
    connect(group, &QButtonGroup::idClicked, this, [this](int tag) {
        columns_ = tag;
        setStatus(true, std::nullopt);
    });

    Check_U = new QCheckBox(QStringLiteral("Untereinträge einbeziehen"), this);
    Check_U->setObjectName(QStringLiteral("Check_U"));
    Check_H = new QCheckBox(QStringLiteral("Haupteinträge einbeziehen"), this);
    Check_H->setObjectName(QStringLiteral("Check_H"));
    Check_S = new QCheckBox(QStringLiteral("neuer Buchstabe - neue Spalte"), this);
    Check_S->setObjectName(QStringLiteral("Check_S"));
    grid->addWidget(Check_U, 2, 0, 1, 2);
    grid->addWidget(Check_H, 3, 0, 1, 2);
    grid->addWidget(Check_S, 4, 0, 1, 4);
    for (QCheckBox* box : {Check_U, Check_H})
        connect(box, &QCheckBox::clicked, this, [this] {
            rebuildSelection();
            setStatus(true, std::nullopt);
        });
    connect(Check_S, &QCheckBox::clicked, this, [this] { setStatus(true, std::nullopt); });
}

void AddressPrintDialog::rebuildSelection() {
    selection_ = sortedSelectionLines(source_ ? source_(Check_U->isChecked(), Check_H->isChecked()) : QStringList());
}

void AddressPrintDialog::showEvent(QShowEvent* event) {
    if (!addresses_.isActive()) {
        try {
            addresses_.open();
        } catch (const EngineError& e) {
            showEngineError(e.message());
        }
        columns_ = 1;
        R_S[0]->setChecked(true);
    }
    LayoutDialog::showEvent(event);
}

void AddressPrintDialog::loadLayout(DataSet& record) {
    const AddressListLayout layout = readAddressListLayout(record);
    E_Breite->setText(layout.pageWidth);
    E_Hohe->setText(layout.pageHeight);
    E_RO->setText(layout.top);
    E_RU->setText(layout.bottom);
    E_RL->setText(layout.left);
    E_RR->setText(layout.right);
    font_ = layout.font;
    E_F->setText(printFontDescription(font_));
    for (int row = 0; row < PrintLineCount; ++row)
        Grid->item(row, 1)->setText(layout.lines[size_t(row)]);
}

AddressListLayout AddressPrintDialog::layoutFromControls() const {
    AddressListLayout layout;
    layout.pageWidth = E_Breite->text();
    layout.pageHeight = E_Hohe->text();
    layout.top = E_RO->text();
    layout.bottom = E_RU->text();
    layout.left = E_RL->text();
    layout.right = E_RR->text();
    layout.font = font_;
    for (int row = 0; row < PrintLineCount; ++row)
        layout.lines[size_t(row)] = Grid->item(row, 1)->text();
    return layout;
}

void AddressPrintDialog::writeLayout(Table& table, const QString& name) {
    writeAddressListLayout(table, name, layoutFromControls());
}

void AddressPrintDialog::resetToNewLayout() {
    for (QLineEdit* margin : {E_RO, E_RU, E_RL, E_RR})
        margin->setText(QStringLiteral("20"));
    font_ = defaultPrintFont();
    E_F->setText(printFontDescription(font_));
    for (int row = 0; row < PrintLineCount; ++row)
        Grid->item(row, 1)->setText(QString());
}

void AddressPrintDialog::loadCurrentRow() {
    E_T->setText(Grid->item(currentRow(), 1)->text());
}

void AddressPrintDialog::copyFieldsToRow() {
    Grid->item(currentRow(), 1)->setText(E_T->text());
}

AddressListOptions AddressPrintDialog::options() const {
    return {columns_, Check_S->isChecked()};
}

ListGeometry AddressPrintDialog::geometry() const {
    const int fontHeight = printFontHeight(font_.pointSize, ReportedPrinterDpi, screenDpiY());
    return setupListGeometry(layoutFromControls(), options(), unprintableMargins(printerDevice(printer())), fontHeight);
}

ComposedList AddressPrintDialog::compose(PrintMode mode, const ListRunStop& stop) {
    const AddressListLayout layout = layoutFromControls();
    const PrintFieldText fieldText = recordFieldText(addresses_);
    const QStringList known = knownNames();
    const auto blockLines = [&](int nr) -> std::optional<PrintLines> {
        if (!addresses_.isActive() || !addresses_.findKey({nr}))
            return std::nullopt;
        PrintLines lines;
        for (size_t i = 0; i < lines.size(); ++i)
            lines[i] = SubstitutePrintLine(layout.lines[i], known, fieldText);
        return lines;
    };
    return composeAddressList(geometry(), options(), mode, selectionEntries(selection_), blockLines, stop);
}

void AddressPrintDialog::paintPreview(QPainter& painter, const QRect& box) {
    const ListGeometry g = geometry();
    mapTenthsOntoRect(painter, g.pageWidth, g.pageHeight, box);
    drawPageFrames(painter, listPageFrames(g, unprintableMargins(printerDevice(printer()))));
    try {
        const ComposedList list = compose(PrintMode::Preview);
        if (!list.pages.empty())
            drawListLines(painter, list.pages.front(), font_, g.fontHeight);
    } catch (const EngineError&) {
        // A preview paint never asks; the failure shows when the user prints.
    }
}

void AddressPrintDialog::printLayout() {
    if (!choosePrinter())
        return;
    const QPageLayout::Orientation orientation = printer().pageLayout().orientation();
    printer().setPageOrientation(QPageLayout::Portrait);
    try {
        PrintJob job(printer(), true, this);
        const ComposedList list = compose(PrintMode::Print, [&job](int page) { return job.stopRequested(page); });
        if (!list.stopped) {
            const ListGeometry g = geometry();
            job.print(int(list.pages.size()), [&](QPainter& painter, int page) {
                drawListLines(painter, list.pages[size_t(page)], font_, g.fontHeight);
            });
        }
    } catch (const EngineError& e) {
        showEngineError(e.message());
    }
    printer().setPageOrientation(orientation);
}

int AddressPrintDialog::storedIndex() const {
    return Program::instance().settings().printAddressIndex();
}

void AddressPrintDialog::storeIndex(int index) const {
    Program::instance().settings().setPrintAddressIndex(index);
}

} // namespace zep
