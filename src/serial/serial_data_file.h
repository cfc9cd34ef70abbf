#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zep {

class Interaction;
class Table;

// The merge data of a serial letter, as the word processor reads it: a header line of field names,
// then one line per recipient; TAB between values, CR LF after each line, Windows-1252. A control
// character inside a value (TAB, a line break, NUL, VT, FF, 0x1A, ...) becomes a blank, so that no
// value shifts the columns of its line or ends it early.
QByteArray serialDataText(const QStringList& fieldNames, const QList<QStringList>& records);

// Writes the data file from the letter's recipients (recipients: on Serie.db, restricted to the
// letter, in its order) and their addresses (on Adressen.DB, opened here and closed again). A
// recipient whose address no longer exists is left out. The recipients' controls are suspended while
// the file is written; afterwards the first recipient is current. Throws EngineError or FileError.
void writeSerialDataFile(const QString& path, const QStringList& fieldNames, Table& recipients, Table& addresses);

// The same, telling the user when it fails; false then.
bool createSerialDataFile(const QString& path, const QStringList& fieldNames, Table& recipients, Table& addresses,
                          Interaction& interaction);

} // namespace zep
