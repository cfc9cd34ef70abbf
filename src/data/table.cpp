#include "data/table.h"

#include "data/engine_error.h"
#include "data/sqlite_db.h"

#include <QFileInfo>
#include <sqlite3.h>
#include <unordered_map>
#include <unordered_set>

namespace zep {
namespace {

const QString& storageTable() {
    static const QString name = quoteIdentifier(kStorageTable);
    return name;
}

// The open table objects that follow their file, by the program's one connection to it.
std::unordered_map<const Connection*, std::vector<Table*>>& followers() {
    static std::unordered_map<const Connection*, std::vector<Table*>> byFile;
    return byFile;
}

QString orderTerm(const FieldDef& field) {
    return quoteIdentifier(field.name) + (isTextKind(field.kind) ? QStringLiteral(" COLLATE ZEP") : QString());
}

} // namespace

Table::Table(QObject* parent) : DataSet(parent) {}

Table::~Table() {
    disconnect(masterConnection_);
    follow(false);
}

void Table::setDirectory(const QString& directory) {
    if (isActive())
        fail(QStringLiteral("\"%1\" ist geöffnet; das Verzeichnis kann nicht geändert werden.").arg(tableName_));
    directory_ = directory;
}

void Table::setTableName(const QString& tableName) {
    if (isActive())
        fail(QStringLiteral("\"%1\" ist geöffnet; der Name kann nicht geändert werden.").arg(tableName_));
    tableName_ = tableName;
}

QString Table::filePath() const {
    return resolveTableFile(directory_, tableName_);
}

QStringList Table::fieldNames() const {
    if (isActive())
        return DataSet::fieldNames();
    QStringList names;
    for (const FieldDef& field : readTableLayout(filePath()).fields)
        names << field.name;
    return names;
}

void Table::openCursor() {
    const QString path = filePath();
    if (!QFileInfo(path).isFile())
        fail(QStringLiteral("Die Tabelle \"%1\" gibt es im Verzeichnis \"%2\" nicht.").arg(tableName_, directory_));
    db_ = Connection::forFile(path);
    try {
        layout_ = readTableLayout(path);
        std::vector<FieldInfo> fields;
        for (int i = 0; i < int(layout_.fields.size()); ++i)
            fields.push_back(FieldInfo{layout_.fields[size_t(i)], i, false, true, layout_.fields[size_t(i)].name, 0});
        for (size_t i = 0; i < lookups_.size(); ++i) {
            Lookup& lookup = lookups_[i];
            lookup.keyStorage = layout_.fieldIndex(lookup.keyField);
            requireStoredField(lookup.keyStorage, lookup.keyField);
            FieldDef def{lookup.name, FieldKind::String, 0};
            fields.push_back(FieldInfo{def, int(layout_.fields.size() + i), true, true, lookup.name, 0});
        }
        resetFields(std::move(fields));
        resolveOrder();
        bindFilter();
        readRows();
        follow(followsFile_);
    } catch (...) {
        db_.reset();
        throw;
    }
}

void Table::closeCursor() {
    follow(false);
    rows_.clear();
    db_.reset();
    modified_ = false;
}

void Table::requireStoredField(int storage, QStringView name) const {
    if (storage < 0 || storage >= storedCount())
        fail(QStringLiteral("Das Feld \"%1\" gibt es in der Tabelle \"%2\" nicht.").arg(name.toString(), tableName_));
}

void Table::resolveOrder() {
    orderStorage_.clear();
    QStringList names;
    if (!indexName_.isEmpty()) {
        const IndexDef* index = layout_.index(indexName_);
        if (!index)
            fail(QStringLiteral("Den Index \"%1\" gibt es in der Tabelle \"%2\" nicht.").arg(indexName_, tableName_));
        names = index->fields;
    } else if (!indexFieldNames_.isEmpty()) {
        names = indexFieldNames_.split(u';', Qt::SkipEmptyParts);
    } else {
        for (const FieldDef& field : layout_.fields)
            if (field.kind == FieldKind::AutoInc)
                names << field.name;
    }
    for (const QString& name : names) {
        const int storage = layout_.fieldIndex(name.trimmed());
        requireStoredField(storage, name);
        orderStorage_.push_back(storage);
    }
}

std::vector<Table::Condition> Table::conditions() const {
    std::vector<Condition> result;
    // An inactive master restricts nothing, so a detail opened before its master shows every record.
    const bool following = master_ && master_->dataSet() && master_->dataSet()->isActive();
    if ((range_ || following) && orderStorage_.empty())
        fail(QStringLiteral("Die Tabelle \"%1\" hat keinen Index für einen Bereich.").arg(tableName_));
    if (range_)
        result.push_back({orderStorage_.front(), coerceValue(storedField(orderStorage_.front()), *range_, tableName_)});
    if (following)
        result.push_back(
            {orderStorage_.front(), coerceValue(storedField(orderStorage_.front()), masterValue(), tableName_)});
    return result;
}

QVariant Table::masterValue() const {
    DataSet* master = master_ ? master_->dataSet() : nullptr;
    if (!master || !master->isActive())
        return {};
    const int position = master->fieldPosition(masterField_);
    return position < 0 ? QVariant() : master->value(position);
}

void Table::readRows() {
    const std::vector<Condition> where = conditions();
    const bool filtering = filterActive();
    std::vector<int> filterStorage;
    if (filtering) {
        for (const QString& name : filter().fieldNames()) {
            const int storage = storageOf(name);
            filterStorage.push_back(storage);
            if (storage >= storedCount()) // a lookup field is computed from its key field
                filterStorage.push_back(lookups_[size_t(storage - storedCount())].keyStorage);
        }
    }

    QStringList columns{QStringLiteral("rowid")}, order;
    for (int storage : orderStorage_) {
        columns << quoteIdentifier(storedField(storage).name);
        order << orderTerm(storedField(storage));
    }
    for (int storage : filterStorage)
        if (storage < storedCount())
            columns << quoteIdentifier(storedField(storage).name);
    order << QStringLiteral("rowid");
    QStringList terms;
    for (const Condition& c : where)
        terms << quoteIdentifier(storedField(c.storage).name) + QStringLiteral(" IS ?");
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4")
            .arg(columns.join(u','), storageTable(),
                 terms.isEmpty() ? QString() : QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND ")),
                 order.join(u','));

    std::vector<Row> rows;
    std::vector<QVariant> scratch(fields_.size());
    Statement statement = db_->prepare(sql);
    for (size_t i = 0; i < where.size(); ++i)
        statement.bind(int(i) + 1, where[i].value);
    const int keyCount = int(orderStorage_.size());
    while (statement.step()) {
        Row row{statement.integer(0), {}};
        row.keys.reserve(size_t(keyCount));
        for (int k = 0; k < keyCount; ++k)
            row.keys.push_back(readColumn(statement, k + 1, storedField(orderStorage_[size_t(k)]).kind));
        if (filtering) {
            int column = keyCount + 1;
            for (int storage : filterStorage)
                if (storage < storedCount())
                    scratch[size_t(storage)] = readColumn(statement, column++, storedField(storage).kind);
            fillLookups(scratch);
            if (!filter().matches(scratch.data()))
                continue;
        }
        rows.push_back(std::move(row));
    }
    rows_ = std::move(rows);
    readVersion_ = {programWrites(), otherCommits()};
}

qint64 Table::programWrites() const {
    return sqlite3_total_changes64(db_->handle());
}

qint64 Table::otherCommits() const {
    Statement pragma = db_->prepare(QStringLiteral("PRAGMA data_version"));
    return pragma.step() ? pragma.integer(0) : -1;
}

// Other connections are asked only where it matters (a search that missed): the question costs a
// lock on the file, while the program's own writes are counted in memory.
bool Table::catchUp(bool askOtherConnections) {
    const bool current =
        readVersion_.changes == programWrites() && (!askOtherConnections || readVersion_.data == otherCommits());
    if (current)
        return false;
    const qint64 rowid = current_ >= 0 ? rows_[size_t(current_)].rowid : -1;
    const int row = current_;
    readRows();
    const int found = rowIndexOf(rowid);
    const int count = int(rows_.size());
    moveTo(found >= 0 ? found : (count == 0 ? -1 : std::clamp(row, 0, count - 1)));
    return true;
}

// A set that was current before this object's own write is current after it: the write changed
// the rows in place.
void Table::wroteFile(bool setWasCurrent) {
    if (setWasCurrent)
        readVersion_.changes = programWrites();
    const auto it = followers().find(db_.get());
    if (it == followers().end())
        return;
    for (Table* follower : it->second)
        if (follower != this)
            follower->writtenElsewhere();
}

void Table::writtenElsewhere() {
    if (catchUpQueued_)
        return;
    catchUpQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            catchUpQueued_ = false;
            if (state() == DataSetState::Browse && catchUp(false))
                notifyDataChanged();
        },
        Qt::QueuedConnection);
}

void Table::beforeMove() {
    if (followsFile_ && state() == DataSetState::Browse)
        catchUp(false);
}

void Table::setFollowsFile(bool follows) {
    followsFile_ = follows;
    if (isActive())
        follow(follows);
}

void Table::follow(bool on) {
    if (!db_)
        return;
    std::vector<Table*>& list = followers()[db_.get()];
    std::erase(list, this);
    if (on)
        list.push_back(this);
    if (list.empty())
        followers().erase(db_.get());
}

void Table::fillLookups(std::vector<QVariant>& record) const {
    for (size_t i = 0; i < lookups_.size(); ++i) {
        const Lookup& lookup = lookups_[i];
        QVariant& target = record[layout_.fields.size() + i];
        target = QVariant();
        if (lookup.table && lookup.table->isActive() && lookup.keyStorage >= 0)
            target =
                lookup.table->lookupValue(lookup.lookupKeyField, record[size_t(lookup.keyStorage)], lookup.resultField);
    }
}

bool Table::readStored(qint64 rowid, std::vector<QVariant>& record) const {
    record.assign(fields_.size(), QVariant());
    Statement statement = db_->prepare(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(storageTable()));
    statement.bind(1, rowid);
    const bool found = statement.step();
    if (found)
        for (int i = 0; i < storedCount(); ++i)
            record[size_t(i)] = readColumn(statement, i, storedField(i).kind);
    fillLookups(record);
    return found;
}

std::vector<QVariant> Table::readRecord(int row) const {
    std::vector<QVariant> record;
    readStored(rows_[size_t(row)].rowid, record);
    return record;
}

void Table::refilter() {
    readRows();
    moveTo(rows_.empty() ? -1 : 0);
    notifyDataChanged();
}

int Table::compareRows(const Row& a, const Row& b) {
    for (size_t i = 0; i < a.keys.size(); ++i)
        if (const int c = compareValues(a.keys[i], b.keys[i]))
            return c;
    return a.rowid < b.rowid ? -1 : (a.rowid > b.rowid ? 1 : 0);
}

int Table::rowIndexOf(qint64 rowid) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].rowid == rowid)
            return int(i);
    return -1;
}

void Table::reposition(qint64 rowid, int fallbackRow) {
    const int found = rowIndexOf(rowid);
    const int count = int(rows_.size());
    moveTo(found >= 0 ? found : (count == 0 ? -1 : std::clamp(fallbackRow, 0, count - 1)));
    notifyDataChanged();
}

void Table::refresh() {
    if (!isActive())
        return;
    checkBrowseMode();
    const qint64 rowid = current_ >= 0 ? rows_[size_t(current_)].rowid : -1;
    readRows();
    reposition(rowid, current_);
}

void Table::setIndexName(const QString& indexName) {
    changeOrder(indexName, QString());
}

void Table::setIndexFieldNames(const QString& fieldNames) {
    changeOrder(QString(), fieldNames);
}

// A new order keeps the current record; an order that does not resolve leaves the old one in force.
void Table::changeOrder(const QString& indexName, const QString& fieldNames) {
    checkBrowseMode();
    const QString previousIndex = indexName_, previousFields = indexFieldNames_;
    indexName_ = indexName;
    indexFieldNames_ = fieldNames;
    if (!isActive())
        return;
    const qint64 rowid = current_ >= 0 ? rows_[size_t(current_)].rowid : -1;
    try {
        resolveOrder();
    } catch (...) {
        indexName_ = previousIndex;
        indexFieldNames_ = previousFields;
        resolveOrder();
        throw;
    }
    readRows();
    reposition(rowid, 0);
}

void Table::requireActive() const {
    if (!isActive())
        fail(QStringLiteral("Die Tabelle \"%1\" ist nicht geöffnet.").arg(tableName_));
}

bool Table::findKey(const QVariantList& values) {
    requireActive();
    if (values.isEmpty() || size_t(values.size()) > orderStorage_.size())
        fail(QStringLiteral("Die Suche in \"%1\" passt nicht zum Index.").arg(tableName_));
    checkBrowseMode();
    std::vector<QVariant> key;
    for (qsizetype i = 0; i < values.size(); ++i)
        key.push_back(coerceValue(storedField(orderStorage_[size_t(i)]), values[i], tableName_));
    bool reread = catchUp(false);
    int row = keyRow(key);
    if (row < 0 && !reread && catchUp(true)) {
        reread = true;
        row = keyRow(key);
    }
    return arriveAt(row, reread);
}

int Table::keyRow(const std::vector<QVariant>& key) const {
    auto comparePrefix = [&](const Row& row) {
        for (size_t i = 0; i < key.size(); ++i)
            if (const int c = compareValues(row.keys[i], key[i]))
                return c;
        return 0;
    };
    const auto it =
        std::partition_point(rows_.begin(), rows_.end(), [&](const Row& r) { return comparePrefix(r) < 0; });
    return it == rows_.end() || comparePrefix(*it) != 0 ? -1 : int(it - rows_.begin());
}

// The end of a search: moves to the row found, or stays; either way bound controls hear of a set
// that was read again.
bool Table::arriveAt(int row, bool reread) {
    if (row >= 0)
        moveTo(row);
    if (row >= 0 || reread)
        notifyDataChanged();
    return row >= 0;
}

bool Table::locate(QStringView fieldName, const QVariant& value) {
    requireActive();
    checkBrowseMode();
    const int storage = storageOf(fieldName);
    requireStoredField(storage, fieldName);
    const QVariant wanted = coerceValue(storedField(storage), value, tableName_);
    bool reread = catchUp(false);
    int row = locateRow(storage, wanted);
    if (row < 0 && !reread && catchUp(true)) {
        reread = true;
        row = locateRow(storage, wanted);
    }
    return arriveAt(row, reread);
}

int Table::locateRow(int storage, const QVariant& wanted) const {
    Statement statement = db_->prepare(QStringLiteral("SELECT rowid FROM %1 WHERE %2 IS ? ORDER BY rowid")
                                           .arg(storageTable(), quoteIdentifier(storedField(storage).name)));
    statement.bind(1, wanted);
    std::unordered_set<qint64> candidates;
    while (statement.step())
        candidates.insert(statement.integer(0));
    for (size_t i = 0; i < rows_.size(); ++i)
        if (candidates.count(rows_[i].rowid))
            return int(i);
    return -1;
}

void Table::setRange(const QVariant& value) {
    checkBrowseMode();
    const std::optional<QVariant> previous = range_;
    range_ = value;
    try {
        if (isActive())
            refilter();
    } catch (...) {
        range_ = previous;
        throw;
    }
}

void Table::cancelRange() {
    checkBrowseMode();
    range_.reset();
    if (isActive())
        refilter();
}

void Table::setMaster(DataSource* master, const QString& masterField) {
    checkBrowseMode();
    DataSet* masterSet = master ? master->dataSet() : nullptr;
    if (masterSet && masterSet->isActive() && masterSet->fieldPosition(masterField) < 0)
        fail(QStringLiteral("Das Feld \"%1\" der Haupttabelle \"%2\" gibt es nicht.")
                 .arg(masterField, masterSet->displayName()));
    if (master && orderStorage_.empty() && isActive())
        fail(QStringLiteral("Die Tabelle \"%1\" hat keinen Index für die Verknüpfung.").arg(tableName_));
    disconnect(masterConnection_);
    master_ = master;
    masterField_ = masterField;
    if (master_)
        masterConnection_ = connect(master_, &DataSource::dataChanged, this, &Table::masterMoved);
    if (isActive())
        refilter();
}

void Table::clearMaster() {
    setMaster(nullptr, QString());
}

void Table::masterMoved() {
    if (!isActive())
        return;
    checkBrowseMode();
    refilter();
}

void Table::addLookupField(const QString& name, const QString& keyField, Table* lookup, const QString& lookupKeyField,
                           const QString& resultField) {
    if (isActive())
        fail(QStringLiteral("\"%1\" ist geöffnet; Felder können nicht hinzugefügt werden.").arg(tableName_));
    lookups_.push_back(Lookup{name, keyField, -1, lookup, lookupKeyField, resultField});
}

QVariant Table::lookupValue(QStringView keyField, const QVariant& key, QStringView resultField) const {
    if (!isActive() || !key.isValid() || key.isNull())
        return {};
    const int keyStorage = layout_.fieldIndex(keyField);
    const int resultStorage = layout_.fieldIndex(resultField);
    requireStoredField(keyStorage, keyField);
    requireStoredField(resultStorage, resultField);
    Statement statement = db_->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? LIMIT 1")
                                           .arg(quoteIdentifier(storedField(resultStorage).name), storageTable(),
                                                quoteIdentifier(storedField(keyStorage).name)));
    statement.bind(1, coerceValue(storedField(keyStorage), key, tableName_));
    return statement.step() ? readColumn(statement, 0, storedField(resultStorage).kind) : QVariant();
}

[[noreturn]] void Table::recordGone() const {
    fail(QStringLiteral("Der Datensatz in \"%1\" existiert nicht mehr; die Änderung wurde nicht gespeichert.")
             .arg(tableName_));
}

// Starts from the record as it is on disk now, so a post never undoes what another object posted
// since this one read the record.
void Table::edit() {
    if (!isActive())
        fail(QStringLiteral("Die Tabelle \"%1\" ist nicht geöffnet.").arg(tableName_));
    if (isEditing())
        return;
    if (rows_.empty())
        fail(QStringLiteral("Die Tabelle \"%1\" enthält keinen Datensatz zum Bearbeiten.").arg(tableName_));
    std::vector<QVariant> onDisk;
    if (!readStored(rows_[size_t(current_)].rowid, onDisk))
        recordGone();
    const bool changedOnDisk = onDisk != buffer_;
    buffer_ = onDisk;
    original_.assign(onDisk.begin(), onDisk.begin() + storedCount());
    assigned_.assign(size_t(storedCount()), false);
    modified_ = false;
    setState(DataSetState::Edit);
    if (changedOnDisk) // bound controls show the values read
        notifyDataChanged();
}

void Table::append() {
    if (!isActive())
        fail(QStringLiteral("Die Tabelle \"%1\" ist nicht geöffnet.").arg(tableName_));
    checkBrowseMode();
    if (beforeInsert)
        beforeInsert(*this);
    buffer_.assign(fields_.size(), QVariant());
    assigned_.assign(size_t(storedCount()), false);
    modified_ = false;
    setState(DataSetState::Insert);
    notifyDataChanged();
}

void Table::setValue(int position, const QVariant& value) {
    const FieldInfo& info = fieldInfo(position);
    if (!isEditing())
        fail(QStringLiteral("Die Tabelle \"%1\" ist nicht im Bearbeitungsmodus (Feld \"%2\").")
                 .arg(tableName_, info.def.name));
    if (info.derived || info.def.kind == FieldKind::AutoInc)
        fail(QStringLiteral("Das Feld \"%1\" der Tabelle \"%2\" kann nicht geändert werden.")
                 .arg(info.def.name, tableName_));
    buffer_[size_t(info.storage)] = coerceValue(info.def, value, tableName_);
    assigned_[size_t(info.storage)] = true;
    modified_ = true;
    emit fieldChanged(position);
}

void Table::insertRecord(qint64& rowid) {
    QStringList names, marks;
    std::vector<QVariant> values;
    for (int i = 0; i < storedCount(); ++i) {
        if (storedField(i).kind == FieldKind::AutoInc)
            continue;
        names << quoteIdentifier(storedField(i).name);
        marks << QStringLiteral("?");
        values.push_back(buffer_[size_t(i)]);
    }
    Statement statement = db_->prepare(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(storageTable(), names.join(u','), marks.join(u',')));
    for (size_t i = 0; i < values.size(); ++i)
        statement.bind(int(i) + 1, values[i]);
    statement.run();
    rowid = db_->lastInsertRowId();
    for (int i = 0; i < storedCount(); ++i)
        if (storedField(i).kind == FieldKind::AutoInc)
            buffer_[size_t(i)] = rowid;
}

// A field assigned here that another object changed to something else since edit() began would be
// overwritten unseen: the post is refused instead.
void Table::refuseChangedUnderneath(qint64 rowid, const std::vector<int>& assigned) const {
    std::vector<QVariant> onDisk;
    if (!readStored(rowid, onDisk))
        recordGone();
    for (int i : assigned) {
        const QVariant& now = onDisk[size_t(i)];
        if (now != original_[size_t(i)] && now != buffer_[size_t(i)])
            fail(QStringLiteral("Der Datensatz in \"%1\" wurde inzwischen geändert (Feld \"%2\"); die Änderung "
                                "wurde nicht gespeichert.")
                     .arg(tableName_, storedField(i).name));
    }
}

// Writes only the fields assigned since edit(), so that what other objects posted to the other
// fields stays.
void Table::updateRecord(qint64 rowid) {
    std::vector<int> assigned;
    for (int i = 0; i < storedCount(); ++i)
        if (assigned_[size_t(i)] && storedField(i).kind != FieldKind::AutoInc)
            assigned.push_back(i);
    refuseChangedUnderneath(rowid, assigned);
    if (assigned.empty())
        return;
    QStringList assignments;
    for (int i : assigned)
        assignments << quoteIdentifier(storedField(i).name) + QStringLiteral("=?");
    Statement statement =
        db_->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(storageTable(), assignments.join(u',')));
    int bound = 0;
    for (int i : assigned)
        statement.bind(++bound, buffer_[size_t(i)]);
    statement.bind(++bound, rowid);
    statement.run();
    if (db_->changes() == 0)
        recordGone();
    readStored(rowid, buffer_); // the fields other objects wrote meanwhile
}

void Table::post() {
    if (!isEditing())
        return;
    updateFromControls();
    if (beforePost)
        beforePost(*this);
    const bool inserting = state() == DataSetState::Insert;
    qint64 rowid = inserting ? 0 : rows_[size_t(current_)].rowid;
    const std::vector<QVariant> before = buffer_;
    const bool setWasCurrent = readVersion_.changes == programWrites();
    try {
        if (inserting)
            insertRecord(rowid);
        else
            updateRecord(rowid);
    } catch (...) {
        buffer_ = before;
        throw;
    }
    placePosted(rowid, inserting ? -1 : current_);
    wroteFile(setWasCurrent);
    modified_ = false;
    setState(DataSetState::Browse);
    emit posted();
    notifyDataChanged();
}

bool Table::recordMatches(const std::vector<QVariant>& record) const {
    for (const Condition& c : conditions())
        if (compareValues(record[size_t(c.storage)], c.value) != 0)
            return false;
    return !filterActive() || filter().matches(record.data());
}

Table::Row Table::rowOf(const std::vector<QVariant>& record, qint64 rowid) const {
    Row row{rowid, {}};
    for (int storage : orderStorage_)
        row.keys.push_back(record[size_t(storage)]);
    return row;
}

// Puts a posted record where the order wants it; a record that no longer belongs to the set
// leaves it and the cursor stands on its neighbour.
void Table::placePosted(qint64 rowid, int oldRow) {
    if (oldRow >= 0)
        rows_.erase(rows_.begin() + oldRow);
    fillLookups(buffer_);
    if (!recordMatches(buffer_)) {
        const int fallback = oldRow >= 0 ? oldRow : current_;
        const int count = int(rows_.size());
        moveTo(count == 0 ? -1 : std::clamp(fallback, 0, count - 1));
        return;
    }
    Row row = rowOf(buffer_, rowid);
    const auto it =
        std::partition_point(rows_.begin(), rows_.end(), [&](const Row& r) { return compareRows(r, row) < 0; });
    const int position = int(it - rows_.begin()); // taken before the insert, which may move the rows
    rows_.insert(it, std::move(row));
    current_ = position;
    bof_ = eof_ = false;
}

void Table::cancel() {
    if (!isEditing())
        return;
    modified_ = false;
    setState(DataSetState::Browse);
    moveTo(rows_.empty() ? -1 : std::clamp(current_, 0, int(rows_.size()) - 1));
    notifyDataChanged();
}

void Table::deleteRecord() {
    if (state() == DataSetState::Insert) {
        cancel();
        return;
    }
    if (rows_.empty())
        fail(QStringLiteral("Die Tabelle \"%1\" enthält keinen Datensatz zum Löschen.").arg(tableName_));
    const qint64 rowid = rows_[size_t(current_)].rowid;
    const bool setWasCurrent = readVersion_.changes == programWrites();
    Statement statement = db_->prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(storageTable()));
    statement.bind(1, rowid);
    statement.run();
    rows_.erase(rows_.begin() + current_);
    wroteFile(setWasCurrent);
    modified_ = false;
    setState(DataSetState::Browse);
    const int count = int(rows_.size());
    moveTo(count == 0 ? -1 : std::min(current_, count - 1));
    notifyDataChanged();
}

} // namespace zep
