#pragma once

#include "documents/provisional_document.h"

#include "documents/file_placement.h"

#include <QStringList>

#include <functional>

namespace zep {

class Table;

// Where filed documents go: the active tree's link field ("NrFirma" or "NrThema"), the selected
// entry's Nr and the client's "Files" folder.
struct FilingTarget {
    QString linkField;
    qint64 entryNumber = 0;
    QString filesDir;
};

// The record behind "Dokument hinzufügen": a provisional document is posted when the dialog shows,
// completed by OK once its file is in place, and removed on every other way of closing.
class DocumentAdding : public ProvisionalDocument {
public:
    explicit DocumentAdding(Table& documents) : ProvisionalDocument(documents) {}

    // Appends and posts the provisional document under the entry, open for work, with the source's
    // extension. Throws EngineError; nothing is left behind then.
    void begin(const FilingTarget& target, const QString& source);
    // Puts the file in place and completes the record (title, Datei, the file's last-write time).
    // Source and target are resolved as typed, like a stored Datei (a bare name lies in "Files"), before
    // anything is written; the target counts only for a copy or move. Empty on success, else a German
    // message: the file is then where it was and the record stays provisional.
    QString file(const QString& title, const QString& typedSource, const QString& typedTarget, FileHandling handling);

private:
    QString filesDir_;
};

// The end of a run of "Dokumente hinzufügen".
struct FilingRun {
    qint64 lastNumber = 0; // Nr of the last document filed, 0 for none
    int filed = 0;
    bool stopped = false; // goOn said no before a file
    QString error;        // why the run ended early; the failing file is not filed
};

// Files every path in order, each completely before the next, as a document "not in work" titled
// with its file name; two files of one name get consecutive numbers in "Files". goOn is asked before
// each file with the count done and the total, and stops the run when it answers false.
FilingRun fileDocuments(Table& documents, const FilingTarget& target, const QStringList& paths, FileHandling handling,
                        const std::function<bool(int done, int total)>& goOn);

} // namespace zep
