#include "documents/document_deletion.h"

#include "addresses/entry_documents.h"
#include "data/table.h"
#include "documents/document_path.h"

#include <QFileInfo>

namespace zep {

DocumentDeletion planDocumentDeletion(Table& documents, bool resubmissionView) {
    DocumentDeletion plan;
    plan.full = resubmissionView || !isLinkedToEntry(documents, u"NrThema") || !isLinkedToEntry(documents, u"NrFirma");
    plan.fileOffered = plan.full && !isNoteExtension(documents.field(u"Ext").asString());
    plan.title = documents.field(u"Titel").asString();
    return plan;
}

QString deleteDocument(Table& documents, const DocumentDeletion& plan, bool withFile, const QString& linkField,
                       const QString& filesDir) {
    if (!plan.full) {
        documents.edit();
        try {
            documents.field(linkField).setValue(-1);
            documents.post();
        } catch (...) {
            documents.cancel(); // no refused edit stays pending
            throw;
        }
        return {};
    }
    const bool trash = withFile && plan.fileOffered;
    const DocumentPath file = fileOfDeletedDocument(documents.field(u"Datei").asString(), filesDir);
    if (trash && !file.resolved())
        return file.refusal;
    documents.deleteRecord();
    // Only a file goes into the trash, never a folder a damaged Datei may name.
    if (!trash || !QFileInfo(file.path).isFile() || moveFileToTrash(file.path))
        return {};
    return QStringLiteral("Die Datei \"%1\" konnte nicht in den Papierkorb verschoben werden.").arg(file.path);
}

} // namespace zep
