#include "mainwin/document_list.h"

#include "data/engine_error.h"
#include "data/query.h"
#include "mainwin/document_list_sql.h"

namespace zep {

int columnDisplayWidth(const QString& widthText) {
    bool ok = false;
    const int width = widthText.toInt(&ok);
    return ok ? width : 10;
}

QString applyColumnArrangement(DataSet& dataSet, const QList<ColumnRow>& columns) {
    dataSet.hideAllFields();
    for (int i = 0; i < columns.size(); ++i) {
        const ColumnRow& column = columns[i];
        try {
            dataSet.setFieldPosition(column.field, i);
        } catch (const EngineError& error) {
            return QStringLiteral("Die Tabellenansicht kann ab Spalte %1 nicht angezeigt werden.\n%2")
                .arg(i + 1)
                .arg(error.message());
        }
        dataSet.setFieldVisible(column.field, true);
        dataSet.setDisplayLabel(column.field, column.label);
        dataSet.setDisplayWidth(column.field, columnDisplayWidth(column.width));
    }
    return {};
}

int arrangedColumnOfGridColumn(const DataSet& dataSet, const QList<ColumnRow>& columns, int gridColumn) {
    const std::vector<int> visible = dataSet.visibleFields();
    if (gridColumn < 0 || gridColumn >= int(visible.size()))
        return -1;
    const QString& field = dataSet.fieldInfo(visible[size_t(gridColumn)]).def.name;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString DocumentList::rebuild(const QList<ColumnRow>& columns, int sortColumn, bool descending,
                              const std::optional<QString>& filter) {
    const ControlsSuspended suspended(query_);
    query_.close();
    query_.setSql(documentListSql(columns, sortColumn, descending));
    if (filter)
        setFilter(*filter);
    query_.open();
    return applyColumnArrangement(query_, columns);
}

QString DocumentList::refresh(const QList<ColumnRow>& columns) {
    const ControlsSuspended suspended(query_);
    query_.close();
    query_.open();
    return applyColumnArrangement(query_, columns);
}

void DocumentList::setFilter(const QString& filter) {
    query_.setFilterText(filter);
    query_.setFiltered(true);
}

bool DocumentList::locate(qint64 nr) {
    return query_.isActive() && query_.locate(u"Nr", nr);
}

} // namespace zep
