#include "data/collation.h"
#include "durable_steps.h"
#include "file_bytes.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/backup.h"
#include "tools/ui/backup_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <atomic>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace zep;
using zep::test::ScriptedInteraction;
using zep::test::writeBytes;

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

sqlite3* openDb(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_busy_timeout(db, 2000);
    registerCollation(db);
    return db;
}

bool exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

qint64 scalar(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

QString textOf(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return value;
}

// A table as the program keeps one: rollback journal, full sync, a text index with the ZEP collation.
// Every post adds two rows and raises the counter row by two in one transaction.
bool createLedger(const QString& path, int rows) {
    sqlite3* db = openDb(path);
    bool ok = exec(db, "PRAGMA journal_mode=DELETE") && exec(db, "PRAGMA synchronous=FULL") &&
              exec(db, "CREATE TABLE data(Nr INTEGER PRIMARY KEY, Name TEXT)") &&
              exec(db, "CREATE INDEX iName ON data(Name COLLATE ZEP)") && exec(db, "CREATE TABLE counter(n INTEGER)") &&
              exec(db, "INSERT INTO counter VALUES(0)") && exec(db, "BEGIN");
    for (int i = 0; ok && i < rows / 2; ++i)
        ok = exec(db, "INSERT INTO data(Name) VALUES(printf('Müller %d %.200c', random(), 'x'));"
                      "INSERT INTO data(Name) VALUES(printf('Äbel %d %.200c', random(), 'y'));"
                      "UPDATE counter SET n = n + 2");
    ok = ok && exec(db, "COMMIT");
    sqlite3_close(db);
    return ok;
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void numbering_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("next");
        QTest::newRow("none") << QStringList{} << QStringList{} << "00000001";
        QTest::newRow("1 and 3") << QStringList{"00000001", "00000003"} << QStringList{} << "00000002";
        QTest::newRow("1 to 3") << QStringList{"00000001", "00000002", "00000003"} << QStringList{} << "00000004";
        QTest::newRow("short names do not count") << QStringList{"1", "2"} << QStringList{} << "00000001";
        QTest::newRow("a file is no backup") << QStringList{} << QStringList{"00000001"} << "00000001";
    }

    void numbering() {
        QFETCH(QStringList, present);
        QFETCH(QStringList, files);
        QFETCH(QString, next);
        QTemporaryDir dir;
        for (const QString& name : present)
            QVERIFY(QDir(dir.path()).mkdir(name));
        for (const QString& name : files)
            QVERIFY(writeBytes(QDir(dir.path()).filePath(name), "x"));
        QCOMPARE(nextBackupDirectoryName(dir.path()), next);
    }

    // Tree files are copied byte for byte, tables as equal databases; journals and hidden files stay
    // behind; the gauge hears of every file before it is copied.
    void copiesEveryFileOfTheDataDirectory() {
        QTemporaryDir data;
        QTemporaryDir target;
        const QDir d(data.path());
        test::createClientTables(data.path());
        const QByteArray tree(64 * 3, '\x07');
        QVERIFY(writeBytes(d.filePath(QStringLiteral("Adressen.dat")), tree));
        QVERIFY(writeBytes(d.filePath(QStringLiteral("Alt.DB-journal")), "heiß"));
        QVERIFY(writeBytes(d.filePath(QStringLiteral(".versteckt")), "x"));
        QVERIFY(d.mkdir(QStringLiteral("Unterordner")));
        QStringList told;
        const BackupResult result =
            backupClientData(data.path(), target.path(), [&](int done, int total, const QString& name) {
                told.append(QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(name));
            });
        QVERIFY(result.complete());
        const QStringList expected{QStringLiteral("Adressen.dat"), QStringLiteral("Adressen.DB"),
                                   QStringLiteral("Dok.DB"), QStringLiteral("Serie.db"), QStringLiteral("Thema.DB")};
        QCOMPARE(result.fileCount, 5);
        QCOMPARE(told,
                 (QStringList{"0/5 Adressen.dat", "1/5 Adressen.DB", "2/5 Dok.DB", "3/5 Serie.db", "4/5 Thema.DB"}));
        QCOMPARE(QDir(target.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase),
                 expected);
        QCOMPARE(readBytes(QDir(target.path()).filePath(QStringLiteral("Adressen.dat"))), tree);
        sqlite3* copy = openDb(QDir(target.path()).filePath(QStringLiteral("Dok.DB")));
        QCOMPARE(textOf(copy, "PRAGMA integrity_check"), QStringLiteral("ok"));
        QVERIFY(scalar(copy, "SELECT count(*) FROM sqlite_master WHERE name = 'data'") == 1);
        sqlite3_close(copy);
    }

    // While another connection posts without pause, every copy is a committed state: it passes the
    // integrity check and its counter matches its rows. The writer's posts all succeed meanwhile.
    void snapshotWhileAnotherConnectionPosts() {
        QTemporaryDir data;
        const QString table = QDir(data.path()).filePath(QStringLiteral("Dok.DB"));
        QVERIFY(createLedger(table, 20000));
        std::atomic<bool> stop = false;
        std::atomic<int> posted = 0;
        std::atomic<int> failedPosts = 0;
        std::thread writer([&] {
            sqlite3* db = openDb(table);
            while (!stop) {
                if (exec(db, "BEGIN IMMEDIATE;"
                             "INSERT INTO data(Name) VALUES(printf('Weiß %d', random()));"
                             "INSERT INTO data(Name) VALUES(printf('Öz %d', random()));"
                             "UPDATE counter SET n = n + 2; COMMIT"))
                    ++posted;
                else {
                    ++failedPosts;
                    exec(db, "ROLLBACK");
                }
            }
            sqlite3_close(db);
        });
        QTemporaryDir backups;
        QList<qint64> counts;
        for (int round = 0; round < 5; ++round) {
            const QString target = QDir(backups.path()).filePath(QString::number(round));
            QVERIFY(QDir().mkdir(target));
            const BackupResult result = backupClientData(data.path(), target);
            QVERIFY2(result.complete(), qPrintable(incompleteBackupMessage(result)));
            sqlite3* copy = openDb(QDir(target).filePath(QStringLiteral("Dok.DB")));
            QCOMPARE(textOf(copy, "PRAGMA integrity_check"), QStringLiteral("ok"));
            const qint64 rows = scalar(copy, "SELECT count(*) FROM data");
            QCOMPARE(scalar(copy, "SELECT n FROM counter"), rows);
            QCOMPARE(scalar(copy, "SELECT count(*) FROM data WHERE Name >= 'a' COLLATE ZEP"), rows);
            counts.append(rows);
            sqlite3_close(copy);
        }
        stop = true;
        writer.join();
        QVERIFY(posted > 0);
        QCOMPARE(failedPosts.load(), 0);
        QVERIFY2(counts.first() < counts.last(), "the writer posted between the backups");
    }

    // A file that cannot be read, a damaged table and a file whose copy cannot be written are named
    // with their cause; the other files are copied, no damaged copy is left, and the backup carries
    // the marker listing them.
    void failuresAreNamedAndMarked() {
        QTemporaryDir data;
        QTemporaryDir target;
        const QDir d(data.path());
        test::createClientTables(data.path());
        QByteArray damaged = readBytes(d.filePath(QStringLiteral("Thema.DB")));
        damaged.replace(100, damaged.size() - 100, QByteArray(damaged.size() - 100, '\xA5'));
        QVERIFY(writeBytes(d.filePath(QStringLiteral("Thema.DB")), damaged));
        QVERIFY(writeBytes(d.filePath(QStringLiteral("Themen.dat")), "baum"));
        QVERIFY(QDir(target.path()).mkdir(QStringLiteral("Themen.dat"))); // the copy cannot take its name
        // A file whose reading fails with an I/O error, even for root.
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), d.filePath(QStringLiteral("Notizen.txt"))));
        const BackupResult result = backupClientData(data.path(), target.path());
        QCOMPARE(result.failures.size(), 3);
        QCOMPARE(result.failures[0].fileName, QStringLiteral("Notizen.txt"));
        QCOMPARE(result.failures[0].cause, QStringLiteral("Der Datenträger meldet einen Ein-/Ausgabefehler"));
        QCOMPARE(result.failures[1].fileName, QStringLiteral("Thema.DB"));
        QCOMPARE(result.failures[1].cause, QStringLiteral("Die Tabelle ist beschädigt"));
        QCOMPARE(result.failures[2].fileName, QStringLiteral("Themen.dat"));
        QCOMPARE(result.failures[2].cause, QStringLiteral("Unter diesem Namen steht ein Ordner"));
        const QDir t(target.path());
        QVERIFY(!t.exists(QStringLiteral("Thema.DB")));
        QVERIFY(t.exists(QStringLiteral("Dok.DB")) && t.exists(QStringLiteral("Adressen.DB")));
        QCOMPARE(QString::fromUtf8(readBytes(t.filePath(QString::fromUtf16(IncompleteMarkerName)))),
                 QStringLiteral("Diese Sicherung ist unvollständig. Es fehlen:\nNotizen.txt: Der Datenträger meldet "
                                "einen Ein-/Ausgabefehler\nThema.DB: Die Tabelle ist beschädigt\nThemen.dat: Unter "
                                "diesem Namen steht ein Ordner\n"));
        QCOMPARE(incompleteBackupMessage(result),
                 QStringLiteral("Die Sicherung ist unvollständig. Diese Dateien konnten nicht gesichert werden:\n\n"
                                "Notizen.txt: Der Datenträger meldet einen Ein-/Ausgabefehler\nThema.DB: Die Tabelle "
                                "ist beschädigt\nThemen.dat: Unter diesem Namen steht ein Ordner"));
    }

    // Each table's copy is flushed to disk, and the names of all copies are synced, before the marker
    // of an unfinished backup goes; its removal is synced too. Only then is the backup done.
    void copiesAreOnDiskBeforeTheBackupIsDone() {
        QTemporaryDir data;
        QTemporaryDir target;
        test::createClientTables(data.path());
        QVERIFY(writeBytes(QDir(data.path()).filePath(QStringLiteral("Adressen.dat")), QByteArray(64, '\x07')));
        test::DurableStepLog log;
        QVERIFY(backupClientData(data.path(), target.path()).complete());
        const QDir t(target.path());
        const qsizetype done = log.indexOf(DurableStep::Removed, t.filePath(QString::fromUtf16(IncompleteMarkerName)));
        QVERIFY(done >= 0);
        qsizetype lastCopy = -1;
        for (const char* table : {"Adressen.DB", "Dok.DB", "Serie.db", "Thema.DB"}) {
            const qsizetype synced = log.indexOf(DurableStep::FileSynced, t.filePath(QString::fromLatin1(table)));
            QVERIFY2(synced >= 0 && synced < done, table);
            lastCopy = std::max(lastCopy, synced);
        }
        const qsizetype namesSynced = log.indexOf(DurableStep::FolderSynced, target.path(), lastCopy);
        QVERIFY(namesSynced > lastCopy && namesSynced < done);
        QCOMPARE(log.changesNotSynced(), QStringList());
    }

    // A backup cut short between two files (the process killed) keeps the marker; one that
    // completes carries none.
    void anInterruptedBackupStaysMarked() {
        QTemporaryDir data;
        QTemporaryDir target;
        test::createClientTables(data.path());
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            backupClientData(data.path(), target.path(), [](int done, int, const QString&) {
                if (done == 2)
                    ::_exit(0);
            });
            ::_exit(1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const QDir t(target.path());
        QCOMPARE(QString::fromUtf8(readBytes(t.filePath(QString::fromUtf16(IncompleteMarkerName)))),
                 QStringLiteral("Diese Sicherung ist unvollständig: sie wurde nicht zu Ende geführt.\n"));
        QVERIFY(t.exists(QStringLiteral("Adressen.DB")) && !t.exists(QStringLiteral("Thema.DB")));

        QVERIFY(backupClientData(data.path(), target.path()).complete());
        QVERIFY(!t.exists(QString::fromUtf16(IncompleteMarkerName)));
    }

    // A table held under an exclusive lock fails after the busy timeout; the other files are copied.
    void aLockedTableFailsInsteadOfWaitingForever() {
        QTemporaryDir data;
        QTemporaryDir target;
        test::createClientTables(data.path());
        sqlite3* holder = openDb(QDir(data.path()).filePath(QStringLiteral("Dok.DB")));
        QVERIFY(exec(holder, "BEGIN EXCLUSIVE"));
        const BackupResult result = backupClientData(data.path(), target.path());
        exec(holder, "ROLLBACK");
        sqlite3_close(holder);
        QCOMPARE(result.failures.size(), 1);
        QCOMPARE(result.failures[0].fileName, QStringLiteral("Dok.DB"));
        QCOMPARE(result.failures[0].cause, QStringLiteral("Die Tabelle ist gesperrt"));
        QVERIFY(QDir(target.path()).exists(QStringLiteral("Thema.DB")));
        QVERIFY(!QDir(target.path()).exists(QStringLiteral("Dok.DB")));
    }

    // The window shows the next free name; OK copies into it and closes.
    void windowBacksUpIntoTheNextDirectory() {
        QTemporaryDir client;
        const QDir c(client.path());
        QVERIFY(c.mkpath(QStringLiteral("Daten")) && c.mkpath(QStringLiteral("Sicherung/00000001")));
        test::createClientTables(c.filePath(QStringLiteral("Daten")));
        ScriptedInteraction ui;
        BackupDialog dialog(c.filePath(QStringLiteral("Daten")), c.filePath(QStringLiteral("Sicherung")));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("LblZiel"))->text(),
                 c.filePath(QStringLiteral("Sicherung/00000002")));
        dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.findChild<QProgressBar*>(QStringLiteral("Gauge1"))->value(), 4);
        QCOMPARE(QDir(c.filePath(QStringLiteral("Sicherung/00000002"))).entryList(QDir::Files).size(), 4);
        QVERIFY(ui.shown().isEmpty());
    }

    // A file that fails is reported when the window closes, naming it.
    void windowReportsAnIncompleteBackup() {
        QTemporaryDir client;
        const QDir c(client.path());
        QVERIFY(c.mkpath(QStringLiteral("Daten")) && c.mkpath(QStringLiteral("Sicherung")));
        test::createClientTables(c.filePath(QStringLiteral("Daten")));
        QVERIFY(writeBytes(c.filePath(QStringLiteral("Daten/Serie.db")), QByteArray("SQLite format 3\0kaputt", 23)));
        ScriptedInteraction ui;
        BackupDialog dialog(c.filePath(QStringLiteral("Daten")), c.filePath(QStringLiteral("Sicherung")));
        dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Die Sicherung ist unvollständig. Diese Dateien konnten nicht "
                                                        "gesichert werden:\n\nSerie.db: Die Tabelle ist beschädigt")});
        QCOMPARE(ui.shown().first().kind, ScriptedInteraction::Kind::Warning);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(QFile::exists(c.filePath(QStringLiteral("Sicherung/00000001/Sicherung unvollständig.txt"))));
    }

    // Without the client's backup directory the target cannot be created: the message, and no copy.
    void windowReportsAMissingBackupDirectory() {
        QTemporaryDir client;
        const QDir c(client.path());
        QVERIFY(c.mkpath(QStringLiteral("Daten")));
        test::createClientTables(c.filePath(QStringLiteral("Daten")));
        ScriptedInteraction ui;
        BackupDialog dialog(c.filePath(QStringLiteral("Daten")), c.filePath(QStringLiteral("Sicherung")));
        QCOMPARE(dialog.targetDirectory(), c.filePath(QStringLiteral("Sicherung/00000001")));
        dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Verzeichnis kann nicht erstellt werden")});
        QCOMPARE(ui.shown().first().kind, ScriptedInteraction::Kind::Warning);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!c.exists(QStringLiteral("Sicherung")));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
