#include "addresses/entry_delete.h"

#include "addresses/entry_documents.h"
#include "data/table.h"

namespace zep {

namespace {

void deleteLeavesFirst(const EntryDeletion& deletion, TreeModel& model, TreeModel::Node* node) {
    for (TreeModel::Node* n : model.subtreeLeavesFirst(node)) {
        if (deletion.entries.findKey({n->number()})) {
            if (deletion.documents.recordCount() > 0)
                removeEntryDocuments(deletion.documents, deletion.linkField, deletion.filesDir);
            deletion.entries.deleteRecord();
        }
        model.remove(n);
    }
}

void removeRestriction(Table& documents) {
    documents.clearMaster();
    documents.setIndexName(QString());
}

} // namespace

void deleteEntrySubtree(const EntryDeletion& deletion, TreeModel& model, TreeModel::Node* node) {
    try {
        deletion.documents.setIndexName(deletion.documentIndex);
        deletion.documents.setMaster(&deletion.entrySource, QStringLiteral("Nr"));
        deleteLeavesFirst(deletion, model, node);
    } catch (...) {
        // The first error is the one to report; the restriction goes in any case.
        try {
            removeRestriction(deletion.documents);
        } catch (...) {
        }
        throw;
    }
    removeRestriction(deletion.documents);
}

} // namespace zep
