#pragma once

#include "documents/application_choice.h"
#include "documents/associations.h"

#include <QString>

#include <functional>
#include <optional>

namespace zep {

class PrintSpooler;
class ProgramLauncher;
class TDM;
class TMand;

// True for the note marker "---", after telling the user that a note is no file.
bool IsNote(const QString& ext);

// What opening needs from the windows.
struct OpeningWindows {
    // The chooser among several applications of one extension: the chosen program, or none on Abort.
    std::function<std::optional<QString>()> chooseApplication;
    // "Öffnen mit", when nothing on the desktop opens the document: one of these applications or another
    // program; none when the user aborts.
    std::function<std::optional<ApplicationChoice>(const QString& documentPath, const QString& extension,
                                                   const QList<DesktopApplication>& applications)>
        chooseOtherApplication;
    // The printer to print on (empty: the default one); none when the user aborts.
    std::function<std::optional<QString>()> choosePrinter;
    // Puts the current address on the clipboard in the current template's form.
    std::function<void()> copyAddress;
    // Hands the file to a running application without waiting; false when nothing was sent. notTaken
    // runs later when the application refuses the file or does not answer.
    std::function<bool(bool setApplication, const QString& programPath, const QString& service, const QString& topic,
                       const QString& command, const QString& fileName, std::function<void()> notTaken)>
        executeDde;
};

// Opens or plays the current document of TDok with the program the register binds to its extension
// (TPro, following TDok), or with the desktop's choice when the register has none; prints it through
// the print system or the office. A copy carries on after a running application refused the document,
// so all it refers to outlives the call.
class DocumentOpener {
public:
    DocumentOpener(TDM& dm, const TMand& client, const Associations& associations, ProgramLauncher& launcher,
                   PrintSpooler& spooler, OpeningWindows windows)
        : dm_(dm), client_(client), associations_(associations), launcher_(launcher), spooler_(spooler),
          windows_(std::move(windows)) {}

    void OpenDocument(DocumentVerb mode);

private:
    std::optional<QString> chooseProgram();
    void printDocument(const QString& path);
    void shellOpen(const QString& program, const QString& path, const QString& ext) const;
    void offerApplications(const QString& path, const QString& ext) const;

    TDM& dm_;
    const TMand& client_;
    const Associations& associations_;
    ProgramLauncher& launcher_;
    PrintSpooler& spooler_;
    OpeningWindows windows_;
};

} // namespace zep
