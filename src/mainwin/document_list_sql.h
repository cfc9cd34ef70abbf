#pragma once

#include "documents/column_file.h"

#include <QList>
#include <QString>

namespace zep {

// The SQL text of the document query, one clause a line: the fixed columns, the arranged columns
// (the linked address and topic joined in by name), the joins they need, and the order by the
// arranged column at sortColumn, then Nr.
//
// A field name reaches the text only when it is a column of the document table ("Adresse" and
// "Thema" name the joined ones) not already selected; any other name is left out, and applying the
// arrangement then reports it. A sort column whose field was left out sorts by column 0 instead, and
// by Nr when that one was left out too. A sort column outside the arrangement leaves "ORDER BY "
// without a column name, which the engine refuses with its message.
QString documentListSql(const QList<ColumnRow>& columns, int sortColumn, bool descending);

} // namespace zep
