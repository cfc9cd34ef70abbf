#include "controls/ui/db_lookup_combo_box.h"

#include "controls/ui/bound_control.h"
#include "data/data_source.h"
#include "data/engine_error.h"
#include "data/table.h"

#include <QSignalBlocker>

namespace zep {

namespace {

bool isNullValue(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

} // namespace

DBLookupComboBox::DBLookupComboBox(QWidget* parent) : QComboBox(parent) {
    link_.setControlValue([this] { return keyValue(); });
    attachFieldLink(*this, link_);
    connect(&link_, &FieldDataLink::dataChanged, this, &DBLookupComboBox::showField);
    connect(this, &QComboBox::activated, this, &DBLookupComboBox::picked);
}

void DBLookupComboBox::setListSource(DataSource* source) {
    if (listSource_ == source)
        return;
    if (listSource_)
        disconnect(listSource_, nullptr, this, nullptr);
    listSource_ = source;
    if (listSource_) {
        connect(listSource_, &DataSource::dataChanged, this, &DBLookupComboBox::listChanged);
        connect(listSource_, &DataSource::stateChanged, this, &DBLookupComboBox::listChanged);
        connect(listSource_, &DataSource::layoutChanged, this, &DBLookupComboBox::listChanged);
    }
    listChanged();
}

void DBLookupComboBox::setKeyField(const QString& field) {
    keyField_ = field;
    listChanged();
}

void DBLookupComboBox::setListField(const QString& fields) {
    listField_ = fields;
    listChanged();
}

DataSet* DBLookupComboBox::listSet() const {
    return listSource_ ? listSource_->dataSet() : nullptr;
}

// The list is read again only when it is needed: list data sets are large and their cursor moves often.
void DBLookupComboBox::listChanged() {
    if (filling_)
        return;
    listStale_ = true;
    if (currentIndex() < 0 && !isNullValue(link_.value()))
        showField();
}

void DBLookupComboBox::fillList() {
    const QSignalBlocker blocker(this);
    clear();
    listStale_ = false;
    const DataSet* set = listSet();
    if (!set || !set->isActive())
        return;
    const int keyPosition = set->fieldPosition(keyField_);
    std::vector<int> shown;
    for (const QString& name : listField_.split(u';', Qt::SkipEmptyParts))
        if (const int position = set->fieldPosition(name.trimmed()); position >= 0)
            shown.push_back(position);
    if (keyPosition < 0)
        return;
    for (int row = 0; row < set->recordCount(); ++row) {
        QStringList texts;
        for (const int position : shown)
            if (const QString text = valueText(set->valueAt(row, position)); !text.isEmpty())
                texts << text;
        addItem(texts.join(u' '), set->valueAt(row, keyPosition));
    }
}

// A list that cannot be read again (its file gone) stays as it was read last.
void DBLookupComboBox::rereadList() {
    filling_ = true;
    try {
        if (auto* table = qobject_cast<Table*>(listSet()))
            table->refresh();
    } catch (const EngineError&) {
    }
    fillList();
    filling_ = false;
}

int DBLookupComboBox::indexOfKey(const QVariant& key) const {
    if (isNullValue(key))
        return -1;
    for (int i = 0; i < count(); ++i)
        if (compareValues(itemData(i), key) == 0)
            return i;
    return -1;
}

void DBLookupComboBox::showField() {
    const QVariant key = link_.value();
    if (listStale_)
        fillList();
    int index = indexOfKey(key);
    // A key missing from the list may belong to a record posted since; asked once per key, since
    // a key that means "none" (-1) is never in the list.
    if (index < 0 && !isNullValue(key) && compareValues(key, rereadFor_) != 0) {
        rereadFor_ = key;
        rereadList();
        index = indexOfKey(key);
    }
    setCurrentIndex(index);
}

void DBLookupComboBox::showPopup() {
    rereadFor_ = QVariant();
    rereadList();
    showField();
    QComboBox::showPopup();
}

void DBLookupComboBox::picked() {
    if (beginFieldEdit(link_) && !commitField(*this, link_))
        link_.reset();
}

} // namespace zep
