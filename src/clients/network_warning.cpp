#include "clients/network_warning.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/settings.h"
#include "app/tmand.h"
#include "clients/client_texts.h"

namespace zep {

void warnOnceAboutNetworkFileSystem(const NetworkFileSystemCheck& check, Interaction& interaction,
                                    const QString& clientName, const QString& clientDir) {
    if (!check || !check(clientDir))
        return;
    TMand paths;
    paths.SetClientPaths(clientName, clientDir);
    const ClientSettings settings(paths.IniFile);
    if (settings.networkWarningOff())
        return;
    const QString caption = ApplicationName.toString();
    interaction.warning(texts::networkFileSystemWarning(clientName), caption);
    if (!settings.setNetworkWarningOff())
        interaction.error(texts::settingNotSaved(paths.IniFile), caption);
}

} // namespace zep
