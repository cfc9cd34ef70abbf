#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// Lays out a complete installation in a directory: "General" with the installation-wide tables,
// catalogs and "Tab.dat", "Empty" with "Mand.ini" and the empty client tables in "Daten", and
// "Vorlagen" with letter templates, "help" with the help pages. What already exists is kept as it is. Throws on
// failure.
void ensureInstallationLayout(const QString& installDir);

// True when the installation holds every table, the column arrangement, the template client's
// tables, tree files and "Mand.ini": what the program cannot start or make a client without.
// Catalogs and letter templates are left out, so that one the user removed is not brought back.
bool isInstallationComplete(const QString& installDir);

// True when the template client's "Daten" directory holds every per-client table.
bool hasTemplateTables(const QString& emptyDataDir);

// The table files an existing client's "Daten" directory lacks, by name; empty when it can be opened.
// Serie.db is not asked for: opening a client copies it from the template when it is missing.
QStringList missingClientTables(const QString& dataDir);

} // namespace zep
