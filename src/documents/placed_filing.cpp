#include "documents/placed_filing.h"

#include "data/engine_error.h"
#include "data/table.h"
#include "documents/file_placement.h"
#include "documents/filing_marks.h"

namespace zep {

namespace {

// The file is not placed: the record must not name it. When even that is refused, the record keeps
// its placing mark and the next opening removes it, as its file is not there.
PlacedFiling notFiled(Table& documents, const std::function<void(Table&)>& unfile, const QString& why) {
    try {
        unfile(documents);
    } catch (const EngineError&) {
        if (documents.isEditing())
            documents.cancel();
    }
    return {false, why};
}

} // namespace

PlacedFiling postWithPlacedFile(Table& documents, FilePlacement& placement, const std::function<void(Table&)>& unfile,
                                const std::function<QString()>& finishFile) {
    postFilingMark(documents, FilingMark::Placing);
    if (const QString failed = placement.carryOut(); !failed.isEmpty())
        return notFiled(documents, unfile, failed);
    if (const QString failed = finishFile ? finishFile() : QString(); !failed.isEmpty()) {
        // A file that cannot be taken back stays filed under its record.
        if (!placement.takeBack())
            return {true, failed};
        return notFiled(documents, unfile, failed);
    }
    try {
        postFilingMark(documents, FilingMark::None);
    } catch (const EngineError&) {
        // The record names the placed file and keeps its placing mark, which the next opening clears
        // once it finds the file: the document is filed either way.
    }
    return {true, {}};
}

} // namespace zep
