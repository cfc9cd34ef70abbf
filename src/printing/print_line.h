#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zep {

// The text of a field of the current address; nothing when the table has no field of that name.
using PrintFieldText = std::function<std::optional<QString>(const QString& fieldName)>;

// Fills the placeholders "[Name]" of a print line. Only names in knownNames (compared without regard
// to case) are replaced by the field's text; any other name, and a known name the table lacks, is
// printed as the bare name. A "[" is never printed, also when no "]" follows it.
QString SubstitutePrintLine(const QString& line, const QStringList& knownNames, const PrintFieldText& fieldText);

// A line of nothing but blank characters (" ") takes no room in an address block.
bool isBlankPrintLine(const QString& line);

} // namespace zep
