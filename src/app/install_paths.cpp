#include "app/install_paths.h"

#include <QCoreApplication>
#include <QDir>

namespace zep {

QString joinPath(const QString& directory, const QString& name) {
    if (directory.endsWith(u'/'))
        return directory + name;
    return directory + u'/' + name;
}

InstallPaths InstallPaths::fromDirectory(const QString& directory) {
    InstallPaths p;
    p.root = QDir::cleanPath(directory);
    p.settingsFile = joinPath(p.root, QStringLiteral("zep.ini"));
    p.general = joinPath(p.root, QStringLiteral("General"));
    p.empty = joinPath(p.root, QStringLiteral("Empty"));
    p.emptyData = joinPath(p.empty, QStringLiteral("Daten"));
    p.templates = joinPath(p.root, QStringLiteral("Vorlagen"));
    p.columnFile = joinPath(p.general, QStringLiteral("Tab.dat"));
    p.noteScratchFile = joinPath(p.root, QStringLiteral("Temp.rtf"));
    p.serialScratchFile = joinPath(p.root, QStringLiteral("serie0.rtf"));
    p.helpDir = joinPath(p.root, QStringLiteral("help"));
    p.registryFile = joinPath(p.root, QStringLiteral("Registry.ini"));
    return p;
}

QString installationDirectory() {
    const QString override = qEnvironmentVariable("ZEP_HOME");
    const QString directory = override.isEmpty() ? QCoreApplication::applicationDirPath() : override;
    return QDir::cleanPath(QDir(directory).absolutePath());
}

} // namespace zep
