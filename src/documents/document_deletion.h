#pragma once

#include <QString>

namespace zep {

class Table;

// How a document leaves the view it is deleted from.
struct DocumentDeletion {
    bool full = false;        // the record goes; otherwise only the view's link to it is cut
    bool fileOffered = false; // its file may go into the trash too (never for a note)
    QString title;
};

// The plan for the current record of the documents table. A document filed under both an address
// and a topic only loses its link to the current view, except in the resubmission view, where every
// deletion is full. A missing link (below 0 or null) counts as none.
DocumentDeletion planDocumentDeletion(Table& documents, bool resubmissionView);

// Carries out the plan on the current record: a full deletion, when asked and the document is no
// note, puts its file into the trash first and then deletes the record; an unlinking sets linkField
// to -1. Returns a German message when the file could not be put into the trash (the document and
// its file stay), or the refusal of a Datei that names no file of the client when the file was asked
// for (nothing has changed then), else nothing. Throws EngineError when the table refuses.
QString deleteDocument(Table& documents, const DocumentDeletion& plan, bool withFile, const QString& linkField,
                       const QString& filesDir);

// Puts path, the file of the current record, into the trash and deletes the record, with the record
// marked as being deleted in between. False when the file could not be put into the trash: the record
// then stays, its mark cleared. Throws EngineError when the table refuses.
bool trashDocumentFile(Table& documents, const QString& path);

} // namespace zep
