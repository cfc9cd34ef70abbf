#include "data/table_file.h"

#include "app/safe_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/sqlite_db.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <sqlite3.h>

namespace zep {

int TableLayout::fieldIndex(QStringView fieldName) const {
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

const IndexDef* TableLayout::index(QStringView indexName) const {
    for (const IndexDef& def : indexes)
        if (def.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &def;
    return nullptr;
}

QString quoteIdentifier(QStringView name) {
    QString quoted = name.toString();
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QVariant readColumn(const Statement& statement, int column, FieldKind kind) {
    if (statement.isNull(column))
        return {};
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        return statement.integer(column);
    case FieldKind::Number:
        return statement.real(column);
    case FieldKind::Logical:
        return statement.integer(column) != 0;
    case FieldKind::Date: {
        const QDate date = parseIsoDate(statement.text(column));
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case FieldKind::String:
    case FieldKind::Memo:
        return statement.text(column);
    }
    return {};
}

QString resolveTableFile(const QString& directory, const QString& tableName) {
    const QDir dir(directory);
    if (dir.exists(tableName))
        return dir.filePath(tableName);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries)
        if (entry.compare(tableName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(tableName);
}

namespace {

bool isRowidAlias(QStringView name) {
    for (const char16_t* alias : {u"rowid", u"oid", u"_rowid_"})
        if (name.compare(QStringView(alias), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Records are addressed by SQLite's row id: the storage must be an ordinary table that has one and
// does not hide it behind a column of that name, and nothing in the file may run code on a change.
bool isPlainTable(Connection& connection, const TableLayout& layout) {
    {
        Statement kind = connection.prepare(
            QStringLiteral("SELECT type, wr FROM pragma_table_list WHERE schema = 'main' AND name = ? COLLATE NOCASE"));
        kind.bind(1, QString::fromUtf16(kStorageTable));
        if (!kind.step() || kind.text(0) != u"table" || kind.integer(1) != 0)
            return false;
    }
    {
        Statement triggers =
            connection.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"));
        if (!triggers.step() || triggers.integer(0) != 0)
            return false;
    }
    return std::none_of(layout.fields.begin(), layout.fields.end(),
                        [](const FieldDef& field) { return isRowidAlias(field.name); });
}

} // namespace

TableLayout readTableLayout(const QString& path) {
    auto connection = Connection::forFile(path);
    TableLayout layout;
    layout.name = QFileInfo(path).fileName();
    const QString table = QString::fromUtf16(kStorageTable);
    {
        Statement info = connection->prepare(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"));
        info.bind(1, table);
        while (info.step())
            layout.fields.push_back(fieldFromDeclaration(info.text(0), info.text(1), info.integer(2) > 0));
    }
    if (layout.fields.empty() || !isPlainTable(*connection, layout))
        throw EngineError(corruptTableMessage(path));
    Statement list = connection->prepare(
        QStringLiteral("SELECT name, \"unique\" FROM pragma_index_list(?) WHERE origin = 'c' ORDER BY name"));
    list.bind(1, table);
    while (list.step())
        layout.indexes.push_back(IndexDef{list.text(0), {}, list.integer(1) != 0});
    for (IndexDef& index : layout.indexes) {
        Statement columns = connection->prepare(QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"));
        columns.bind(1, index.name);
        while (columns.step())
            index.fields << columns.text(0);
    }
    return layout;
}

namespace {

QString createStatement(const TableLayout& layout) {
    QStringList columns;
    for (const FieldDef& field : layout.fields)
        columns << quoteIdentifier(field.name) + u' ' + declaredType(field);
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(quoteIdentifier(kStorageTable), columns.join(QStringLiteral(", ")));
}

QString indexStatement(const TableLayout& layout, const IndexDef& index) {
    QStringList columns;
    for (const QString& name : index.fields) {
        const int at = layout.fieldIndex(name);
        if (at < 0)
            throw EngineError(QStringLiteral("Index \"%1\" der Tabelle \"%2\": Feld \"%3\" fehlt.")
                                  .arg(index.name, layout.name, name));
        const FieldDef& field = layout.fields[size_t(at)];
        columns << quoteIdentifier(field.name) + (isTextKind(field.kind) ? QStringLiteral(" COLLATE ZEP") : QString());
    }
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), quoteIdentifier(index.name),
             quoteIdentifier(kStorageTable), columns.join(QStringLiteral(", ")));
}

} // namespace

void createTableFile(const QString& path, const TableLayout& layout) {
    if (QFileInfo::exists(path))
        throw EngineError(QStringLiteral("Die Tabelle \"%1\" existiert bereits.").arg(path));
    const QString partial = path + QStringLiteral(".neu");
    QFile::remove(partial); // leftovers of an interrupted run, its journal included
    QFile::remove(partial + QStringLiteral("-journal"));
    {
        QFile touch(partial);
        errno = 0;
        if (!touch.open(QIODevice::WriteOnly)) {
            const int cause = errno;
            throw EngineError(QStringLiteral("Die Tabelle \"%1\" kann nicht angelegt werden: %2")
                                  .arg(path, fileErrorCause(cause, touch)));
        }
    }
    try {
        auto connection = Connection::forFile(partial);
        inTransaction(*connection, [&] {
            connection->exec(createStatement(layout));
            for (const IndexDef& index : layout.indexes)
                connection->exec(indexStatement(layout, index));
        });
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    try {
        renameDurably(partial, path);
    } catch (const FileError& error) {
        // a table whose name is not on disk is not reported as created
        QFile::remove(QFileInfo::exists(partial) ? partial : path);
        throw EngineError(QStringLiteral("Die Tabelle \"%1\" kann nicht angelegt werden.\n").arg(path) +
                          error.message());
    }
}

} // namespace zep
