#pragma once

#include <QString>

namespace zep {

// Where a document's file lies, or why its Datei names no file the program may touch.
struct DocumentPath {
    QString path;    // the file's full path; empty when refused
    QString refusal; // why not (German); empty when resolved
    bool resolved() const { return refusal.isEmpty(); }
};

// True for a control character (a NUL, a line break, DEL): no file name of a document holds one.
bool isControlCharacter(QChar c);

// The one resolution of a stored Datei, and of a file the user types in its place, for every use: a
// bare name (no "/") lies in the client's "Files" folder, a full path (starting with "/") is itself.
// Anything else is refused and never looked up from the working directory, nor are an empty value,
// "." and "..", and a value with a control character (a NUL, a line break). filesDir must be a full
// path; its trailing "/" may be missing.
DocumentPath ResolveDocumentPath(const QString& datei, const QString& filesDir);

// As ResolveDocumentPath for a name the user typed: a relative path's refusal says what to type.
DocumentPath ResolveTypedPath(const QString& typed, const QString& filesDir);

// The file that goes with a deleted document: as ResolveDocumentPath, but a blank Datei names no
// file and is no refusal (empty path), so such a record may go on its own.
DocumentPath fileOfDeletedDocument(const QString& datei, const QString& filesDir);

// The question before an existing file outside the client's "Files" folder (and its subfolders) is
// put into the trash with its document, naming the file's full path; empty when no question is due.
QString outsideFilesTrashQuestion(const QString& path, const QString& filesDir);

} // namespace zep
