#pragma once

#include <QString>

namespace zep {

class Table;

// How far a record of the documents table got on its way into or out of the register. A filed
// document carries no mark. The mark rides in the version-marker field, whose content nothing else
// reads, so every post carries it together with the values it speaks about, and the opening of a
// client can finish or undo what a crash interrupted (filing_recovery.h).
enum class FilingMark {
    None,        // a filed document
    Provisional, // a dialog's record, never filed: nothing but its links and filing fields
    Placing,     // filed under Datei while its file is being put in place
    Deleting,    // being deleted while its file goes into the trash
};

FilingMark filingMarkOf(Table& documents);
// Assigns the mark to the current record, which is in edit or insert state; the caller posts.
void setFilingMark(Table& documents, FilingMark mark);
// Posts the current record with the mark, put into edit state first when it is browsed. A refused
// post is cancelled and its EngineError passed on.
void postFilingMark(Table& documents, FilingMark mark);
// The filter text that keeps only marked records.
QString markedRecordsFilter();

} // namespace zep
