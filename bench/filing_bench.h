#pragma once

#include <QString>

namespace zep::bench {

// Files a batch of small files as "Dokumente hinzufügen" does (copied into "Files", one record each)
// beside a plain file copy with one raw insert per file.
void runFilingBenchmark(const QString& dataDir, int files);

} // namespace zep::bench
