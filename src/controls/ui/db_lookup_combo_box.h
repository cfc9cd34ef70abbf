#pragma once

#include "controls/field_data_link.h"
#include "data/data_source.h"

#include <QComboBox>
#include <QPointer>

namespace zep {

class DataSet;

// A drop-down list bound to a key field: it lists the records of a list data set by their list
// fields ("Name1;Name2": the fields' texts joined by a space), shows the record whose key field equals
// the bound field, and stores that key when the user picks one. A key not in the list, and opening
// the list, read the list data set again, so a record posted a moment ago through another table
// object is there.
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
    void fillList();
    void rereadList();
    int indexOfKey(const QVariant& key) const;
    void showField();
    void picked();

    FieldDataLink link_;
    QPointer<DataSource> listSource_;
    QString keyField_;
    QString listField_;
    QVariant rereadFor_; // the last missing key the list was read again for
    bool listStale_ = true;
    bool filling_ = false; // the list data set is being read; its notices are our own
};

} // namespace zep
