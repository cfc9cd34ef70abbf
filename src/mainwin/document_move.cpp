#include "mainwin/document_move.h"

#include "data/dataset.h"
#include "data/engine_error.h"

namespace zep {

bool linkDocumentToEntry(DataSet& documents, QStringView linkField, qint64 entryNumber) {
    const FieldRef link = documents.field(linkField);
    if (!link.isNull() && link.asInteger() == entryNumber)
        return false;
    documents.edit();
    try {
        link.setValue(entryNumber);
        documents.post();
    } catch (const EngineError&) {
        if (documents.isEditing())
            documents.cancel();
        throw;
    }
    return true;
}

} // namespace zep
