#pragma once

#include "data/table.h"
#include "documents/provisional_document.h"

#include <QDateTime>
#include <QString>

namespace zep {

// Where the file of a document to be copied lies: its path, its directory (the client's "Files"
// folder for a bare Datei) and its extension with the dot; or, with all three empty, why its Datei
// names no file of the client.
struct CopySource {
    QString path;
    QString directory;
    QString extension;
    QString refusal;
};
CopySource copySourceOf(const QString& datei, const QString& filesDir);

// The first free numbered file for a copy titled title in directory.
QString copyTargetFile(const QString& directory, const QString& title, const QString& extension);

// The record behind "Dokument kopieren", on a table object of its own (TZiel): a provisional copy of
// the source document is posted under the target entry when the dialog shows, completed once its
// file is copied, and removed on every other way of closing.
// The table object of its own that a copy is made on; a base so it exists before the record rule.
struct CopyTarget {
    Table TZiel;
};

class DocumentCopying : public CopyTarget, public ProvisionalDocument {
public:
    // Opens TZiel on the client's documents table in dataDir. Throws EngineError.
    explicit DocumentCopying(const QString& dataDir);

    // Appends and posts the copy of source's current record under the target entry: "in work", filed
    // now, without the resubmission of the source. Throws EngineError; nothing is left behind then.
    void begin(Table& source, const QString& linkField, qint64 entryNumber, const QDateTime& now);
    // Copies the file to targetFile and completes the record with title and Datei (a bare name in
    // the client's "Files" folder). Empty on success, else a German message: no file is left behind
    // then and the record stays provisional.
    QString file(const QString& title, const QString& sourcePath, const QString& targetFile, const QString& filesDir);
};

} // namespace zep
