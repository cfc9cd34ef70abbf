#include "mainwin/entry_filter.h"

namespace zep {

namespace {

QString term(const QString& linkField, const QString& comparison) {
    return QStringLiteral(" OR (") + linkField + comparison + u')';
}

} // namespace

QString entryFilterText(const QString& linkField, int selectedNumber, bool selectedIsRoot, bool withSubEntries,
                        const QList<int>& descendantNumbers) {
    QString text = QStringLiteral("(NrFirma=0)");
    if (selectedIsRoot && withSubEntries)
        return text + term(linkField, QStringLiteral(">0"));
    text += term(linkField, u'=' + QString::number(selectedNumber));
    if (withSubEntries) {
        for (int number : descendantNumbers)
            text += term(linkField, u'=' + QString::number(number));
    }
    return text;
}

} // namespace zep
