// Filing a record together with its placed file when finishing the file fails.
#include "data/table.h"
#include "documents/file_placement.h"
#include "documents/placed_filing.h"
#include "file_bytes.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;

class PlacedFilingTest : public QObject {
    Q_OBJECT

private slots:
    // A copy that cannot be taken back stays filed under its record, and
    // the reason its finishing failed is not swallowed.
    void unfinishedFileThatStaysReportsWhy() {
        QTemporaryDir tmp;
        const QString dataDir = tmp.filePath(QStringLiteral("Daten"));
        const QString filesDir = tmp.filePath(QStringLiteral("Files"));
        test::createClientTables(dataDir);
        QVERIFY(QDir().mkpath(filesDir));
        const QString source = tmp.filePath(QStringLiteral("Brief.odt"));
        QVERIFY(test::writeBytes(source, "Brief"));
        const QString target = filesDir + QStringLiteral("/Brief00001.odt");
        Table dok;
        test::openTable(dok, dataDir, QStringLiteral("Dok.DB"));
        dok.append();
        dok.field(u"NrFirma").setValue(1);
        dok.field(u"Datei").setValue(QStringLiteral("Brief00001.odt"));
        FilePlacement placement(source, target, FileHandling::Copy);
        QCOMPARE(placement.prepare(), QString());
        // Something takes the copy's place that removing it cannot undo: a folder with a file in it.
        const PlacedFiling filing = postWithPlacedFile(
            dok, placement, [](Table& t) { t.deleteRecord(); },
            [&] {
                QFile::remove(target);
                QDir().mkpath(target);
                test::writeBytes(target + QStringLiteral("/darin"), "x");
                return QStringLiteral("Die Datei ist nicht beschreibbar.");
            });
        QVERIFY(filing.filed);
        QCOMPARE(filing.message, QStringLiteral("Die Datei ist nicht beschreibbar."));
        QVERIFY(QFileInfo(target).isDir());
        QCOMPARE(dok.recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(PlacedFilingTest)
#include "tst_placed_filing.moc"
