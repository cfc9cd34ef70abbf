#include "mainwin/system_figures.h"

#include <QFile>
#include <QList>
#include <QStorageInfo>

#include <cmath>

namespace zep {

namespace {

// "MemTotal:       16318088 kB"
std::optional<qint64> valueOf(QStringView line) {
    const qsizetype colon = line.indexOf(u':');
    QStringView rest = line.mid(colon + 1).trimmed();
    if (rest.endsWith(QStringLiteral("kB")))
        rest.chop(2);
    bool ok = false;
    const qint64 value = rest.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

qint64 roundedPercent(qint64 part, qint64 whole) {
    return std::llround(double(part) * 100.0 / double(whole));
}

} // namespace

MemoryFigures parseMemInfo(QStringView text) {
    MemoryFigures figures;
    for (QStringView line : text.split(u'\n')) {
        const QStringView key = line.left(line.indexOf(u':'));
        if (key == QStringLiteral("MemTotal"))
            figures.memTotal = valueOf(line);
        else if (key == QStringLiteral("MemAvailable"))
            figures.memAvailable = valueOf(line);
        else if (key == QStringLiteral("SwapTotal"))
            figures.swapTotal = valueOf(line);
        else if (key == QStringLiteral("SwapFree"))
            figures.swapFree = valueOf(line);
    }
    return figures;
}

MemoryFigures readMemInfo(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // /proc files report a size of 0: read until the end instead of by size.
    return parseMemInfo(QString::fromLatin1(file.readAll()));
}

QString freeMemoryText(const MemoryFigures& figures) {
    if (!figures.memTotal || !figures.memAvailable || *figures.memTotal <= 0)
        return QStringLiteral("?%RAM");
    const qint64 load = roundedPercent(*figures.memTotal - *figures.memAvailable, *figures.memTotal);
    return QString::number(100 - load) + QStringLiteral("%RAM");
}

QString freeSwapText(const MemoryFigures& figures) {
    if (!figures.swapTotal || !figures.swapFree)
        return QStringLiteral("?%Page");
    if (*figures.swapTotal <= 0)
        return QStringLiteral("-%Page");
    return QString::number(roundedPercent(*figures.swapFree, *figures.swapTotal)) + QStringLiteral("%Page");
}

QString freeDiskText(std::optional<qint64> freeBytes, const QString& mountPoint) {
    if (!freeBytes || *freeBytes < 0)
        return QStringLiteral("?MB ") + mountPoint;
    return QString::number(std::llround(double(*freeBytes) / 1024.0 / 1024.0)) + QStringLiteral("MB ") + mountPoint;
}

DiskFigures readDiskFigures(const QString& path) {
    const QStorageInfo storage(path);
    if (!storage.isValid() || !storage.isReady())
        return {};
    return {storage.bytesAvailable(), storage.rootPath()};
}

} // namespace zep
