#pragma once

#include <QString>

namespace zep {

// The non-table content of a fresh installation. Each function writes a file only when it is
// missing, so a user's catalogs, arrangement, settings and templates are never replaced; it
// creates the directory when needed and throws FileError when a file cannot be written.

// Catalogs 1, 4, 10, 11, 12 and 13 with common office entries, and catalog 30 with the address
// fields offered as placeholders and merge fields.
void writeDefaultCatalogs(const QString& generalDir);

// "Tab.dat" with a column arrangement for the document list.
void writeDefaultColumnFile(const QString& path);

// "Mand.ini" of the template client: every per-client key at its default, except that the first
// address template is made current, so a new client copies addresses in a useful layout at once.
void writeTemplateClientIni(const QString& path);

// "Brief.txt" and "Brief.odt" in the templates directory.
void writeDefaultTemplates(const QString& vorlagenDir);

} // namespace zep
