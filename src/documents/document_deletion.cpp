#include "documents/document_deletion.h"

#include "addresses/entry_documents.h"
#include "data/engine_error.h"
#include "data/table.h"
#include "documents/document_path.h"
#include "documents/filing_marks.h"

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
    // Only a file goes into the trash, never a folder a damaged Datei may name.
    if (!trash || !QFileInfo(file.path).isFile()) {
        documents.deleteRecord();
        return {};
    }
    if (!trashDocumentFile(documents, file.path))
        return QStringLiteral("Die Datei \"%1\" konnte nicht in den Papierkorb verschoben werden. Das Dokument "
                              "wurde nicht gelöscht.")
            .arg(file.path);
    return {};
}

// The file goes first and the record after it; the mark lets the next opening finish a deletion that a
// crash interrupted in between.
bool trashDocumentFile(Table& documents, const QString& path) {
    postFilingMark(documents, FilingMark::Deleting);
    if (!moveFileToTrash(path)) {
        try {
            postFilingMark(documents, FilingMark::None);
        } catch (const EngineError&) {
            // The mark stays; the next opening clears it, as the file is still there.
        }
        return false;
    }
    documents.deleteRecord();
    return true;
}

} // namespace zep
