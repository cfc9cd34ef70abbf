#pragma once

#include <QString>

namespace zep {

// Lays out a complete installation in a directory: "General" with the installation-wide tables,
// catalogs and "Tab.dat", "Empty" with "Mand.ini" and the empty client tables in "Daten", and
// "Vorlagen" with letter templates. What already exists is kept as it is. Throws on failure.
void ensureInstallationLayout(const QString& installDir);

} // namespace zep
