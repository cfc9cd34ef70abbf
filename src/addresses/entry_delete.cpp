#include "addresses/entry_delete.h"

#include "addresses/entry_documents.h"
#include "data/table.h"

namespace zep {

namespace {

void deleteLeavesFirst(const EntryDeletion& deletion, TreeModel& model, TreeModel::Node* node,
                       QStringList& notTrashed) {
    for (TreeModel::Node* n : model.subtreeLeavesFirst(node)) {
        // Children still there were kept, and so is their parent.
        bool keep = n->childCount() > 0;
        if (deletion.entries.findKey({n->number()})) {
            if (deletion.documents.recordCount() > 0) {
                const QStringList files =
                    removeEntryDocuments(deletion.documents, deletion.linkField, deletion.filesDir);
                notTrashed += files;
                keep = keep || !files.isEmpty();
            }
            if (!keep)
                deletion.entries.deleteRecord();
        }
        if (!keep)
            model.remove(n);
    }
}

void removeRestriction(Table& documents) {
    documents.clearMaster();
    documents.setIndexName(QString());
}

} // namespace

QStringList deleteEntrySubtree(const EntryDeletion& deletion, TreeModel& model, TreeModel::Node* node) {
    QStringList notTrashed;
    try {
        deletion.documents.setIndexName(deletion.documentIndex);
        deletion.documents.setMaster(&deletion.entrySource, QStringLiteral("Nr"));
        deleteLeavesFirst(deletion, model, node, notTrashed);
    } catch (...) {
        // The first error is the one to report; the restriction goes in any case.
        try {
            removeRestriction(deletion.documents);
        } catch (...) {
        }
        throw;
    }
    removeRestriction(deletion.documents);
    return notTrashed;
}

} // namespace zep
