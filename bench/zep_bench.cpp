// Speed of the table engine against the same work done with raw SQLite calls, in one run.
// Run by hand: ./build/zep-bench [documents] [addresses]
#include "data/query.h"
#include "data/schema.h"
#include "data/table.h"

#include "backup_bench.h"
#include "bench_support.h"
#include "document_list_bench.h"
#include "filing_bench.h"
#include "tree_bench.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

using namespace zep;
using namespace zep::bench;

namespace {

QTextStream out(stdout);

// Fills the tables quickly in one transaction; not measured.
void generate(const QString& dir, int documents, int addresses) {
    for (const TableLayout* layout : schema::clientTables())
        createTableFile(QDir(dir).filePath(layout->name), *layout);
    QRandomGenerator random(42);
    sqlite3* adr = openRaw(QDir(dir).filePath(QStringLiteral("Adressen.DB")));
    check(sqlite3_exec(adr, "BEGIN", nullptr, nullptr, nullptr), adr);
    sqlite3_stmt* s = nullptr;
    check(sqlite3_prepare_v2(adr, "INSERT INTO data (Vor, Baum, Person, Name1, Name2, Ort) VALUES (?,?,?,?,?,?)", -1,
                             &s, nullptr),
          adr);
    for (int i = 1; i <= addresses; ++i) {
        sqlite3_bind_int(s, 1, i <= 100 ? 0 : int(random.bounded(1, i)));
        sqlite3_bind_int(s, 2, -1);
        sqlite3_bind_int(s, 3, i % 3 == 0);
        const QByteArray name = QStringLiteral("Firma %1 Müller").arg(random.bounded(100000)).toUtf8();
        sqlite3_bind_text(s, 4, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 5, "Anna", -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 6, "Köln", -1, SQLITE_STATIC);
        check(sqlite3_step(s), adr);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    check(sqlite3_exec(adr, "COMMIT", nullptr, nullptr, nullptr), adr);
    sqlite3_close(adr);

    sqlite3* dok = openRaw(QDir(dir).filePath(QStringLiteral("Dok.DB")));
    check(sqlite3_exec(dok, "BEGIN", nullptr, nullptr, nullptr), dok);
    check(sqlite3_prepare_v2(dok,
                             "INSERT INTO data (NrFirma, NrThema, Ext, Titel, Art, Datei, Autor, EDatum, ADatum, WTyp, "
                             "WTag, Offen) VALUES (?,?,?,?,?,?,?,?,?,?,?,0)",
                             -1, &s, nullptr),
          dok);
    for (int i = 1; i <= documents; ++i) {
        sqlite3_bind_int(s, 1, int(random.bounded(0, addresses + 1)));
        sqlite3_bind_int(s, 2, int(random.bounded(-1, 200)));
        sqlite3_bind_text(s, 3, "odt", -1, SQLITE_STATIC);
        const QByteArray title = QStringLiteral("Schreiben %1 über Änderungen").arg(random.bounded(1000000)).toUtf8();
        sqlite3_bind_text(s, 4, title.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 5, "Brief", -1, SQLITE_STATIC);
        const QByteArray file = QStringLiteral("Brief%1.odt").arg(i, 5, 10, QLatin1Char('0')).toUtf8();
        sqlite3_bind_text(s, 6, file.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 7, "Sekretariat", -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 8, "2026-11-30", -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 9, "2026-12-01", -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 10, i % 7 == 0 ? "T" : "", -1, SQLITE_STATIC);
        sqlite3_bind_int(s, 11, 46363);
        check(sqlite3_step(s), dok);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    check(sqlite3_exec(dok, "COMMIT", nullptr, nullptr, nullptr), dok);
    sqlite3_close(dok);
}

const char* kRawJoin = "SELECT d.Nr, d.Datei, d.Ext, d.NrFirma, d.NrThema, d.WTyp, d.WTag, d.WDatum, d.Titel, d.Art, "
                       "a.Name1 AS Adresse FROM dok.data d LEFT JOIN adr.data a ON d.NrFirma = a.Nr ";

QString documentSql() {
    return QStringLiteral("SELECT Nr, Datei, Ext, NrFirma, NrThema, WTyp, WTag, WDatum\n ,Titel ,Art ,a.Name1 as "
                          "Adresse\nFROM dok.db\nLEFT JOIN adressen.db a ON NrFirma = a.Nr\nORDER BY Titel ASC, Nr");
}

void benchOpen(const QString& dir) {
    Query query;
    query.setDirectory(dir);
    query.setSql(documentSql());
    const double ours = measure(3, [&] {
        query.close();
        query.open();
    });
    sqlite3* db = rawQueryConnection(dir);
    const QByteArray sql = QByteArray(kRawJoin) + "ORDER BY d.Titel ASC, d.Nr";
    const double raw = measure(3, [&] {
        sqlite3_stmt* s = nullptr;
        check(sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr), db);
        readAll(s);
        sqlite3_finalize(s);
    });
    sqlite3_close(db);
    report(QStringLiteral("Dokumentabfrage öffnen (Join, Sortierung)"), ours, raw);
}

void benchFilterSwitch(const QString& dir, int addresses) {
    Query query;
    query.setDirectory(dir);
    query.setSql(documentSql());
    query.open();
    QRandomGenerator random(7);
    std::vector<int> entries(1000);
    for (int& e : entries)
        e = int(random.bounded(1, addresses + 1));
    const double ours = measure(1, [&] {
        for (int e : entries) {
            query.setFilterText(QStringLiteral("(NrFirma=0) OR (NrFirma=%1)").arg(e));
            query.setFiltered(true);
            query.first();
        }
    });
    sqlite3* db = rawQueryConnection(dir);
    const QByteArray sql = QByteArray(kRawJoin) + "WHERE d.NrFirma = 0 OR d.NrFirma = ? ORDER BY d.Titel ASC, d.Nr";
    sqlite3_stmt* s = nullptr;
    check(sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr), db);
    const double raw = measure(1, [&] {
        for (int e : entries) {
            sqlite3_bind_int(s, 1, e);
            readAll(s);
        }
    });
    sqlite3_finalize(s);
    sqlite3_close(db);
    report(QStringLiteral("Eintragsfilter wechseln (1.000 Einträge)"), ours, raw);
}

void benchKeySearch(const QString& dir, int documents) {
    Table dok;
    dok.setDirectory(dir);
    dok.setTableName(QStringLiteral("Dok.DB"));
    dok.open();
    QRandomGenerator random(9);
    std::vector<int> keys(10000);
    for (int& k : keys)
        k = int(random.bounded(1, documents + 1));
    long long found = 0;
    const double ours = measure(3, [&] {
        for (int k : keys)
            found += dok.findKey({k}) && !dok.field(u"Titel").asString().isEmpty();
    });
    sqlite3* db = openRaw(QDir(dir).filePath(QStringLiteral("Dok.DB")));
    sqlite3_stmt* s = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT * FROM data WHERE Nr = ?", -1, &s, nullptr), db);
    const double raw = measure(3, [&] {
        for (int k : keys) {
            sqlite3_bind_int(s, 1, k);
            found += readAll(s) > 0;
        }
    });
    sqlite3_finalize(s);
    sqlite3_close(db);
    report(QStringLiteral("Exakte Schlüsselsuche (10.000 mal)"), ours, raw);
}

void benchPosts(const QString& dir, int posts) {
    const QString ourFile = QDir(dir).filePath(QStringLiteral("Posts.DB"));
    const QString rawFile = QDir(dir).filePath(QStringLiteral("PostsRaw.DB"));
    TableLayout layout = schema::documents();
    createTableFile(ourFile, layout);
    createTableFile(rawFile, layout);
    Table dok;
    dok.setDirectory(dir);
    dok.setTableName(QStringLiteral("Posts.DB"));
    dok.open();
    const double ours = measure(1, [&] {
        for (int i = 0; i < posts; ++i) {
            dok.append();
            dok.field(u"NrFirma").setValue(i % 500);
            dok.field(u"NrThema").setValue(-1);
            dok.field(u"Titel").setValue(QStringLiteral("Brief %1").arg(i));
            dok.field(u"Ext").setValue(QStringLiteral("odt"));
            dok.post();
        }
    });
    sqlite3* db = openRaw(rawFile);
    sqlite3_stmt* s = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO data (NrFirma, NrThema, Titel, Ext) VALUES (?,?,?,?)", -1, &s, nullptr),
          db);
    const double raw = measure(1, [&] {
        for (int i = 0; i < posts; ++i) {
            sqlite3_bind_int(s, 1, i % 500);
            sqlite3_bind_int(s, 2, -1);
            const QByteArray title = QStringLiteral("Brief %1").arg(i).toUtf8();
            sqlite3_bind_text(s, 3, title.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 4, "odt", -1, SQLITE_STATIC);
            check(sqlite3_step(s), db);
            sqlite3_reset(s);
        }
    });
    sqlite3_finalize(s);
    sqlite3_close(db);
    report(QStringLiteral("Einzelne Buchungen (%1, je eine Transaktion)").arg(posts), ours, raw);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // the tree measurement needs widgets, not a screen
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    // "baum": only the tree measurements, which need no generated client.
    if (args.size() > 1 && args[1] == QStringLiteral("baum")) {
        runTreeBenchmark(args.size() > 2 ? args[2].toInt() : 10000);
        runTreeRebuildBenchmark();
        runTreeSearchBenchmark();
        return 0;
    }
    const int documents = args.size() > 1 ? args[1].toInt() : 100000;
    const int addresses = args.size() > 2 ? args[2].toInt() : 10000;
    const int posts = args.size() > 3 ? args[3].toInt() : 10000;
    QTemporaryDir tmp;
    // The tables lie where a client keeps them, so that the main window can open them as a client.
    const QString clientDir = tmp.filePath(QStringLiteral("Bench"));
    const QString dataDir = clientDir + QStringLiteral("/Daten");
    QDir().mkpath(dataDir);
    out << QStringLiteral("%1 Dokumente, %2 Adressen\n").arg(documents).arg(addresses);
    generate(dataDir, documents, addresses);
    out << QStringLiteral("%1 %2    %3    Faktor\n")
               .arg(QStringLiteral("Messung"), -42)
               .arg(QStringLiteral("ZEP"), 10)
               .arg(QStringLiteral("SQLite roh"), 10);
    out.flush();
    runBackupBenchmark(dataDir);
    runFilingBenchmark(dataDir, 300);
    benchOpen(dataDir);
    benchFilterSwitch(dataDir, addresses);
    benchKeySearch(dataDir, documents);
    benchPosts(dataDir, posts);
    runDocumentListBenchmark(clientDir, addresses);
    runTreeBenchmark(addresses);
    runTreeRebuildBenchmark();
    runTreeSearchBenchmark();
    return 0;
}
