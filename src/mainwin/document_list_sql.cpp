#include "mainwin/document_list_sql.h"

#include "data/schema.h"

#include <QStringList>

namespace zep {

namespace {

const QStringList FixedColumns = {QStringLiteral("Nr"),   QStringLiteral("Datei"),  QStringLiteral("Ext"),
                                  QStringLiteral("WTyp"), QStringLiteral("WDatum"), QStringLiteral("WTag")};

bool isFixedColumn(const QString& name) {
    return FixedColumns.contains(name, Qt::CaseInsensitive);
}

bool isAddress(const QString& name) {
    return name.compare(u"Adresse", Qt::CaseInsensitive) == 0;
}

bool isTopic(const QString& name) {
    return name.compare(u"Thema", Qt::CaseInsensitive) == 0;
}

// The column of the document table under that name, spelt as the table spells it; empty when none.
QString documentColumn(const QString& name) {
    for (const FieldDef& field : schema::documents().fields) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return field.name;
    }
    return {};
}

// The name an arranged column sorts by, or empty when the query does not select it.
QString sortName(const ColumnRow& column) {
    if (isAddress(column.field))
        return QStringLiteral("Adresse");
    if (isTopic(column.field))
        return QStringLiteral("Thema");
    return documentColumn(column.field);
}

// A sort column outside the arrangement names no column, so the engine refuses the text and says why.
QString orderColumn(const QList<ColumnRow>& columns, int sortColumn) {
    if (sortColumn < 0 || sortColumn >= columns.size())
        return {};
    if (const QString name = sortName(columns[sortColumn]); !name.isEmpty())
        return name;
    if (const QString name = sortName(columns.first()); !name.isEmpty())
        return name;
    return QStringLiteral("Nr");
}

} // namespace

QString documentListSql(const QList<ColumnRow>& columns, int sortColumn, bool descending) {
    QString extra;
    bool addressJoin = false;
    bool topicJoin = false;
    QStringList selected = FixedColumns;
    selected << QStringLiteral("NrFirma") << QStringLiteral("NrThema");
    for (const ColumnRow& column : columns) {
        if (isFixedColumn(column.field))
            continue;
        if (isAddress(column.field)) {
            if (!addressJoin)
                extra += QStringLiteral(" ,a.Name1 as Adresse");
            addressJoin = true;
        } else if (isTopic(column.field)) {
            if (!topicJoin)
                extra += QStringLiteral(" ,t.Thema");
            topicJoin = true;
        } else if (const QString name = documentColumn(column.field);
                   !name.isEmpty() && !selected.contains(name, Qt::CaseInsensitive)) {
            extra += QStringLiteral(" ,") + name;
            selected << name;
        }
    }
    QStringList lines = {QStringLiteral("SELECT Nr, Datei, Ext, NrFirma, NrThema, WTyp, WTag, WDatum"), extra,
                         QStringLiteral("FROM dok.db")};
    if (addressJoin)
        lines << QStringLiteral("LEFT JOIN adressen.db a ON NrFirma = a.Nr");
    if (topicJoin)
        lines << QStringLiteral("LEFT JOIN thema.db t ON NrThema = t.Nr");
    lines << QStringLiteral("ORDER BY ") + orderColumn(columns, sortColumn) +
                 (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC")) + QStringLiteral(", Nr");
    return lines.join(u'\n');
}

} // namespace zep
