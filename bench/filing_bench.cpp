#include "filing_bench.h"

#include "bench_support.h"
#include "data/table.h"
#include "documents/document_filing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>

namespace zep::bench {

namespace {

QStringList incomingFiles(const QString& dir, int count) {
    const QByteArray content(4096, 'x');
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << QDir(dir).filePath(QStringLiteral("Beleg %1.pdf").arg(i));
        QFile file(paths.last());
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            qWarning("Eingangsdatei nicht geschrieben");
            std::exit(1);
        }
    }
    return paths;
}

} // namespace

void runFilingBenchmark(const QString& dataDir, int files) {
    QTemporaryDir work;
    const QStringList paths = incomingFiles(work.path(), files);
    const QString filesDir = work.filePath(QStringLiteral("Files/"));
    const QString plainDir = work.filePath(QStringLiteral("plain/"));
    QDir().mkpath(filesDir);
    QDir().mkpath(plainDir);
    Table documents;
    documents.setDirectory(dataDir);
    documents.setTableName(QStringLiteral("Dok.DB"));
    documents.open();
    const double ours = measure(3, [&] {
        const FilingRun run =
            fileDocuments(documents, {QStringLiteral("NrFirma"), 1, filesDir}, paths, FileHandling::Copy, nullptr);
        if (!run.error.isEmpty() || run.filed != files) {
            qWarning("Ablegen fehlgeschlagen: %s", qPrintable(run.error));
            std::exit(1);
        }
    });
    documents.close();
    sqlite3* db = openRaw(QDir(dataDir).filePath(QStringLiteral("Dok.DB")));
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO data (NrFirma, Offen, Titel, Datei, EDatum, Ext) "
                             "VALUES (1, 0, ?1, ?1, '2026-12-11', 'pdf')",
                             -1, &insert, nullptr),
          db);
    int round = 0;
    const double plain = measure(3, [&] {
        ++round;
        for (const QString& path : paths) {
            const QString name = QStringLiteral("%1-%2").arg(round).arg(QFileInfo(path).fileName());
            if (!QFile::copy(path, plainDir + name)) {
                qWarning("Kopie fehlgeschlagen");
                std::exit(1);
            }
            const QByteArray utf8 = name.toUtf8();
            sqlite3_bind_text(insert, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            check(sqlite3_step(insert) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db), db);
            sqlite3_reset(insert);
        }
    });
    sqlite3_finalize(insert);
    sqlite3_close(db);
    report(QStringLiteral("%1 Dateien ablegen (gegen Kopie + Einfügen)").arg(files), ours, plain);
}

} // namespace zep::bench
