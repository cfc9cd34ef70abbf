#pragma once

#include "mainwin/tree_model.h"

#include <QString>
#include <QStringList>

namespace zep {

class DataSource;
class Table;

// What deleting an entry of the active tree works on.
struct EntryDeletion {
    Table& entries;          // TAdr or TThema
    DataSource& entrySource; // DAdr or DThema: the documents follow its record
    Table& documents;        // TDok
    QString documentIndex;   // "iFirma" or "iThema"
    QString linkField;       // "NrFirma" or "NrThema"
    QString filesDir;        // the client's Files directory, ending in "/"
};

// Deletes node's subtree from the leaves up: for each node the documents of its record (see
// removeEntryDocuments), the record, then the node, so that should the engine fail half-way the model
// still holds exactly the entries whose records are left. A node without record is removed as well.
// An entry keeping a document whose file could not be put into the trash stays, with its ancestors,
// so that no kept document or entry loses the entry it is filed under; the result lists those files.
// The documents are restricted to the entry being deleted meanwhile; the restriction is removed on
// every path. Throws EngineError; the caller writes the tree file in every case.
QStringList deleteEntrySubtree(const EntryDeletion& deletion, TreeModel& model, TreeModel::Node* node);

} // namespace zep
