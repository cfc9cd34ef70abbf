#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace zep {

class Table;

// The Ext of a note, a document without a file.
inline constexpr QStringView NoteExtension = u"---";
inline bool isNoteExtension(QStringView ext) {
    return ext == NoteExtension;
}

// True when a document's link field (NrFirma, NrThema) names an entry: not null, not below 0.
bool isLinkedToEntry(Table& documents, QStringView linkField);

// Empties a document table restricted to the documents of one entry being deleted. A document
// also filed under the other tree stays and only loses its link to this one (linkField set to -1);
// any other has its file, unless it is a note, moved to the trash and is deleted. A file that is there
// but cannot be put into the trash, or a Datei that names no file of the client, keeps its document:
// the result lists those files (such a Datei as it stands), and the set then still holds their
// documents. Errors of the table engine end the work with what is done so far.
QStringList removeEntryDocuments(Table& documents, const QString& linkField, const QString& filesDir);

// Moves a file into the desktop's trash; false when it could not be put there, the file then stays
// where it was.
bool moveFileToTrash(const QString& path);

} // namespace zep
