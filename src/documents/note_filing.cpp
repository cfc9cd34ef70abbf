#include "documents/note_filing.h"

#include "addresses/entry_documents.h"
#include "data/table.h"
#include "documents/filing_marks.h"

namespace zep {

void NoteFiling::file(const QString& title, const QDateTime& now) {
    Table& dok = documents();
    if (!dok.isEditing())
        dok.edit();
    try {
        dok.field(u"Titel").setValue(title);
        dok.field(u"Ext").setValue(NoteExtension.toString());
        dok.field(u"Datei").setValue(QStringLiteral("Ablage"));
        dok.field(u"EDatum").setValue(now);
        setFilingMark(dok, FilingMark::None);
        for (const char16_t* name : {u"NrFirma", u"NrThema"}) {
            if (!isLinkedToEntry(dok, QStringView(name)))
                dok.field(QStringView(name)).setValue(-1);
        }
        dok.post();
    } catch (...) {
        dok.cancel();
        throw;
    }
    markFiled();
}

} // namespace zep
