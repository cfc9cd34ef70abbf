#pragma once

#include <QString>
#include <QTemporaryDir>

namespace zep::test {

// A small tmpfs mounted for one test and unmounted afterwards; tests skip where mounting is not
// allowed (skipText says why).
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const QString& error() const { return error_; }
    QString skipText() const { return QStringLiteral("tmpfs kann hier nicht eingehängt werden: ") + error_; }
    QString path() const { return dir_.path(); }
    // Refuses every write from now on, also root's.
    bool remountReadOnly() const;
    // Fills the disk with a ballast file, then frees freeBytes of it again.
    bool fill(qint64 freeBytes = 0) const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString error_;
};

} // namespace zep::test
