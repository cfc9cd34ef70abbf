#pragma once

#include <QString>

namespace zep::bench {

// Opens the generated tables of a client directory in the main window, as a user would, and
// measures selecting another address (filter switch, document rule, first screen of the list drawn)
// and a header click (new SQL, reopen, first screen drawn) beside the raw SQLite queries that answer
// the same question: the filtered count and the sorted read. Needs a QApplication.
void runDocumentListBenchmark(const QString& clientDir, int addresses);

} // namespace zep::bench
