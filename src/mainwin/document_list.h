#pragma once

#include "documents/column_file.h"

#include <QList>
#include <QString>

#include <optional>

namespace zep {

class DataSet;
class Query;

// The display width of an arranged column: its width text as an integer, 10 when it is none.
int columnDisplayWidth(const QString& widthText);

// Shows exactly the arranged columns of a data set, in their order, with their headings and widths.
// Stops at the first column whose field the data set does not have, after applying the columns
// before it, and returns the engine's message about it; empty when every column was applied.
QString applyColumnArrangement(DataSet& dataSet, const QList<ColumnRow>& columns);

// The arranged column a header click on a grid column sorts by: the first arranged column of the
// field shown there, since a field arranged twice is shown once; -1 when the grid column shows none.
int arrangedColumnOfGridColumn(const DataSet& dataSet, const QList<ColumnRow>& columns, int gridColumn);

// The document query behind the main window's list. Engine errors propagate; the bound controls are
// suspended while the query is closed and reopened, and resumed on every path.
class DocumentList {
public:
    explicit DocumentList(Query& query) : query_(query) {}

    // Closes the query, builds its SQL text anew, sets the filter when one is given, opens it and
    // applies the arrangement. Returns the arrangement's message (see applyColumnArrangement).
    QString rebuild(const QList<ColumnRow>& columns, int sortColumn, bool descending,
                    const std::optional<QString>& filter);
    // Closes and opens the query with unchanged SQL text and filter and applies the arrangement; the
    // query stands on its first record afterwards.
    QString refresh(const QList<ColumnRow>& columns);
    // Sets the record filter and switches filtering on; an empty text lets every record through.
    void setFilter(const QString& filter);
    // Moves to the record with that Nr; nothing moves when there is none.
    bool locate(qint64 nr);

private:
    Query& query_;
};

} // namespace zep
