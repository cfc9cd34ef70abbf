#include "bench_support.h"

#include "data/collation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

namespace zep::bench {

void check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

sqlite3* openRaw(const QString& path) {
    sqlite3* db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db);
    registerCollation(db); // the name index of the address table needs it
    check(sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr), db);
    return db;
}

sqlite3* rawQueryConnection(const QString& dataDir) {
    sqlite3* db = nullptr;
    check(sqlite3_open(":memory:", &db), db);
    const QString attach = QStringLiteral("ATTACH '%1' AS dok; ATTACH '%2' AS adr")
                               .arg(QDir(dataDir).filePath(QStringLiteral("Dok.DB")),
                                    QDir(dataDir).filePath(QStringLiteral("Adressen.DB")));
    check(sqlite3_exec(db, attach.toUtf8().constData(), nullptr, nullptr, nullptr), db);
    return db;
}

long long readAll(sqlite3_stmt* s) {
    long long cells = 0;
    const int columns = sqlite3_column_count(s);
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(s, c) == SQLITE_INTEGER) {
                cells += sqlite3_column_int64(s, c) != 0;
            } else {
                const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, c)),
                                                       sqlite3_column_bytes(s, c));
                cells += !text.isEmpty();
            }
        }
    }
    sqlite3_reset(s);
    return cells;
}

double measure(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void report(const QString& what, double ours, double raw) {
    QTextStream out(stdout);
    out << QStringLiteral("%1 %2 ms %3 ms %4x\n")
               .arg(what, -42)
               .arg(ours, 10, 'f', 1)
               .arg(raw, 10, 'f', 1)
               .arg(ours / raw, 6, 'f', 2);
}

} // namespace zep::bench
