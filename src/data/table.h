#pragma once

#include "data/data_source.h"
#include "data/dataset.h"
#include "data/table_file.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

namespace zep {

class Connection;

// A table object: a cursor of its own on one table file. Every post is one committed transaction,
// durable when post() returns; a refused post changes nothing on disk and leaves the record in edit
// or insert state with the values as they were.
//
// Several table objects on one file keep their own positions, and none undoes what another wrote:
// - the set of records is read at open, refresh() and when order, filter, range or master change;
// - findKey() and locate() first read the set again when another object of the program wrote the
//   file since, so they neither miss a record posted elsewhere nor land on one deleted elsewhere; a
//   search that misses also asks whether another connection committed, and then reads the set again
//   before it reports "not found";
// - an object that follows its file (setFollowsFile, the lookup lists) reads its set again after
//   another object of the program posted or deleted: at once before its next move or search, and
//   by itself, once for many writes, when the event loop runs; it stays on its record;
// - edit() starts from the record as it is on disk, and post() writes only the fields assigned
//   since; a field assigned here that was changed on disk meanwhile refuses the post.
class Table : public DataSet {
    Q_OBJECT
public:
    explicit Table(QObject* parent = nullptr);
    ~Table() override;

    // The table is addressed by directory and file name; the name is matched without regard to case.
    void setDirectory(const QString& directory);
    const QString& directory() const { return directory_; }
    void setTableName(const QString& tableName);
    const QString& tableName() const { return tableName_; }
    QString filePath() const;
    QString displayName() const override { return tableName_; }

    // Field names from the stored structure; also while the table is closed.
    QStringList fieldNames() const override;

    // Order: a named index, or field names separated by ";"; empty is the primary order.
    // Changing the order keeps the current record.
    void setIndexName(const QString& indexName);
    const QString& indexName() const { return indexName_; }
    void setIndexFieldNames(const QString& fieldNames);
    const QString& indexFieldNames() const { return indexFieldNames_; }

    // Exact search on the current order (a prefix of its fields); not found leaves the cursor.
    bool findKey(const QVariantList& values);
    // Search by any field; not found leaves the cursor.
    bool locate(QStringView fieldName, const QVariant& value);
    // Restricts the records to one value of the first field of the current order.
    void setRange(const QVariant& value);
    void cancelRange();

    // Master/detail: only the records whose first order field equals the master's field; follows
    // every move of the master.
    void setMaster(DataSource* master, const QString& masterField);
    void clearMaster();
    bool hasMaster() const { return master_ != nullptr; }

    // A derived, read-only field: resultField of the record in lookup whose lookupKeyField equals keyField.
    void addLookupField(const QString& name, const QString& keyField, Table* lookup, const QString& lookupKeyField,
                        const QString& resultField);
    // Reads a value of this table without moving the cursor; null when there is no such record.
    QVariant lookupValue(QStringView keyField, const QVariant& key, QStringView resultField) const;

    // Reads the records again, staying on the current record when it still exists; a pending edit is
    // posted first.
    void refresh();

    // See the class comment; set before or after opening.
    void setFollowsFile(bool follows);
    bool followsFile() const { return followsFile_; }

    void edit() override;
    void append() override;
    void post() override;
    void cancel() override;
    void deleteRecord() override;
    bool isModified() const { return modified_; }

    // Run inside append() before the insert state begins, and inside post() before anything is written.
    std::function<void(Table&)> beforeInsert;
    std::function<void(Table&)> beforePost;

    void setValue(int position, const QVariant& value) override;

protected:
    void openCursor() override;
    void closeCursor() override;
    int visibleCount() const override { return int(rows_.size()); }
    std::vector<QVariant> readRecord(int row) const override;
    void refilter() override;
    void beforeMove() override;

private:
    struct Row {
        qint64 rowid;
        std::vector<QVariant> keys;
    };
    struct Condition {
        int storage;
        QVariant value;
    };
    struct FileVersion {
        qint64 changes = -1; // writes through the program's connection to the file
        qint64 data = -1;    // commits of other connections
    };
    struct Lookup {
        QString name;
        QString keyField;
        int keyStorage;
        QPointer<Table> table;
        QString lookupKeyField;
        QString resultField;
    };

    void requireActive() const;
    void changeOrder(const QString& indexName, const QString& fieldNames);
    void resolveOrder();
    std::vector<Condition> conditions() const;
    void readRows();
    void fillLookups(std::vector<QVariant>& record) const;
    bool recordMatches(const std::vector<QVariant>& record) const;
    Row rowOf(const std::vector<QVariant>& record, qint64 rowid) const;
    static int compareRows(const Row& a, const Row& b);
    int rowIndexOf(qint64 rowid) const;
    void reposition(qint64 rowid, int fallbackRow);
    void placePosted(qint64 rowid, int oldRow);
    void masterMoved();
    qint64 programWrites() const;
    qint64 otherCommits() const;
    bool catchUp(bool askOtherConnections); // reads the set again if the file was written since; true when it did
    int keyRow(const std::vector<QVariant>& key) const; // -1 when missing
    int locateRow(int storage, const QVariant& wanted) const;
    bool arriveAt(int row, bool reread);
    void wroteFile(bool setWasCurrent);
    void writtenElsewhere();
    void follow(bool on);
    QVariant masterValue() const;
    const FieldDef& storedField(int storage) const { return layout_.fields[size_t(storage)]; }
    int storedCount() const { return int(layout_.fields.size()); }
    void requireStoredField(int storage, QStringView name) const;
    bool readStored(qint64 rowid, std::vector<QVariant>& record) const; // false when the record is gone
    [[noreturn]] void recordGone() const;
    void insertRecord(qint64& rowid);
    void refuseChangedUnderneath(qint64 rowid, const std::vector<int>& assigned) const;
    void updateRecord(qint64 rowid);

    QString directory_;
    QString tableName_;
    std::shared_ptr<Connection> db_;
    TableLayout layout_;
    QString indexName_;
    QString indexFieldNames_;
    std::vector<int> orderStorage_;
    std::vector<Row> rows_;
    std::optional<QVariant> range_;
    QPointer<DataSource> master_;
    QString masterField_;
    QMetaObject::Connection masterConnection_;
    std::vector<Lookup> lookups_;
    bool modified_ = false;
    std::vector<QVariant> original_; // the stored fields as edit() read them from disk
    std::vector<bool> assigned_;     // stored fields assigned since edit() or append()
    FileVersion readVersion_;        // the file's version when the set was read
    bool followsFile_ = false;
    bool catchUpQueued_ = false;
};

} // namespace zep
