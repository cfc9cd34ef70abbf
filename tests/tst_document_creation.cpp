#include "data/engine_error.h"
#include "data/table.h"
#include "documents/document_creation.h"
#include "documents/note_filing.h"
#include "file_bytes.h"
#include "small_disk.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace zep;
using zep::test::readBytes;
using zep::test::SmallDisk;
using zep::test::writeBytes;

namespace {

constexpr int DateiWidth = 200;

int recordCount(Table& table) {
    table.refresh();
    return table.recordCount();
}

const QString Refused = QStringLiteral("<refused>");

} // namespace

class DocumentCreationTest : public QObject {
    Q_OBJECT

private slots:
    // "Files" holds Angebot00001.doc and Angebot00003.doc: the gap 00002 is taken first.
    void numbersTheTitle_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("fileName"); // Refused: a German message instead
        QTest::newRow("title with template extension") << "Brief"
                                                       << "Brief.doc"
                                                       << "Brief00001.doc";
        QTest::newRow("gap reused") << "Angebot"
                                    << "Brief.doc"
                                    << "Angebot00002.doc";
        QTest::newRow("five-digit tail dropped") << "Rechnung 12345"
                                                 << "Brief.doc"
                                                 << "Rechnung 00001.doc";
        QTest::newRow("title of five digits kept") << "12345"
                                                   << "Brief.doc"
                                                   << "1234500001.doc";
        QTest::newRow("extension in the template's case") << "Brief"
                                                          << "Vorlage.DOC"
                                                          << "Brief00001.DOC";
        QTest::newRow("dot inside the title") << "Version 1.2"
                                              << "Brief.odt"
                                              << "Version 1.200001.odt";
        QTest::newRow("umlauts and blanks") << "Größe für Müller"
                                            << "Brief.odt"
                                            << "Größe für Müller00001.odt";
        QTest::newRow("backslash is a character on Linux") << "a\\b"
                                                           << "Brief.odt"
                                                           << "a\\b00001.odt";
        QTest::newRow("slash") << "Briefe/Müller"
                               << "Brief.odt" << Refused;
        QTest::newRow("absolute path") << "/etc/passwd"
                                       << "Brief.odt" << Refused;
        QTest::newRow("parent directory") << "../Daten"
                                          << "Brief.odt" << Refused;
        QTest::newRow("NUL") << QStringLiteral("Brief") + QChar(0) + QStringLiteral("Müller") << "Brief.odt" << Refused;
        QTest::newRow("one dot") << "."
                                 << "Brief.odt" << Refused;
        QTest::newRow("two dots") << ".."
                                  << "Brief.odt" << Refused;
        QTest::newRow("many dots") << "....."
                                   << "Brief.odt" << Refused;
        // 191 + 5 + 4 characters fill Dok.DB's "Datei" exactly; one more would cut the name.
        QTest::newRow("as long as Datei holds")
            << QString(191, u'x') << "Brief.odt" << QString(191, u'x') + "00001.odt";
        QTest::newRow("longer than Datei holds") << QString(192, u'x') << "Brief.odt" << Refused;
        // 125 umlauts are 250 bytes: with number and extension more than a file name takes.
        QTest::newRow("longer than the file system takes") << QString(125, u'ä') << "Brief.odt" << Refused;
    }
    void numbersTheTitle() {
        QFETCH(QString, title);
        QFETCH(QString, templateName);
        QFETCH(QString, fileName);
        QTemporaryDir files;
        const QDir dir(files.path());
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("Angebot00001.doc")), "1"));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("Angebot00003.doc")), "3"));
        const NewDocumentFile target =
            newDocumentFile(title, QStringLiteral("/vorlagen/") + templateName, files.path() + u'/', DateiWidth);
        if (fileName == Refused) {
            QVERIFY(target.path.isEmpty());
            QVERIFY2(!target.refusal.isEmpty(), qPrintable(target.refusal));
        } else {
            QCOMPARE(target.refusal, QString());
            QCOMPARE(target.path, dir.filePath(fileName));
        }
    }

    // The messages name the cause in German.
    void refusalsSayWhy_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("slash") << "a/b"
                               << "Der Titel darf keinen Schrägstrich \"/\" enthalten, denn er wird Teil des "
                                  "Dateinamens.";
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                             << "Der Titel darf kein Nullzeichen enthalten, denn er wird Teil des Dateinamens.";
        // Such a file could be written, but its name could never be opened again as a document's file.
        QTest::newRow("line break") << "Angebot\nMüller"
                                    << "Der Titel darf keinen Zeilenumbruch und kein anderes Steuerzeichen "
                                       "enthalten, denn er wird Teil des Dateinamens.";
        QTest::newRow("tab") << "Angebot\tMüller"
                             << "Der Titel darf keinen Zeilenumbruch und kein anderes Steuerzeichen "
                                "enthalten, denn er wird Teil des Dateinamens.";
        QTest::newRow("dots") << ".."
                              << "Ein Titel nur aus Punkten ergibt keinen Dateinamen. Bitte geben Sie einen anderen "
                                 "Titel ein.";
        QTest::newRow("long") << QString(300, u'x')
                              << "Der Titel ist zu lang für einen Dateinamen: mit Nummer und Endung sind höchstens 200 "
                                 "Zeichen möglich. Bitte kürzen Sie den Titel.";
    }
    void refusalsSayWhy() {
        QFETCH(QString, title);
        QFETCH(QString, refusal);
        QTemporaryDir files;
        QCOMPARE(newDocumentFile(title, QStringLiteral("/v/Brief.odt"), files.path(), DateiWidth).refusal, refusal);
    }

    // OK copies the template and completes the provisional record with a bare file name.
    void filesTheCopy() {
        Fixture f;
        DocumentCreation creation(f.dok);
        creation.begin(QStringLiteral("NrThema"), 7);
        QVERIFY(creation.canFile());
        const QDateTime now(QDate(2026, 12, 11), QTime(9, 30));
        QCOMPARE(creation.file(QStringLiteral("Angebot"), f.templatePath, QStringLiteral("odt"), f.filesDir, now),
                 QString());
        const qint64 nr = creation.finish();
        QVERIFY(nr > 0);
        Table check;
        test::openTable(check, f.data.path(), QStringLiteral("Dok.DB"));
        QVERIFY(check.findKey({nr}));
        QCOMPARE(check.field(u"Titel").asString(), QStringLiteral("Angebot"));
        QCOMPARE(check.field(u"Ext").asString(), QStringLiteral("odt"));
        QCOMPARE(check.field(u"Datei").asString(), QStringLiteral("Angebot00001.ODT"));
        QCOMPARE(check.field(u"NrThema").asInteger(), 7);
        QCOMPARE(check.field(u"Offen").asInteger(), 1);
        QCOMPARE(check.field(u"EDatum").value().toDate(), now.date());
        const QString copy = f.filesDir + QStringLiteral("Angebot00001.ODT");
        QCOMPARE(readBytes(copy), QByteArray("Vorlage"));
        // The template is read-only; the user's document must not be.
        QVERIFY(QFile::permissions(copy).testFlag(QFileDevice::WriteOwner));
    }

    // Every way of closing without a completed OK removes the provisional record.
    void unfiledRecordIsRemoved() {
        Fixture f;
        const int before = recordCount(f.dok);
        DocumentCreation creation(f.dok);
        creation.begin(QStringLiteral("NrFirma"), 3);
        QCOMPARE(recordCount(f.dok), before + 1);
        f.dok.edit();
        f.dok.field(u"Art").setValue(QStringLiteral("Brief"));
        const QString refusal =
            creation.file(QStringLiteral("a/b"), f.templatePath, QStringLiteral("odt"), f.filesDir, QDateTime());
        QVERIFY(!refusal.isEmpty());
        QVERIFY(creation.finish() > 0);
        QCOMPARE(recordCount(f.dok), before);
        QCOMPARE(QDir(f.filesDir).entryList(QDir::Files), QStringList());
    }

    // A copy that fails leaves neither a file nor, once closed, a record; the message names both files.
    void failedCopyLeavesNothing_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("read-only Files folder") << "read-only";
        QTest::newRow("full disk") << "full";
        QTest::newRow("unreadable template") << "unreadable";
        QTest::newRow("a file in place of the Files folder") << "file";
    }
    void failedCopyLeavesNothing() {
        QFETCH(QString, fault);
        Fixture f;
        SmallDisk disk(64 * 1024);
        QString filesDir = f.filesDir;
        QString templatePath = f.templatePath;
        if (fault == u"read-only" || fault == u"full") {
            if (!disk.mounted())
                QSKIP(qPrintable(disk.skipText()));
            filesDir = disk.path() + u'/';
            if (fault == u"read-only") {
                QVERIFY(disk.remountReadOnly());
            } else {
                templatePath = f.templates.filePath(QStringLiteral("Gross.odt"));
                QVERIFY(writeBytes(templatePath, QByteArray(256 * 1024, 'v')));
                QVERIFY(disk.fill(4096));
            }
        } else if (fault == u"unreadable") {
            // Reading it fails with an I/O error, even for root.
            templatePath = f.templates.filePath(QStringLiteral("Defekt.odt"));
            QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), templatePath));
        } else {
            QVERIFY(writeBytes(f.data.filePath(QStringLiteral("Ablage")), "keine Ablage"));
            filesDir = f.data.filePath(QStringLiteral("Ablage/"));
        }
        const QStringList before = QDir(filesDir).entryList(QDir::Files);
        const int records = recordCount(f.dok);
        DocumentCreation creation(f.dok);
        creation.begin(QStringLiteral("NrFirma"), 3);
        const QString message = creation.file(QStringLiteral("Angebot"), templatePath, QStringLiteral("odt"), filesDir,
                                              QDateTime::currentDateTime());
        QCOMPARE(message,
                 QStringLiteral("Die Vorlage \"%1\" konnte nicht nach \"%2\" kopiert werden. Das Dokument "
                                "wurde nicht angelegt.")
                     .arg(templatePath, filesDir + QStringLiteral("Angebot00001.") + QFileInfo(templatePath).suffix()));
        QCOMPARE(QDir(filesDir).entryList(QDir::Files), before);
        creation.finish();
        QCOMPARE(recordCount(f.dok), records);
    }

    // A refused post takes the copy back: no file without its record.
    void refusedPostRemovesTheCopy() {
        Fixture f;
        DocumentCreation creation(f.dok);
        creation.begin(QStringLiteral("NrFirma"), 3);
        Table other;
        test::openTable(other, f.data.path(), QStringLiteral("Dok.DB"));
        QVERIFY(other.findKey({f.dok.field(u"Nr").asInteger()}));
        other.deleteRecord(); // the provisional record vanished under the dialog
        bool refused = false;
        try {
            creation.file(QStringLiteral("Angebot"), f.templatePath, QStringLiteral("odt"), f.filesDir,
                          QDateTime::currentDateTime());
        } catch (const EngineError&) {
            refused = true;
        }
        QVERIFY(refused);
        QCOMPARE(QDir(f.filesDir).entryList(QDir::Files), QStringList());
        creation.finish();
        QCOMPARE(recordCount(f.dok), 0);
    }

    // A client whose "Files" folder went missing gets it back.
    void missingFilesFolderIsMade() {
        Fixture f;
        const QString filesDir = f.data.filePath(QStringLiteral("Neu/Files/"));
        DocumentCreation creation(f.dok);
        creation.begin(QStringLiteral("NrFirma"), 3);
        QCOMPARE(creation.file(QStringLiteral("Angebot"), f.templatePath, QStringLiteral("odt"), filesDir,
                               QDateTime::currentDateTime()),
                 QString());
        QCOMPARE(readBytes(filesDir + QStringLiteral("Angebot00001.ODT")), QByteArray("Vorlage"));
    }

    // Notes keep their own completion on the shared provisional record.
    void noteIsFiledWithoutFile() {
        Fixture f;
        NoteFiling note(f.dok);
        note.begin(QStringLiteral("NrFirma"), 3);
        note.file(QStringLiteral("Rückruf"), QDateTime(QDate(2026, 12, 11), QTime(8, 0)));
        QVERIFY(note.finish() > 0);
        QCOMPARE(recordCount(f.dok), 1);
        QCOMPARE(f.dok.field(u"Datei").asString(), QStringLiteral("Ablage"));
        QCOMPARE(QDir(f.filesDir).entryList(QDir::Files), QStringList());
    }

private:
    struct Fixture {
        Fixture() {
            test::createClientTables(data.path());
            test::openTable(dok, data.path(), QStringLiteral("Dok.DB"));
            QDir(data.path()).mkdir(QStringLiteral("Files"));
            filesDir = data.filePath(QStringLiteral("Files/"));
            templatePath = templates.filePath(QStringLiteral("Brief.ODT"));
            writeBytes(templatePath, "Vorlage");
            QFile::setPermissions(templatePath, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        }
        QTemporaryDir data;
        QTemporaryDir templatesDir;
        QDir templates{templatesDir.path()};
        Table dok;
        QString filesDir;
        QString templatePath;
    };
};

QTEST_GUILESS_MAIN(DocumentCreationTest)
#include "tst_document_creation.moc"
