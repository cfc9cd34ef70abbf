#include "durable_steps.h"

#include "data/format_error.h"

#include <QDir>
#include <QFileInfo>

namespace zep::test {

namespace {

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

DurableStepLog::DurableStepLog()
    : watch_([this](DurableStep step, const QString& path) {
          entries_.append({step, path});
      }) {}

SyncFailsAfterRename::SyncFailsAfterRename(const QString& path)
    : path_(absolute(path)), watch_([this](DurableStep step, const QString& changed) {
          if (struck_ || step != DurableStep::Renamed || changed != path_)
              return;
          struck_ = true;
          throw FileError(QStringLiteral("Der Ordner \"%1\" konnte nicht auf den Datenträger geschrieben werden.")
                              .arg(QFileInfo(path_).absolutePath()));
      }) {}

qsizetype DurableStepLog::indexOf(DurableStep step, const QString& path, qsizetype from) const {
    const QString wanted = absolute(path);
    for (qsizetype i = std::max<qsizetype>(from, 0); i < entries_.size(); ++i)
        if (entries_[i].step == step && entries_[i].path == wanted)
            return i;
    return -1;
}

QStringList DurableStepLog::changesNotSynced() const {
    QStringList missing;
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (entry.step != DurableStep::Renamed && entry.step != DurableStep::Removed)
            continue;
        if (indexOf(DurableStep::FolderSynced, QFileInfo(entry.path).absolutePath(), i + 1) < 0)
            missing.append(
                (entry.step == DurableStep::Renamed ? QStringLiteral("umbenannt: ") : QStringLiteral("entfernt: ")) +
                entry.path);
    }
    return missing;
}

} // namespace zep::test
