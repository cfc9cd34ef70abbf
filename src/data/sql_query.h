#pragma once

#include "data/field.h"

#include <QStringList>
#include <vector>

namespace zep {

// A query text in the local SQL the program writes, checked against the tables of one directory and
// translated into SQLite's dialect:
//   SELECT * | column [AS name], ...  FROM table [alias]
//   { [LEFT [OUTER] | INNER] JOIN table alias ON column = column }
//   [ORDER BY column [ASC|DESC], ...]
// Tables are file names ("dok.db") matched without regard to case; unqualified columns belong to the
// FROM table first, then to the joined tables; ORDER BY may also name a result column. Every name is
// checked against the table files, so a name that is not a column is an error and nothing runs.
struct TranslatedQuery {
    struct Attachment {
        QString path;
        QString schema;
    };
    QString sql;
    std::vector<Attachment> attachments;
    std::vector<FieldDef> columns; // result columns with their output names and kinds
};

TranslatedQuery translateLocalSql(const QString& text, const QString& directory);

// The message for a fault in a query text, naming the text and what is wrong with it.
QString queryErrorMessage(const QString& text, const QString& what);

} // namespace zep
