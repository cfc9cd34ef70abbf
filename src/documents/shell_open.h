#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zep {

// Codes of starting a program or handing a document to the desktop: above 32 success, 32 or less
// failure, as the user is told them.
namespace shell_code {
constexpr int Started = 42;
constexpr int NotFound = 2;       // no such program
constexpr int AccessDenied = 5;   // the program file cannot be run
constexpr int NoAssociation = 31; // the desktop has nothing that opens the document
constexpr int ProgramFailed = 32; // the program ended with an error
} // namespace shell_code

// Starts programs without a shell: every argument reaches the program as one word.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Runs the program file (an absolute path) with these arguments.
    virtual int start(const QString& program, const QStringList& arguments, const QString& directory) = 0;
    // Hands the document to the desktop's own choice of application. When the desktop tells only later
    // that nothing opens the document, noApplication (if given) runs then instead of the failure being
    // reported; a NoAssociation returned at once is the caller's to handle.
    virtual int openWithDesktop(const QString& document, const QString& directory,
                                std::function<void()> noApplication) = 0;
};

// "Kann <what> "<path>" nicht finden", what being "Datei" or "Anwendung".
QString notFoundMessage(const QString& what, const QString& path);

// "Fehler beim Öffnen des Dokuments", line feed, carriage return, "Fehler: " and the code.
QString shellFailureMessage(int code);

// The absolute path of an existing file; empty for an empty path or a file that is not there.
QString ShortPath(const QString& path);

// Opens the document with the register's program (a program file, a desktop entry or a command line,
// see launchCommand), or with the desktop's choice when no program is given; either may be empty. A
// missing document or program is reported (the document first), and so is a refusal.
// Returns the launcher's code, or 0 when a missing file was reported.
// Without a program, noApplication (if given) runs instead of the failure message when the desktop has
// nothing that opens the document, at once or later.
int ShellOpen(ProgramLauncher& launcher, const QString& programPath, const QString& documentPath,
              const QString& directory, std::function<void()> noApplication = {});

} // namespace zep
