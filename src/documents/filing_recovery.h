#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// What the opening of a client set right after the program ended in the middle of filing, copying
// or deleting documents (filing_marks.h). No user's file is ever deleted: a placed file keeps its
// record, and a record whose file never arrived goes while the file stays where it was.
struct FilingRecovery {
    int provisionalRemoved = 0;   // records of dialogs that never filed
    int provisionalKept = 0;      // such records naming a file of their own, which no filed document names
    int placingCompleted = 0;     // filings whose file was in place: now filed
    int placingRemoved = 0;       // filings whose file never arrived
    int deletionsCompleted = 0;   // deletions whose file was in the trash already
    int deletionsUndone = 0;      // deletions whose file was still there: the document stays
    int partialCopiesRemoved = 0; // hidden unfinished copies
    QStringList failures;         // what could not be set right, in German

    bool isEmpty() const;
    // The one German message for the user; empty when nothing was found.
    QString message() const;
};

// Sets right the documents table in dataDir and the client's "Files" folder: marked records are
// filed, kept or removed by whether their file is there, unfinished copies are removed. Errors of
// the table engine are noted in failures; the rest goes on.
FilingRecovery recoverFiling(const QString& dataDir, const QString& filesDir);

// The recovery as a client's opening runs it: the message to show once, empty when nothing was found.
QString recoverFilingAtOpening(const QString& dataDir, const QString& filesDir);

} // namespace zep
