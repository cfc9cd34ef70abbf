#include "documents/shell_open.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/services.h"
#include "documents/launch_command.h"

#include <QDir>
#include <QFileInfo>

namespace zep {

namespace {

constexpr qsizetype kProgramPathLength = 255;

void showError(const QString& text) {
    Interaction::instance().error(text, ApplicationName.toString());
}

} // namespace

QString notFoundMessage(const QString& what, const QString& path) {
    return QStringLiteral("Kann %1 \"%2\" nicht finden").arg(what, path);
}

QString shellFailureMessage(int code) {
    return QStringLiteral("Fehler beim Öffnen des Dokuments\n\rFehler: ") + QString::number(code);
}

QString ShortPath(const QString& path) {
    if (path.isEmpty())
        return QString();
    const QFileInfo file(path);
    return file.exists() ? file.absoluteFilePath() : QString();
}

int ShellOpen(ProgramLauncher& launcher, const QString& programPath, const QString& documentPath,
              const QString& directory, std::function<void()> noApplication) {
    const QString program = GETSYSTEMROOT(programPath).left(kProgramPathLength);
    if (!documentPath.isEmpty() && !QFileInfo(documentPath).isFile()) {
        showError(notFoundMessage(QStringLiteral("Datei"), documentPath));
        return 0;
    }
    const QString document = ShortPath(documentPath);
    const LaunchCommand command = program.isEmpty() ? LaunchCommand() : launchCommand(program, document);
    if (!command.missing.isEmpty()) {
        showError(notFoundMessage(QStringLiteral("Anwendung"), command.missing));
        return 0;
    }
    const QString workingDir = ShortPath(directory);
    const int code = program.isEmpty() ? launcher.openWithDesktop(document, workingDir, noApplication)
                                       : launcher.start(command.program, command.arguments, workingDir);
    if (program.isEmpty() && code == shell_code::NoAssociation && noApplication)
        noApplication();
    else if (code <= 32)
        showError(shellFailureMessage(code));
    if (!workingDir.isEmpty())
        QDir::setCurrent(workingDir);
    return code;
}

} // namespace zep
