#include "controls/ui/db_combo_box.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "controls/ui/bound_control.h"
#include "data/catalog_file.h"
#include "data/format_error.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace zep {

namespace {
const int UnlimitedLength = 32767;
}

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert); // a typed text is the field's value, never a new list entry
    link_.setControlValue([this] { return QVariant(currentText()); });
    attachFieldLink(*this, link_);
    connect(&link_, &FieldDataLink::dataChanged, this, &DBComboBox::showField);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { beginFieldEdit(link_); });
    connect(this, &QComboBox::activated, this, &DBComboBox::picked);
    showField();
}

DBComboBox::DBComboBox(DataSource* source, const QString& field, QWidget* parent) : DBComboBox(parent) {
    link_.setFieldName(field);
    link_.setDataSource(source);
}

void DBComboBox::setPickList(const QStringList& items) {
    const QSignalBlocker blocker(this);
    const QString text = currentText();
    clear();
    addItems(items);
    setEditText(text);
}

void DBComboBox::showField() {
    lineEdit()->setMaxLength(link_.maxLength() > 0 ? link_.maxLength() : UnlimitedLength);
    lineEdit()->setReadOnly(!link_.canModify());
    const QString shown = link_.text();
    if (currentText() != shown)
        setEditText(shown);
}

void DBComboBox::picked() {
    if (beginFieldEdit(link_))
        commitField(*this, link_);
}

void DBComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    commitFieldOnLeave(*this, link_, *event);
}

void fillPickListFromCatalog(DBComboBox& box, int catalog, const QString& generalDir) {
    QStringList lines;
    try {
        if (LoadCatalog(lines, catalog, generalDir))
            box.setPickList(lines);
    } catch (const FileError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
    }
}

} // namespace zep
