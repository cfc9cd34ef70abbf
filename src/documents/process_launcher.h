#pragma once

#include "documents/shell_open.h"

#include <memory>

namespace zep {

// Starts programs as processes of their own, with an argument list and never through a shell. A
// program that ends with an error within the grace time is reported by the code; one that ends with an
// error later, but within the start-up window, is reported to the user then: it did not open the
// document. A program that ran longer was opened, and how it ends later (an editor the user closes
// hours after) is no failure to open; the desktop's opener only hands over and is always reported.
// The program's own launcher has no grace time, so the window never waits for a program. Programs
// keep running when ZEP ends.
class ProcessLauncher : public ProgramLauncher {
public:
    static constexpr int DefaultStartupWindowMs = 15000;

    // desktopOpener: the program that opens a document with the desktop's choice (a name on $PATH or a path).
    explicit ProcessLauncher(QString desktopOpener = QStringLiteral("xdg-open"), int graceMs = 0,
                             int startupWindowMs = DefaultStartupWindowMs)
        : desktopOpener_(std::move(desktopOpener)), graceMs_(graceMs), startupWindowMs_(startupWindowMs) {}

    int start(const QString& program, const QStringList& arguments, const QString& directory) override;
    int openWithDesktop(const QString& document, const QString& directory,
                        std::function<void()> noApplication) override;

private:
    enum class Kind { Program, DesktopOpener };
    int run(const QString& program, const QStringList& arguments, const QString& directory, Kind kind,
            std::function<void()> noApplication = {});

    // Watchers of programs still running hold it weakly: once the launcher is gone, nobody is left to
    // offer another application to.
    std::shared_ptr<int> alive_ = std::make_shared<int>();
    QString desktopOpener_;
    int graceMs_;
    int startupWindowMs_;
};

} // namespace zep
