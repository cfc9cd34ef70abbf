#include "documents/datei_width.h"

#include "data/table.h"

namespace zep {

int dateiWidth(Table& documents) {
    return documents.fieldInfo(documents.fieldPosition(u"Datei")).def.size;
}

QString dateiTooLong(Table& documents, const QString& datei, const QString& outcome) {
    const int width = dateiWidth(documents);
    if (width <= 0 || datei.size() <= width)
        return {};
    return QStringLiteral("Der Pfad \"%1\" ist länger als die %2 Zeichen, die ein Dokument aufnehmen kann; %3")
        .arg(datei)
        .arg(width)
        .arg(outcome);
}

} // namespace zep
