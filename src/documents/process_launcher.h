#pragma once

#include "documents/shell_open.h"

namespace zep {

// Starts programs as processes of their own, with an argument list and never through a shell. A
// program that ends with an error within the grace time is reported by the code; one that ends with an
// error later is reported to the user then. The program's own launcher has no grace time, so the
// window never waits for a program. Programs keep running when ZEP ends.
class ProcessLauncher : public ProgramLauncher {
public:
    // desktopOpener: the program that opens a document with the desktop's choice (a name on $PATH or a path).
    explicit ProcessLauncher(QString desktopOpener = QStringLiteral("xdg-open"), int graceMs = 0)
        : desktopOpener_(std::move(desktopOpener)), graceMs_(graceMs) {}

    int open(const QString& program, const QString& document, const QString& directory) override;
    int openWithDesktop(const QString& document, const QString& directory) override;

private:
    enum class Kind { Program, DesktopOpener };
    int run(const QString& program, const QStringList& arguments, const QString& directory, Kind kind);

    QString desktopOpener_;
    int graceMs_;
};

} // namespace zep
