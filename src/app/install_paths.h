#pragma once

#include <QString>

namespace zep {

// Every fixed path of an installation, built from its directory. A plain value so that tests can
// point an installation anywhere.
struct InstallPaths {
    QString root; // no trailing "/" (except the file-system root itself)
    QString settingsFile;
    QString general;
    QString empty;
    QString emptyData;
    QString templates;
    QString columnFile;
    QString noteScratchFile;
    QString serialScratchFile;
    QString helpDir;
    QString registryFile;

    static InstallPaths fromDirectory(const QString& directory);
};

// The executable's directory, or the directory named by ZEP_HOME when that is set.
// Needs a constructed QCoreApplication.
QString installationDirectory();

// Appends a name to a directory with exactly one "/" between them.
QString joinPath(const QString& directory, const QString& name);

} // namespace zep
