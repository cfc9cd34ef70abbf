#include "data/treefile.h"

#include "app/safe_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"

#include <QFile>
#include <QStringBuilder>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <cerrno>

namespace zep {

namespace {

constexpr qsizetype levelOffset = 52;
constexpr qsizetype nrOffset = 56;
constexpr qsizetype baumOffset = 60;

qint32 getInt32(QByteArrayView bytes, qsizetype offset) {
    return qFromLittleEndian<qint32>(bytes.data() + offset);
}

// Decodes every whole record that is valid and says what had to be skipped.
TreeFileContent decodeTreeRecords(const QByteArray& content, const QString& path) {
    TreeFileContent result;
    const qsizetype whole = content.size() - content.size() % TreeRecordSize;
    result.records.reserve(whole / TreeRecordSize);
    QStringList problems;
    for (qsizetype offset = 0; offset < whole; offset += TreeRecordSize) {
        const QByteArrayView bytes(content.constData() + offset, TreeRecordSize);
        const auto nameLength = static_cast<unsigned char>(bytes[0]);
        if (nameLength <= TreeNameMaxLength) {
            result.records.append(decodeTreeRecord(bytes));
            continue;
        }
        // Number, level and type are intact: keep the entry, so the next save does not lose it,
        // with its name read up to the first zero byte.
        QByteArray record = bytes.toByteArray();
        const qsizetype zero = record.indexOf('\0', 1);
        record[0] = static_cast<char>(std::min<qsizetype>(zero < 0 ? TreeNameMaxLength : zero - 1, TreeNameMaxLength));
        problems.append(QStringLiteral("Eintrag %1: Die Namenslänge %2 ist größer als %3; der Name wurde gekürzt.")
                            .arg(offset / TreeRecordSize + 1)
                            .arg(nameLength)
                            .arg(TreeNameMaxLength));
        result.records.append(decodeTreeRecord(record));
    }
    if (whole != content.size()) {
        problems.append(QStringLiteral("ihre Größe von %1 Bytes ist kein Vielfaches von %2; die letzten %3 Bytes "
                                       "wurden nicht gelesen.")
                            .arg(content.size())
                            .arg(TreeRecordSize)
                            .arg(content.size() - whole));
    }
    if (!problems.isEmpty())
        result.damage = QStringLiteral("Die Baumdatei \"%1\" ist beschädigt: %2").arg(path, problems.join(u' '));
    return result;
}

} // namespace

namespace {

// Names are mostly Latin-1 letters, each its own byte in Windows-1252: those are copied as they
// are, and the code page takes over from the first other character. At most TreeNameMaxLength bytes.
qsizetype encodeName(QStringView name, char* out) {
    const qsizetype length = std::min(name.size(), TreeNameMaxLength);
    const char16_t* chars = name.utf16();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = chars[i];
        if ((c >= 0x80 && c < 0xA0) || c > 0xFF)
            return i + toCp1252(name.sliced(i), out + i, TreeNameMaxLength - i);
        out[i] = static_cast<char>(c);
    }
    return length;
}

// Fills one zeroed record of TreeRecordSize bytes.
void encodeTreeRecordInto(QStringView name, qint32 level, qint32 nr, qint32 baum, char* bytes) {
    bytes[0] = static_cast<char>(encodeName(name, bytes + 1));
    qToLittleEndian<qint32>(level, bytes + levelOffset);
    qToLittleEndian<qint32>(nr, bytes + nrOffset);
    qToLittleEndian<qint32>(baum, bytes + baumOffset);
}

void encodeTreeRecordInto(const TreeFileRecord& record, char* bytes) {
    encodeTreeRecordInto(record.name, record.level, record.nr, record.baum, bytes);
}

} // namespace

QByteArray encodeTreeRecord(const TreeFileRecord& record) {
    QByteArray bytes(TreeRecordSize, '\0');
    encodeTreeRecordInto(record, bytes.data());
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

TreeFileContent readTreeFileContent(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(treeFileNotFoundMessage(path));
    errno = 0;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        const int cause = errno;
        throw FileError(QStringLiteral("Die Baumdatei \"%1\" konnte nicht gelesen werden: %2")
                            .arg(path, fileErrorCause(cause, file)));
    }
    return decodeTreeRecords(content, path);
}

QList<TreeFileRecord> readTreeFile(const QString& path) {
    TreeFileContent content = readTreeFileContent(path);
    if (!content.damage.isEmpty())
        throw FormatError(content.damage);
    return std::move(content.records);
}

void writeTreeFile(const QString& path, const QList<TreeFileRecord>& records) {
    TreeFileEncoder encoder(records.size());
    for (const TreeFileRecord& record : records)
        encoder.append(record.name, record.level, record.nr, record.baum);
    encoder.write(path);
}

TreeFileEncoder::TreeFileEncoder(qsizetype expectedRecords) {
    bytes_.reserve(expectedRecords * TreeRecordSize);
}

void TreeFileEncoder::append(QStringView name, qint32 level, qint32 nr, qint32 baum) {
    const qsizetype offset = bytes_.size();
    bytes_.append(TreeRecordSize, '\0');
    encodeTreeRecordInto(name, level, nr, baum, bytes_.data() + offset);
}

void TreeFileEncoder::write(const QString& path) const {
    writeFileSafely(path, bytes_);
}

QString treeDisplayName(const QString& name1, const QString& name2, bool isPerson) {
    return isPerson ? QString(name1 % u' ' % name2) : name1;
}

QString treeFileNotFoundMessage(const QString& path) {
    return QStringLiteral("Kann Datei \"%1\" nicht finden").arg(path);
}

} // namespace zep
