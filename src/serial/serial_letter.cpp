#include "serial/serial_letter.h"

#include "data/table.h"
#include "documents/document_path.h"
#include "documents/shell_open.h"

namespace zep {

SerialLetter currentSerialLetter(Table& documents, const QString& filesDir) {
    SerialLetter letter;
    letter.number = qint32(documents.field(u"Nr").asInteger());
    letter.file.path = ResolveDocumentPath(documents.field(u"Datei").asString(), filesDir).path;
    letter.file.shortPath = ShortPath(letter.file.path);
    letter.title = documents.field(u"Titel").asString();
    return letter;
}

} // namespace zep
