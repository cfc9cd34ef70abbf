#include "documents/provisional_document.h"

#include "addresses/entry_documents.h"
#include "data/table.h"
#include "documents/filing_marks.h"

namespace zep {

void ProvisionalDocument::begin(const QString& linkField, qint64 entryNumber, const std::function<void(Table&)>& fill) {
    documents_.append();
    try {
        documents_.field(linkField).setValue(entryNumber);
        documents_.field(u"Offen").setValue(1);
        setFilingMark(documents_, FilingMark::Provisional);
        if (fill)
            fill(documents_);
        documents_.post();
    } catch (...) {
        documents_.cancel();
        throw;
    }
    number_ = documents_.field(u"Nr").asInteger();
}

bool ProvisionalDocument::canFile() {
    return number_ > 0 && (isLinkedToEntry(documents_, u"NrFirma") || isLinkedToEntry(documents_, u"NrThema"));
}

bool ProvisionalDocument::standsOnRecord() {
    return documents_.isEditing() || documents_.field(u"Nr").asInteger() == number_ ||
           documents_.locate(u"Nr", number_);
}

void ProvisionalDocument::returnToProvisional(Table& documents) {
    if (!documents.isEditing())
        documents.edit();
    documents.field(u"Datei").clear();
    postFilingMark(documents, FilingMark::Provisional);
}

qint64 ProvisionalDocument::finish() {
    if (number_ == 0 || filed_)
        return number_;
    if (documents_.isEditing())
        documents_.cancel();
    if (documents_.locate(u"Nr", number_))
        documents_.deleteRecord();
    return number_;
}

} // namespace zep
