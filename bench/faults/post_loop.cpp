// Posts address records one by one and, after each post, rewrites a tree file and an ini value
// through the program's own writers. Each acknowledged post prints its number on stdout. Used by
// kill_loop.sh (killed at random moments) and full_disk.sh (run until the disk is full).
//   zep-post-loop run <dir> [limit]    post until killed, until limit posts, or 20 failures
//   zep-post-loop check <dir> <acks>   compare the directory with the acknowledged numbers
#include "app/profile_file.h"
#include "data/collation.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/schema.h"
#include "data/table.h"
#include "data/table_file.h"
#include "data/treefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>
#include <cstdio>
#include <sqlite3.h>

using namespace zep;

namespace {

QTextStream out(stdout);

QString tablePath(const QString& dir) {
    return QDir(dir).filePath(QStringLiteral("Adressen.DB"));
}

QList<TreeFileRecord> treeOf(int count) {
    QList<TreeFileRecord> records;
    for (int i = 1; i <= count; ++i)
        records.append({QStringLiteral("Satz %1").arg(i), 1, i, 1});
    return records;
}

int run(const QString& dir, int limit) {
    if (!QFileInfo::exists(tablePath(dir)))
        createTableFile(tablePath(dir), schema::addresses());
    Table adr;
    adr.setDirectory(dir);
    adr.setTableName(QStringLiteral("Adressen.DB"));
    adr.open();
    const ProfileFile ini(QDir(dir).filePath(QStringLiteral("Mand.ini")));
    int failures = 0;
    for (int posted = adr.recordCount(); posted < limit && failures < 20;) {
        try {
            adr.append();
            adr.field(u"Name1").setValue(QStringLiteral("Satz %1").arg(posted + 1));
            adr.field(u"Vor").setValue(0);
            adr.post();
            ++posted;
            out << "ok " << adr.field(u"Nr").asInteger() << Qt::endl;
        } catch (const EngineError& error) {
            adr.cancel();
            ++failures;
            out << "Fehler Tabelle: " << QString(error.message()).replace(u'\n', u' ') << Qt::endl;
        }
        try {
            writeTreeFile(QDir(dir).filePath(QStringLiteral("Adressen.dat")), treeOf(posted));
        } catch (const FileError& error) {
            ++failures;
            out << "Fehler Baumdatei: " << error.message() << Qt::endl;
        }
        if (!ini.writeInteger(u"Zaehler", u"Stand", posted)) {
            ++failures;
            out << "Fehler Mand.ini: nicht gespeichert" << Qt::endl;
        }
    }
    return 0;
}

// Read-write, as the program opens a table: a journal left by a kill is rolled back first.
QString integrity(const QString& path) {
    sqlite3* db = nullptr;
    QString result = QStringLiteral("nicht zu öffnen");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        registerCollation(db);
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

int check(const QString& dir, const QString& acks) {
    QSet<qint64> acknowledged;
    QFile ackFile(acks);
    if (ackFile.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : ackFile.readAll().split('\n'))
            if (line.startsWith("ok "))
                acknowledged.insert(line.mid(3).toLongLong());
    }
    int damaged = 0;
    const QString tableState = integrity(tablePath(dir));
    if (tableState != u"ok")
        ++damaged;
    Table adr;
    adr.setDirectory(dir);
    adr.setTableName(QStringLiteral("Adressen.DB"));
    adr.open();
    QSet<qint64> present;
    for (adr.first(); !adr.eof(); adr.next())
        present.insert(adr.field(u"Nr").asInteger());
    int lost = 0;
    for (qint64 nr : acknowledged)
        lost += present.contains(nr) ? 0 : 1;
    // A small file may lag behind the table after a failed write (the old file is kept), but it must
    // always be one complete content.
    QString treeState;
    try {
        const QList<TreeFileRecord> records = readTreeFile(QDir(dir).filePath(QStringLiteral("Adressen.dat")));
        treeState = records == treeOf(int(records.size())) ? QStringLiteral("%1 Einträge").arg(records.size())
                                                           : QStringLiteral("falscher Inhalt");
    } catch (const FileError& error) {
        treeState = error.message();
    }
    if (!treeState.endsWith(u"Einträge"))
        ++damaged;
    const int iniValue =
        ProfileFile(QDir(dir).filePath(QStringLiteral("Mand.ini"))).readInteger(u"Zaehler", u"Stand", -1);
    if (iniValue < 0)
        ++damaged;
    out << "bestätigt " << acknowledged.size() << ", vorhanden " << present.size() << ", verloren " << lost
        << ", beschädigte Dateien " << damaged << " (Tabelle: " << tableState << ", Baumdatei: " << treeState
        << ", Mand.ini Stand: " << iniValue << ")" << Qt::endl;
    return lost == 0 && damaged == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() >= 3 && args[1] == u"run")
            return run(args[2], args.size() > 3 ? args[3].toInt() : 1'000'000);
        if (args.size() == 4 && args[1] == u"check")
            return check(args[2], args[3]);
    } catch (const std::exception& error) {
        out << "Abbruch: " << QString::fromUtf8(error.what()) << Qt::endl;
        return 2;
    }
    std::fprintf(stderr, "zep-post-loop run <dir> [limit] | check <dir> <acks>\n");
    return 2;
}
