#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace zep {

// The first of "00000001", "00000002", ... for which backupDir has no sub-directory.
QString nextBackupDirectoryName(const QString& backupDir);

// The files a backup copies: the ordinary files of the data directory (no directories, hidden files
// or links to nothing) by name, without the rollback journals of the tables: a table is copied as a
// snapshot that already holds every committed post, and a journal beside that copy would undo part of it.
QStringList backupSourceFiles(const QString& dataDir);

struct BackupFailure {
    QString fileName;
    QString cause; // German, without a final period
};

struct BackupResult {
    int fileCount = 0;
    QList<BackupFailure> failures;
    bool complete() const { return failures.isEmpty(); }
};

// Told before each file is copied (done files so far, of total).
using BackupProgress = std::function<void(int done, int total, const QString& fileName)>;

// The name of the file an incomplete backup holds beside its copies, listing what is missing.
inline constexpr char16_t IncompleteMarkerName[] = u"Sicherung unvollständig.txt";

// Copies every file of backupSourceFiles into the existing directory targetDir under its own name.
// A table file is copied through SQLite's online backup, so a post from another connection during
// the copy cannot tear it, and the copy must pass PRAGMA integrity_check; other files are copied
// byte for byte. A file that fails does not stop the others; it is listed in the result, a copy
// that failed its check is removed, and the backup then gets the marker file listing the failures.
// The marker is written before the first copy and removed only once every file is copied, so a
// backup cut short by a crash stays marked too. A table that another connection keeps locked
// longer than a few seconds fails as "gesperrt" instead of holding up the backup.
BackupResult backupClientData(const QString& dataDir, const QString& targetDir, const BackupProgress& progress = {});

// The German report of an incomplete backup, naming each file and its cause.
QString incompleteBackupMessage(const BackupResult& result);

} // namespace zep
