#pragma once

#include <QString>

namespace zep {

class Table;

// The number of characters the Datei field of the documents table holds; 0 when it sets no limit.
int dateiWidth(Table& documents);

// A path cut to the width of Datei would name another file or none: the German refusal of a Datei
// longer than the field, ending in outcome (such as "die Datei wurde nicht abgelegt."); empty when
// it fits.
QString dateiTooLong(Table& documents, const QString& datei, const QString& outcome);

} // namespace zep
