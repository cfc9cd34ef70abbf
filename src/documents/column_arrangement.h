#pragma once

#include "documents/column_file.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace zep {

// The arrangement as the column dialog loads it: the rows of the column file, or one empty row when
// the file holds none or cannot be read. A failure is described in message; the file is not touched.
struct LoadedArrangement {
    QList<ColumnRow> rows;
    QString message;
};
LoadedArrangement loadColumnArrangement(const QString& path);

// Editing steps of the column dialog on its rows; each returns the row that is current afterwards.
// A new or replaced row shows the field under its own name, 10 characters wide. Removing keeps at
// least one row; moving the first row up or the last row down changes nothing.
int insertColumnBelow(QList<ColumnRow>& rows, int current, const QString& field);
int replaceColumn(QList<ColumnRow>& rows, int current, const QString& field);
int removeColumn(QList<ColumnRow>& rows, int current);
int moveColumnUp(QList<ColumnRow>& rows, int current);
int moveColumnDown(QList<ColumnRow>& rows, int current);

// A width cell as the user finished typing it: empty and integer texts stay, anything else is "0".
QString finishedWidthText(const QString& text);

QStringList columnHeadings(const QList<ColumnRow>& rows);

// The sort box after the headings changed: the heading shown before stays selected when it is still
// there; otherwise the first one is, and the list's sort column must go back to the first column.
struct SortBoxChoice {
    int index = -1;
    bool sortColumnReset = false;
};
SortBoxChoice refreshedSortChoice(const QString& shownHeading, const QStringList& headings);

} // namespace zep
