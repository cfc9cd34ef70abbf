#include "documents/column_file.h"

#include "app/safe_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"

#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <optional>

namespace zep {

namespace {

constexpr char listStart = 0x01;
constexpr char listEnd = 0x00;
constexpr char shortString = 0x06;
constexpr char longString = 0x0C;
constexpr qsizetype shortStringMax = 255;

void appendString(QByteArray& bytes, const QString& text) {
    const QByteArray encoded = toCp1252(text);
    if (encoded.size() <= shortStringMax) {
        bytes.append(shortString);
        bytes.append(static_cast<char>(encoded.size()));
    } else {
        char length[4];
        qToLittleEndian<quint32>(static_cast<quint32>(encoded.size()), length);
        bytes.append(longString);
        bytes.append(length, sizeof length);
    }
    bytes.append(encoded);
}

// Reads the list front to back; every method throws FormatError at the first fault.
class ColumnFileReader {
public:
    explicit ColumnFileReader(QByteArrayView bytes) : bytes_(bytes) {}

    QList<ColumnRow> readList() {
        if (bytes_.isEmpty() || bytes_[0] != listStart)
            throw FormatError(QStringLiteral("Die Spaltenliste beginnt nicht mit dem Listenanfang."));
        pos_ = 1;
        QList<ColumnRow> rows;
        while (!atListEnd()) {
            ColumnRow row;
            row.field = readString();
            row.label = readRowString();
            row.width = readRowString();
            rows.append(row);
        }
        // Bytes after the end mark are ignored, as by any reader of this stream format.
        return rows;
    }

private:
    bool atListEnd() {
        if (pos_ >= bytes_.size())
            throw FormatError(QStringLiteral("Das Ende der Spaltenliste fehlt."));
        return bytes_[pos_] == listEnd;
    }

    // The second and third text of a row must not be replaced by the end mark.
    QString readRowString() {
        if (atListEnd())
            throw FormatError(QStringLiteral("Die Spaltenliste endet mitten in einer Zeile."));
        return readString();
    }

    QString readString() {
        const char tag = bytes_[pos_++];
        qint64 length = 0;
        if (tag == shortString)
            length = static_cast<unsigned char>(take(1)[0]);
        else if (tag == longString)
            length = qFromLittleEndian<quint32>(take(4).data());
        else
            throw FormatError(QStringLiteral("Unbekannte Textkennung 0x%1 an Position %2.")
                                  .arg(static_cast<unsigned char>(tag), 2, 16, QLatin1Char('0'))
                                  .arg(pos_ - 1));
        return fromCp1252(take(length));
    }

    QByteArrayView take(qint64 count) {
        if (count > bytes_.size() - pos_)
            throw FormatError(QStringLiteral("Ein Text an Position %1 reicht über das Dateiende hinaus.").arg(pos_));
        const QByteArrayView part = bytes_.sliced(pos_, count);
        pos_ += count;
        return part;
    }

    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

} // namespace

QByteArray encodeColumnFile(const QList<ColumnRow>& rows) {
    QByteArray bytes(1, listStart);
    for (const ColumnRow& row : rows) {
        appendString(bytes, row.field);
        appendString(bytes, row.label);
        appendString(bytes, row.width);
    }
    bytes.append(listEnd);
    return bytes;
}

QList<ColumnRow> decodeColumnFile(QByteArrayView bytes) {
    return ColumnFileReader(bytes).readList();
}

QList<ColumnRow> readColumnFile(const QString& path) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int cause = errno;
        throw FileError(QStringLiteral("Die Spaltendatei \"%1\" konnte nicht geöffnet werden: %2")
                            .arg(path, fileErrorCause(cause, file)));
    }
    const QByteArray content = file.readAll();
    try {
        return decodeColumnFile(content);
    } catch (const FormatError& error) {
        throw FormatError(QStringLiteral("Die Spaltendatei \"%1\" ist beschädigt.\n%2").arg(path, error.message()));
    }
}

void writeColumnFile(const QString& path, const QList<ColumnRow>& rows) {
    writeFileSafely(path, encodeColumnFile(rows));
}

namespace {

// The file's bytes, nullopt when there is none; throws FileError when it exists but cannot be read.
std::optional<QByteArray> currentContent(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int cause = errno;
        throw FileError(QStringLiteral("Die Spaltendatei \"%1\" konnte nicht geöffnet werden: %2")
                            .arg(path, fileErrorCause(cause, file)));
    }
    return file.readAll();
}

} // namespace

QString saveColumnArrangement(const QString& path, const QList<ColumnRow>& rows,
                              const std::function<QString()>& storeSort) {
    try {
        const std::optional<QByteArray> oldContent = currentContent(path);
        writeColumnFile(path, rows);
        const QString sortError = storeSort();
        if (sortError.isEmpty())
            return {};
        if (oldContent)
            writeFileSafely(path, *oldContent);
        else if (!QFile::remove(path))
            return sortError + QStringLiteral("\nDie Spaltendatei \"%1\" konnte nicht zurückgesetzt werden.").arg(path);
        return sortError;
    } catch (const FileError& error) {
        return error.message();
    }
}

QStringList offeredColumnFields() {
    return {QStringLiteral("Nr"),      QStringLiteral("Titel"),  QStringLiteral("Art"),    QStringLiteral("Offen"),
            QStringLiteral("Autor"),   QStringLiteral("Datei"),  QStringLiteral("Ext"),    QStringLiteral("WTyp"),
            QStringLiteral("WTag"),    QStringLiteral("WDatum"), QStringLiteral("EDatum"), QStringLiteral("ADatum"),
            QStringLiteral("Adresse"), QStringLiteral("Thema"),  QStringLiteral("Feld1"),  QStringLiteral("Feld2"),
            QStringLiteral("Feld3"),   QStringLiteral("Feld4"),  QStringLiteral("Feld5"),  QStringLiteral("Feld6")};
}

} // namespace zep
