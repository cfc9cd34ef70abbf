#include "printing/ui/print_job.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/safe_file.h"
#include "data/format_error.h"
#include "printing/ui/print_painter.h"
#include "printing/ui/print_status_window.h"
#include "printing/ui/printer_device.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryFile>

namespace zep {

namespace {

void showFailure(const QString& text) {
    Interaction::instance().error(text, ApplicationName.toString());
}

// Restores the printer's output file on every path.
class OutputFileRestorer {
public:
    explicit OutputFileRestorer(QPrinter& printer) : printer_(printer), name_(printer.outputFileName()) {}
    ~OutputFileRestorer() { printer_.setOutputFileName(name_); }
    OutputFileRestorer(const OutputFileRestorer&) = delete;
    OutputFileRestorer& operator=(const OutputFileRestorer&) = delete;

private:
    QPrinter& printer_;
    QString name_;
};

// The finished file reads like any other (the temporary one was private to its owner) and is on disk
// before it replaces an older file of the name in one step, which leaves that one whole on failure.
void putPdfInPlace(const QString& partial, const QString& target) {
    const auto readable =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (!QFile::setPermissions(partial, readable))
        throw FileError(QStringLiteral("Die Rechte der Datei \"%1\" können nicht gesetzt werden.")
                            .arg(QDir::toNativeSeparators(partial)));
    syncFileToDisk(partial);
    renameDurably(partial, target);
}

} // namespace

PrintJob::PrintJob(QPrinter& printer, bool countsPages, QWidget* parent)
    : printer_(printer), countsPages_(countsPages), status_(new PrintStatusWindow(parent)) {
    status_->setPrinterName(printerDisplayName(printer));
    status_->setPage(countsPages ? 1 : 0);
    status_->show();
    status_->repaint();
    QApplication::processEvents();
}

PrintJob::~PrintJob() = default;

bool PrintJob::stopRequested(int page) {
    const bool aborted = abortRequested();
    if (countsPages_ && !aborted && status_->SeiteLbl->text() != QStringLiteral("Seite ") + QString::number(page))
        status_->setPage(page);
    return aborted;
}

bool PrintJob::abortRequested() {
    QApplication::processEvents();
    return status_->aborted();
}

PrintJob::Result PrintJob::print(int pageCount, const std::function<void(QPainter&, int page)>& paintPage) {
    if (status_->aborted())
        return Result::Aborted;
    printer_.setDocName(QString::fromUtf16(PrintJobName));
    const QString target = printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName() : QString();
    if (target.isEmpty()) {
        status_->BitBtn11->setEnabled(false);
        const Result result = paintAll(pageCount, paintPage);
        status_->close();
        return result;
    }
    const OutputFileRestorer restorer(printer_);
    const QFileInfo info(target);
    QTemporaryFile partial(QDir(info.absolutePath()).filePath(QStringLiteral(".zep-druck-XXXXXX.pdf")));
    if (!partial.open()) {
        status_->close();
        showFailure(QStringLiteral("Die PDF-Datei \"%1\" kann nicht angelegt werden:\r\n%2")
                        .arg(QDir::toNativeSeparators(target), partial.errorString()));
        return Result::Failed;
    }
    partial.close();
    printer_.setOutputFileName(partial.fileName());
    Result result = paintAll(pageCount, paintPage);
    if (result == Result::Printed) {
        try {
            putPdfInPlace(partial.fileName(), target);
        } catch (const FileError& error) {
            showFailure(QStringLiteral("Die PDF-Datei \"%1\" kann nicht geschrieben werden:\r\n%2")
                            .arg(QDir::toNativeSeparators(target), error.message()));
            result = Result::Failed;
        }
        // the name a failed folder sync leaves is the target's, not a temporary one
        partial.setAutoRemove(QFileInfo::exists(partial.fileName()));
    }
    status_->close();
    return result;
}

PrintJob::Result PrintJob::paintAll(int pageCount, const std::function<void(QPainter&, int page)>& paintPage) {
    QPainter painter;
    if (!painter.begin(&printer_)) {
        showFailure(QStringLiteral("Der Druckauftrag kann auf \"%1\" nicht begonnen werden.")
                        .arg(printerDisplayName(printer_)));
        return Result::Failed;
    }
    // The pages were counted as they were composed; painting them is not counted again.
    for (int page = 0; page < pageCount; ++page) {
        if (abortRequested()) {
            printer_.abort();
            painter.end();
            return Result::Aborted;
        }
        if (page > 0 && !printer_.newPage()) {
            painter.end();
            showFailure(QStringLiteral("Die Seite %1 kann nicht gedruckt werden.").arg(page + 1));
            return Result::Failed;
        }
        mapTenthsOntoPrinter(painter, printer_);
        paintPage(painter, page);
    }
    if (!painter.end()) {
        showFailure(
            QStringLiteral("Der Druckauftrag auf \"%1\" ist fehlgeschlagen.").arg(printerDisplayName(printer_)));
        return Result::Failed;
    }
    return Result::Printed;
}

} // namespace zep
