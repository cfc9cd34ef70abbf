#pragma once

#include <QString>

#include <functional>
#include <sqlite3.h>

namespace zep::bench {

// Ends the program with SQLite's message when a call failed.
void check(int rc, sqlite3* db);
// A table file opened raw, with the program's collation and write settings.
sqlite3* openRaw(const QString& path);
// An in-memory connection with the documents attached as "dok" and the addresses as "adr".
sqlite3* rawQueryConnection(const QString& dataDir);
// Steps a statement and reads every column the way a caller would keep it.
long long readAll(sqlite3_stmt* statement);

// Best of a few runs, in milliseconds.
double measure(int runs, const std::function<void()>& work);
// One line: what, our time, the raw time, their ratio.
void report(const QString& what, double ours, double raw);

} // namespace zep::bench
