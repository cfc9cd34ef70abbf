#include "addresses/ui/address_field_binder.h"

#include "data/data_source.h"
#include "data/engine_error.h"
#include "data/field.h"
#include "data/table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace zep {

AddressFieldBinder::AddressFieldBinder(Table& table, DataSource& source, QObject* parent)
    : QObject(parent), table_(table) {
    connect(&source, &DataSource::dataChanged, this, &AddressFieldBinder::refresh);
    connect(&source, &DataSource::fieldChanged, this, &AddressFieldBinder::refreshField);
}

void AddressFieldBinder::bind(QLineEdit* edit, const QString& field) {
    // The field's width limits typing, so nothing is cut off silently when it is stored.
    if (const int position = table_.fieldPosition(field); position >= 0) {
        const FieldDef& def = table_.fieldInfo(position).def;
        if (def.kind == FieldKind::String && def.size > 0)
            edit->setMaxLength(def.size);
    }
    add(edit, field, [edit](const QVariant& value) {
        const QString text = valueText(value);
        if (edit->text() != text)
            edit->setText(text);
    });
    connect(edit, &QLineEdit::textEdited, this,
            [this, edit, field](const QString& text) { assign(edit, field, text); });
}

void AddressFieldBinder::bind(QPlainTextEdit* memo, const QString& field) {
    add(memo, field, [memo](const QVariant& value) {
        const QString text = valueText(value);
        if (memo->toPlainText() != text)
            memo->setPlainText(text);
    });
    connect(memo, &QPlainTextEdit::textChanged, this,
            [this, memo, field] { assign(memo, field, memo->toPlainText()); });
}

void AddressFieldBinder::bind(QComboBox* box, const QString& field) {
    add(box, field, [box](const QVariant& value) { box->setEditText(valueText(value)); });
    connect(box, &QComboBox::editTextChanged, this,
            [this, box, field](const QString& text) { assign(box, field, text); });
}

void AddressFieldBinder::bind(QCheckBox* box, const QString& field, const QVariant& checkedValue,
                              const QVariant& uncheckedValue) {
    add(box, field,
        [box, checkedValue](const QVariant& value) { box->setChecked(compareValues(value, checkedValue) == 0); });
    connect(box, &QCheckBox::toggled, this, [this, box, field, checkedValue, uncheckedValue](bool checked) {
        assign(box, field, checked ? checkedValue : uncheckedValue);
    });
}

void AddressFieldBinder::add(QWidget* control, const QString& field, std::function<void(const QVariant&)> show) {
    bindings_.push_back({control, field, std::move(show)});
}

// A text that is not yet a value of the field (a date half typed) is kept in the control and
// assigned once it reads.
void AddressFieldBinder::assign(QWidget* control, const QString& field, const QVariant& value) {
    if (!table_.isActive())
        return;
    assigning_ = control;
    try {
        if (!table_.isEditing())
            table_.edit();
        table_.field(field).setValue(value);
        pending_.erase(field);
    } catch (const EngineError& error) {
        pending_[field] = error.message();
    }
    assigning_ = nullptr;
    if (afterChange)
        afterChange();
}

QString AddressFieldBinder::pendingError() const {
    return pending_.empty() ? QString() : pending_.begin()->second;
}

void AddressFieldBinder::show(const Binding& binding) {
    if (binding.control == assigning_)
        return;
    const QSignalBlocker blocker(binding.control);
    const bool hasRecord = table_.isActive() && (table_.isEditing() || !table_.isEmpty());
    binding.show(hasRecord ? table_.field(binding.field).value() : QVariant());
}

void AddressFieldBinder::refresh() {
    pending_.clear(); // another record, or the record as stored: nothing typed is pending
    for (const Binding& binding : bindings_)
        show(binding);
    if (afterChange)
        afterChange();
}

void AddressFieldBinder::refreshField(int position) {
    for (const Binding& binding : bindings_) {
        if (table_.fieldPosition(binding.field) == position)
            show(binding);
    }
}

} // namespace zep
