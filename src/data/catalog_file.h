#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// A catalog is a pick list kept as "<number>.kat" in the installation's General directory:
// one entry per line, CR LF line ends, Windows-1252. A missing file is an empty catalog.

QString catalogFileName(int number);

// Caption of the catalog window for the catalogs that have one; empty for the others (e.g. 30).
QString catalogCaption(int number);

// Replaces the lines with the catalog's content and returns true; a missing file leaves the lines
// as they are and returns false. Throws FileError when the file exists but cannot be read.
bool LoadCatalog(QStringList& lines, int number, const QString& generalDir);

// Writes the lines sorted, replacing the file in one step. Throws FileError when that fails.
void SaveCatalog(const QStringList& lines, int number, const QString& generalDir);

// The order a sorted pick list shows: German collation, letter case ignored.
QStringList sortedCatalogLines(QStringList lines);

} // namespace zep
