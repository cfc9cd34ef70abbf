#include "documents/process_launcher.h"

#include "app/interaction.h"
#include "app/program_info.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace zep {

namespace {

// The desktop opener ends with 2 for a missing file and 3 when nothing opens the type.
int failureCode(const QProcess& process, bool desktopOpener) {
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return shell_code::Started;
    if (desktopOpener && process.exitStatus() == QProcess::NormalExit) {
        if (process.exitCode() == 2)
            return shell_code::NotFound;
        if (process.exitCode() == 3)
            return shell_code::NoAssociation;
    }
    return shell_code::ProgramFailed;
}

// Watches a program that outlived the grace time; an error at its end is still the user's to know. When
// the desktop's opener tells that nothing opens the document, noApplication runs instead, while its
// launcher lives. The process object is never destroyed while the program runs, since that would end it.
void watchUntilFinished(QProcess* process, bool desktopOpener, int startupWindowMs, std::weak_ptr<int> launcher,
                        std::function<void()> noApplication) {
    QElapsedTimer running;
    running.start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, desktopOpener, startupWindowMs, running, launcher, noApplication] {
                         const int code = failureCode(*process, desktopOpener);
                         process->deleteLater();
                         if (code > 32 || (!desktopOpener && running.hasExpired(startupWindowMs)))
                             return;
                         if (code == shell_code::NoAssociation && noApplication && !launcher.expired()) {
                             noApplication();
                             return;
                         }
                         // After the windows have gone, the message still reaches the log rather than nobody.
                         if (Interaction* interaction = Interaction::installed())
                             interaction->error(shellFailureMessage(code), ApplicationName.toString());
                         else
                             qWarning().noquote() << shellFailureMessage(code);
                     });
}

} // namespace

int ProcessLauncher::start(const QString& program, const QStringList& arguments, const QString& directory) {
    return run(program, arguments, directory, Kind::Program);
}

int ProcessLauncher::openWithDesktop(const QString& document, const QString& directory,
                                     std::function<void()> noApplication) {
    // Without the desktop's opener nothing is there to open the document with.
    const QString opener =
        desktopOpener_.contains(u'/') ? desktopOpener_ : QStandardPaths::findExecutable(desktopOpener_);
    if (opener.isEmpty() || !QFileInfo(opener).isExecutable())
        return shell_code::NoAssociation;
    return run(opener, document.isEmpty() ? QStringList() : QStringList{document}, directory, Kind::DesktopOpener,
               std::move(noApplication));
}

int ProcessLauncher::run(const QString& program, const QStringList& arguments, const QString& directory, Kind kind,
                         std::function<void()> noApplication) {
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setWorkingDirectory(directory);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        const QFileInfo file(program);
        delete process;
        return file.isFile() ? shell_code::AccessDenied : shell_code::NotFound;
    }
    const bool desktopOpener = kind == Kind::DesktopOpener;
    if (graceMs_ > 0 && process->waitForFinished(graceMs_)) {
        const int code = failureCode(*process, desktopOpener);
        delete process;
        return code;
    }
    watchUntilFinished(process, desktopOpener, startupWindowMs_, alive_, std::move(noApplication));
    return shell_code::Started;
}

} // namespace zep
