#pragma once

#include "controls/field_data_link.h"

#include <QLineEdit>

namespace zep {

class DataSource;

// A line edit bound to a field: shows its text form (dates TT.MM.JJJJ, numbers with a decimal comma),
// takes no more characters than a text field holds, and writes what was typed when it is left and
// before the record is posted.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);
    DBEdit(DataSource* source, const QString& field, QWidget* parent = nullptr);

    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    const QString& dataField() const { return link_.fieldName(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    FieldDataLink& dataLink() { return link_; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showField();

    FieldDataLink link_;
};

} // namespace zep
