#include "data/lookup_list.h"

#include "data/dataset.h"
#include "data/field.h"
#include "data/table.h"

namespace zep {

namespace {

bool isNullValue(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

} // namespace

void LookupList::setFields(const QString& keyField, const QString& listFields) {
    keyField_ = keyField;
    listFields_ = listFields;
    stale_ = true;
}

const std::vector<LookupList::Entry>& LookupList::entries(const DataSet* set) {
    if (stale_)
        read(set);
    return entries_;
}

int LookupList::indexOf(DataSet* set, const QVariant& key) {
    entries(set);
    if (isNullValue(key))
        return -1;
    int found = position(key);
    if (found < 0 && compareValues(key, rereadFor_) != 0) {
        rereadFor_ = key;
        reread(set);
        found = position(key);
    }
    return found;
}

void LookupList::reread(DataSet* set) {
    if (auto* table = qobject_cast<Table*>(set))
        table->refresh();
    read(set);
}

int LookupList::position(const QVariant& key) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (compareValues(entries_[i].key, key) == 0)
            return int(i);
    return -1;
}

void LookupList::read(const DataSet* set) {
    stale_ = false; // also on failure: a broken set is not read again on every look
    std::vector<Entry> read;
    if (set && set->isActive()) {
        const int keyPosition = set->fieldPosition(keyField_);
        std::vector<int> shown;
        for (const QString& name : listFields_.split(u';', Qt::SkipEmptyParts))
            if (const int position = set->fieldPosition(name.trimmed()); position >= 0)
                shown.push_back(position);
        for (int row = 0; keyPosition >= 0 && row < set->recordCount(); ++row) {
            QStringList texts;
            for (const int position : shown)
                if (const QString text = valueText(set->valueAt(row, position)); !text.isEmpty())
                    texts << text;
            read.push_back({texts.join(u' '), set->valueAt(row, keyPosition)});
        }
    }
    entries_ = std::move(read);
    ++revision_;
}

} // namespace zep
