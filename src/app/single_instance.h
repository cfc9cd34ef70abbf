#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace zep {

// Keeps a second copy of the program from running: a lock file named after "ZEP-Instanz", held for
// the lifetime of this object. A lock left behind by a crashed process is taken over.
class SingleInstance {
public:
    // The user's runtime directory, or the temporary directory where there is none.
    static QString defaultLockDirectory();

    explicit SingleInstance(const QString& lockDirectory = defaultLockDirectory());

    // False when another running process holds the lock.
    bool tryAcquire();
    QString lockFilePath() const { return lock_->fileName(); }

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace zep
