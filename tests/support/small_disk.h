#pragma once

#include <QString>
#include <QTemporaryDir>

namespace zep::test {

// A small tmpfs mounted for one test and unmounted afterwards: a real full or read-only disk.
// Tests skip with skipText() where mounting is not allowed.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString skipText() const;
    QString path() const { return dir_.path(); }

    bool remountReadOnly() const;
    // Fills the disk with a ballast file, then frees freeBytes of it again.
    bool fill(qint64 freeBytes = 0) const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString error_;
};

} // namespace zep::test
