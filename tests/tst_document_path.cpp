#include "documents/document_path.h"
#include "file_bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::readBytes;
using zep::test::writeBytes;

namespace {

const QString relativeRefusal =
    QStringLiteral("Die Datei \"%1\" ist weder ein bloßer Name (ohne \"/\") im Ordner \"Files\" des Mandanten noch ein "
                   "vollständiger Pfad (mit \"/\" am Anfang); ZEP verwendet sie nicht.");

} // namespace

// A client folder with "Files", a folder beside it and a working directory, each holding a file "x"
// whose content tells where it lies.
class DocumentPathTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        for (const char* folder : {"Kunde/Files/sub", "outside", "work/sub"})
            QVERIFY(QDir().mkpath(tmp_.filePath(QString::fromLatin1(folder))));
        for (const char* file : {"Kunde/Files/x", "Kunde/Files/sub/x", "outside/x", "work/x", "work/sub/x"})
            QVERIFY(writeBytes(tmp_.filePath(QString::fromLatin1(file)), file));
        oldCurrent_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(tmp_.filePath(QStringLiteral("work"))));
    }
    void cleanup() { QDir::setCurrent(oldCurrent_); }

    // Every stored Datei either names one file of the client's "Files" folder, a full path, or is
    // refused: the working directory is never asked, though it holds files of those names.
    void resolution_data() {
        QTest::addColumn<QString>("datei");    // %T the temporary folder
        QTest::addColumn<QString>("filesDir"); // %T the temporary folder
        QTest::addColumn<QByteArray>("file");  // the content of the file reached; empty when refused
        QTest::addColumn<QString>("refusal");
        const QString files = QStringLiteral("%T/Kunde/Files/");
        QTest::newRow("bare name") << "x" << files << QByteArray("Kunde/Files/x") << "";
        QTest::newRow("Files without its slash")
            << "x" << QStringLiteral("%T/Kunde/Files") << QByteArray("Kunde/Files/x") << "";
        QTest::newRow("full path") << "%T/outside/x" << files << QByteArray("outside/x") << "";
        QTest::newRow("full path below Files")
            << "%T/Kunde/Files/sub/x" << files << QByteArray("Kunde/Files/sub/x") << "";
        QTest::newRow("into a folder") << "sub/x" << files << QByteArray() << relativeRefusal.arg(u"sub/x");
        QTest::newRow("out of the client")
            << "../outside/x" << files << QByteArray() << relativeRefusal.arg(u"../outside/x");
        QTest::newRow("dot folder") << "./x" << files << QByteArray() << relativeRefusal.arg(u"./x");
        QTest::newRow("blank before a full path")
            << " %T/outside/x" << files << QByteArray() << relativeRefusal.arg(u" %T/outside/x");
        QTest::newRow("parent folder") << ".." << files << QByteArray()
                                       << "\"..\" ist kein Dateiname; ZEP verwendet ihn nicht.";
        QTest::newRow("this folder") << "." << files << QByteArray()
                                     << "\".\" ist kein Dateiname; ZEP verwendet ihn nicht.";
        QTest::newRow("empty") << "" << files << QByteArray() << "Es ist keine Datei angegeben.";
        QTest::newRow("blanks") << "  " << files << QByteArray() << "Es ist keine Datei angegeben.";
        const QString control = QStringLiteral(
            "Der Dateiname \"%1\" enthält ein Steuerzeichen (etwa einen Zeilenumbruch); ZEP verwendet ihn nicht.");
        QTest::newRow("NUL") << QStringLiteral("x%1/../../outside/x").arg(QChar(0)) << files << QByteArray()
                             << control.arg(u"x?/../../outside/x");
        QTest::newRow("line break") << "x\n" << files << QByteArray() << control.arg(u"x?");
        QTest::newRow("line break in a full path")
            << "%T/outside/x\r" << files << QByteArray() << control.arg(u"%T/outside/x?");
        QTest::newRow("Files not a full path")
            << "x"
            << "Kunde/Files/" << QByteArray()
            << "Der Ordner \"Files\" des Mandanten (\"Kunde/Files/\") ist kein vollständiger Pfad; ZEP verwendet "
               "keine Datei darin.";
    }
    void resolution() {
        QFETCH(QString, datei);
        QFETCH(QString, filesDir);
        QFETCH(QByteArray, file);
        QFETCH(QString, refusal);
        const auto fill = [this](QString text) {
            return text.replace(QStringLiteral("%T"), tmp_.path());
        };
        const DocumentPath resolved = ResolveDocumentPath(fill(datei), fill(filesDir));
        QCOMPARE(resolved.refusal, fill(refusal));
        QCOMPARE(resolved.resolved(), refusal.isEmpty());
        if (file.isEmpty()) {
            QCOMPARE(resolved.path, QString());
            return;
        }
        QVERIFY(QDir::isAbsolutePath(resolved.path));
        QCOMPARE(readBytes(resolved.path), file);
    }

    // A blank Datei names no file at a deletion, so its record may go alone; anything else resolves as
    // everywhere.
    void fileOfADeletedDocument() {
        const QString files = tmp_.filePath(QStringLiteral("Kunde/Files/"));
        for (const QString& blank : {QString(), QStringLiteral("  ")}) {
            const DocumentPath none = fileOfDeletedDocument(blank, files);
            QVERIFY(none.resolved());
            QCOMPARE(none.path, QString());
        }
        QCOMPARE(fileOfDeletedDocument(QStringLiteral("x"), files).path, files + u'x');
        QCOMPARE(fileOfDeletedDocument(QStringLiteral("../outside/x"), files).refusal,
                 relativeRefusal.arg(u"../outside/x"));
    }

    // Only an existing file outside "Files" and its subfolders is asked about, by its full path.
    void trashQuestion_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("asked");
        QTest::newRow("in Files") << "Kunde/Files/x" << false;
        QTest::newRow("below Files") << "Kunde/Files/sub/x" << false;
        QTest::newRow("beside the client") << "outside/x" << true;
        QTest::newRow("out of Files by ..") << "Kunde/Files/../../outside/x" << true;
        QTest::newRow("a folder named like Files") << "Kunde/Files2/x" << true;
        QTest::newRow("missing") << "outside/fehlt" << false;
        QTest::newRow("a folder") << "outside" << false;
    }
    void trashQuestion() {
        QFETCH(QString, path);
        QFETCH(bool, asked);
        QVERIFY(QDir().mkpath(tmp_.filePath(QStringLiteral("Kunde/Files2"))));
        QVERIFY(writeBytes(tmp_.filePath(QStringLiteral("Kunde/Files2/x")), "daneben"));
        const QString full = tmp_.filePath(path);
        const QString question = outsideFilesTrashQuestion(full, tmp_.filePath(QStringLiteral("Kunde/Files/")));
        QCOMPARE(question, asked ? QStringLiteral("Die Datei \"%1\" liegt nicht im Ordner \"Files\" des Mandanten. "
                                                  "Soll sie trotzdem in den Papierkorb verschoben werden?")
                                       .arg(full)
                                 : QString());
    }

private:
    QTemporaryDir tmp_;
    QString oldCurrent_;
};

QTEST_GUILESS_MAIN(DocumentPathTest)
#include "tst_document_path.moc"
