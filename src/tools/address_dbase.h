#pragma once

#include <QDate>
#include <QString>

namespace zep {

inline constexpr char16_t AddressDbfName[] = u"Adressen.dbf";
inline constexpr char16_t AddressDbtName[] = u"Adressen.dbt";

// Writes every record of the address table of dataDir to targetDir/"Adressen.dbf" (dBase III,
// Windows-1252): the fields of the table but its work marker and version marker, names cut to ten
// characters and kept unique, dates as D, logicals as L, numbers as N, the note as a text field when
// every note fits into 254 bytes, else as a memo in "Adressen.dbt" beside it (removed again when the
// table cannot be written, so no older table is paired with it). Returns the number of
// addresses written. Throws EngineError when the table cannot be read, FileError when a file cannot
// be written.
int exportAddresses(const QString& dataDir, const QString& targetDir, const QDate& today);

// Adds the records of a dBase III file as new top-level addresses to the address table of dataDir
// and appends them to the tree file, all or nothing. Columns are matched to address fields by their
// names as the export writes them or by the full field name, without regard to case; record
// numbers, parents and tree marks of the file are not taken over. Returns the number of addresses
// added. Throws FormatError (German, naming the file) for a file that is no readable dBase table or
// has no address field or a name with characters the tree file cannot hold, and EngineError or FileError when the table
// or the tree file cannot be written; the table and the tree file are then as they were.
int importAddresses(const QString& dbfPath, const QString& dataDir, const QString& treeFile);

} // namespace zep
