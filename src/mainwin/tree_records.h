#pragma once

#include <QVariant>

namespace zep {

class Table;

// Record operations behind moving and copying tree entries.

// Sets the parent (Vor) of the entry the table stands on; a refused post is cancelled and passed on.
void setEntryParent(Table& table, const QVariant& parent);

// Copies every stored field but the record number of the address `source` stands on into a new
// record below `parent`, through the table object `copy` (opened on source's directory and closed on
// every path). Returns the new record's number.
qint64 copyAddressRecord(const Table& source, Table& copy, qint64 parent);

// A new topic with the caption and main-entry flag of the topic `topics` stands on, below `parent`;
// never an address record. Returns the new record's number.
qint64 copyTopicRecord(const Table& topics, qint64 parent);

} // namespace zep
