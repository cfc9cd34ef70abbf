#pragma once

#include "documents/document_printing.h"

namespace zep {

// Prints through the print system's "lp" and the office's "soffice", each started as a process of its
// own without waiting for it: the window goes on while a job is handed over. A job that cannot start
// or ends with an error is reported then, with what the program wrote on its error output.
class ProcessPrintSpooler : public PrintSpooler {
public:
    // The programs: names looked up on $PATH when a job starts, or paths; an empty office program is
    // the installed office.
    explicit ProcessPrintSpooler(QString printSystem = QStringLiteral("lp"), QString office = QString())
        : printSystem_(std::move(printSystem)), office_(std::move(office)) {}

    QString missingProgram(PrintWay way) const override;
    void print(PrintWay way, const QString& document, const QString& printer) override;

private:
    QString programFor(PrintWay way) const;

    QString printSystem_;
    QString office_;
};

} // namespace zep
