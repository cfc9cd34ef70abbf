#pragma once

#include "serial/word_session.h"

#include <QString>

namespace zep {

class Table;

// The letter of a serial mailing: the document's number (the key of its recipients), its file as the
// word processor opens it, and its title.
struct SerialLetter {
    qint32 number = 0;
    SerialLetterFile file;
    QString title;
};

// The current document of the documents table as a letter; a bare file name lies in filesDir. A Datei
// that names no file of the client gives an empty path.
SerialLetter currentSerialLetter(Table& documents, const QString& filesDir);

} // namespace zep
