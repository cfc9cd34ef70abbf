#pragma once

#include "app/interaction.h"
#include "app/program.h"
#include "app/single_instance.h"

#include <QString>

namespace zep {

QString alreadyRunningMessage();

// Takes the instance lock; when another copy runs, tells the user and returns false.
bool claimSingleInstance(SingleInstance& instance, Interaction& interaction);

// Reads the start values of an installation. Writes nothing: a missing settings file gives the defaults.
Program loadProgram(const QString& installationDirectory);

// True when the installation lacks one of its directories or one of the files it cannot start or make
// a client without (its tables, "Tab.dat", the template client's tables, tree files and "Mand.ini").
bool needsInstallationLayout(const InstallPaths& paths);

// Lays out what a new installation lacks. Returns "" on success, else the German text to show.
QString prepareInstallation(const InstallPaths& paths);

} // namespace zep
