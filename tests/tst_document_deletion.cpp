#include "data/table.h"
#include "documents/document_deletion.h"
#include "documents/filing_marks.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;

// A client's documents table with one document, its file in "Files" and a private trash.
class DeletionClient {
public:
    DeletionClient(const QVariant& nrFirma, const QVariant& nrThema, const QString& ext) {
        test::createClientTables(dataDir);
        QDir().mkpath(filesDir);
        QFile(filesDir + QStringLiteral("Brief Müller.odt")).open(QIODevice::WriteOnly);
        test::openTable(dok, dataDir, QStringLiteral("Dok.DB"));
        test::appendRecord(dok, {{QStringLiteral("NrFirma"), nrFirma},
                                 {QStringLiteral("NrThema"), nrThema},
                                 {QStringLiteral("Ext"), ext},
                                 {QStringLiteral("Titel"), QStringLiteral("Brief an Müller")},
                                 {QStringLiteral("Datei"), QStringLiteral("Brief Müller.odt")}});
    }
    bool fileThere() const { return QFile::exists(filesDir + QStringLiteral("Brief Müller.odt")); }

    QTemporaryDir tmp;
    QString dataDir = tmp.filePath(QStringLiteral("Daten"));
    QString filesDir = tmp.filePath(QStringLiteral("Files/"));
    Table dok;
};

class DocumentDeletionTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", trashHome_.path().toUtf8());
    }
    void cleanup() { qputenv("XDG_DATA_HOME", oldDataHome_); }

    void deletion_data() {
        QTest::addColumn<QVariant>("nrFirma");
        QTest::addColumn<QVariant>("nrThema");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<bool>("resubmissionView");
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<bool>("full");
        QTest::addColumn<bool>("fileOffered");
        QTest::addColumn<bool>("fileKept");
        // Filed under both: only the link to the address view goes, the file is not offered.
        QTest::newRow("both links, address view")
            << QVariant(3) << QVariant(2) << "odt" << false << true << false << false << true;
        QTest::newRow("both links, resubmission view")
            << QVariant(3) << QVariant(2) << "odt" << true << true << true << true << false;
        QTest::newRow("no topic, file kept")
            << QVariant(3) << QVariant(-1) << "odt" << false << false << true << true << true;
        QTest::newRow("no topic, file to the trash")
            << QVariant(3) << QVariant(-1) << "odt" << false << true << true << true << false;
        QTest::newRow("null address link counts as none")
            << QVariant() << QVariant(2) << "odt" << false << true << true << true << false;
        QTest::newRow("a note never touches a file")
            << QVariant(3) << QVariant(-1) << "---" << false << true << true << false << true;
    }

    void deletion() {
        QFETCH(QVariant, nrFirma);
        QFETCH(QVariant, nrThema);
        QFETCH(QString, ext);
        QFETCH(bool, resubmissionView);
        QFETCH(bool, withFile);
        QFETCH(bool, full);
        QFETCH(bool, fileOffered);
        QFETCH(bool, fileKept);
        DeletionClient client(nrFirma, nrThema, ext);
        const DocumentDeletion plan = planDocumentDeletion(client.dok, resubmissionView);
        QCOMPARE(plan.full, full);
        QCOMPARE(plan.fileOffered, fileOffered);
        QCOMPARE(plan.title, QStringLiteral("Brief an Müller"));

        QCOMPARE(deleteDocument(client.dok, plan, withFile, QStringLiteral("NrFirma"), client.filesDir), QString());

        Table fresh;
        test::openTable(fresh, client.dataDir, QStringLiteral("Dok.DB"));
        QCOMPARE(fresh.recordCount(), full ? 0 : 1);
        if (!full) {
            QCOMPARE(fresh.field(u"NrFirma").asInteger(), -1);
            QCOMPARE(fresh.field(u"NrThema").asInteger(), 2);
        }
        QCOMPARE(client.fileThere(), fileKept);
    }

    // A trash that cannot be made: the file stays and is named, and so does its document, unmarked.
    void fileThatCannotGoIntoTheTrashIsNamed() {
        DeletionClient client(3, -1, QStringLiteral("odt"));
        const QString blocker = client.tmp.filePath(QStringLiteral("blocker"));
        QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
        qputenv("XDG_DATA_HOME", (blocker + QStringLiteral("/xdg")).toUtf8());
        const DocumentDeletion plan = planDocumentDeletion(client.dok, false);
        QCOMPARE(deleteDocument(client.dok, plan, true, QStringLiteral("NrFirma"), client.filesDir),
                 QStringLiteral("Die Datei \"%1Brief Müller.odt\" konnte nicht in den Papierkorb verschoben werden. "
                                "Das Dokument wurde nicht gelöscht.")
                     .arg(client.filesDir));
        QVERIFY(client.fileThere());
        Table fresh;
        test::openTable(fresh, client.dataDir, QStringLiteral("Dok.DB"));
        QCOMPARE(fresh.recordCount(), 1);
        QCOMPARE(filingMarkOf(fresh), FilingMark::None);
    }

    // A document whose Datei is empty or names a folder: deleting it "with its file" trashes no folder.
    void damagedDateiNeverTrashesAFolder_data() {
        QTest::addColumn<QString>("datei");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "  ";
        QTest::newRow("a folder") << "Unterordner";
    }
    void damagedDateiNeverTrashesAFolder() {
        QFETCH(QString, datei);
        DeletionClient client(3, -1, QStringLiteral("odt"));
        QVERIFY(QDir().mkpath(client.filesDir + QStringLiteral("Unterordner")));
        client.dok.edit();
        client.dok.field(u"Datei").setValue(datei);
        client.dok.post();
        const DocumentDeletion plan = planDocumentDeletion(client.dok, false);
        QCOMPARE(deleteDocument(client.dok, plan, true, QStringLiteral("NrFirma"), client.filesDir), QString());
        QCOMPARE(client.dok.recordCount(), 0);
        QVERIFY(client.fileThere());
        QVERIFY(QFileInfo(client.filesDir + QStringLiteral("Unterordner")).isDir());
    }

    // A Datei that is neither a bare name nor a full path names no file of the client: deleting its
    // document "with its file" is refused before anything changes, also where the working directory
    // holds a file of that name.
    void relativeDateiIsRefused_data() {
        QTest::addColumn<QString>("datei");
        QTest::newRow("into a folder") << "sub/x.odt";
        QTest::newRow("out of the client") << "../outside/x.odt";
        QTest::newRow("dot folder") << "./x.odt";
    }
    void relativeDateiIsRefused() {
        QFETCH(QString, datei);
        DeletionClient client(3, -1, QStringLiteral("odt"));
        const QString work = client.tmp.filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(work + QStringLiteral("/sub")));
        QVERIFY(QDir().mkpath(client.tmp.filePath(QStringLiteral("outside"))));
        const QString reached = QDir(work).filePath(datei);
        QVERIFY(QFile(reached).open(QIODevice::WriteOnly));
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        const auto restore = qScopeGuard([&] { QDir::setCurrent(oldCurrent); });
        client.dok.edit();
        client.dok.field(u"Datei").setValue(datei);
        client.dok.post();
        const DocumentDeletion plan = planDocumentDeletion(client.dok, false);

        QCOMPARE(deleteDocument(client.dok, plan, true, QStringLiteral("NrFirma"), client.filesDir),
                 QStringLiteral("Die Datei \"%1\" ist weder ein bloßer Name (ohne \"/\") im Ordner \"Files\" des "
                                "Mandanten noch ein vollständiger Pfad (mit \"/\" am Anfang); ZEP verwendet sie nicht.")
                     .arg(datei));
        QCOMPARE(client.dok.recordCount(), 1);
        QVERIFY(QFileInfo(reached).isFile());
        QVERIFY(!QFileInfo::exists(trashHome_.filePath(QStringLiteral("Trash/files/x.odt"))));
        // Without its file the record goes, and still no file is touched.
        QCOMPARE(deleteDocument(client.dok, plan, false, QStringLiteral("NrFirma"), client.filesDir), QString());
        QCOMPARE(client.dok.recordCount(), 0);
        QVERIFY(QFileInfo(reached).isFile());
    }

private:
    QTemporaryDir trashHome_;
    QByteArray oldDataHome_;
};

QTEST_GUILESS_MAIN(DocumentDeletionTest)
#include "tst_document_deletion.moc"
