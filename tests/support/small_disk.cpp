#include "small_disk.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace zep::test {

SmallDisk::SmallDisk(qint64 bytes) {
    const QByteArray options = "size=" + QByteArray::number(bytes);
    mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    if (!mounted_)
        error_ = QString::fromLocal8Bit(std::strerror(errno));
}

SmallDisk::~SmallDisk() {
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool SmallDisk::remountReadOnly() const {
    return ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool SmallDisk::fill(qint64 freeBytes) const {
    QFile ballast(QDir(path()).filePath(QStringLiteral("ballast")));
    if (!ballast.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'b');
    while (ballast.write(block) == block.size()) {
    }
    ballast.close();
    return ballast.resize(std::max<qint64>(0, ballast.size() - freeBytes));
}

} // namespace zep::test
