#pragma once

#include "data/table.h"

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>
#include <vector>

namespace zep::test {

using Values = std::vector<std::pair<QString, QVariant>>;

// Creates the empty client tables (Adressen.DB, Thema.DB, Dok.DB, Serie.db) in a directory.
void createClientTables(const QString& dir);

// Appends and posts one record; returns the value of its first field (the record number).
qint64 appendRecord(Table& table, const Values& values);

// Opens a table object on a table of a directory.
void openTable(Table& table, const QString& dir, const QString& name);

// The values of one field over all visible records, in the table's order (the cursor ends on the last).
QVariantList columnValues(DataSet& dataSet, const QString& field);

// Record numbers as the engine reads them (qint64), for comparing with columnValues.
QVariantList numbers(std::initializer_list<int> values);

} // namespace zep::test
