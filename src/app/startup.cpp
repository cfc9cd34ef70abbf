#include "app/startup.h"

#include "app/program_info.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "tools/installation_layout.h"

#include <QFileInfo>

namespace zep {

QString alreadyRunningMessage() {
    return QStringLiteral("Diese Anwendung kann nur einmal gestartet werden.\rZEP läuft bereits!!");
}

bool claimSingleInstance(SingleInstance& instance, Interaction& interaction) {
    if (instance.tryAcquire())
        return true;
    interaction.warning(alreadyRunningMessage(), ApplicationName.toString());
    return false;
}

Program loadProgram(const QString& installationDirectory) {
    Program program;
    program.paths = InstallPaths::fromDirectory(installationDirectory);
    program.resubmissionStart = program.settings().resubmissionShow();
    return program;
}

bool needsInstallationLayout(const InstallPaths& paths) {
    for (const QString& dir : {paths.general, paths.empty, paths.emptyData, paths.templates})
        if (!QFileInfo(dir).isDir())
            return true;
    return false;
}

QString prepareInstallation(const InstallPaths& paths) {
    if (!needsInstallationLayout(paths))
        return {};
    try {
        ensureInstallationLayout(paths.root);
    } catch (const EngineError& e) {
        return e.message();
    } catch (const FileError& e) {
        return e.message();
    }
    return {};
}

} // namespace zep
