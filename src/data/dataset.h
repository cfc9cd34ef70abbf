#pragma once

#include "data/field.h"
#include "data/filter.h"

#include <QObject>
#include <vector>

namespace zep {

enum class DataSetState { Inactive, Browse, Edit, Insert };

// A field as a data set shows it: stored or derived, with the display settings of bound grids.
struct FieldInfo {
    FieldDef def;
    int storage = 0;      // index into the record buffer
    bool derived = false; // lookup field: read-only, not stored
    bool visible = true;
    QString displayLabel;
    int displayWidth = 0; // characters; 0: the field's own size
};

class DataSet;

// Convenience handle on one field of the current record.
class FieldRef {
public:
    FieldRef(DataSet& dataSet, int position) : dataSet_(&dataSet), position_(position) {}
    QVariant value() const;
    QString asString() const; // the text form (see valueText)
    qint64 asInteger() const; // 0 for null
    double asFloat() const;
    QDate asDate() const;
    bool asBoolean() const;
    bool isNull() const;
    void setValue(const QVariant& value) const; // a QString is read in the field's text form
    void clear() const;
    const FieldInfo& info() const;

private:
    DataSet* dataSet_;
    int position_;
};

// A cursor over records: a current record, a state (browse, edit, insert), a record filter and
// notifications for bound controls. Tables and queries derive from it.
class DataSet : public QObject {
    Q_OBJECT
public:
    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    virtual QString displayName() const = 0; // for messages: the table file or "Abfrage"

    void open();
    void close();
    bool isActive() const { return state_ != DataSetState::Inactive; }
    DataSetState state() const { return state_; }
    bool isEditing() const { return state_ == DataSetState::Edit || state_ == DataSetState::Insert; }

    // Navigation over the visible records. Moving off a record in edit or insert state posts it.
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance); // returns the distance actually moved
    // Beginning and end are reached only by a move that runs out of records (prior on the first,
    // next on the last), and at once for an empty set; opening, refreshing, reordering, refiltering
    // or going to the first or last row leave them false, so while (!eof()) { ...; next(); } visits
    // every record.
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    bool isEmpty() const { return visibleCount() == 0; }
    int recordCount() const { return isActive() ? visibleCount() : 0; }
    int recNo() const { return current_ + 1; } // 1-based; 0 when empty
    void setRecNo(int recNo);

    // Fields in display order; names are matched without regard to case.
    int fieldCount() const { return int(fields_.size()); }
    const FieldInfo& fieldInfo(int position) const { return fields_[size_t(position)]; }
    int fieldPosition(QStringView name) const; // -1 when missing
    FieldRef field(QStringView name);          // throws EngineError when missing
    FieldRef field(int position) { return FieldRef(*this, position); }
    virtual QStringList fieldNames() const;
    QVariant value(int position) const;
    // A field of another visible record (0-based row), read without moving the cursor; bound grids
    // draw the rows around the current record with it.
    QVariant valueAt(int row, int position) const;
    virtual void setValue(int position, const QVariant& value);

    // Display settings used by bound grids.
    void hideAllFields();
    void setFieldVisible(QStringView name, bool visible);
    void setFieldPosition(QStringView name, int position);
    void setDisplayLabel(QStringView name, const QString& label);
    void setDisplayWidth(QStringView name, int width);
    std::vector<int> visibleFields() const;

    // Record filter; set, switched off and on without parsing the text again.
    void setFilterText(const QString& text);
    const QString& filterText() const { return filter_.text(); }
    void setFiltered(bool filtered);
    bool isFiltered() const { return filtered_; }

    // Editing; a table implements these, a query refuses them.
    virtual void edit();
    virtual void append();
    virtual void post();
    virtual void cancel();
    virtual void deleteRecord();
    // Posts a pending edit or insert.
    void checkBrowseMode();
    // Bound controls write what they hold but have not yet assigned; run at the start of every post.
    // A control whose text is no value of its field refuses, and the post fails with its message.
    void updateFromControls();
    void refuseUpdate(const QString& message);

    // Suspends the notifications to bound controls; nests; the last resume sends one data change.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

signals:
    void dataChanged();              // record moved, changed or the record set was read again
    void fieldChanged(int position); // a field of the record in edit or insert state was assigned
    void stateChanged();             // browse, edit, insert, inactive
    void layoutChanged();            // fields shown, moved or relabelled
    void opened();                   // after open
    void posted();                   // after post
    void updatingRecord();           // before post: bound controls write their pending values

protected:
    virtual void openCursor() = 0; // reads the structure and the visible records
    virtual void closeCursor() = 0;
    virtual int visibleCount() const = 0;
    virtual std::vector<QVariant> readRecord(int row) const = 0; // the visible record at row, by storage
    void loadRecord(int row) { buffer_ = readRecord(row); }
    virtual void refilter() = 0; // filter text or switch changed while open
    virtual void beforeMove() {} // run by every move, after a pending edit was posted
    [[noreturn]] void fail(const QString& message) const;

    void setState(DataSetState state);
    void notifyDataChanged();
    void moveTo(int row); // makes a row current and loads it (-1 when empty)
    void resetFields(std::vector<FieldInfo> fields);
    // Binds the filter to the fields of this data set; the storage index is the value position.
    void bindFilter();
    void bindFilter(Filter& filter) const;
    bool filterActive() const { return filtered_ && !filter_.isEmpty(); }
    const Filter& filter() const { return filter_; }
    int storageOf(QStringView name) const; // -1 when missing

    std::vector<FieldInfo> fields_;
    std::vector<QVariant> buffer_; // current record, indexed by FieldInfo::storage
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;

private:
    FieldInfo& info(QStringView name);

    DataSetState state_ = DataSetState::Inactive;
    Filter filter_;
    bool filtered_ = false;
    int disableCount_ = 0;
    bool dataChangePending_ = false;
    QString updateRefusal_;
};

// Resumes bound controls on every path out of a scope.
class ControlsSuspended {
public:
    explicit ControlsSuspended(DataSet& dataSet) : dataSet_(dataSet) { dataSet_.disableControls(); }
    ~ControlsSuspended() { dataSet_.enableControls(); }
    ControlsSuspended(const ControlsSuspended&) = delete;
    ControlsSuspended& operator=(const ControlsSuspended&) = delete;

private:
    DataSet& dataSet_;
};

} // namespace zep
