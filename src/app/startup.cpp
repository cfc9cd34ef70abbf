#include "app/startup.h"

#include "app/program_info.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "tools/installation_layout.h"

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
    return !isInstallationComplete(paths.root);
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
