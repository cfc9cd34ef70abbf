#include "tools/backup.h"

#include "app/safe_file.h"
#include "data/collation.h"
#include "data/format_error.h"
#include "tools/file_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>
#include <memory>

namespace zep {

namespace {

constexpr int SourceBusyTimeoutMs = 10000;

bool isSqliteFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

Database openDatabase(const QString& path, int flags, QString& cause) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    Database owned(db);
    if (rc != SQLITE_OK)
        cause = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    return rc == SQLITE_OK ? std::move(owned) : Database();
}

QString sqliteCause(int rc) {
    switch (rc) {
    case SQLITE_FULL:
        return fileErrorCause(ENOSPC);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("Die Tabelle ist beschädigt");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Tabelle ist gesperrt");
    default:
        return QStringLiteral("Die Tabelle kann nicht gelesen werden (%1)").arg(QString::fromUtf8(sqlite3_errstr(rc)));
    }
}

// The copy counts only once it is on disk: the backup is called done after this.
QString syncedToDisk(const QString& path) {
    try {
        syncFileToDisk(path);
        return {};
    } catch (const FileError& error) {
        return error.message();
    }
}

// The copy holds one read transaction on the source for the whole run: a consistent snapshot,
// while a writer of another connection waits for its end within its busy timeout.
QString snapshotTable(const QString& source, const QString& target) {
    QString cause;
    Database from = openDatabase(source, SQLITE_OPEN_READONLY, cause);
    if (!from)
        return cause;
    sqlite3_busy_timeout(from.get(), SourceBusyTimeoutMs);
    Database to = openDatabase(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, cause);
    if (!to)
        return cause;
    // The copy is a new file no one else uses: no journal, and one sync once it is complete.
    sqlite3_exec(to.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (backup == nullptr)
        return QString::fromUtf8(sqlite3_errmsg(to.get()));
    // A writer that holds the table longer than the busy timeout fails this file, not the whole run.
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return sqliteCause(rc);
    to.reset();
    return syncedToDisk(target);
}

QString integrityOf(const QString& path) {
    QString cause;
    Database db = openDatabase(path, SQLITE_OPEN_READONLY, cause);
    if (!db)
        return cause;
    registerCollation(db.get());
    // The index checks look up every row: a cache that holds the copy keeps them off the disk.
    sqlite3_exec(db.get(), "PRAGMA cache_size=-65536; PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check", -1, &stmt, nullptr) != SQLITE_OK)
        return sqliteCause(sqlite3_errcode(db.get()));
    const int rc = sqlite3_step(stmt);
    const QString verdict =
        rc == SQLITE_ROW ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) : QString();
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW)
        return sqliteCause(rc);
    return verdict == QStringLiteral("ok") ? QString() : QStringLiteral("Die Prüfung der Kopie ist fehlgeschlagen");
}

QString copyTable(const QString& source, const QString& target) {
    QString cause = snapshotTable(source, target);
    if (cause.isEmpty())
        cause = integrityOf(target);
    if (!cause.isEmpty())
        QFile::remove(target);
    return cause;
}

QString copyPlainFile(const QString& source, const QString& target) {
    TFileCopy copy;
    copy.SourceFile = source;
    copy.TargetFile = target;
    const int result = copy.Execute();
    return result == 0 ? QString() : result > 0 ? fileErrorCause(result) : QStringLiteral("Fehler %1").arg(result);
}

QString markerPath(const QString& targetDir) {
    return QDir(targetDir).filePath(QString::fromUtf16(IncompleteMarkerName));
}

void writeMarker(const QString& targetDir, const QString& text, BackupResult& result) {
    try {
        writeFileSafely(markerPath(targetDir), text.toUtf8());
    } catch (const FileError& error) {
        result.failures.append({QString::fromUtf16(IncompleteMarkerName), error.message()});
    }
}

// Written before the first copy, so that a backup cut short by a crash or a lost power stays marked.
void markUnfinished(const QString& targetDir, BackupResult& result) {
    writeMarker(targetDir, QStringLiteral("Diese Sicherung ist unvollständig: sie wurde nicht zu Ende geführt.\n"),
                result);
}

// The names of the copies are on disk before the marker goes, and the marker's removal is too.
void markOutcome(const QString& targetDir, BackupResult& result) {
    try {
        syncFolder(targetDir);
    } catch (const FileError& error) {
        result.failures.append({QDir(targetDir).dirName(), error.message()});
    }
    if (result.complete()) {
        try {
            removeDurably(markerPath(targetDir));
        } catch (const FileError&) {
            result.failures.append({QString::fromUtf16(IncompleteMarkerName),
                                    QStringLiteral("Die Markierung der unvollständigen Sicherung bleibt stehen")});
        }
        return;
    }
    QString text = QStringLiteral("Diese Sicherung ist unvollständig. Es fehlen:\n");
    for (const BackupFailure& failure : result.failures)
        text += failure.fileName + QStringLiteral(": ") + failure.cause + u'\n';
    writeMarker(targetDir, text, result);
}

} // namespace

QString nextBackupDirectoryName(const QString& backupDir) {
    const QDir dir(backupDir);
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("%1").arg(n, 8, 10, QLatin1Char('0'));
        if (!QFileInfo(dir.filePath(name)).isDir())
            return name;
    }
}

QStringList backupSourceFiles(const QString& dataDir) {
    QStringList names = QDir(dataDir).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    names.removeIf([](const QString& name) {
        return name.endsWith(QStringLiteral("-journal"), Qt::CaseInsensitive) ||
               name.endsWith(QStringLiteral("-wal"), Qt::CaseInsensitive) ||
               name.endsWith(QStringLiteral("-shm"), Qt::CaseInsensitive);
    });
    return names;
}

BackupResult backupClientData(const QString& dataDir, const QString& targetDir, const BackupProgress& progress) {
    const QStringList names = backupSourceFiles(dataDir);
    BackupResult result;
    result.fileCount = int(names.size());
    const QDir from(dataDir);
    const QDir to(targetDir);
    markUnfinished(targetDir, result);
    for (int i = 0; i < names.size(); ++i) {
        if (progress)
            progress(i, int(names.size()), names[i]);
        const QString source = from.filePath(names[i]);
        const QString target = to.filePath(names[i]);
        const QString cause = isSqliteFile(source) ? copyTable(source, target) : copyPlainFile(source, target);
        if (!cause.isEmpty())
            result.failures.append({names[i], cause});
    }
    markOutcome(targetDir, result);
    return result;
}

QString incompleteBackupMessage(const BackupResult& result) {
    QString text = QStringLiteral("Die Sicherung ist unvollständig. Diese Dateien konnten nicht gesichert werden:\n");
    for (const BackupFailure& failure : result.failures)
        text += u'\n' + failure.fileName + QStringLiteral(": ") + failure.cause;
    return text;
}

} // namespace zep
