#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace zep {

// One column of the document list: the field it shows, its heading and its width in characters
// (kept as text, as the user typed it).
struct ColumnRow {
    QString field;
    QString label;
    QString width;

    friend bool operator==(const ColumnRow&, const ColumnRow&) = default;
};

// "Tab.dat": 0x01, then three strings per row (field, heading, width), then 0x00. A string is
// 0x06, a length byte and the text, or 0x0C, a little-endian 32-bit length and the text; texts are
// Windows-1252 without terminator. Writing uses the short form up to 255 bytes.
QByteArray encodeColumnFile(const QList<ColumnRow>& rows);

// Throws FormatError with a German description when the bytes do not follow the format.
QList<ColumnRow> decodeColumnFile(QByteArrayView bytes);

// Throws FileError when the file cannot be read, FormatError naming the file when it is malformed.
QList<ColumnRow> readColumnFile(const QString& path);

// Replaces the file in one step; throws FileError when it cannot be written.
void writeColumnFile(const QString& path, const QList<ColumnRow>& rows);

// Writes the arrangement, then has storeSort keep the sort settings (it returns a German message
// when it cannot, empty otherwise). On that failure the file gets its old content back, or is removed
// when there was none, so the column file and the settings never describe two arrangements. An
// existing file that cannot be read is not replaced, as it could not be given back. Returns the
// German message of a failure, empty on success.
QString saveColumnArrangement(const QString& path, const QList<ColumnRow>& rows,
                              const std::function<QString()>& storeSort);

// The field names the arrangement dialog offers, in the order it shows them. "Adresse" and
// "Thema" are the names of the linked address and topic, not fields of the document table.
QStringList offeredColumnFields();

} // namespace zep
