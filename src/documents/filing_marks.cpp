#include "documents/filing_marks.h"

#include "data/schema.h"
#include "data/table.h"

namespace zep {

namespace {

QStringView markField() {
    return schema::kVersionMarker;
}

QString valueOf(FilingMark mark) {
    switch (mark) {
    case FilingMark::Provisional:
        return QStringLiteral("V");
    case FilingMark::Placing:
        return QStringLiteral("A");
    case FilingMark::Deleting:
        return QStringLiteral("L");
    case FilingMark::None:
        break;
    }
    return {};
}

} // namespace

// A value the program never wrote counts as no mark: records are only ever finished or removed for
// what the program itself noted down.
FilingMark filingMarkOf(Table& documents) {
    const QString value = documents.field(markField()).asString();
    for (FilingMark mark : {FilingMark::Provisional, FilingMark::Placing, FilingMark::Deleting})
        if (value == valueOf(mark))
            return mark;
    return FilingMark::None;
}

void setFilingMark(Table& documents, FilingMark mark) {
    const FieldRef field = documents.field(markField());
    if (mark == FilingMark::None)
        field.clear();
    else
        field.setValue(valueOf(mark));
}

void postFilingMark(Table& documents, FilingMark mark) {
    if (!documents.isEditing())
        documents.edit();
    try {
        setFilingMark(documents, mark);
        documents.post();
    } catch (...) {
        documents.cancel();
        throw;
    }
}

QString markedRecordsFilter() {
    return markField().toString() + QStringLiteral(" <> ''");
}

} // namespace zep
