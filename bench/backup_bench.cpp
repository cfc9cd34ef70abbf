#include "backup_bench.h"

#include "bench_support.h"
#include "tools/backup.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

namespace zep::bench {

void runBackupBenchmark(const QString& dataDir) {
    QTemporaryDir targets;
    int round = 0;
    const double ours = measure(3, [&] {
        const QString target = targets.filePath(QStringLiteral("ZEP%1").arg(++round));
        QDir().mkdir(target);
        if (!backupClientData(dataDir, target).complete()) {
            qWarning("Sicherung unvollständig");
            std::exit(1);
        }
    });
    const double copy = measure(3, [&] {
        const QString target = targets.filePath(QStringLiteral("cp%1").arg(++round));
        if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), dataDir, target}) != 0) {
            qWarning("cp -r fehlgeschlagen");
            std::exit(1);
        }
    });
    const double copyAndSync = measure(3, [&] {
        const QString target = targets.filePath(QStringLiteral("cp%1").arg(++round));
        QStringList copies;
        for (const QString& name : backupSourceFiles(dataDir))
            copies.append(QDir(target).filePath(name));
        if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), dataDir, target}) != 0 ||
            QProcess::execute(QStringLiteral("sync"), copies) != 0) {
            qWarning("cp -r oder sync fehlgeschlagen");
            std::exit(1);
        }
    });
    report(QStringLiteral("Datensicherung (gegen cp -r)"), ours, copy);
    report(QStringLiteral("Datensicherung (gegen cp -r + sync)"), ours, copyAndSync);
}

} // namespace zep::bench
