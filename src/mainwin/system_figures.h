#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace zep {

// Memory figures as /proc/meminfo reports them, in kB; missing lines stay empty.
struct MemoryFigures {
    std::optional<qint64> memTotal;
    std::optional<qint64> memAvailable;
    std::optional<qint64> swapTotal;
    std::optional<qint64> swapFree;
};

MemoryFigures parseMemInfo(QStringView text);
// Reads /proc/meminfo (or another file in that form); empty figures when it cannot be read.
MemoryFigures readMemInfo(const QString& path = QStringLiteral("/proc/meminfo"));

// Free physical memory in percent (100 minus the load), rounded: "37%RAM". "?%RAM" when unknown.
QString freeMemoryText(const MemoryFigures& figures);
// Free swap in percent, rounded: "80%Page". A system without swap has no figure to give: "-%Page";
// "?%Page" when unknown.
QString freeSwapText(const MemoryFigures& figures);
// Free bytes as whole MB (bytes / 1024 / 1024, rounded), "MB " and the file system's mount point,
// which stands where a drive letter stood: "5120MB /". "?MB /" when unknown.
QString freeDiskText(std::optional<qint64> freeBytes, const QString& mountPoint);

struct DiskFigures {
    std::optional<qint64> freeBytes; // available to this user
    QString mountPoint;
};

// The file system holding a path.
DiskFigures readDiskFigures(const QString& path);

} // namespace zep
