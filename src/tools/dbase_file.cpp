#include "tools/dbase_file.h"

#include "data/cp1252.h"
#include "data/format_error.h"

#include <QDate>
#include <QDir>
#include <QSet>
#include <QtEndian>

#include <cmath>
#include <optional>

namespace zep {

namespace {

constexpr int HeaderSize = 32;
constexpr int DescriptorSize = 32;
constexpr int MaxTextLength = 254;
constexpr int MemoBlock = 512;
constexpr char FieldTerminator = 0x0D;
constexpr char EndOfFile = 0x1A;

// The upper half of code page 850, which DOS programs and spreadsheet exports write when the
// language driver byte is 0 or 2.
constexpr char16_t Cp850High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// The upper half of code page 437, named by language byte 1 (US DOS).
constexpr char16_t Cp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

enum class Encoding { Cp1252, Cp850, Cp437, Undecided };

// Language byte 0 names no code page: DOS programs and spreadsheet exports write it for code page
// 850, Windows programs for 1252; the text decides.
Encoding encodingOf(quint8 languageDriver) {
    switch (languageDriver) {
    case 0x00:
        return Encoding::Undecided;
    case 0x01:
        return Encoding::Cp437;
    case 0x02:
        return Encoding::Cp850;
    default:
        return Encoding::Cp1252;
    }
}

QString decodeText(QByteArrayView bytes, Encoding encoding) {
    if (encoding == Encoding::Cp1252)
        return fromCp1252(bytes);
    const char16_t* high = encoding == Encoding::Cp437 ? Cp437High : Cp850High;
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 b = quint8(bytes[i]);
        text[i] = b < 0x80 ? QChar(char16_t(b)) : QChar(high[b - 0x80]);
    }
    return text;
}

// How German a text reads in an encoding: each umlaut or ß counts twice, another lower-case letter
// once; what is neither (box drawing, signs, marks) counts nothing.
int germanScore(QByteArrayView bytes, Encoding encoding) {
    int score = 0;
    for (const QChar c : decodeText(bytes, encoding)) {
        if (c.unicode() < 0x80)
            continue;
        if (QStringView(u"ÄÖÜäöüß").contains(c))
            score += 2;
        else if (c.isLower())
            score += 1;
    }
    return score;
}

// Code page 1252 only when its reading is the more German one: a tie (no letters beyond ASCII) keeps 850.
Encoding likelierEncoding(QByteArrayView text) {
    return germanScore(text, Encoding::Cp1252) > germanScore(text, Encoding::Cp850) ? Encoding::Cp1252
                                                                                    : Encoding::Cp850;
}

[[noreturn]] void notDbase(const QString& name, const QString& detail) {
    throw FormatError(QStringLiteral("Die Datei \"%1\" ist keine lesbare dBase-Datei: %2.")
                          .arg(QDir::toNativeSeparators(name), detail));
}

QByteArray fitted(QByteArray bytes, int length, bool rightAligned) {
    bytes.truncate(length);
    const QByteArray pad(length - bytes.size(), ' ');
    return rightAligned ? pad + bytes : bytes + pad;
}

QByteArray numberText(const QVariant& value, const DbfField& field) {
    if (!value.isValid())
        return {};
    return QByteArray::number(value.toDouble(), 'f', field.decimals);
}

class MemoWriter {
public:
    MemoWriter() : bytes_(MemoBlock, '\0') {}
    // The block number of the stored text, as the field holds it.
    qint64 add(const QString& text) {
        const qint64 block = bytes_.size() / MemoBlock;
        bytes_ += toCp1252(text);
        bytes_ += QByteArray(2, EndOfFile);
        bytes_ += QByteArray((MemoBlock - bytes_.size() % MemoBlock) % MemoBlock, '\0');
        return block;
    }
    QByteArray finish() {
        qToLittleEndian<quint32>(quint32(bytes_.size() / MemoBlock), bytes_.data());
        return bytes_;
    }

private:
    QByteArray bytes_;
};

QByteArray fieldBytes(const QVariant& value, const DbfField& field, MemoWriter& memo) {
    switch (field.type) {
    case 'C':
        return fitted(value.isValid() ? toCp1252(value.toString()) : QByteArray(), field.length, false);
    case 'N':
    case 'F':
        return fitted(numberText(value, field), field.length, true);
    case 'D':
        return fitted(value.toDate().isValid() ? value.toDate().toString(QStringLiteral("yyyyMMdd")).toLatin1()
                                               : QByteArray(),
                      8, false);
    case 'L':
        return value.isValid() ? QByteArray(value.toBool() ? "T" : "F") : QByteArray("?");
    case 'M':
        return fitted(value.isValid() && !value.toString().isEmpty() ? QByteArray::number(memo.add(value.toString()))
                                                                     : QByteArray(),
                      10, true);
    }
    throw FormatError(QStringLiteral("Das Feld \"%1\" hat einen unbekannten Typ.").arg(field.name));
}

QByteArray headerOf(const DbfTable& table, const QDate& today, bool hasMemo) {
    QByteArray header(HeaderSize, '\0');
    header[0] = char(hasMemo ? 0x83 : 0x03);
    header[1] = char(today.year() - 1900);
    header[2] = char(today.month());
    header[3] = char(today.day());
    qToLittleEndian<quint32>(quint32(table.records.size()), header.data() + 4);
    int recordSize = 1;
    for (const DbfField& field : table.fields)
        recordSize += field.length;
    qToLittleEndian<quint16>(quint16(HeaderSize + DescriptorSize * table.fields.size() + 1), header.data() + 8);
    qToLittleEndian<quint16>(quint16(recordSize), header.data() + 10);
    header[29] = char(0x03); // language driver: Windows ANSI (1252)
    for (const DbfField& field : table.fields) {
        QByteArray descriptor(DescriptorSize, '\0');
        const QByteArray name = toCp1252(field.name).left(10);
        std::copy(name.begin(), name.end(), descriptor.begin());
        descriptor[11] = field.type;
        descriptor[16] = char(field.length);
        descriptor[17] = char(field.decimals);
        header += descriptor;
    }
    header += FieldTerminator;
    return header;
}

void checkLayout(const DbfField& field) {
    const bool fits = field.length > 0 && field.length <= (field.type == 'C' ? MaxTextLength : 255) &&
                      (field.type != 'D' || field.length == 8) && (field.type != 'L' || field.length == 1);
    if (!fits || field.name.isEmpty() || field.name.size() > 10)
        throw FormatError(
            QStringLiteral("Das Feld \"%1\" kann nicht in eine dBase-Datei geschrieben werden.").arg(field.name));
}

QVariant numberValue(const QByteArray& text, int decimals) {
    bool ok = false;
    const QByteArray trimmed = text.trimmed();
    if (decimals == 0 && !trimmed.contains('.')) {
        const qint64 whole = trimmed.toLongLong(&ok);
        if (ok)
            return whole;
    }
    const double number = trimmed.toDouble(&ok);
    return ok && std::isfinite(number) ? QVariant(number) : QVariant();
}

QVariant logicalValue(char c) {
    if (QByteArrayView("TtYyJj").contains(c))
        return true;
    if (QByteArrayView("FfNn").contains(c))
        return false;
    return {};
}

// The memo file as its table's version reads it: dBase IV gives each memo an 8-byte block header
// (FF FF 08 00, then the length with the header) and keeps its block size in the file header.
struct MemoFile {
    QByteArray bytes;
    bool blockHeaders = false;
    qint64 blockSize = MemoBlock;

    MemoFile(const QByteArray& memo, quint8 version) : bytes(memo), blockHeaders(version == 0x8B) {
        if (blockHeaders && memo.size() >= 22) {
            const quint16 size = qFromLittleEndian<quint16>(memo.constData() + 20);
            blockSize = size == 0 ? MemoBlock : size;
        }
    }
};

// The bytes of a memo the field names; nothing for a blank field.
std::optional<QByteArray> memoText(const QByteArray& text, const MemoFile& memo, const QString& name) {
    bool ok = false;
    const qint64 block = text.trimmed().toLongLong(&ok);
    if (!ok || block == 0)
        return std::nullopt;
    if (block < 0 || block > memo.bytes.size() / memo.blockSize)
        notDbase(name, QStringLiteral("die Notizdatei ist unvollständig"));
    qint64 start = block * memo.blockSize;
    if (start >= memo.bytes.size())
        notDbase(name, QStringLiteral("die Notizdatei ist unvollständig"));
    qint64 end = -1;
    if (memo.blockHeaders && memo.bytes.mid(start, 4) == QByteArray("\xFF\xFF\x08\x00", 4)) {
        if (start + 8 > memo.bytes.size())
            notDbase(name, QStringLiteral("die Notizdatei ist unvollständig"));
        const qint64 length = qFromLittleEndian<quint32>(memo.bytes.constData() + start + 4);
        if (length < 8 || start + length > memo.bytes.size())
            notDbase(name, QStringLiteral("die Notizdatei ist unvollständig"));
        end = start + length;
        start += 8;
    } else {
        end = memo.bytes.indexOf(EndOfFile, start);
        if (end < 0)
            end = memo.bytes.size();
    }
    return memo.bytes.mid(start, end - start);
}

// A field's bytes as stored, a memo's text in place of its block number, text without its padding;
// nothing for a blank field.
std::optional<QByteArray> storedBytes(const QByteArray& raw, const DbfField& field, const MemoFile& memo,
                                      const QString& name) {
    if (raw.trimmed().isEmpty())
        return std::nullopt;
    if (field.type == 'M')
        return memoText(raw, memo, name);
    QByteArray bytes = raw;
    if (field.type == 'C')
        while (bytes.endsWith(' ') || bytes.endsWith('\0'))
            bytes.chop(1);
    return bytes;
}

QVariant valueOf(const std::optional<QByteArray>& stored, const DbfField& field, Encoding encoding) {
    if (!stored)
        return {};
    const QByteArray& raw = *stored;
    switch (field.type) {
    case 'C':
    case 'M':
        return decodeText(raw, encoding);
    case 'N':
    case 'F':
        return numberValue(raw, field.decimals);
    case 'D': {
        const QDate date = QDate::fromString(QString::fromLatin1(raw.trimmed()), QStringLiteral("yyyyMMdd"));
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case 'L':
        return logicalValue(raw.at(0));
    }
    return {};
}

using StoredRecord = QList<std::optional<QByteArray>>;

// The records that are not marked deleted ("*"), their fields as stored.
QList<StoredRecord> storedRecords(QByteArrayView bytes, int recordSize, const QList<DbfField>& fields,
                                  const MemoFile& memo, const QString& name) {
    QList<StoredRecord> records;
    for (qsizetype at = 0; at < bytes.size(); at += recordSize) {
        if (bytes[at] == '*')
            continue;
        StoredRecord record;
        qsizetype offset = at + 1;
        for (const DbfField& field : fields) {
            record.append(storedBytes(bytes.sliced(offset, field.length).toByteArray(), field, memo, name));
            offset += field.length;
        }
        records.append(record);
    }
    return records;
}

// The texts of all records, for telling their code page.
QByteArray allTexts(const QList<StoredRecord>& records, const QList<DbfField>& fields) {
    QByteArray text;
    for (const StoredRecord& record : records)
        for (qsizetype f = 0; f < fields.size(); ++f)
            if ((fields[f].type == 'C' || fields[f].type == 'M') && record[f])
                text += *record[f];
    return text;
}

QList<DbfField> readDescriptors(const QByteArray& bytes, int headerSize, const QString& name) {
    QList<DbfField> fields;
    for (qsizetype at = HeaderSize; at < headerSize; at += DescriptorSize) {
        if (bytes.at(at) == FieldTerminator)
            return fields;
        if (at + DescriptorSize > headerSize)
            break;
        const QByteArrayView d = QByteArrayView(bytes).sliced(at, DescriptorSize);
        DbfField field;
        const qsizetype nameEnd = d.first(11).indexOf('\0');
        field.name = fromCp1252(d.first(nameEnd < 0 ? 11 : nameEnd)).trimmed();
        field.type = char(QChar::toUpper(uchar(d[11])));
        field.length = quint8(d[16]);
        field.decimals = quint8(d[17]);
        if (!QByteArrayView("CNFDLM").contains(field.type))
            notDbase(name, QStringLiteral("das Feld \"%1\" hat den unbekannten Typ \"%2\"")
                               .arg(field.name, QString(QLatin1Char(d[11]))));
        if (field.name.isEmpty() || field.length == 0)
            notDbase(name, QStringLiteral("die Feldbeschreibung ist beschädigt"));
        fields.append(field);
    }
    notDbase(name, QStringLiteral("die Feldbeschreibung ist nicht abgeschlossen"));
}

} // namespace

QStringList dbfFieldNames(const QStringList& names) {
    QStringList result;
    QSet<QString> taken;
    for (const QString& name : names) {
        QString candidate = name.left(10);
        for (int n = 1; taken.contains(candidate.toUpper()); ++n) {
            const QString suffix = QString::number(n);
            candidate = name.left(10 - suffix.size()) + suffix;
        }
        taken.insert(candidate.toUpper());
        result.append(candidate);
    }
    return result;
}

DbfFiles writeDbf(const DbfTable& table, const QDate& today) {
    bool hasMemo = false;
    for (const DbfField& field : table.fields) {
        checkLayout(field);
        hasMemo = hasMemo || field.type == 'M';
    }
    DbfFiles files;
    files.table = headerOf(table, today, hasMemo);
    MemoWriter memo;
    for (const QVariantList& record : table.records) {
        files.table += ' ';
        for (int i = 0; i < table.fields.size(); ++i)
            files.table += fieldBytes(i < record.size() ? record[i] : QVariant(), table.fields[i], memo);
    }
    files.table += EndOfFile;
    if (hasMemo)
        files.memo = memo.finish();
    return files;
}

DbfTable readDbf(const QByteArray& bytes, const QByteArray& memo, const QString& name) {
    if (bytes.size() < HeaderSize + 1)
        notDbase(name, QStringLiteral("sie ist zu kurz"));
    const quint8 version = quint8(bytes.at(0));
    if (version != 0x03 && version != 0x83 && version != 0x8B)
        notDbase(name, QStringLiteral("die Kennung am Anfang fehlt"));
    const quint32 count = qFromLittleEndian<quint32>(bytes.constData() + 4);
    const int headerSize = qFromLittleEndian<quint16>(bytes.constData() + 8);
    const int recordSize = qFromLittleEndian<quint16>(bytes.constData() + 10);
    if (headerSize < HeaderSize + 1 || headerSize > bytes.size())
        notDbase(name, QStringLiteral("der Kopf ist beschädigt"));
    const MemoFile memoFile(memo, version);
    DbfTable table;
    table.fields = readDescriptors(bytes, headerSize, name);
    int expectedSize = 1;
    for (const DbfField& field : std::as_const(table.fields))
        expectedSize += field.length;
    if (table.fields.isEmpty() || recordSize != expectedSize)
        notDbase(name, QStringLiteral("der Kopf ist beschädigt"));
    if (qint64(headerSize) + qint64(count) * recordSize > bytes.size())
        notDbase(name, QStringLiteral("sie ist unvollständig, es fehlen Datensätze"));
    const QList<StoredRecord> records =
        storedRecords(QByteArrayView(bytes).sliced(headerSize, qsizetype(count) * recordSize), recordSize, table.fields,
                      memoFile, name);
    Encoding encoding = encodingOf(quint8(bytes.at(29)));
    if (encoding == Encoding::Undecided)
        encoding = likelierEncoding(allTexts(records, table.fields));
    for (const StoredRecord& record : std::as_const(records)) {
        QVariantList values;
        for (qsizetype f = 0; f < table.fields.size(); ++f)
            values.append(valueOf(record[f], table.fields[f], encoding));
        table.records.append(values);
    }
    return table;
}

} // namespace zep
