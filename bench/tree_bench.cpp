// Speed of loading and saving a tree file against plain Qt tree items, in one run.
#include "tree_bench.h"

#include "app/safe_file.h"
#include "controls/ui/tree_view2.h"
#include "data/collation.h"
#include "data/schema.h"
#include "data/table_file.h"
#include "data/treefile.h"
#include "mainwin/tree_search.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_mirror.h"
#include "tools/tree_rebuild.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace zep::bench {

namespace {

constexpr int runs = 20;
constexpr int topLevelEntries = 100;

// A tree like a grown address book: a hundred companies, every further entry below an earlier
// one. Returned in file order (pre-order) with levels.
QList<TreeFileRecord> generateTree(int addresses) {
    QRandomGenerator random(7);
    QList<QList<int>> children(addresses + 1); // node 0 is the root
    for (int i = 1; i <= addresses; ++i) {
        const int parent = i <= topLevelEntries ? 0 : int(random.bounded(1, i));
        children[parent].append(i);
    }
    QList<TreeFileRecord> records;
    records.reserve(addresses);
    std::function<void(int, int)> visit = [&](int node, int level) {
        for (const int child : std::as_const(children[node])) {
            const int baum = level == 1 ? 1 : -1;
            records.append({QStringLiteral("Firma %1 Müller").arg(random.bounded(100000)), level, child, baum});
            visit(child, level + 1);
        }
    };
    visit(0, 1);
    return records;
}

// The same hierarchy as plain items, built the quickest way Qt offers: detached, then added at once.
void insertPlainItems(QTreeWidget& tree, const QList<TreeFileRecord>& records) {
    auto* root = new QTreeWidgetItem(QStringList{QStringLiteral("Adressen")});
    QList<QTreeWidgetItem*> path{root};
    for (const TreeFileRecord& record : records) {
        path.resize(record.level);
        auto* item = new QTreeWidgetItem(path.last(), QStringList{record.name});
        path.append(item);
    }
    tree.addTopLevelItem(root);
}

// Best of a few runs, in milliseconds; prepare runs untimed before each.
double measure(const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void checkSqlite(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// An address table shaped like the generated tree above, written in one transaction.
void generateAddressTable(const QString& path, int addresses) {
    sqlite3* db = nullptr;
    checkSqlite(sqlite3_open(path.toUtf8().constData(), &db), db);
    registerCollation(db); // the name index needs it
    checkSqlite(sqlite3_exec(db, "DELETE FROM data; BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    checkSqlite(sqlite3_prepare_v2(db, "INSERT INTO data (Nr, Vor, Baum, Person, Name1, Name2) VALUES (?,?,?,?,?,?)",
                                   -1, &insert, nullptr),
                db);
    QRandomGenerator random(11);
    for (int i = 1; i <= addresses; ++i) {
        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_int(insert, 2, i <= topLevelEntries ? 0 : int(random.bounded(1, i)));
        sqlite3_bind_int(insert, 3, i <= topLevelEntries ? 1 : -1);
        sqlite3_bind_int(insert, 4, i % 3 == 0);
        const QByteArray name = QStringLiteral("Müller %1").arg(random.bounded(100000)).toUtf8();
        sqlite3_bind_text(insert, 5, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, "Anna", -1, SQLITE_STATIC);
        checkSqlite(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    checkSqlite(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

struct RawAddress {
    int nr, vor, baum, person;
    std::string name1, name2;
};

// The baseline: the same records read with the SQLite C API into plain structures, on a connection
// without its own mutex, as the engine opens its files.
std::vector<RawAddress> readRaw(const QString& path) {
    sqlite3* db = nullptr;
    checkSqlite(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr),
                db);
    sqlite3_stmt* select = nullptr;
    checkSqlite(sqlite3_prepare_v2(db, "SELECT Nr, Vor, Baum, Person, Name1, Name2 FROM data ORDER BY Nr", -1, &select,
                                   nullptr),
                db);
    std::vector<RawAddress> records;
    const auto text = [&](int column) {
        const auto* chars = reinterpret_cast<const char*>(sqlite3_column_text(select, column));
        return std::string(chars ? chars : "");
    };
    while (sqlite3_step(select) == SQLITE_ROW)
        records.push_back({sqlite3_column_int(select, 0), sqlite3_column_int(select, 1), sqlite3_column_int(select, 2),
                           sqlite3_column_int(select, 3), text(4), text(5)});
    sqlite3_finalize(select);
    sqlite3_close(db);
    return records;
}

// Best of runs in milliseconds, for each of several pieces of work run in turn, so that a busy
// machine slows them alike.
std::vector<double> bestInTurn(int runCount, const std::vector<std::function<void()>>& works) {
    std::vector<double> fastest(works.size(), 1e300);
    for (int i = 0; i < runCount; ++i) {
        for (size_t w = 0; w < works.size(); ++w) {
            QElapsedTimer timer;
            timer.start();
            works[w]();
            fastest[w] = std::min(fastest[w], timer.nsecsElapsed() / 1e6);
        }
    }
    return fastest;
}

// Runs work and returns its time in milliseconds.
double timed(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// A save beside the same bytes written as the safe write does, once with and once without bringing
// file and folder to the disk (fsync), in turn so that a busy disk slows them alike; best of runs in
// milliseconds. The unflushed write is flushed untimed after each turn, so that the next save does not
// pay for it. The plain Qt items never reach the disk: this shows how much of a save is the flush.
std::vector<double> saveAndWrites(const QTreeWidget& tree, const QString& directory, qsizetype size) {
    const QByteArray bytes(size, 'x');
    const QString copy = directory + QStringLiteral("/Kopie.dat");
    const QString target = directory + QStringLiteral("/Flush.dat");
    const QByteArray temporary = QFile::encodeName(directory + QStringLiteral("/.Flush.dat.tmp"));
    std::vector<double> fastest(3, 1e300);
    for (int i = 0; i < runs; ++i) {
        fastest[0] = std::min(fastest[0], timed([&] { SaveTreeFile(tree, copy); }));
        fastest[1] = std::min(fastest[1], timed([&] { writeFileSafely(target, bytes); }));
        fastest[2] = std::min(fastest[2], timed([&] {
                                  QFile file(QFile::decodeName(temporary));
                                  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
                                      std::fprintf(stderr, "write failed\n");
                                      std::exit(1);
                                  }
                                  file.close();
                                  std::rename(temporary.constData(), QFile::encodeName(target).constData());
                              }));
        writeFileSafely(target, bytes);
    }
    return fastest;
}

} // namespace

void runTreeBenchmark(int addresses) {
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Adressen.dat"));
    const QList<TreeFileRecord> records = generateTree(addresses);
    writeTreeFile(file, records);

    TTreeView2 ours;
    QTreeWidget plain;
    const double load =
        measure([&] { treeModel(ours).clear(); }, [&] { LoadTreeFile(ours, file, QStringLiteral("Adressen")); });
    const std::vector<double> writes = saveAndWrites(ours, dir.path(), records.size() * TreeRecordSize);
    const double save = writes[0];
    const double qt = measure([&] { plain.clear(); }, [&] { insertPlainItems(plain, records); });

    out << QStringLiteral("Baumdatei mit %1 Adressen: laden %2 ms, speichern %3 ms; Qt-Einträge einfügen %4 ms\n")
               .arg(addresses)
               .arg(load, 0, 'f', 1)
               .arg(save, 0, 'f', 1)
               .arg(qt, 0, 'f', 1);
    out << QStringLiteral("Faktor laden %1x, laden und speichern %2x (Ziel höchstens 1.5x)\n")
               .arg(load / qt, 0, 'f', 2)
               .arg((load + save) / qt, 0, 'f', 2);
    const double flush = std::max(0.0, writes[1] - writes[2]);
    out << QStringLiteral("  Davon fsync: dieselben Bytes sicher geschrieben %1 ms, ohne fsync %2 ms; ohne den "
                          "fsync-Anteil Faktor laden und speichern %3x (die Qt-Einträge erreichen die Platte nicht)\n")
               .arg(writes[1], 0, 'f', 1)
               .arg(writes[2], 0, 'f', 1)
               .arg((load + save - flush) / qt, 0, 'f', 2);
}

void runTreeRebuildBenchmark() {
    QTextStream out(stdout);
    out << QStringLiteral(
        "Baumstruktur neu einlesen (Baumdatei sicher geschrieben) gegen rohes Lesen der Datensätze:\n");
    double previousRebuild = 0;
    double previousCollect = 0;
    double previousRaw = 0;
    int previousSize = 0;
    for (const int addresses : {1000, 10000, 100000}) {
        QTemporaryDir dir;
        createTableFile(dir.filePath(QStringLiteral("Adressen.DB")), schema::addresses());
        generateAddressTable(dir.filePath(QStringLiteral("Adressen.DB")), addresses);
        const TreeRebuildJob job{dir.path(), QStringLiteral("Adressen.DB"), false,
                                 dir.filePath(QStringLiteral("Adressen.dat"))};
        const std::vector<TreeSourceEntry> entries = readTreeSourceEntries(job);
        const QList<TreeFileRecord> records = *collectTreeEntries(entries);
        const std::vector<double> times =
            bestInTurn(addresses >= 100000 ? 5 : 20,
                       {[&] { rebuildTreeFile(job); }, [&] { readRaw(job.directory + QStringLiteral("/Adressen.DB")); },
                        [&] { readTreeSourceEntries(job); }, [&] { collectTreeEntries(entries); },
                        [&] {
                            writeTreeFile(job.treeFile, records);
                        }});
        const double rebuild = times[0], raw = times[1], read = times[2], collect = times[3], write = times[4];
        out << QStringLiteral("  %1 Einträge: neu einlesen %2 ms (lesen %3, Reihenfolge %4, Baumdatei schreiben %5), "
                              "roh lesen %6 ms, Faktor %7x%8\n")
                   .arg(addresses, 6)
                   .arg(rebuild, 0, 'f', 1)
                   .arg(read, 0, 'f', 1)
                   .arg(collect, 0, 'f', 1)
                   .arg(write, 0, 'f', 1)
                   .arg(raw, 0, 'f', 1)
                   .arg(rebuild / raw, 0, 'f', 2)
                   .arg(addresses == 10000 ? QStringLiteral(" (Ziel höchstens 3x)") : QString());
        if (previousSize > 0) {
            const double nLogN =
                addresses * std::log(double(addresses)) / (previousSize * std::log(double(previousSize)));
            out << QStringLiteral("    Wachstum gegen %1: neu einlesen %2x, Reihenfolge %3x, roh lesen %4x; "
                                  "n log n %5x, n² %6x\n")
                       .arg(previousSize)
                       .arg(rebuild / previousRebuild, 0, 'f', 1)
                       .arg(collect / previousCollect, 0, 'f', 1)
                       .arg(raw / previousRaw, 0, 'f', 1)
                       .arg(nLogN, 0, 'f', 1)
                       .arg(double(addresses) / previousSize * addresses / previousSize, 0, 'f', 0);
        }
        previousRebuild = rebuild;
        previousCollect = collect;
        previousRaw = raw;
        previousSize = addresses;
    }
}

void runTreeSearchBenchmark() {
    QTextStream out(stdout);
    out << QStringLiteral("Suche im Baum ohne Treffer, flacher Baum, gegen dieselbe Prüfung über eine Liste:\n");
    const QString missing = QStringLiteral("zzz");
    double previousSearch = 0;
    int previousSize = 0;
    for (const int entries : {10000, 100000}) {
        QList<TreeFileRecord> records;
        std::vector<QString> captions;
        for (int i = 1; i <= entries; ++i) {
            records.append({QStringLiteral("Firma %1 Müller").arg(i), 1, i, -1});
            captions.push_back(records.last().name);
        }
        TreeModel model;
        model.setRecords(records, QStringLiteral("Adressen"));
        int listHits = 0;
        const std::vector<double> times = bestInTurn(20, {[&] { findEntryByCaption(model.first(), missing); },
                                                          [&] {
                                                              const QString folded = foldSearchText(missing);
                                                              for (const QString& caption : captions)
                                                                  listHits +=
                                                                      captionMatchesSearch(caption, folded) ? 1 : 0;
                                                          }});
        out << QStringLiteral("  %1 Einträge: Suche %2 ms, Liste %3 ms, Faktor %4x%5\n")
                   .arg(entries, 6)
                   .arg(times[0], 0, 'f', 2)
                   .arg(times[1], 0, 'f', 2)
                   .arg(times[0] / times[1], 0, 'f', 2)
                   .arg(listHits == 0 ? QString() : QStringLiteral(" (Treffer in der Liste?)"));
        if (previousSize > 0)
            out << QStringLiteral("    Wachstum gegen %1: Suche %2x (linear %3x)\n")
                       .arg(previousSize)
                       .arg(times[0] / previousSearch, 0, 'f', 1)
                       .arg(double(entries) / previousSize, 0, 'f', 0);
        previousSearch = times[0];
        previousSize = entries;
    }
}

} // namespace zep::bench
