#pragma once

#include <QString>

namespace zep::bench {

// Backs up the client's data directory as the backup window does (snapshots of the tables, their
// integrity checks, byte copies of the other files), beside "cp -r" of the same directory, and
// prints the times and their ratio (goal: 1.5 at most); also beside "cp -r" followed by "sync" of the copies, as the
// backup puts every copy on disk before it reports success.
void runBackupBenchmark(const QString& dataDir);

} // namespace zep::bench
