#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace zep {

QString SingleInstance::defaultLockDirectory() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

SingleInstance::SingleInstance(const QString& lockDirectory)
    : lock_(std::make_unique<QLockFile>(QDir(lockDirectory).filePath(QStringLiteral("ZEP-Instanz.lock")))) {
    // The program runs for hours: only a dead owner makes the lock stale, never its age.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::tryAcquire() {
    return lock_->isLocked() || lock_->tryLock(0);
}

} // namespace zep
