#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace zep {

inline constexpr char16_t AddressDbfName[] = u"Adressen.dbf";
inline constexpr char16_t AddressDbtName[] = u"Adressen.dbt";

// Writes every record of the address table of dataDir to targetDir/"Adressen.dbf" (dBase III,
// Windows-1252): the fields of the table but its work marker and version marker, names cut to ten
// characters and kept unique, dates as D, logicals as L, numbers as N, the note as a text field when
// every note fits into 254 bytes, else as a memo in "Adressen.dbt" beside it. The two files are
// replaced together: a crash or a failure never leaves a new table beside an old memo file or the
// reverse (at worst the memo file without its table). Returns the number of addresses written.
// Throws EngineError when the table cannot be read, FileError when a file cannot be written.
int exportAddresses(const QString& dataDir, const QString& targetDir, const QDate& today);

class Interaction;

// The addresses of a dBase III file, read and matched to address fields but not yet stored.
// Columns are matched to address fields by their names as the export writes them or by the full
// field name, without regard to case; record numbers, parents and tree marks of the file are not
// taken over.
struct AddressImport {
    QString dbfPath;
    QStringList fields;          // the address fields the file holds
    QList<QVariantList> records; // per record, a value for each of fields
    QStringList captions;        // per record, its name in the address tree
};

// Reads the file. Throws FormatError (German, naming the file) for a file that is no readable dBase
// table, has no address field or a name with characters the tree file cannot hold, FileError when
// it cannot be read.
AddressImport readAddressImport(const QString& dbfPath);

// Shows the user how the first names of the file read before anything is stored, and asks whether to
// import them; a file without records is only reported. True when the import may run.
bool confirmAddressImport(const AddressImport& import, Interaction& interaction);

// Adds the records as new top-level addresses to the address table of dataDir and appends them to the
// tree file, all or nothing. Returns the number of addresses added. Throws EngineError or FileError
// when the table or the tree file cannot be written; the table and the tree file are then as they were.
int importAddresses(const AddressImport& import, const QString& dataDir, const QString& treeFile);

} // namespace zep
