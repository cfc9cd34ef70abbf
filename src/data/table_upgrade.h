#pragma once

#include <QString>

namespace zep {

// Brings the tables of a directory to the current layouts (the version marker field included),
// keeping every record and value. Works on copies and replaces a table only when its copy is
// complete; on any failure the originals stay as they were. The low byte of the result is non-zero
// on success.
int DO_UPDATE_DATA(const QString& dataDir, const QString& marker);       // client tables
int DO_UPDATE_GENERAL(const QString& generalDir, const QString& marker); // Programm.DB

// Why the last upgrade of this thread failed, in German (the first cause met); empty after one that
// succeeded.
QString lastUpgradeError();

} // namespace zep
