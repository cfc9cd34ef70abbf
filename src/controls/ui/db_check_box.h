#pragma once

#include "controls/field_data_link.h"

#include <QCheckBox>

namespace zep {

class DataSource;

// A check box bound to a field with the values it stores: ticked shows and stores valueChecked,
// unticking stores valueUnchecked; any other stored value (null too) shows as not ticked. A click
// is written at once.
class DBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DBCheckBox(const QString& text, QWidget* parent = nullptr);

    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    const QString& dataField() const { return link_.fieldName(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    FieldDataLink& dataLink() { return link_; }

    // Defaults: true and false.
    void setValues(const QVariant& valueChecked, const QVariant& valueUnchecked);
    const QVariant& valueChecked() const { return valueChecked_; }
    const QVariant& valueUnchecked() const { return valueUnchecked_; }

private:
    void showField();
    void userClicked();

    FieldDataLink link_;
    QVariant valueChecked_ = true;
    QVariant valueUnchecked_ = false;
};

} // namespace zep
