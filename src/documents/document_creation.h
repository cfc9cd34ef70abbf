#pragma once

#include "documents/provisional_document.h"

#include <QDateTime>
#include <QString>

namespace zep {

// The file a new document gets in the client's "Files" folder.
// Why a title cannot be part of a file name ("/", a NUL or another control character, only dots), in
// German; empty when it can.
QString titleRefusal(const QString& title);

struct NewDocumentFile {
    QString path;    // the first free numbered name; empty when refused
    QString refusal; // why the title cannot be part of a file name there (German); empty when it can
};

// The file for a title and a template: directory + title + the template's extension, numbered by
// NumberedFileName. A title with "/" or a NUL, of only dots, or one whose file name would be longer
// than the file system takes or than maxNameLength characters (the width of Dok.DB's "Datei", which
// must hold the whole name) is refused, so the name always stands for one file inside filesDir.
NewDocumentFile newDocumentFile(const QString& title, const QString& templatePath, const QString& filesDir,
                                int maxNameLength);

// The record behind "Neues Dokument": a provisional document, completed with a copy of a template.
class DocumentCreation : public ProvisionalDocument {
public:
    using ProvisionalDocument::ProvisionalDocument;

    // Completes the record (title, the application's extension, the bare file name, the filing
    // time) with a copy of the template in filesDir (made when missing) under the numbered name of
    // the title, placed after the record is posted. Returns a German message when the title is
    // refused or the copy fails; the record stays provisional and no file is left then. Throws
    // EngineError when the post is refused; nothing is copied then.
    QString file(const QString& title, const QString& templatePath, const QString& applicationExt,
                 const QString& filesDir, const QDateTime& now);
};

} // namespace zep
