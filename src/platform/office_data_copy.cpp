#include "platform/office_data_copy.h"

#include "app/safe_file.h"
#include "data/format_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cerrno>

namespace zep {

namespace {

QByteArray withoutControlBytes(QByteArray value) {
    for (char& c : value)
        if (quint8(c) < 0x20)
            c = ' ';
    return value;
}

QByteArray copiedLine(const QByteArray& line, bool quoted) {
    QList<QByteArray> values = line.split('\t');
    for (QByteArray& value : values) {
        value = withoutControlBytes(value);
        if (quoted)
            value = '"' + value.replace('"', "\"\"") + '"';
    }
    return values.join('\t') + "\r\n";
}

QByteArray readDataFile(const QString& path) {
    QFile in(path);
    errno = 0;
    if (!in.open(QIODevice::ReadOnly)) {
        const int cause = errno;
        throw FileError(QStringLiteral("Die Datendatei \"%1\" kann nicht gelesen werden: %2.")
                            .arg(QDir::toNativeSeparators(path), fileErrorCause(cause, in)));
    }
    return in.readAll();
}

} // namespace

QByteArray officeDataCopy(const QByteArray& dataText) {
    QList<QByteArray> lines = dataText.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QByteArray copy;
    for (qsizetype i = 0; i < lines.size(); ++i)
        copy += copiedLine(lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i], i > 0);
    return copy;
}

QString writeOfficeDataCopy(const QString& dataFile) {
    const QFileInfo file(dataFile);
    const QByteArray copy = officeDataCopy(readDataFile(file.absoluteFilePath()));
    const QString folder = QDir(file.absolutePath()).filePath(file.completeBaseName() + QStringLiteral(".office"));
    if (!QDir().mkpath(folder))
        throw FileError(
            QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(QDir::toNativeSeparators(folder)));
    writeFileSafely(QDir(folder).filePath(file.completeBaseName() + QStringLiteral(".txt")), copy);
    return folder;
}

} // namespace zep
