#pragma once

#include "data/field.h"

#include <QStringList>
#include <vector>

namespace zep {

struct IndexDef {
    QString name;
    QStringList fields;
    bool unique = false;
};

// The structure of one table: its stored fields in order and its named indexes.
struct TableLayout {
    QString name; // file name, e.g. "Adressen.DB"
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;

    int fieldIndex(QStringView fieldName) const; // without regard to case; -1 when missing
    const IndexDef* index(QStringView indexName) const;
};

// Inside a table file the records live in the SQLite table of this name.
inline constexpr char16_t kStorageTable[] = u"data";

// The path of a table in a directory; an existing file whose name differs only in letter case is taken.
QString resolveTableFile(const QString& directory, const QString& tableName);

// Reads the stored structure from a table file, which need not be open (throws EngineError).
TableLayout readTableLayout(const QString& path);

// Writes a new, empty table file with the layout; the file appears complete or not at all.
void createTableFile(const QString& path, const TableLayout& layout);

QString quoteIdentifier(QStringView name);

class Statement;
// Reads a result column as a field of the given kind (dates are stored as ISO text).
QVariant readColumn(const Statement& statement, int column, FieldKind kind);

} // namespace zep
