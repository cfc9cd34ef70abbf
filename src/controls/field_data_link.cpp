#include "controls/field_data_link.h"

#include "data/data_source.h"
#include "data/dataset.h"
#include "data/engine_error.h"

namespace zep {

FieldDataLink::FieldDataLink(QObject* parent) : QObject(parent) {}

void FieldDataLink::setDataSource(DataSource* source) {
    if (source_ == source)
        return;
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        // A data source whose data set is exchanged reports a data change: the control follows.
        connect(source_, &DataSource::dataChanged, this, &FieldDataLink::recordChanged);
        connect(source_, &DataSource::fieldChanged, this, &FieldDataLink::fieldChanged);
        connect(source_, &DataSource::updatingRecord, this, &FieldDataLink::writeBeforePost);
        connect(source_, &QObject::destroyed, this, &FieldDataLink::recordChanged);
    }
    recordChanged();
}

void FieldDataLink::setFieldName(const QString& fieldName) {
    fieldName_ = fieldName;
    recordChanged();
}

QString FieldDataLink::caption() const {
    return caption_.isEmpty() ? fieldName_ : caption_;
}

DataSet* FieldDataLink::dataSet() const {
    return source_ ? source_->dataSet() : nullptr;
}

int FieldDataLink::fieldPosition() const {
    const DataSet* set = dataSet();
    return set && set->isActive() && !fieldName_.isEmpty() ? set->fieldPosition(fieldName_) : -1;
}

const FieldDef* FieldDataLink::field() const {
    const int position = fieldPosition();
    return position < 0 ? nullptr : &dataSet()->fieldInfo(position).def;
}

bool FieldDataLink::canModify() const {
    const int position = fieldPosition();
    if (position < 0)
        return false;
    const FieldInfo& info = dataSet()->fieldInfo(position);
    return !info.derived && info.def.kind != FieldKind::AutoInc;
}

int FieldDataLink::maxLength() const {
    const FieldDef* def = field();
    return def && def->kind == FieldKind::String ? def->size : 0;
}

QVariant FieldDataLink::value() const {
    const int position = fieldPosition();
    if (position < 0)
        return {};
    const DataSet* set = dataSet();
    return set->isEditing() || !set->isEmpty() ? set->value(position) : QVariant();
}

bool FieldDataLink::holds(const QVariant& expected) const {
    const QVariant current = value();
    if (!current.isValid() || current.isNull())
        return false;
    try {
        return compareValues(current, coerceValue(*field(), expected, dataSet()->displayName())) == 0;
    } catch (const EngineError&) {
        return false; // a value the field cannot hold is never held
    }
}

void FieldDataLink::edit() {
    DataSet* set = dataSet();
    if (!canModify())
        throw EngineError(QStringLiteral("Das Feld \"%1\" kann nicht geändert werden.").arg(caption()));
    if (!set->isEditing()) {
        editing_ = true;
        try {
            set->edit();
        } catch (...) {
            editing_ = false;
            throw;
        }
        editing_ = false;
    }
    modified_ = true;
}

void FieldDataLink::updateRecord() {
    if (!modified_ || !controlValue_)
        return;
    if (!canModify()) {
        modified_ = false;
        return;
    }
    DataSet* set = dataSet();
    if (!set->isEditing())
        edit();
    const QVariant value = controlValue_();
    try {
        set->setValue(fieldPosition(), value);
    } catch (const EngineError&) {
        throw EngineError(valueError(value));
    }
    modified_ = false;
}

void FieldDataLink::reset() {
    modified_ = false;
    emit dataChanged();
}

void FieldDataLink::recordChanged() {
    if (editing_)
        return;
    reset();
}

void FieldDataLink::fieldChanged(int position) {
    if (position == fieldPosition())
        reset();
}

void FieldDataLink::writeBeforePost() {
    try {
        updateRecord();
    } catch (const EngineError& error) {
        if (DataSet* set = dataSet())
            set->refuseUpdate(error.message());
        emit updateRefused(error.message());
    }
}

QString FieldDataLink::valueError(const QVariant& value) const {
    // The user knows the field by its caption on screen only.
    const QString name = QStringLiteral("\"%1\"").arg(caption());
    const QString text = value.toString();
    switch (field()->kind) {
    case FieldKind::Date:
        return QStringLiteral("\"%1\" ist kein gültiges Datum für das Feld %2. Bitte das Datum als TT.MM.JJJJ "
                              "eingeben.")
            .arg(text, name);
    case FieldKind::Number:
        return QStringLiteral("\"%1\" ist keine gültige Zahl für das Feld %2.").arg(text, name);
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        return QStringLiteral("\"%1\" ist keine gültige ganze Zahl für das Feld %2.").arg(text, name);
    case FieldKind::Logical:
        return QStringLiteral("\"%1\" ist kein gültiger Wahrheitswert für das Feld %2.").arg(text, name);
    case FieldKind::String:
    case FieldKind::Memo:
        break;
    }
    return QStringLiteral("\"%1\" kann im Feld %2 nicht gespeichert werden.").arg(text, name);
}

} // namespace zep
