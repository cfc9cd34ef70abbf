#include "documents/note_filing.h"

#include "addresses/entry_documents.h"
#include "data/table.h"

namespace zep {

void NoteFiling::begin(const QString& linkField, qint64 entryNumber) {
    documents_.append();
    try {
        documents_.field(linkField).setValue(entryNumber);
        documents_.field(u"Offen").setValue(1);
        documents_.post();
    } catch (...) {
        documents_.cancel();
        throw;
    }
    number_ = documents_.field(u"Nr").asInteger();
}

bool NoteFiling::canFile() {
    return number_ > 0 && (isLinkedToEntry(documents_, u"NrFirma") || isLinkedToEntry(documents_, u"NrThema"));
}

void NoteFiling::file(const QString& title, const QDateTime& now) {
    if (!documents_.isEditing())
        documents_.edit();
    try {
        documents_.field(u"Titel").setValue(title);
        documents_.field(u"Ext").setValue(NoteExtension.toString());
        documents_.field(u"Datei").setValue(QStringLiteral("Ablage"));
        documents_.field(u"EDatum").setValue(now);
        for (const char16_t* name : {u"NrFirma", u"NrThema"}) {
            if (!isLinkedToEntry(documents_, QStringView(name)))
                documents_.field(QStringView(name)).setValue(-1);
        }
        documents_.post();
    } catch (...) {
        documents_.cancel();
        throw;
    }
    filed_ = true;
}

qint64 NoteFiling::finish() {
    if (number_ == 0 || filed_)
        return number_;
    if (documents_.isEditing())
        documents_.cancel();
    if (documents_.locate(u"Nr", number_))
        documents_.deleteRecord();
    return number_;
}

} // namespace zep
