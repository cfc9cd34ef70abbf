#pragma once

#include <QString>

#include <functional>

namespace zep {

class FilePlacement;
class Table;

// How filing a record together with its file ended.
struct PlacedFiling {
    bool filed = false;
    QString message; // why not, in German; when filed, why its file could not be finished, if so
};

// Files the current record of documents (in edit or insert state, every value and Datei assigned)
// together with a file put in place, in an order that a crash at any moment leaves recoverable at
// the next opening of the client (filing_recovery.h): the record is posted first, marked as placing
// its file; then the prepared placement is carried out and, when given, finished (a German message
// on failure); then the mark is cleared. When the file cannot be placed or finished, it is taken
// back and unfile undoes the posted record (back to provisional, or deleted); a file that cannot be
// taken back stays filed, and the finishing's message comes with it. Throws EngineError
// when the first post is refused; nothing has changed then and the record is no longer edited.
PlacedFiling postWithPlacedFile(Table& documents, FilePlacement& placement, const std::function<void(Table&)>& unfile,
                                const std::function<QString()>& finishFile = {});

} // namespace zep
