#pragma once

#include "controls/field_data_link.h"

#include <QPlainTextEdit>

namespace zep {

class DataSource;

// A plain text editor bound to a memo (or text) field; writes what was typed when it is left and
// before the record is posted. On a text field it takes no more characters than the field holds.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);
    DBMemo(DataSource* source, const QString& field, QWidget* parent = nullptr);

    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    const QString& dataField() const { return link_.fieldName(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    FieldDataLink& dataLink() { return link_; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showField();
    void userChanged();
    void limitLength();

    FieldDataLink link_;
    bool showing_ = false; // the text is being set from the field, not typed
};

} // namespace zep
