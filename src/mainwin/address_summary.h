#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace zep {

class DataSet;

// One line of the address summary; a heading is shown bold.
struct SummaryLine {
    QString text;
    bool heading = false;
    bool operator==(const SummaryLine&) const = default;
};

// A field's value as text by field name; a null (empty) field gives a null string.
using SummaryFieldReader = std::function<QString(const QString& fieldName)>;

// The summary of an address below the address tree: groups of value lines, each under its heading,
// groups without lines left out.
std::vector<SummaryLine> addressSummaryLines(const SummaryFieldReader& field);

// The same as rich text (HTML) with the headings bold.
QString addressSummaryHtml(const std::vector<SummaryLine>& lines);

// Reads the current record of a data set; a field the data set lacks counts as empty.
SummaryFieldReader currentRecordReader(DataSet& dataSet);

// The rich text for the current record of the address table.
QString ShowAddressSummary(DataSet& addresses);

} // namespace zep
