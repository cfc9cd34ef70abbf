#pragma once

#include <QString>
#include <QVariant>

#include <vector>

namespace zep {

class DataSet;

// The entries a lookup drop-down offers: one per record of a list data set, its text the texts of the
// list fields joined by a blank, its key the value of the key field. The entries are read when first
// asked for after a change of the set, and read again from the file for a key they lack, so that a
// record another table object posted a moment ago is found.
class LookupList {
public:
    struct Entry {
        QString text;
        QVariant key;
    };

    // listFields: field names separated by ";". Marks the entries stale.
    void setFields(const QString& keyField, const QString& listFields);
    // The set changed: the entries are read again when next asked for.
    void markStale() { stale_ = true; }

    // The entries of set (none for a missing or closed set), read now when stale. Throws EngineError; the
    // entries read last then stay and are not read again until the next change.
    const std::vector<Entry>& entries(const DataSet* set);
    // Where key stands in the entries; -1 when key is null or not listed. A key not listed makes the set
    // be read again from its file once per key (a key meaning "none", -1, is never listed). Throws
    // EngineError.
    int indexOf(DataSet* set, const QVariant& key);
    // Reads the set again from its file (a table is refreshed) and the entries from it. Throws EngineError.
    void reread(DataSet* set);
    // Counts every read of the entries, so that a view of them knows when to rebuild.
    int revision() const { return revision_; }

private:
    int position(const QVariant& key) const;
    void read(const DataSet* set);

    QString keyField_;
    QString listFields_;
    std::vector<Entry> entries_;
    QVariant rereadFor_; // the last missing key the set was read again for
    bool stale_ = true;
    int revision_ = 0;
};

} // namespace zep
