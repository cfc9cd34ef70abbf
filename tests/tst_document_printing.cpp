#include "documents/document_printing.h"
#include "environment_override.h"
#include "platform/print_spooler.h"
#include "scripted_interaction.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;

Q_DECLARE_METATYPE(zep::PrintWay)

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeScript(const QString& path, const QString& body) {
    return writeFile(path, body.toUtf8()) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<nichts>")};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class DocumentPrintingTest : public QObject {
    Q_OBJECT

private slots:
    // The print system takes PDF, PostScript, text and common images; the office takes its documents,
    // rich text and web pages (which descend from text, but must not print as their markup) and the
    // images the print system does not read.
    void printWay_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<PrintWay>("way");
        const auto system = PrintWay::PrintSystem;
        const auto office = PrintWay::Office;
        QTest::newRow("pdf") << "a.pdf" << QByteArray("%PDF-1.4\n") << system;
        QTest::newRow("postscript") << "a.ps" << QByteArray("%!PS-Adobe-3.0\n") << system;
        QTest::newRow("text") << "a.txt" << QByteArray("Hallo\n") << system;
        QTest::newRow("csv, a kind of text") << "a.csv" << QByteArray("a;b\n") << system;
        QTest::newRow("png") << "a.png" << QByteArray("\x89PNG\r\n\x1a\n") << system;
        QTest::newRow("jpeg") << "a.jpg" << QByteArray("\xff\xd8\xff\xe0") << system;
        QTest::newRow("pdf without extension") << "ohne" << QByteArray("%PDF-1.4\n") << system;
        QTest::newRow("odt") << "a.odt" << QByteArray("PK\x03\x04") << office;
        QTest::newRow("docx") << "a.docx" << QByteArray("PK\x03\x04") << office;
        QTest::newRow("doc") << "a.doc" << QByteArray("\xd0\xcf\x11\xe0") << office;
        QTest::newRow("xls") << "a.xls" << QByteArray("\xd0\xcf\x11\xe0") << office;
        QTest::newRow("rtf, not as text") << "a.rtf" << QByteArray("{\\rtf1 x}") << office;
        QTest::newRow("html, not as text") << "a.html" << QByteArray("<html></html>") << office;
        QTest::newRow("svg, not as text") << "a.svg" << QByteArray("<svg/>") << office;
        QTest::newRow("bmp") << "a.bmp" << QByteArray("BM") << office;
        QTest::newRow("zip") << "a.zip" << QByteArray("PK\x03\x04") << PrintWay::None;
        QTest::newRow("cab archive of the same maker") << "a.cab" << QByteArray("MSCF") << PrintWay::None;
        QTest::newRow("unknown") << "a.qqq" << QByteArray("\x01\x02\x03") << PrintWay::None;
    }
    void printWay() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(PrintWay, way);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(writeFile(path, content));
        QCOMPARE(printWayFor(path), way);
    }

    // The program speaks German whatever the locale.
    void unprintableMessageIsGerman() {
        const QLocale previous;
        const auto restore = qScopeGuard([previous] { QLocale::setDefault(previous); });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("k.zip"));
        QVERIFY(writeFile(path, "PK\x03\x04"));
        QCOMPARE(unprintableMessage(path), QStringLiteral("Dokumente vom Typ \"Zip-Archiv\" kann ZEP nicht drucken."));
    }

    // A print job started for real reaches its program (a recording script on a private PATH) with
    // the printer named, or without a printer for the default one.
    void spoolerStartsTheJob_data() {
        QTest::addColumn<PrintWay>("way");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QStringList>("argv"); // %B the private program directory, %D the document
        QTest::newRow("lp on a printer") << PrintWay::PrintSystem << "Buero"
                                         << QStringList{"%B/lp", "-d", "Buero", "%D"};
        QTest::newRow("lp on the default printer") << PrintWay::PrintSystem << "" << QStringList{"%B/lp", "%D"};
        QTest::newRow("office on a printer")
            << PrintWay::Office << "Buero" << QStringList{"%B/soffice", "--headless", "--pt", "Buero", "%D"};
        QTest::newRow("office on the default printer")
            << PrintWay::Office << "" << QStringList{"%B/soffice", "--headless", "-p", "%D"};
    }
    void spoolerStartsTheJob() {
        QFETCH(PrintWay, way);
        QFETCH(QString, printer);
        QFETCH(QStringList, argv);
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString record = dir.filePath(QStringLiteral("argv"));
        QVERIFY(QDir().mkpath(bin));
        for (const char* name : {"lp", "soffice"})
            QVERIFY(writeScript(bin + u'/' + QString::fromLatin1(name),
                                QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '%1'\n").arg(record)));
        const QString document = dir.filePath(QStringLiteral("Brief an Müller.pdf"));
        QVERIFY(writeFile(document, "%PDF-1.4\n"));
        test::EnvironmentOverride path({{"PATH", (bin + u':' + qEnvironmentVariable("PATH")).toUtf8()}});
        test::ScriptedInteraction interaction;
        ProcessPrintSpooler spooler;
        QCOMPARE(spooler.missingProgram(way), QString());
        spooler.print(way, document, printer);
        argv.replaceInStrings(QStringLiteral("%B"), bin).replaceInStrings(QStringLiteral("%D"), document);
        QTRY_COMPARE(readLines(record), argv);
        QCOMPARE(interaction.texts(), QStringList());
    }

    // The window goes on while a job is handed over: print returns while the program still runs.
    void spoolerDoesNotWait() {
        QTemporaryDir dir;
        const QString lp = dir.filePath(QStringLiteral("lp"));
        const QString go = dir.filePath(QStringLiteral("go"));
        const QString state = dir.filePath(QStringLiteral("state"));
        QVERIFY(
            writeScript(lp, QStringLiteral("#!/bin/sh\necho angefangen > '%1'\ni=0\n"
                                           "while [ ! -e '%2' ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                                           "echo fertig >> '%1'\n")
                                .arg(state, go)));
        test::ScriptedInteraction interaction;
        ProcessPrintSpooler spooler(lp);
        spooler.print(PrintWay::PrintSystem, dir.filePath(QStringLiteral("a.pdf")), QString());
        QTRY_COMPARE(readLines(state), QStringList{QStringLiteral("angefangen")});
        QVERIFY(writeFile(go, "x"));
        QTRY_COMPARE(readLines(state), (QStringList{QStringLiteral("angefangen"), QStringLiteral("fertig")}));
        QCOMPARE(interaction.texts(), QStringList());
    }

    // A job that fails is reported when it ends: with what the program said, its code, or that it was
    // killed; a program that cannot start at all, too.
    void failedJobIsReported_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("message");
        const QString start = QStringLiteral("Das Dokument \"a.pdf\" wurde nicht gedruckt:\n");
        QTest::newRow("says why") << "echo 'lp: Der Drucker existiert nicht.' >&2\nexit 1\n"
                                  << start + "lp: Der Drucker existiert nicht.";
        QTest::newRow("only a code") << "exit 2\n" << start + "lp endete mit Fehler 2.";
        QTest::newRow("killed") << "kill -9 $$\n" << start + "lp wurde abgebrochen.";
        QTest::newRow("cannot start: interpreter missing") << "#!/nicht/da/sh\n"
                                                           << start + "lp konnte nicht gestartet werden.";
    }
    void failedJobIsReported() {
        QFETCH(QString, script);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString lp = dir.filePath(QStringLiteral("lp"));
        QVERIFY(writeScript(lp, script.startsWith(u'#') ? script : QStringLiteral("#!/bin/sh\n") + script));
        test::ScriptedInteraction interaction;
        ProcessPrintSpooler spooler(lp);
        spooler.print(PrintWay::PrintSystem, dir.filePath(QStringLiteral("a.pdf")), QString());
        QTRY_COMPARE(interaction.texts(), QStringList{message});
    }

    // Without the print system's lp or the office, the user is told what is missing.
    void missingPrograms() {
        ProcessPrintSpooler spooler(QStringLiteral("/nicht/da/lp"), QStringLiteral("/nicht/da/soffice"));
        QCOMPARE(spooler.missingProgram(PrintWay::PrintSystem),
                 QStringLiteral("Zum Drucken fehlt das Programm \"lp\" des Drucksystems (Paket cups-client)."));
        QCOMPARE(spooler.missingProgram(PrintWay::Office),
                 QStringLiteral("Zum Drucken dieses Dokuments fehlt das Büroprogramm \"soffice\"."));
        test::EnvironmentOverride path({{"PATH", QByteArray("/nicht/da")}});
        QVERIFY(!ProcessPrintSpooler().missingProgram(PrintWay::PrintSystem).isEmpty());
        // A program file that cannot be run counts as missing.
        QTemporaryDir dir;
        const QString lp = dir.filePath(QStringLiteral("lp"));
        QVERIFY(writeFile(lp, "#!/bin/sh\n"));
        QVERIFY(!ProcessPrintSpooler(lp).missingProgram(PrintWay::PrintSystem).isEmpty());
    }
};

QTEST_GUILESS_MAIN(DocumentPrintingTest)
#include "tst_document_printing.moc"
