#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace zep {

// One entry of a tree file ("Adressen.dat", "Themen.dat", "Temp.dat"). The file holds the tree in
// display order, depth first with the parent before its children, so the level alone rebuilds it.
struct TreeFileRecord {
    QString name;
    qint32 level = 0; // 1 for a top-level entry
    qint32 nr = 0;
    qint32 baum = 0;

    friend bool operator==(const TreeFileRecord&, const TreeFileRecord&) = default;
};

inline constexpr qsizetype TreeRecordSize = 64;
inline constexpr qsizetype TreeNameMaxLength = 50;

// Record layout: length byte (0..50), 50 name bytes in Windows-1252 (zero past the length), one
// unused zero byte, then level, Nr and Baum as little-endian int32 at offsets 52, 56 and 60.
// A longer name is cut to its first 50 characters.
QByteArray encodeTreeRecord(const TreeFileRecord& record);

// Throws FormatError when the data is not one record or its length byte is over 50.
TreeFileRecord decodeTreeRecord(QByteArrayView bytes);

// What a tree file holds: its whole, valid records in file order, and what had to be left out.
struct TreeFileContent {
    QList<TreeFileRecord> records;
    QString damage; // empty for a whole file; else a German sentence naming the file and the damage
};

// Throws FileError when the file cannot be opened or read. A damaged file (a length that is not a
// multiple of 64, a record whose name length is over 50) still gives every whole, valid record.
TreeFileContent readTreeFileContent(const QString& path);

// Throws FileError when the file cannot be opened and FormatError when it is damaged; both name the
// file.
QList<TreeFileRecord> readTreeFile(const QString& path);

// Replaces the file in one step: either the old or the complete new content is on disk afterwards.
// Throws FileError when it cannot be written.
void writeTreeFile(const QString& path, const QList<TreeFileRecord>& records);

// Builds a tree file record by record, for a writer that holds no list of records.
class TreeFileEncoder {
public:
    explicit TreeFileEncoder(qsizetype expectedRecords);
    void append(QStringView name, qint32 level, qint32 nr, qint32 baum);
    // As writeTreeFile: replaces the file in one step. Throws FileError.
    void write(const QString& path) const;

private:
    QByteArray bytes_;
};

// Name shown for an address: Name1, and for a person Name1, one blank and Name2.
QString treeDisplayName(const QString& name1, const QString& name2, bool isPerson);

// The message when a tree file cannot be opened.
QString treeFileNotFoundMessage(const QString& path);

} // namespace zep
