#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace zep::test {

// A tmpfs mounted for one test; the test skips where mounting is not allowed.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes) {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) == 0;
        if (!mounted_)
            error_ = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    QString skipText() const { return QStringLiteral("tmpfs kann hier nicht eingehängt werden: ") + error_; }
    QString path() const { return dir_.path(); }
    bool remountReadOnly() const {
        return ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) ==
               0;
    }
    bool fill() const {
        QFile ballast(QDir(path()).filePath(QStringLiteral("ballast")));
        if (!ballast.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'b');
        while (ballast.write(block) == block.size()) {
        }
        return true;
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString error_;
};

} // namespace zep::test
