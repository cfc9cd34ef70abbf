#include "data/treefile.h"

#include "app/safe_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace zep {

namespace {

constexpr qsizetype levelOffset = 52;
constexpr qsizetype nrOffset = 56;
constexpr qsizetype baumOffset = 60;

void putInt32(QByteArray& bytes, qsizetype offset, qint32 value) {
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

qint32 getInt32(QByteArrayView bytes, qsizetype offset) {
    return qFromLittleEndian<qint32>(bytes.data() + offset);
}

QList<TreeFileRecord> decodeTreeRecords(const QByteArray& content, const QString& path) {
    if (content.size() % TreeRecordSize != 0) {
        throw FormatError(
            QStringLiteral("Die Baumdatei \"%1\" ist beschädigt: ihre Größe von %2 Bytes ist kein Vielfaches von %3.")
                .arg(path)
                .arg(content.size())
                .arg(TreeRecordSize));
    }
    QList<TreeFileRecord> records;
    records.reserve(content.size() / TreeRecordSize);
    for (qsizetype offset = 0; offset < content.size(); offset += TreeRecordSize) {
        try {
            records.append(decodeTreeRecord(QByteArrayView(content).sliced(offset, TreeRecordSize)));
        } catch (const FormatError& error) {
            throw FormatError(QStringLiteral("Die Baumdatei \"%1\" ist beschädigt: %2").arg(path, error.message()));
        }
    }
    return records;
}

} // namespace

QByteArray encodeTreeRecord(const TreeFileRecord& record) {
    const QByteArray name = toCp1252(record.name).left(TreeNameMaxLength);
    QByteArray bytes(TreeRecordSize, '\0');
    bytes[0] = static_cast<char>(name.size());
    bytes.replace(1, name.size(), name);
    putInt32(bytes, levelOffset, record.level);
    putInt32(bytes, nrOffset, record.nr);
    putInt32(bytes, baumOffset, record.baum);
    return bytes;
}

TreeFileRecord decodeTreeRecord(QByteArrayView bytes) {
    if (bytes.size() != TreeRecordSize)
        throw FormatError(
            QStringLiteral("Ein Eintrag muss %1 Bytes lang sein, nicht %2.").arg(TreeRecordSize).arg(bytes.size()));
    const auto nameLength = static_cast<unsigned char>(bytes[0]);
    if (nameLength > TreeNameMaxLength)
        throw FormatError(
            QStringLiteral("Die Namenslänge %1 ist größer als %2.").arg(nameLength).arg(TreeNameMaxLength));
    // Far deeper than any tree, and far from the ends of the integer range, so that a damaged level
    // cannot overflow the level arithmetic of the tree builder.
    constexpr qint32 levelLimit = 1 << 20;
    const qint32 level = std::clamp(getInt32(bytes, levelOffset), -levelLimit, levelLimit);
    return {fromCp1252(bytes.sliced(1, nameLength)), level, getInt32(bytes, nrOffset), getInt32(bytes, baumOffset)};
}

QList<TreeFileRecord> readTreeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(treeFileNotFoundMessage(path));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(
            QStringLiteral("Die Baumdatei \"%1\" konnte nicht gelesen werden: %2").arg(path, file.errorString()));
    return decodeTreeRecords(content, path);
}

void writeTreeFile(const QString& path, const QList<TreeFileRecord>& records) {
    QByteArray content;
    content.reserve(records.size() * TreeRecordSize);
    for (const TreeFileRecord& record : records)
        content.append(encodeTreeRecord(record));

    writeFileSafely(path, content);
}

QString treeDisplayName(const QString& name1, const QString& name2, bool isPerson) {
    return isPerson ? name1 + u' ' + name2 : name1;
}

QString treeFileNotFoundMessage(const QString& path) {
    return QStringLiteral("Kann Datei \"%1\" nicht finden").arg(path);
}

} // namespace zep
