#include "controls/ui/db_edit.h"

#include "controls/ui/bound_control.h"

namespace zep {

namespace {
const int UnlimitedLength = 32767; // QLineEdit's own default
}

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    link_.setControlValue([this] { return QVariant(text()); });
    attachFieldLink(*this, link_);
    connect(&link_, &FieldDataLink::dataChanged, this, &DBEdit::showField);
    connect(this, &QLineEdit::textEdited, this, [this] { beginFieldEdit(link_); });
    showField();
}

DBEdit::DBEdit(DataSource* source, const QString& field, QWidget* parent) : DBEdit(parent) {
    link_.setFieldName(field);
    link_.setDataSource(source);
}

void DBEdit::showField() {
    setMaxLength(link_.maxLength() > 0 ? link_.maxLength() : UnlimitedLength);
    setReadOnly(!link_.canModify());
    const QString shown = link_.text();
    if (text() != shown)
        setText(shown);
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    commitFieldOnLeave(*this, link_, *event);
}

} // namespace zep
