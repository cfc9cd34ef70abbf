#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace zep {

class DataSet;
class Table;

// The text of a field of the address by its name (any letter case); none when there is no such field.
using AddressFieldText = std::function<std::optional<QString>(const QString& name)>;

// Fills an address template: every "[name]" within one line becomes the field's text, or the name
// itself when it is no field. A "[" without a later "]" in its line is kept with the rest of the line,
// a second "[" starts the name afresh, names are not trimmed. Every line ends with CR LF.
QString FillAddressTemplate(const QString& templateText, const AddressFieldText& fieldText);

// The fields of the current record of a data set, in their text forms ("Wahr"/"Falsch", empty for none).
AddressFieldText currentRecordFields(DataSet& address);

// What the clipboard gets for the current address: the current template (by its Nr) filled with the
// address's fields. None when no template is current, a table is closed, or the number names no
// template any more: the text of whichever template happens to be current is not the form the user
// chose.
std::optional<QString> addressClipboardText(Table& templates, DataSet& address, int currentTemplate);

} // namespace zep
