#include "data/catalog_file.h"

#include "app/safe_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"

#include <QCollator>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>

namespace zep {

namespace {

QString catalogPath(int number, const QString& generalDir) {
    return QDir(generalDir).filePath(catalogFileName(number));
}

// A line break is CR LF; a lone LF (a file edited on Linux) counts as one too. As with any text
// file, the break after the last line does not start another line.
QStringList splitLines(const QString& text) {
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (normalized.isEmpty())
        return {};
    if (normalized.endsWith(u'\n'))
        normalized.chop(1);
    return normalized.split(u'\n');
}

QByteArray joinLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes.append(toCp1252(line));
        bytes.append("\r\n");
    }
    return bytes;
}

} // namespace

QString catalogFileName(int number) {
    return QString::number(number) + QStringLiteral(".kat");
}

QString catalogCaption(int number) {
    switch (number) {
    case 1:
        return QStringLiteral("Dokument - Art");
    case 4:
        return QStringLiteral("Autor");
    case 10:
        return QStringLiteral("Anrede Briefkopf");
    case 11:
        return QStringLiteral("Anrede");
    case 12:
        return QStringLiteral("Herr / Frau");
    case 13:
        return QStringLiteral("Grußwort");
    default:
        return {};
    }
}

bool LoadCatalog(QStringList& lines, int number, const QString& generalDir) {
    QFile file(catalogPath(number, generalDir));
    if (!file.exists())
        return false;
    const auto unreadable = [&](int cause) {
        return FileError(QStringLiteral("Der Katalog \"%1\" konnte nicht gelesen werden: %2")
                             .arg(catalogFileName(number), fileErrorCause(cause, file)));
    };
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw unreadable(errno);
    errno = 0;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw unreadable(errno);
    lines = splitLines(fromCp1252(content));
    return true;
}

void SaveCatalog(const QStringList& lines, int number, const QString& generalDir) {
    const QByteArray content = joinLines(sortedCatalogLines(lines));
    try {
        writeFileSafely(catalogPath(number, generalDir), content);
    } catch (const FileError& error) {
        throw FileError(QStringLiteral("Der Katalog \"%1\" konnte nicht gespeichert werden.\n%2")
                            .arg(catalogFileName(number), error.message()));
    }
}

QStringList sortedCatalogLines(QStringList lines) {
    // QCollator rather than localeAwareCompare: the order must not depend on the user's locale
    // settings, and only the collator can ignore letter case. Lines equal to the collator keep a
    // fixed order by code point, so the same lines always give the same file.
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(lines.begin(), lines.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return lines;
}

} // namespace zep
