#include "data/table_upgrade.h"

#include "app/safe_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/schema.h"
#include "data/sqlite_db.h"
#include "data/table_file.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <ranges>

namespace zep {
namespace {

namespace fs = std::filesystem;

// Names beside the table file: the copy being built, and the old file kept until every table of the call is replaced.
const QString kScratchSuffix = QStringLiteral(".upgrade");
const QString kBackupSuffix = QString::fromUtf16(kUpgradeBackupSuffix);
const QString kJournalSuffix = QStringLiteral("-journal");

QString storageTable() {
    return quoteIdentifier(kStorageTable);
}

fs::path nativePath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

// The marker's content is never read: only its presence counts, with exactly this name.
bool hasMarker(const TableLayout& stored, const QString& marker) {
    for (const FieldDef& field : stored.fields)
        if (field.name == marker)
            return true;
    return false;
}

bool isMarker(const FieldDef& field, const QString& marker) {
    return field.name.compare(marker, Qt::CaseInsensitive) == 0;
}

bool isCurrent(const TableLayout& stored, const TableLayout& target, const QString& marker) {
    if (!hasMarker(stored, marker))
        return false;
    for (const FieldDef& field : target.fields) {
        const int at = stored.fieldIndex(field.name);
        if (!isMarker(field, marker) && (at < 0 || stored.fields[size_t(at)].kind != field.kind))
            return false;
    }
    return true;
}

// The schema layout carrying the marker under exactly the name given.
TableLayout withMarker(const TableLayout& schemaLayout, const QString& marker) {
    TableLayout target = schemaLayout;
    for (FieldDef& field : target.fields) {
        if (isMarker(field, marker)) {
            field.name = marker;
            return target;
        }
    }
    target.fields.push_back({marker, FieldKind::String, 1});
    return target;
}

// The target layout widened so that every stored value has a place: wider texts keep their width, the
// marker keeps its kind, and fields the schema does not know are carried over.
TableLayout upgradedLayout(const TableLayout& target, const TableLayout& stored, const QString& marker) {
    TableLayout layout = target;
    layout.name = stored.name;
    for (FieldDef& field : layout.fields) {
        const int at = stored.fieldIndex(field.name);
        if (at < 0)
            continue;
        const FieldDef& old = stored.fields[size_t(at)];
        if (isMarker(field, marker))
            field = {marker, old.kind == FieldKind::AutoInc ? FieldKind::Integer : old.kind, old.size};
        else if (old.kind == field.kind && field.kind == FieldKind::String)
            field.size = std::max(field.size, old.size);
    }
    for (const FieldDef& old : stored.fields) {
        if (layout.fieldIndex(old.name) >= 0)
            continue;
        FieldDef extra = old;
        if (extra.kind == FieldKind::AutoInc) // the new table has its own record number
            extra.kind = FieldKind::Integer;
        layout.fields.push_back(extra);
    }
    return layout;
}

[[noreturn]] void valueLost(const FieldDef& field, const QVariant& value, const QString& table) {
    throw EngineError(QStringLiteral("Der Wert \"%1\" im Feld \"%2\" der Tabelle \"%3\" kann nicht übernommen werden.")
                          .arg(valueText(value), field.name, table));
}

// Reads a stored value as its field's kind, refusing what the kind would misread (a text in a number
// column, an invalid date) instead of turning it into zero or null.
QVariant readStored(const Statement& row, int column, const FieldDef& field, const QString& table) {
    const QVariant value = readColumn(row, column, field.kind);
    if (row.isNull(column))
        return value;
    const bool numeric = !isTextKind(field.kind) && field.kind != FieldKind::Date;
    if (!value.isValid() || (numeric && compareValues(row.raw(column), value) != 0))
        valueLost(field, row.raw(column), table);
    return value;
}

// Converts a value to the new field's kind; throws when the conversion would cut or change it.
QVariant convertValue(const FieldDef& from, const FieldDef& to, const QVariant& value, const QString& table) {
    if (!value.isValid())
        return value;
    const QVariant input = isTextKind(to.kind) && !isTextKind(from.kind) ? QVariant(valueText(value)) : value;
    const QVariant converted = coerceValue(to, input, table);
    if (isTextKind(to.kind) && converted.toString() != input.toString())
        valueLost(to, value, table);
    if (!isTextKind(from.kind) && compareValues(coerceValue(from, converted, table), value) != 0)
        valueLost(to, value, table);
    return converted;
}

qint64 recordCount(Connection& connection) {
    Statement count = connection.prepare(QStringLiteral("SELECT count(*) FROM %1").arg(storageTable()));
    return count.step() ? count.integer(0) : -1;
}

bool hasAutoInc(const TableLayout& layout) {
    return std::ranges::any_of(layout.fields, [](const FieldDef& f) { return f.kind == FieldKind::AutoInc; });
}

// The highest record number ever given, also when that record was deleted since.
qint64 storedSequence(Connection& connection) {
    {
        Statement exists = connection.prepare(
            QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'sqlite_sequence'"));
        if (!exists.step() || exists.integer(0) == 0)
            return 0;
    }
    Statement sequence = connection.prepare(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
    sequence.bind(1, QString::fromUtf16(kStorageTable));
    return sequence.step() ? sequence.integer(0) : 0;
}

// Deleted record numbers must not be given again: documents and recipients may still name them.
void carrySequence(Connection& connection, qint64 sequence) {
    if (sequence <= 0)
        return;
    const QString table = QString::fromUtf16(kStorageTable);
    {
        Statement raise =
            connection.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?"));
        raise.bind(1, sequence);
        raise.bind(2, table);
        raise.run();
    }
    if (connection.changes() > 0)
        return;
    Statement insert = connection.prepare(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"));
    insert.bind(1, table);
    insert.bind(2, sequence);
    insert.run();
}

// Copies records in rowid order, keeping each rowid (the record number where the table has one).
class RecordCopy {
public:
    RecordCopy(const TableLayout& stored, const TableLayout& layout) : stored_(stored), layout_(layout) {
        QStringList columns{QStringLiteral("rowid")};
        for (const FieldDef& field : stored.fields)
            columns << quoteIdentifier(field.name);
        select_ = QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columns.join(u','), storageTable());
        QStringList names, marks;
        keepRowid_ = !hasAutoInc(layout);
        if (keepRowid_)
            names << QStringLiteral("rowid");
        for (const FieldDef& field : layout.fields) {
            names << quoteIdentifier(field.name);
            sources_.push_back(stored.fieldIndex(field.name));
        }
        marks.fill(QStringLiteral("?"), names.size());
        insert_ =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(storageTable(), names.join(u','), marks.join(u','));
    }

    void run(Connection& source, Connection& target) {
        Statement rows = source.prepare(select_);
        while (rows.step())
            copyRow(rows, target);
    }

private:
    void copyRow(const Statement& row, Connection& target) {
        Statement insert = target.prepare(insert_);
        int bound = 0;
        if (keepRowid_)
            insert.bind(++bound, row.integer(0));
        for (size_t i = 0; i < layout_.fields.size(); ++i)
            insert.bind(++bound, valueFor(row, i));
        insert.run();
    }

    QVariant valueFor(const Statement& row, size_t field) const {
        const FieldDef& to = layout_.fields[field];
        const int source = sources_[field];
        if (source < 0)
            return to.kind == FieldKind::AutoInc ? QVariant(row.integer(0)) : QVariant();
        const FieldDef& from = stored_.fields[size_t(source)];
        return convertValue(from, to, readStored(row, source + 1, from, stored_.name), stored_.name);
    }

    const TableLayout& stored_;
    const TableLayout& layout_;
    QString select_;
    QString insert_;
    bool keepRowid_ = false;
    std::vector<int> sources_;
};

void copyRecords(const QString& from, const QString& to, const TableLayout& stored, const TableLayout& layout) {
    const auto source = Connection::forFile(from);
    const auto target = Connection::forFile(to);
    RecordCopy copy(stored, layout);
    inTransaction(*target, [&] {
        copy.run(*source, *target);
        if (hasAutoInc(layout))
            carrySequence(*target, storedSequence(*source));
    });
    if (recordCount(*source) != recordCount(*target))
        throw EngineError(QStringLiteral("Die Kopie der Tabelle \"%1\" ist unvollständig.").arg(stored.name));
}

// The engine shares one connection per file; a connection held elsewhere would go on using the replaced file.
bool heldElsewhere(const QString& path) {
    const std::shared_ptr<Connection> connection = Connection::forFile(path);
    return connection.use_count() > 1;
}

void renameOver(const QString& from, const QString& to) {
    try {
        renameDurably(from, to);
    } catch (const FileError& error) {
        throw EngineError(QStringLiteral("\"%1\" kann nicht in \"%2\" umbenannt werden.\n").arg(from, to) +
                          error.message());
    }
}

// A second name for the old file; where the file system has no hard links, a copy that is on disk
// before the new table takes the name.
void keepBackup(const QString& original, const QString& backup) {
    std::error_code error;
    fs::create_hard_link(nativePath(original), nativePath(backup), error);
    if (!error)
        return;
    try {
        copyFileSafely(original, backup);
    } catch (const FileError& copyError) {
        throw EngineError(QStringLiteral("Von \"%1\" kann keine Sicherung angelegt werden.\n").arg(original) +
                          copyError.message());
    }
}

void removeFile(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + kJournalSuffix);
}

// One outdated table: its copy is built beside it, then renamed over it. The original file name never
// goes missing, so an interruption leaves either the old or the new table in place.
struct Replacement {
    explicit Replacement(const QString& path)
        : original(path), scratch(path + kScratchSuffix), backup(path + kBackupSuffix) {}
    QString original, scratch, backup;
    bool scratchCreated = false, backedUp = false, swapped = false;

    void prepare(const TableLayout& stored, const TableLayout& layout) {
        removeFile(scratch); // left by an interrupted run; a stale journal would be played into the new copy
        QFile::remove(backup);
        createTableFile(scratch, layout);
        scratchCreated = true;
        copyRecords(original, scratch, stored, layout);
    }

    void swapIn() {
        if (heldElsewhere(original))
            throw EngineError(QStringLiteral("Die Tabelle \"%1\" ist noch geöffnet.").arg(original));
        if (QFileInfo::exists(original + kJournalSuffix))
            throw EngineError(QStringLiteral("Die Tabelle \"%1\" hat ein offenes Journal.").arg(original));
        keepBackup(original, backup);
        backedUp = true;
        try {
            renameOver(scratch, original);
        } catch (const EngineError&) {
            swapped = !QFileInfo::exists(scratch); // the rename may have happened before a sync failed
            throw;
        }
        swapped = true;
    }

    void restore() {
        if (swapped) {
            try {
                renameDurably(backup, original);
                swapped = false;
            } catch (const FileError&) {
                swapped = QFileInfo::exists(backup);
                // a backup that could not be put back is the only old copy: it stays
            }
        }
        if (backedUp && !swapped)
            QFile::remove(backup);
        if (scratchCreated)
            removeFile(scratch);
    }
};

// Upgrades the tables of one directory together: every copy is complete before the first original is
// replaced, and a failure puts back every original already replaced.
class DirectoryUpgrade {
public:
    DirectoryUpgrade(QString directory, QString marker)
        : directory_(std::move(directory)), marker_(std::move(marker)) {}
    ~DirectoryUpgrade() {
        if (committed_)
            return;
        for (Replacement& table : std::views::reverse(tables_))
            table.restore();
    }
    DirectoryUpgrade(const DirectoryUpgrade&) = delete;
    DirectoryUpgrade& operator=(const DirectoryUpgrade&) = delete;

    void add(const TableLayout& schemaLayout) {
        const QString path = resolveTableFile(directory_, schemaLayout.name);
        if (!QFileInfo(path).isFile())
            return;
        const TableLayout stored = readTableLayout(path);
        const TableLayout target = withMarker(schemaLayout, marker_);
        if (isCurrent(stored, target, marker_))
            return;
        tables_.emplace_back(path).prepare(stored, upgradedLayout(target, stored, marker_));
    }

    void replaceAll() {
        for (Replacement& table : tables_)
            table.swapIn();
        committed_ = true;
        for (const Replacement& table : tables_)
            QFile::remove(table.backup);
    }

private:
    QString directory_;
    QString marker_;
    std::vector<Replacement> tables_;
    bool committed_ = false;
};

QString& upgradeError() {
    thread_local QString error;
    return error;
}

int upgradeDirectory(const QString& directory, const QString& marker, const std::vector<const TableLayout*>& layouts) {
    upgradeError().clear();
    try {
        if (marker.isEmpty() || !QFileInfo(directory).isDir())
            throw EngineError(QStringLiteral("Das Verzeichnis \"%1\" kann nicht aktualisiert werden.").arg(directory));
        DirectoryUpgrade upgrade(directory, marker);
        for (const TableLayout* layout : layouts)
            upgrade.add(*layout);
        upgrade.replaceAll();
        return 1;
    } catch (const EngineError& error) {
        upgradeError() = error.message();
    } catch (const std::exception& error) {
        upgradeError() = QStringLiteral("Unerwarteter Fehler.\nEinzelheiten: ") + QString::fromUtf8(error.what());
    }
    qWarning().noquote() << upgradeError();
    return 0;
}

} // namespace

int DO_UPDATE_DATA(const QString& dataDir, const QString& marker) {
    return upgradeDirectory(dataDir, marker, schema::clientTables());
}

int DO_UPDATE_GENERAL(const QString& generalDir, const QString& marker) {
    return upgradeDirectory(generalDir, marker, {&schema::applications()});
}

QString lastUpgradeError() {
    return upgradeError();
}

} // namespace zep
