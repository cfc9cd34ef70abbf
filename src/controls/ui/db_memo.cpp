#include "controls/ui/db_memo.h"

#include "controls/ui/bound_control.h"

#include <QTextCursor>

namespace zep {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true); // on a form Tab goes on to the next field, as from every other bound control
    link_.setControlValue([this] { return QVariant(toPlainText()); });
    attachFieldLink(*this, link_);
    connect(&link_, &FieldDataLink::dataChanged, this, &DBMemo::showField);
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::userChanged);
    showField();
}

DBMemo::DBMemo(DataSource* source, const QString& field, QWidget* parent) : DBMemo(parent) {
    link_.setFieldName(field);
    link_.setDataSource(source);
}

void DBMemo::showField() {
    setReadOnly(!link_.canModify());
    const QString shown = link_.text();
    if (toPlainText() == shown)
        return;
    showing_ = true;
    setPlainText(shown);
    showing_ = false;
}

void DBMemo::userChanged() {
    if (showing_)
        return;
    limitLength();
    beginFieldEdit(link_);
}

// Cuts what goes beyond the field's width, as a line edit refuses it, so nothing is cut silently on storing.
void DBMemo::limitLength() {
    const int limit = link_.maxLength();
    if (limit <= 0 || toPlainText().size() <= limit)
        return;
    showing_ = true;
    setPlainText(toPlainText().left(limit));
    moveCursor(QTextCursor::End);
    showing_ = false;
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    commitFieldOnLeave(*this, link_, *event);
}

} // namespace zep
