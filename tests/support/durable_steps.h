#pragma once

#include "app/safe_file.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace zep::test {

// Records every durable step of the safe writes while it lives, with absolute paths.
class DurableStepLog {
public:
    struct Entry {
        DurableStep step;
        QString path;
    };

    DurableStepLog();

    const QList<Entry>& entries() const { return entries_; }
    // The position of the first step of this kind on path at or after from; -1 when there is none.
    qsizetype indexOf(DurableStep step, const QString& path, qsizetype from = 0) const;
    // Renames and removals after which their folder was never synced, as "umbenannt: <path>" or
    // "entfernt: <path>".
    QStringList changesNotSynced() const;

private:
    QList<Entry> entries_;
    DurableStepWatch watch_;
};

// While it lives, the first rename to path is followed by a failing folder sync: the rename has
// happened, yet renameDurably throws FileError, as a disk that fails right after would.
class SyncFailsAfterRename {
public:
    explicit SyncFailsAfterRename(const QString& path);
    bool struck() const { return struck_; }

private:
    QString path_;
    bool struck_ = false;
    DurableStepWatch watch_;
};

} // namespace zep::test
