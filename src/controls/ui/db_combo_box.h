#pragma once

#include "controls/field_data_link.h"

#include <QComboBox>

namespace zep {

class DataSource;

// An editable combo box bound to a text field: the user types any text or picks one from the pick
// list; the text is stored. A pick is written at once, typing when the box is left or the record posted.
class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);
    DBComboBox(DataSource* source, const QString& field, QWidget* parent = nullptr);

    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    const QString& dataField() const { return link_.fieldName(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    FieldDataLink& dataLink() { return link_; }

    // Replaces the list; the text shown stays.
    void setPickList(const QStringList& items);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showField();
    void picked();

    FieldDataLink link_;
};

// Fills the pick list from a catalog of the installation; a catalog that cannot be read is told
// through the interaction seam and leaves the list as it was.
void fillPickListFromCatalog(DBComboBox& box, int catalog, const QString& generalDir);

} // namespace zep
