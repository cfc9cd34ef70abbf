#pragma once

#include <QByteArray>
#include <QString>

namespace zep {

// The office's copy of the serial-letter data text: the header line as it is, every value of the
// other lines in double quotes (a quote inside doubled), CR LF after each line. A control character
// inside a name or value becomes a blank, as in the data file itself.
QByteArray officeDataCopy(const QByteArray& dataText);

// Writes the copy of dataFile as "<name>.office/<name>.txt" beside it (a folder of its own, where no
// other file can pose as a table) and returns that folder. The copy replaces an older one only once
// it is whole on disk. Throws FileError with a German text.
QString writeOfficeDataCopy(const QString& dataFile);

} // namespace zep
