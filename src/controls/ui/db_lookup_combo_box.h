#pragma once

#include "controls/field_data_link.h"
#include "data/data_source.h"
#include "data/lookup_list.h"

#include <QComboBox>
#include <QPointer>

namespace zep {

class DataSet;

// A drop-down list bound to a key field: it shows the entries of a LookupList over a list data set
// ("Name1;Name2": the fields' texts joined by a space), shows the entry whose key equals the bound
// field, and stores that key when the user picks one. Opening the list reads the list data set again.
// A list that cannot be read is told once through the interaction seam, never passed to the caller
// (which may be painting).
class DBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget* parent = nullptr);

    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    const QString& dataField() const { return link_.fieldName(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    FieldDataLink& dataLink() { return link_; }

    DataSource* listSource() const { return listSource_; }
    void setListSource(DataSource* source);
    const QString& keyField() const { return keyField_; }
    void setKeyField(const QString& field);
    // List fields separated by ";".
    const QString& listField() const { return listField_; }
    void setListField(const QString& fields);

    // The key of the record shown; null when none is shown.
    QVariant keyValue() const { return currentIndex() < 0 ? QVariant() : itemData(currentIndex()); }

    void showPopup() override;

private:
    DataSet* listSet() const;
    void listChanged();
    // Runs a step of the list; an error of the engine is shown once until the list reads again.
    template <typename Step> void guarded(Step step);
    void showEntries();
    void showField();
    void picked();

    FieldDataLink link_;
    QPointer<DataSource> listSource_;
    QString keyField_;
    QString listField_;
    LookupList list_;
    int shownRevision_ = -1;
    bool filling_ = false;    // the list data set is being read; its notices are our own
    bool errorShown_ = false; // the list's failure was told; not again until it reads again
};

} // namespace zep
