#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// How a document reaches a printer.
enum class PrintWay {
    None,        // nothing here prints documents of its type
    PrintSystem, // the print system takes the file as it is: PDF, PostScript, text, common images
    Office,      // the office suite opens it without a window and prints it
};

// The way for a document, by its type (name, and content where the name says nothing). Office
// documents, rich text and web pages go to the office: as plain text their markup would be printed.
PrintWay printWayFor(const QString& documentPath);

// "Dokumente vom Typ "…" kann ZEP nicht drucken." with the type's German description.
QString unprintableMessage(const QString& documentPath);

// A print job to start: a program file and its arguments.
struct PrintCommand {
    QString program;
    QStringList arguments;
};

// The print system's "lp [-d printer] document", or the office's "soffice --headless --pt printer
// document" ("-p document" for the default printer). An empty printer is the default one.
PrintCommand printCommand(PrintWay way, const QString& program, const QString& document, const QString& printer);

// Starts print jobs; the platform runs the print system and the office.
class PrintSpooler {
public:
    virtual ~PrintSpooler() = default;
    // Why documents of this way cannot be printed here (their program is missing), as told to the user;
    // empty when they can.
    virtual QString missingProgram(PrintWay way) const = 0;
    // Starts printing the document on the printer (empty: the default one) and returns at once; a job
    // that fails is reported when it ends.
    virtual void print(PrintWay way, const QString& document, const QString& printer) = 0;
};

} // namespace zep
