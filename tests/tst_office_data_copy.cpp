#include "data/format_error.h"
#include "file_bytes.h"
#include "platform/office_data_copy.h"
#include "small_disk.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::readBytes;
using zep::test::SmallDisk;
using zep::test::writeBytes;

namespace {

// A data file of the serial letters with enough recipients to need a few kilobytes.
QByteArray dataText(int recipients) {
    QByteArray text("Name1\tOrt\r\n");
    for (int i = 0; i < recipients; ++i)
        text += "M\xfcller " + QByteArray::number(i) + "\tK\xf6ln\r\n";
    return text;
}

} // namespace

class TestOfficeDataCopy : public QObject {
    Q_OBJECT

private slots:
    void valuesAreQuotedAndControlCharactersBlank_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("copy");
        QTest::newRow("quotes doubled") << QByteArray("Name1\tOrt\r\nM\xfcller \"Bau\"\tK\xf6ln\r\n")
                                        << QByteArray("Name1\tOrt\r\n\"M\xfcller \"\"Bau\"\"\"\t\"K\xf6ln\"\r\n");
        QTest::newRow("numbers stay text") << QByteArray("PLZ1\r\n01067\r\n") << QByteArray("PLZ1\r\n\"01067\"\r\n");
        QTest::newRow("NUL, VT, FF, 0x1A") << QByteArray("Name1\tOrt\r\nA\0B\vC\fD\x1A"
                                                         "E\tBonn\r\n",
                                                         27)
                                           << QByteArray("Name1\tOrt\r\n\"A B C D E\"\t\"Bonn\"\r\n");
        QTest::newRow("in a name of the header") << QByteArray("Name\x1A"
                                                               "1\r\nA\r\n")
                                                 << QByteArray("Name 1\r\n\"A\"\r\n");
        QTest::newRow("no line end at the end") << QByteArray("Ort\r\nBonn") << QByteArray("Ort\r\n\"Bonn\"\r\n");
    }

    void valuesAreQuotedAndControlCharactersBlank() {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, copy);
        QTemporaryDir dir;
        const QString dataFile = dir.filePath(QStringLiteral("serie0.rtf"));
        QVERIFY(writeBytes(dataFile, data));
        const QString folder = writeOfficeDataCopy(dataFile);
        QCOMPARE(folder, dir.filePath(QStringLiteral("serie0.office")));
        QCOMPARE(readBytes(QDir(folder).filePath(QStringLiteral("serie0.txt"))), copy);
    }

    void fullDiskIsReportedAndKeepsTheLastCopy_data() {
        QTest::addColumn<int>("recipients");
        QTest::addColumn<qint64>("freeBytes");
        QTest::newRow("a few recipients, nothing free") << 5 << qint64(0);
        QTest::newRow("many recipients, 4 KB free") << 1000 << qint64(4096);
    }

    // A copy that does not fit on the disk is reported, and the office keeps the last whole copy
    // instead of an empty one that would merge no recipient.
    void fullDiskIsReportedAndKeepsTheLastCopy() {
        QFETCH(int, recipients);
        QFETCH(qint64, freeBytes);
        SmallDisk disk(128 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        const QString dataFile = QDir(disk.path()).filePath(QStringLiteral("serie0.rtf"));
        QVERIFY(writeBytes(dataFile, dataText(3)));
        const QString copy = QDir(writeOfficeDataCopy(dataFile)).filePath(QStringLiteral("serie0.txt"));
        const QByteArray lastCopy = readBytes(copy);
        QVERIFY(lastCopy.contains("\"M\xfcller 2\""));
        QVERIFY(writeBytes(dataFile, dataText(recipients)));
        QVERIFY(disk.fill(freeBytes));
        try {
            writeOfficeDataCopy(dataFile);
            QFAIL("a copy that did not fit was reported as written");
        } catch (const FileError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("Der Datenträger ist voll")), qPrintable(error.message()));
        }
        QCOMPARE(readBytes(copy), lastCopy);
        QCOMPARE(QDir(QFileInfo(copy).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("serie0.txt")});
    }
};

QTEST_GUILESS_MAIN(TestOfficeDataCopy)
#include "tst_office_data_copy.moc"
