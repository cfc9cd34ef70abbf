#include "controls/ui/db_lookup_combo_box.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "controls/ui/bound_control.h"
#include "data/data_source.h"
#include "data/engine_error.h"
#include "data/table.h"

#include <QSignalBlocker>

#include <utility>

namespace zep {

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
    list_.setFields(keyField_, listField_);
    listChanged();
}

void DBLookupComboBox::setListField(const QString& fields) {
    listField_ = fields;
    list_.setFields(keyField_, listField_);
    listChanged();
}

DataSet* DBLookupComboBox::listSet() const {
    return listSource_ ? listSource_->dataSet() : nullptr;
}

// The list is read again only when it is needed: list data sets are large and their cursor moves often.
void DBLookupComboBox::listChanged() {
    if (filling_)
        return;
    list_.markStale();
    if (currentIndex() < 0 && !link_.value().isNull())
        showField();
}

template <typename Step> void DBLookupComboBox::guarded(Step step) {
    filling_ = true;
    const int revision = list_.revision();
    try {
        step();
        if (list_.revision() != revision)
            errorShown_ = false;
    } catch (const EngineError& error) {
        if (!std::exchange(errorShown_, true))
            Interaction::instance().error(error.message(), ApplicationName.toString());
    }
    filling_ = false;
}

void DBLookupComboBox::showEntries() {
    if (shownRevision_ == list_.revision())
        return;
    shownRevision_ = list_.revision();
    const QSignalBlocker blocker(this);
    clear();
    for (const LookupList::Entry& entry : list_.entries(listSet()))
        addItem(entry.text, entry.key);
}

void DBLookupComboBox::showField() {
    int index = -1;
    guarded([&] { index = list_.indexOf(listSet(), link_.value()); });
    showEntries();
    setCurrentIndex(index);
}

void DBLookupComboBox::showPopup() {
    guarded([&] { list_.reread(listSet()); });
    showField();
    QComboBox::showPopup();
}

void DBLookupComboBox::picked() {
    if (beginFieldEdit(link_) && !commitField(*this, link_))
        link_.reset();
}

} // namespace zep
