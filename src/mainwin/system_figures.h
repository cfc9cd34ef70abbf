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
// Free swap in percent, rounded: "80%Page". Without swap nothing can run short, so "100%Page";
// "?%Page" when unknown.
QString freeSwapText(const MemoryFigures& figures);
// Free bytes of the file system holding a path, as whole MB (rounded) followed by " MB " and the
// file system's mount point: "5120 MB /". "? MB" when unknown.
QString freeDiskText(std::optional<qint64> freeBytes, const QString& mountPoint);

} // namespace zep
