#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace zep {

// A field of a dBase III file. Types: 'C' text (at most 254 bytes), 'N' and 'F' numbers, 'D' date,
// 'L' logical, 'M' memo (its text in the .dbt file beside the table).
struct DbfField {
    QString name; // at most 10 characters
    char type = 'C';
    int length = 0;
    int decimals = 0;
};

// Values: QString for C and M, double for N and F (qint64 when it has no decimals), QDate for D, bool
// for L; a blank value is a null QVariant.
struct DbfTable {
    QList<DbfField> fields;
    QList<QVariantList> records;
};

// The bytes of a dBase III table, and of its memo file when a field is of type 'M'.
struct DbfFiles {
    QByteArray table;
    QByteArray memo;
};

// Writes the table in Windows-1252 with the given field layout; a text longer than its field is cut.
// The date of the header is today's. Throws FormatError when a field cannot be written.
DbfFiles writeDbf(const DbfTable& table, const QDate& today);

// Reads a dBase III table (also one with memo fields, given its memo file; deleted records are left
// out). Text is read in the code page the language driver byte names (437, 850, else Windows-1252);
// byte 0 names none, so such a file is read as Windows-1252 when that gives the more German text
// (umlauts and ß rather than signs and box drawing), else as code page 850. Throws FormatError with
// a German sentence naming displayName when the bytes are no dBase III table, or are cut short.
DbfTable readDbf(const QByteArray& table, const QByteArray& memo, const QString& displayName);

// Field names: cut to ten characters; a name that is then taken already gets a running number at
// its end ("AnredeBri1"). Case is ignored in the comparison, as dBase ignores it.
QStringList dbfFieldNames(const QStringList& names);

} // namespace zep
