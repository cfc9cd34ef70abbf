#include "documents/numbered_file_name.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;

class NumberedFileNameTest : public QObject {
    Q_OBJECT

private slots:
    void stripsOnlyAFiveDigitTail_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("numbered") << "Angebot00012"
                                  << "Angebot";
        QTest::newRow("only five digits") << "12345"
                                          << "12345";
        QTest::newRow("six digits") << "Jahr123456"
                                    << "Jahr1";
        QTest::newRow("four digits") << "Brief2026"
                                     << "Brief2026";
        QTest::newRow("letter in tail") << "Brief0001a"
                                        << "Brief0001a";
        QTest::newRow("not ascii digits") << QString::fromUtf16(u"Brief١٢٣٤٥") << QString::fromUtf16(u"Brief١٢٣٤٥");
    }
    void stripsOnlyAFiveDigitTail() {
        QFETCH(QString, name);
        QFETCH(QString, stripped);
        QCOMPARE(StripNumberSuffix(name), stripped);
    }

    // Taken: Brief00001/00003 as files, Brief00002 as a dangling link, Notiz00001 as a directory.
    void takesTheFirstFreeNumber_data() {
        QTest::addColumn<QString>("wished");
        QTest::addColumn<QString>("result");
        QTest::newRow("plain") << "Brief.doc"
                               << "Brief00004.doc";
        QTest::newRow("wished numbered") << "Brief00001.doc"
                                         << "Brief00004.doc";
        QTest::newRow("other extension") << "Brief.odt"
                                         << "Brief00001.odt";
        QTest::newRow("no extension") << "Notiz"
                                      << "Notiz00002";
        QTest::newRow("dots in base") << "Angebot v2.1.doc"
                                      << "Angebot v2.100001.doc";
        QTest::newRow("five-digit title") << "12345.doc"
                                          << "1234500001.doc";
        // A title that already ends in the extension (a file name taken as title) keeps it once.
        QTest::newRow("title with the extension") << "Rechnung_117.pdf.pdf"
                                                  << "Rechnung_11700001.pdf";
        QTest::newRow("title with the extension in other case") << "Rechnung.PDF.pdf"
                                                                << "Rechnung00001.pdf";
        QTest::newRow("title with the extension and a number") << "Brief00001.doc.doc"
                                                               << "Brief00004.doc";
        QTest::newRow("title with another extension") << "Bild.png.pdf"
                                                      << "Bild.png00001.pdf";
        QTest::newRow("title that is only the extension") << ".pdf.pdf"
                                                          << ".pdf00001.pdf";
    }
    void takesTheFirstFreeNumber() {
        QFETCH(QString, wished);
        QFETCH(QString, result);
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        for (const char* taken : {"Brief00001.doc", "Brief00003.doc"})
            QVERIFY(QFile(dir.filePath(QString::fromLatin1(taken))).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("fort")), dir.filePath(QStringLiteral("Brief00002.doc"))));
        QVERIFY(dir.mkdir(QStringLiteral("Notiz00001")));
        QCOMPARE(NumberedFileName(dir.filePath(wished)), dir.filePath(result));
    }
};

QTEST_GUILESS_MAIN(NumberedFileNameTest)
#include "tst_numbered_file_name.moc"
