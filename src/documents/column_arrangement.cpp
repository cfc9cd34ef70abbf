#include "documents/column_arrangement.h"

#include "data/format_error.h"

namespace zep {

namespace {

ColumnRow newColumn(const QString& field) {
    return {field, field, QStringLiteral("10")};
}

bool isRow(const QList<ColumnRow>& rows, int row) {
    return row >= 0 && row < rows.size();
}

} // namespace

LoadedArrangement loadColumnArrangement(const QString& path) {
    LoadedArrangement loaded;
    try {
        loaded.rows = readColumnFile(path);
    } catch (const FileError& error) { // also FormatError
        loaded.message = error.message();
    }
    if (loaded.rows.isEmpty())
        loaded.rows = {ColumnRow{}};
    return loaded;
}

int insertColumnBelow(QList<ColumnRow>& rows, int current, const QString& field) {
    const int row = isRow(rows, current) ? current + 1 : rows.size();
    rows.insert(row, newColumn(field));
    return row;
}

int replaceColumn(QList<ColumnRow>& rows, int current, const QString& field) {
    if (isRow(rows, current))
        rows[current] = newColumn(field);
    return current;
}

int removeColumn(QList<ColumnRow>& rows, int current) {
    if (rows.size() < 2 || !isRow(rows, current))
        return current;
    rows.removeAt(current);
    return std::min(current, int(rows.size()) - 1);
}

int moveColumnUp(QList<ColumnRow>& rows, int current) {
    if (!isRow(rows, current) || current == 0)
        return current;
    rows.swapItemsAt(current, current - 1);
    return current - 1;
}

int moveColumnDown(QList<ColumnRow>& rows, int current) {
    if (!isRow(rows, current) || current == rows.size() - 1)
        return current;
    rows.swapItemsAt(current, current + 1);
    return current + 1;
}

QString finishedWidthText(const QString& text) {
    if (text.isEmpty())
        return text;
    bool ok = false;
    text.toInt(&ok);
    return ok ? text : QStringLiteral("0");
}

QStringList columnHeadings(const QList<ColumnRow>& rows) {
    QStringList headings;
    for (const ColumnRow& row : rows)
        headings << row.label;
    return headings;
}

SortBoxChoice refreshedSortChoice(const QString& shownHeading, const QStringList& headings) {
    const int index = int(headings.indexOf(shownHeading));
    if (index >= 0)
        return {index, false};
    return {headings.isEmpty() ? -1 : 0, true};
}

} // namespace zep
