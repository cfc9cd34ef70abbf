#pragma once

#include <QStringView>

struct sqlite3;

namespace zep {

// Order of text keys: letters compare without regard to case and accents (Ä with A, ß as ss),
// ties are broken by the exact text so the order is total. SQLite indexes and the in-memory key
// search must use this same function, or a key search would miss records.
int collateText(QStringView a, QStringView b);

// Registers the collation under the name "ZEP" on a connection.
void registerCollation(sqlite3* db);

} // namespace zep
