#include "data/catalog_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"
#include "data/treefile.h"
#include "documents/column_arrangement.h"
#include "documents/column_file.h"
#include "file_bytes.h"
#include "tools/installation_content.h"
#include "tools/zip_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

#include <optional>

using namespace zep;
using zep::test::readBytes;
using zep::test::writeBytes;
using namespace Qt::StringLiterals;

namespace {

QString fixturePath(const QString& name) {
    return QStringLiteral(ZEP_TEST_DATA "/") + name;
}

// The records that tests/data/make_format_fixtures.py writes into tree_sample.dat.
QList<TreeFileRecord> sampleTreeRecords() {
    return {{QStringLiteral("Müller & Söhne GmbH"), 1, 1, 1},
            {QStringLiteral("Jörg Weiß"), 2, 12, -1},
            {QStringLiteral("Büro €"), 3, 2147483647, 0},
            {QString(), 1, 3, -1}};
}

// The rows of tab_short.dat.
QList<ColumnRow> sampleColumnRows() {
    return {{QStringLiteral("Titel"), QStringLiteral("Titel"), QStringLiteral("30")},
            {QStringLiteral("ADatum"), QStringLiteral("Geändert"), QStringLiteral("10")},
            {QStringLiteral("Feld1"), QString(), QStringLiteral("0")}};
}

// An independent reader of the archives ZipWriter builds: it follows the end record to the central
// directory and each central entry to its local header, checking every signature on the way.
struct ZipEntryView {
    QString name;
    quint16 flags = 0;
    quint16 method = 0;
    quint32 crc = 0;
    quint32 localOffset = 0;
    QByteArray data;
};

quint16 get16(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<quint16>(bytes.data() + offset);
}
quint32 get32(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<quint32>(bytes.data() + offset);
}

std::optional<ZipEntryView> readLocalEntry(const QByteArray& zip, qsizetype central) {
    ZipEntryView entry;
    entry.flags = get16(zip, central + 8);
    entry.method = get16(zip, central + 10);
    entry.crc = get32(zip, central + 16);
    const quint32 size = get32(zip, central + 24);
    const quint16 nameLength = get16(zip, central + 28);
    entry.localOffset = get32(zip, central + 42);
    entry.name = QString::fromUtf8(zip.mid(central + 46, nameLength));
    const qsizetype local = entry.localOffset;
    if (get32(zip, local) != 0x04034b50 || get32(zip, local + 14) != entry.crc || get32(zip, local + 22) != size ||
        zip.mid(local + 30, get16(zip, local + 26)) != zip.mid(central + 46, nameLength))
        return std::nullopt;
    entry.data = zip.mid(local + 30 + get16(zip, local + 26) + get16(zip, local + 28), size);
    return entry;
}

std::optional<QList<ZipEntryView>> readZip(const QByteArray& zip) {
    const qsizetype end = zip.size() - 22;
    if (end < 0 || get32(zip, end) != 0x06054b50)
        return std::nullopt;
    const quint16 count = get16(zip, end + 10);
    qsizetype central = get32(zip, end + 16);
    if (central + get32(zip, end + 12) != end)
        return std::nullopt;
    QList<ZipEntryView> entries;
    for (int i = 0; i < count; ++i) {
        if (central + 46 > end || get32(zip, central) != 0x02014b50)
            return std::nullopt;
        const auto entry = readLocalEntry(zip, central);
        if (!entry)
            return std::nullopt;
        entries.append(*entry);
        central += 46 + get16(zip, central + 28) + get16(zip, central + 30) + get16(zip, central + 32);
    }
    return entries;
}

} // namespace

class FormatsTest : public QObject {
    Q_OBJECT

private slots:
    void cp1252Decodes_data();
    void cp1252Decodes();
    void cp1252RoundTripsEveryByte();
    void cp1252Encodes_data();
    void cp1252Encodes();
    void utf8Validity_data();
    void utf8Validity();
    void cp1252UnrepresentableCharacters_data();
    void cp1252UnrepresentableCharacters();

    void treeRecordsEncodeToFixture();
    void treeFixtureReads();
    void treeRecordRoundTrips_data();
    void treeRecordRoundTrips();
    void treeNameIsCutTo50();
    void treeNameBytes_data();
    void treeNameBytes();
    void extremeTreeLevelsAreClamped_data();
    void extremeTreeLevelsAreClamped();
    void treeRecordLengthOver50IsRejected();
    void truncatedTreeFileIsRejected();
    void missingTreeFileIsReported();
    void treeFileWriteFailureIsReported();
    void treeDisplayNames_data();
    void treeDisplayNames();

    void catalogFileNamesAndCaptions();
    void missingCatalogLeavesLines();
    void catalogLoads_data();
    void catalogLoads();
    void catalogSavesSortedCrLfCp1252();
    void unwritableCatalogIsReported();

    void columnFileEncodesToFixture();
    void columnFixtureReads();
    void columnLongStrings_data();
    void columnLongStrings();
    void malformedColumnFile_data();
    void malformedColumnFile();
    void columnFileErrorsNameTheFile();
    void columnFileRoundTripIsByteExact_data();
    void columnFileRoundTripIsByteExact();
    void longFormOfShortTextsReads();
    void brokenColumnFileLoadsOneEmptyRow_data();
    void brokenColumnFileLoadsOneEmptyRow();
    void arrangementAndSortStayTogether_data();
    void arrangementAndSortStayTogether();

    void crc32OfKnownValues_data();
    void crc32OfKnownValues();
    void zipStructureReadsBack();
    void zipPassesUnzipTest();

    void installationContentIsWritten();
    void letterTemplateIsWellFormedOdf();
    void installationContentKeepsExistingFiles_data();
    void installationContentKeepsExistingFiles();
};

void FormatsTest::cp1252Decodes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("Abc 1") << QStringLiteral("Abc 1");
    QTest::newRow("umlauts") << QByteArray("\xe4\xf6\xfc\xc4\xd6\xdc\xdf") << QStringLiteral("äöüÄÖÜß");
    QTest::newRow("euro") << QByteArray("\x80") << QStringLiteral("€");
    QTest::newRow("quotes and dashes") << QByteArray("\x84\x93\x91\x92\x96\x97\x85") << QStringLiteral("„“‘’–—…");
    QTest::newRow("letters in 0x80-0x9F")
        << QByteArray("\x8a\x8c\x8e\x9a\x9c\x9e\x9f\x83") << QStringLiteral("ŠŒŽšœžŸƒ");
    QTest::newRow("symbols in 0x80-0x9F")
        << QByteArray("\x82\x86\x87\x88\x89\x8b\x95\x98\x99\x9b") << QStringLiteral("‚†‡ˆ‰‹•˜™›");
    QTest::newRow("undefined bytes") << QByteArray("\x81\x8d\x8f\x90\x9d")
                                     << QStringLiteral("\u0081\u008D\u008F\u0090\u009D");
    QTest::newRow("nbsp and y diaeresis") << QByteArray("\xa0\xff") << QStringLiteral("\u00A0ÿ");
}

void FormatsTest::cp1252Decodes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(fromCp1252(bytes), text);
    QCOMPARE(toCp1252(text), bytes);
}

void FormatsTest::cp1252RoundTripsEveryByte() {
    QByteArray all;
    for (int value = 0; value < 256; ++value)
        all.append(static_cast<char>(value));
    const QString text = fromCp1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(toCp1252(text), all);
}

void FormatsTest::cp1252Encodes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("greek") << QStringLiteral("Ωmega") << QByteArray("?mega");
    QTest::newRow("cyrillic") << QStringLiteral("Жук") << QByteArray("???");
    QTest::newRow("emoji is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    QTest::newRow("C1 control whose byte holds the euro") << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("euro amount") << QStringLiteral("5 € für Grüße")
                                 << QByteArray("5 \x80 f\xfcr Gr\xfc\xdf"
                                               "e");
}

void FormatsTest::cp1252Encodes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toCp1252(text), bytes);
}

void FormatsTest::utf8Validity_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ascii") << QByteArray("Name1=Feld") << true;
    QTest::newRow("umlauts") << QStringLiteral("Grüße €").toUtf8() << true;
    QTest::newRow("four bytes") << QStringLiteral("😀").toUtf8() << true;
    QTest::newRow("windows-1252 umlaut") << QByteArray("Gr\xfc\xdf"
                                                       "e")
                                         << false;
    QTest::newRow("cut sequence") << QByteArray("a\xc3") << false;
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << false;
    QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\xaf") << false;
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("stray continuation") << QByteArray("\x80") << false;
    QTest::newRow("bad third byte") << QByteArray("\xe2\x82\x41") << false;
}

void FormatsTest::utf8Validity() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(isValidUtf8(bytes), valid);
}

void FormatsTest::cp1252UnrepresentableCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unrepresentable");
    QTest::addColumn<QString>("replaced");
    QTest::newRow("plain") << u"Müller & Söhne €"_s << QString() << u"Müller & Söhne €"_s;
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("each once in order") << u"Łódź ✓ Projekt ł Ł"_s << u"Łź✓ł"_s << u"?ód? ? Projekt ? ?"_s;
    QTest::newRow("question mark is no loss") << u"Wer? Ω"_s << u"Ω"_s << u"Wer? ?"_s;
    QTest::newRow("surrogate pair is one character") << u"A\U0001F600B\U0001F600"_s << u"\U0001F600"_s << u"A?B?"_s;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QString(QChar(0xD800)) << u"?"_s;
}

void FormatsTest::cp1252UnrepresentableCharacters() {
    QFETCH(QString, text);
    QFETCH(QString, unrepresentable);
    QFETCH(QString, replaced);
    QCOMPARE(unrepresentableCharacters(text), unrepresentable);
    QCOMPARE(withUnrepresentableReplaced(text), replaced);
}

void FormatsTest::treeRecordsEncodeToFixture() {
    QByteArray encoded;
    for (const TreeFileRecord& record : sampleTreeRecords())
        encoded.append(encodeTreeRecord(record));
    QCOMPARE(encoded, readBytes(fixturePath(QStringLiteral("tree_sample.dat"))));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Adressen.dat"));
    writeTreeFile(path, sampleTreeRecords());
    QCOMPARE(readBytes(path), encoded);
}

void FormatsTest::treeFixtureReads() {
    QCOMPARE(readTreeFile(fixturePath(QStringLiteral("tree_sample.dat"))), sampleTreeRecords());
}

void FormatsTest::treeRecordRoundTrips_data() {
    QTest::addColumn<TreeFileRecord>("record");
    QTest::newRow("top level main entry") << TreeFileRecord{QStringLiteral("Firma"), 1, 7, 1};
    QTest::newRow("deep level") << TreeFileRecord{QStringLiteral("Abteilung"), 12, 99, 0};
    QTest::newRow("negative Baum") << TreeFileRecord{QStringLiteral("Person"), 2, 8, -1};
    QTest::newRow("extreme numbers") << TreeFileRecord{QStringLiteral("x"), -5, -2147483647 - 1, 2147483647};
    QTest::newRow("umlauts") << TreeFileRecord{QStringLiteral("Äußere Straße Öl"), 1, 3, -1};
    QTest::newRow("exactly 50") << TreeFileRecord{QString(50, u'ü'), 1, 4, 1};
}

void FormatsTest::treeRecordRoundTrips() {
    QFETCH(TreeFileRecord, record);
    QCOMPARE(decodeTreeRecord(encodeTreeRecord(record)), record);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Themen.dat"));
    const QList<TreeFileRecord> records = {record, {QStringLiteral("Folgeeintrag"), 1, 1, 0}};
    writeTreeFile(path, records);
    QCOMPARE(readTreeFile(path), records);
}

void FormatsTest::treeNameIsCutTo50() {
    const QString longName = QStringLiteral("Gesellschaft für Übersetzungen und Dolmetscherdienste mbH & Co. KG");
    const QByteArray bytes = encodeTreeRecord({longName, 1, 1, 1});
    QCOMPARE(bytes.size(), TreeRecordSize);
    QCOMPARE(static_cast<unsigned char>(bytes[0]), 50);
    QCOMPARE(bytes[51], '\0');
    QCOMPARE(decodeTreeRecord(bytes).name, longName.left(50));
}

// Plain Latin-1 letters are copied as they are; from the first other character on the code page
// decides, also where that happens near the 50-byte limit.
void FormatsTest::treeNameBytes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("latin-1") << u"Müller & Söhne ©"_s << QByteArray("M\xfcller & S\xf6hne \xa9");
    QTest::newRow("euro first") << u"€uro"_s << QByteArray("\x80uro");
    QTest::newRow("euro as byte 50") << QString(49, u'a') + u"€x"_s << QByteArray(49, 'a') + "\x80";
    QTest::newRow("euro after byte 50") << QString(50, u'a') + u"€"_s << QByteArray(50, 'a');
    QTest::newRow("C1 control is not a byte of its own") << u"a\u0080b"_s << QByteArray("a?b");
    QTest::newRow("undefined byte keeps its value") << u"a\u0081b"_s
                                                    << QByteArray("a\x81"
                                                                  "b");
    QTest::newRow("surrogate pair is one ?") << u"A\U0001F600B"_s << QByteArray("A?B");
    QTest::newRow("beyond the code page") << u"Łódź"_s
                                          << QByteArray("?\xf3"
                                                        "d?");
    QTest::newRow("long plain name") << QString(60, u'z') << QByteArray(50, 'z');
}

void FormatsTest::treeNameBytes() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QByteArray record = encodeTreeRecord({name, 1, 1, 1});
    QCOMPARE(static_cast<unsigned char>(record[0]), bytes.size());
    QCOMPARE(record.sliced(1, bytes.size()), bytes);
    QVERIFY(record.sliced(1 + bytes.size(), TreeNameMaxLength - bytes.size()).count('\0') ==
            TreeNameMaxLength - bytes.size());
}

void FormatsTest::extremeTreeLevelsAreClamped_data() {
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<qint32>("read");
    QTest::newRow("smallest") << qint32(-2147483647 - 1) << qint32(-1048576);
    QTest::newRow("largest") << qint32(2147483647) << qint32(1048576);
    QTest::newRow("just past the limit") << qint32(1048577) << qint32(1048576);
    QTest::newRow("at the limit") << qint32(-1048576) << qint32(-1048576);
}

// Level arithmetic (one deeper, one shallower) must not overflow on a damaged file.
void FormatsTest::extremeTreeLevelsAreClamped() {
    QFETCH(qint32, stored);
    QFETCH(qint32, read);
    QByteArray bytes(TreeRecordSize, '\0');
    qToLittleEndian<qint32>(stored, bytes.data() + 52);
    QCOMPARE(decodeTreeRecord(bytes).level, read);
}

void FormatsTest::treeRecordLengthOver50IsRejected() {
    QByteArray bytes = encodeTreeRecord({QStringLiteral("Name"), 1, 1, 1});
    bytes[0] = 51;
    QVERIFY_THROWS_EXCEPTION(FormatError, decodeTreeRecord(bytes));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Adressen.dat"));
    QVERIFY(writeBytes(path, bytes));
    QVERIFY_THROWS_EXCEPTION(FormatError, readTreeFile(path));
}

void FormatsTest::truncatedTreeFileIsRejected() {
    const QString path = fixturePath(QStringLiteral("tree_truncated.dat"));
    try {
        readTreeFile(path);
        QFAIL("a truncated tree file was accepted");
    } catch (const FormatError& error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
    }
}

void FormatsTest::missingTreeFileIsReported() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Adressen.dat"));
    try {
        readTreeFile(path);
        QFAIL("a missing tree file was accepted");
    } catch (const FileError& error) {
        QCOMPARE(error.message(), QStringLiteral("Kann Datei \"%1\" nicht finden").arg(path));
    }
}

void FormatsTest::treeFileWriteFailureIsReported() {
    QTemporaryDir dir;
    const QString notADirectory = dir.filePath(QStringLiteral("Daten"));
    QVERIFY(writeBytes(notADirectory, "x"));
    const QString path = notADirectory + QStringLiteral("/Adressen.dat");
    QVERIFY_THROWS_EXCEPTION(FileError, writeTreeFile(path, sampleTreeRecords()));
}

void FormatsTest::treeDisplayNames_data() {
    QTest::addColumn<QString>("name1");
    QTest::addColumn<QString>("name2");
    QTest::addColumn<bool>("person");
    QTest::addColumn<QString>("shown");
    QTest::newRow("person") << QStringLiteral("Jörg") << QStringLiteral("Weiß") << true << QStringLiteral("Jörg Weiß");
    QTest::newRow("company ignores Name2")
        << QStringLiteral("Müller GmbH") << QStringLiteral("Einkauf") << false << QStringLiteral("Müller GmbH");
    QTest::newRow("person without Name2") << QStringLiteral("Anna") << QString() << true << QStringLiteral("Anna ");
}

void FormatsTest::treeDisplayNames() {
    QFETCH(QString, name1);
    QFETCH(QString, name2);
    QFETCH(bool, person);
    QFETCH(QString, shown);
    QCOMPARE(treeDisplayName(name1, name2, person), shown);
}

void FormatsTest::catalogFileNamesAndCaptions() {
    QCOMPARE(catalogFileName(4), QStringLiteral("4.kat"));
    QCOMPARE(catalogFileName(30), QStringLiteral("30.kat"));
    QCOMPARE(catalogCaption(1), QStringLiteral("Dokument - Art"));
    QCOMPARE(catalogCaption(12), QStringLiteral("Herr / Frau"));
    QCOMPARE(catalogCaption(13), QStringLiteral("Grußwort"));
    QVERIFY(catalogCaption(30).isEmpty());
}

void FormatsTest::missingCatalogLeavesLines() {
    QTemporaryDir dir;
    QStringList lines = {QStringLiteral("bleibt")};
    QVERIFY(!LoadCatalog(lines, 4, dir.path()));
    QCOMPARE(lines, QStringList{QStringLiteral("bleibt")});
}

void FormatsTest::catalogLoads_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF after every line")
        << QByteArray("Brief\r\nFax\r\n") << QStringList{QStringLiteral("Brief"), QStringLiteral("Fax")};
    QTest::newRow("no break after the last line")
        << QByteArray("Brief\r\nFax") << QStringList{QStringLiteral("Brief"), QStringLiteral("Fax")};
    QTest::newRow("empty line kept") << QByteArray("\r\nFax\r\n\r\n")
                                     << QStringList{QString(), QStringLiteral("Fax"), QString()};
    QTest::newRow("LF only") << QByteArray("Brief\nFax\n")
                             << QStringList{QStringLiteral("Brief"), QStringLiteral("Fax")};
    QTest::newRow("windows-1252") << QByteArray("Gr\xfc\xdf"
                                                "e\r\n\x80-Rechnung\r\n")
                                  << QStringList{QStringLiteral("Grüße"), QStringLiteral("€-Rechnung")};
    QTest::newRow("empty file") << QByteArray() << QStringList();
}

void FormatsTest::catalogLoads() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("1.kat")), content));
    QStringList loaded = {QStringLiteral("vorher")};
    QVERIFY(LoadCatalog(loaded, 1, dir.path()));
    QCOMPARE(loaded, lines);
}

void FormatsTest::catalogSavesSortedCrLfCp1252() {
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("4.kat")), "alter Inhalt\r\n"));
    const QStringList lines = {QStringLiteral("Zentrale"), QStringLiteral("Äpfel"), QStringLiteral("büro"),
                               QStringLiteral("brief"),    QStringLiteral("Anton"), QStringLiteral("Ωmega"),
                               QStringLiteral("Brief"),    QStringLiteral("€uro")};
    SaveCatalog(lines, 4, dir.path());
    // German order ignoring case: Ä sorts with A, "büro" before "Zentrale", symbols come first;
    // lines that differ only in case follow their code points.
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("4.kat"))),
             QByteArray("\x80uro\r\nAnton\r\n\xc4pfel\r\nBrief\r\nbrief\r\nb\xfcro\r\nZentrale\r\n?mega\r\n"));
}

void FormatsTest::unwritableCatalogIsReported() {
    QTemporaryDir dir;
    const QString notADirectory = dir.filePath(QStringLiteral("General"));
    QVERIFY(writeBytes(notADirectory, "x"));
    try {
        SaveCatalog({QStringLiteral("Eintrag")}, 4, notADirectory);
        QFAIL("saving into an unusable directory was accepted");
    } catch (const FileError& error) {
        QVERIFY2(error.message().startsWith(QStringLiteral("Der Katalog \"4.kat\" konnte nicht gespeichert werden.")),
                 qPrintable(error.message()));
    }
}

void FormatsTest::columnFileEncodesToFixture() {
    const QByteArray fixture = readBytes(fixturePath(QStringLiteral("tab_short.dat")));
    QCOMPARE(encodeColumnFile(sampleColumnRows()), fixture);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tab.dat"));
    writeColumnFile(path, sampleColumnRows());
    QCOMPARE(readBytes(path), fixture);
}

void FormatsTest::columnFixtureReads() {
    QCOMPARE(readColumnFile(fixturePath(QStringLiteral("tab_short.dat"))), sampleColumnRows());
    QCOMPARE(decodeColumnFile(QByteArray("\x01\x00", 2)), QList<ColumnRow>());
}

void FormatsTest::columnLongStrings_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("longForm");
    QTest::newRow("255 bytes") << 255 << false;
    QTest::newRow("256 bytes") << 256 << true;
    QTest::newRow("70000 bytes") << 70000 << true;
}

void FormatsTest::columnLongStrings() {
    QFETCH(int, length);
    QFETCH(bool, longForm);
    const QString label = QString(length, u'ä');
    const QList<ColumnRow> rows = {{QStringLiteral("Titel"), label, QStringLiteral("30")}};
    const QByteArray bytes = encodeColumnFile(rows);

    const QByteArray field = QByteArray("\x01\x06\x05Titel", 8);
    QVERIFY(bytes.startsWith(field));
    if (longForm) {
        QCOMPARE(bytes[field.size()], '\x0C');
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + field.size() + 1), quint32(length));
    } else {
        QCOMPARE(bytes[field.size()], '\x06');
        QCOMPARE(static_cast<unsigned char>(bytes[field.size() + 1]), length);
    }
    QCOMPARE(decodeColumnFile(bytes), rows);
}

void FormatsTest::malformedColumnFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray row = QByteArray("\x06\x01"
                                      "a"
                                      "\x06\x01"
                                      "b"
                                      "\x06\x01"
                                      "c",
                                      9);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("wrong start byte") << QByteArray("\x02") + row + QByteArray(1, '\0');
    QTest::newRow("short length past the end") << QByteArray("\x01\x06\x09"
                                                             "abc",
                                                             6);
    QTest::newRow("long length past the end") << QByteArray("\x01\x0c\x00\x01\x00\x00"
                                                            "abc",
                                                            9);
    QTest::newRow("long length cut short") << QByteArray("\x01\x0c\x05\x00", 4);
    QTest::newRow("huge long length") << QByteArray("\x01\x0c\xff\xff\xff\xff"
                                                    "abc",
                                                    9);
    QTest::newRow("unknown string tag") << QByteArray("\x01\x07\x01"
                                                      "a",
                                                      4) +
                                               QByteArray(1, '\0');
    QTest::newRow("missing end byte") << QByteArray(1, '\x01') + row;
    QTest::newRow("two texts in a row") << QByteArray(1, '\x01') + row.left(6) + QByteArray(1, '\0');
    QTest::newRow("four texts") << QByteArray(1, '\x01') + row + row.left(3) + QByteArray(1, '\0');
}

void FormatsTest::malformedColumnFile() {
    QFETCH(QByteArray, bytes);
    QVERIFY_THROWS_EXCEPTION(FormatError, decodeColumnFile(bytes));
}

void FormatsTest::columnFileErrorsNameTheFile() {
    const QString broken = fixturePath(QStringLiteral("tab_bad_length.dat"));
    try {
        readColumnFile(broken);
        QFAIL("a column file with a wrong length byte was accepted");
    } catch (const FormatError& error) {
        QVERIFY2(error.message().contains(broken), qPrintable(error.message()));
    }

    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("Tab.dat"));
    try {
        readColumnFile(missing);
        QFAIL("a missing column file was accepted");
    } catch (const FormatError&) {
        QFAIL("a missing file is not a format error");
    } catch (const FileError& error) {
        QVERIFY2(error.message().contains(missing), qPrintable(error.message()));
    }
}

void FormatsTest::arrangementAndSortStayTogether_data() {
    QTest::addColumn<QByteArray>("before"); // "<none>": no file; "<dir>": a folder that cannot be read as one
    QTest::addColumn<bool>("sortStored");
    QTest::addColumn<bool>("sortAsked");
    QTest::addColumn<QByteArray>("after"); // empty: no file
    const QByteArray old = encodeColumnFile({{QStringLiteral("Titel"), QStringLiteral("Titel"), QStringLiteral("30")}});
    const QByteArray wished = encodeColumnFile({{QStringLiteral("Nr"), QStringLiteral("Nummer"), QStringLiteral("5")}});
    QTest::newRow("saved") << old << true << true << wished;
    QTest::newRow("sort refused, old file back") << old << false << true << old;
    QTest::newRow("sort refused, new file removed") << QByteArray("<none>") << false << true << QByteArray();
    QTest::newRow("unreadable file not replaced") << QByteArray("<dir>") << true << false << QByteArray();
}

// The column file and the sort settings never describe two arrangements.
void FormatsTest::arrangementAndSortStayTogether() {
    QFETCH(QByteArray, before);
    QFETCH(bool, sortStored);
    QFETCH(bool, sortAsked);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tab.dat"));
    if (before == "<dir>")
        QVERIFY(QDir().mkdir(path));
    else if (before != "<none>")
        QVERIFY(writeBytes(path, before));
    bool asked = false;
    const QString error =
        saveColumnArrangement(path, {{QStringLiteral("Nr"), QStringLiteral("Nummer"), QStringLiteral("5")}}, [&] {
            asked = true;
            return sortStored ? QString() : QStringLiteral("Die Sortierung konnte nicht gespeichert werden.");
        });
    QCOMPARE(asked, sortAsked);
    QCOMPARE(error.isEmpty(), sortStored && sortAsked);
    if (!sortStored)
        QCOMPARE(error, QStringLiteral("Die Sortierung konnte nicht gespeichert werden."));
    QCOMPARE(readBytes(path), after);
    if (before == "<dir>")
        QVERIFY(QFileInfo(path).isDir());
}

void FormatsTest::columnFileRoundTripIsByteExact_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QList<ColumnRow>>("rows");
    QTest::newRow("short texts") << "tab_short.dat" << sampleColumnRows();
    const QString longHeading = QStringLiteral("Überschrift ") + QString(288, u'ä');
    QTest::newRow("heading of 300 bytes")
        << "tab_long.dat"
        << QList<ColumnRow>{{QStringLiteral("Titel"), longHeading, QStringLiteral("30")},
                            {QStringLiteral("Art"), QStringLiteral("Art"), QStringLiteral("12")}};
}

// What is read is what the file holds, and writing it back gives the same bytes.
void FormatsTest::columnFileRoundTripIsByteExact() {
    QFETCH(QString, fixture);
    QFETCH(QList<ColumnRow>, rows);
    const QString source = fixturePath(fixture);
    const QList<ColumnRow> read = readColumnFile(source);
    QCOMPARE(read, rows);

    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("Tab.dat"));
    writeColumnFile(copy, read);
    QCOMPARE(readBytes(copy), readBytes(source));
}

void FormatsTest::longFormOfShortTextsReads() {
    QCOMPARE(readColumnFile(fixturePath(QStringLiteral("tab_long_form.dat"))), sampleColumnRows());
}

void FormatsTest::brokenColumnFileLoadsOneEmptyRow_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("messageStart");
    QTest::newRow("wrong length byte") << readBytes(fixturePath(QStringLiteral("tab_bad_length.dat")))
                                       << "Die Spaltendatei";
    QTest::newRow("cut after the first row")
        << readBytes(fixturePath(QStringLiteral("tab_short.dat"))).left(20) << "Die Spaltendatei";
    QTest::newRow("empty list") << QByteArray("\x01\x00", 2) << "";
}

// The dialog's loading never fails hard: the arrangement is one empty row, the message says what is
// wrong, and the file stays as it was.
void FormatsTest::brokenColumnFileLoadsOneEmptyRow() {
    QFETCH(QByteArray, content);
    QFETCH(QString, messageStart);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tab.dat"));
    QVERIFY(writeBytes(path, content));
    const QDateTime modified = QFileInfo(path).lastModified();

    const LoadedArrangement loaded = loadColumnArrangement(path);
    QCOMPARE(loaded.rows, QList<ColumnRow>{ColumnRow{}});
    if (messageStart.isEmpty()) {
        QVERIFY2(loaded.message.isEmpty(), qPrintable(loaded.message));
    } else {
        QVERIFY2(loaded.message.startsWith(messageStart), qPrintable(loaded.message));
        QVERIFY2(loaded.message.contains(path), qPrintable(loaded.message));
    }
    QCOMPARE(readBytes(path), content);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
}

void FormatsTest::crc32OfKnownValues_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<quint32>("crc");
    // Check values of the CRC-32 used by ZIP (ISO 3309 / ITU-T V.42).
    QTest::newRow("empty") << QByteArray() << quint32(0);
    QTest::newRow("check string") << QByteArray("123456789") << quint32(0xCBF43926);
    QTest::newRow("pangram") << QByteArray("The quick brown fox jumps over the lazy dog") << quint32(0x414FA339);
}

void FormatsTest::crc32OfKnownValues() {
    QFETCH(QByteArray, data);
    QFETCH(quint32, crc);
    QCOMPARE(crc32(data), crc);
}

void FormatsTest::zipStructureReadsBack() {
    const QByteArray mimetype("application/vnd.oasis.opendocument.text");
    const QByteArray text = QStringLiteral("Grüße\n").toUtf8();
    ZipWriter writer(QDateTime(QDate(2024, 3, 15), QTime(10, 30, 20)));
    writer.addFile(QStringLiteral("mimetype"), mimetype);
    writer.addFile(QStringLiteral("META-INF/manifest.xml"), QByteArray());
    writer.addFile(QStringLiteral("Grüße.txt"), text);
    const QByteArray zip = writer.archive();

    // An OpenDocument reader finds the type at a fixed place: right after the first local header.
    QVERIFY(zip.startsWith("PK\x03\x04"));
    QCOMPARE(zip.mid(30, 8), QByteArray("mimetype"));
    QCOMPARE(zip.mid(38, mimetype.size()), mimetype);

    const auto entries = readZip(zip);
    QVERIFY(entries);
    QCOMPARE(entries->size(), 3);
    QCOMPARE(entries->at(0).name, QStringLiteral("mimetype"));
    QCOMPARE(entries->at(0).localOffset, 0u);
    QCOMPARE(entries->at(2).name, QStringLiteral("Grüße.txt"));
    QVERIFY(entries->at(2).flags & 0x0800);
    QCOMPARE(entries->at(0).flags & 0x0800, 0);
    for (const ZipEntryView& entry : *entries) {
        QCOMPARE(entry.method, quint16(0));
        QCOMPARE(entry.crc, crc32(entry.data));
    }
    QCOMPARE(entries->at(0).data, mimetype);
    QCOMPARE(entries->at(2).data, text);
    // DOS date and time in the central directory: 2024-03-15 10:30:20.
    QCOMPARE(get16(zip, zip.indexOf("PK\x01\x02") + 14), quint16((44 << 9) | (3 << 5) | 15));
    QCOMPARE(get16(zip, zip.indexOf("PK\x01\x02") + 12), quint16((10 << 11) | (30 << 5) | 10));
}

void FormatsTest::zipPassesUnzipTest() {
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty())
        QSKIP("unzip is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brief.odt"));
    writeDefaultTemplates(dir.path());
    QProcess process;
    process.start(unzip, {QStringLiteral("-t"), path});
    QVERIFY(process.waitForFinished());
    QVERIFY2(process.exitCode() == 0, process.readAllStandardOutput().constData());
}

void FormatsTest::installationContentIsWritten() {
    QTemporaryDir dir;
    const QString general = dir.filePath(QStringLiteral("General"));
    writeDefaultCatalogs(general);
    writeDefaultColumnFile(general + QStringLiteral("/Tab.dat"));
    writeTemplateClientIni(dir.filePath(QStringLiteral("Empty/Mand.ini")));
    writeDefaultTemplates(dir.filePath(QStringLiteral("Vorlagen")));

    // Every catalog is written sorted, without regard to case.
    const QList<std::pair<int, QStringList>> catalogs = {
        {1,
         {"Angebot", "Auftrag", "Bestellung", "Brief", "E-Mail", "Fax", "Mahnung", "Notiz", "Protokoll", "Rechnung",
          "Vertrag"}},
        {4, {"Buchhaltung", "Geschäftsführung", "Sekretariat", "Vertrieb"}},
        {10, {"Liebe", "Lieber", "Sehr geehrte Damen und Herren,", "Sehr geehrte Frau", "Sehr geehrter Herr"}},
        {11, {"Familie", "Firma", "Frau", "Herrn"}},
        {12, {"Frau", "Herr"}},
        {13, {"Freundliche Grüße", "Mit freundlichen Grüßen", "Viele Grüße"}},
        {30, {"Anrede",    "AnredeBrief", "BBank",     "BBLZ",  "BKonto", "Datum1",  "Datum2", "Fax",
              "Fax2",      "Feld1",       "Feld2",     "Feld3", "Feld4",  "Feld5",   "Feld6",  "Grusswort",
              "Herr_Frau", "Internet1",   "Internet2", "Land",  "Mail",   "Mail2",   "Name1",  "Name2",
              "Name3",     "Ort",         "PF",        "PLZ1",  "PLZ2",   "Strasse", "Tel1",   "Tel2",
              "Tel3",      "Tel4",        "Tel5",      "Tel6",  "Zahl1",  "Zahl2"}},
    };
    for (const auto& [number, expected] : catalogs) {
        QStringList lines;
        QVERIFY2(LoadCatalog(lines, number, general), qPrintable(catalogFileName(number)));
        QCOMPARE(lines, expected);
    }

    const QList<ColumnRow> columns = readColumnFile(general + QStringLiteral("/Tab.dat"));
    QVERIFY(!columns.isEmpty());
    for (const ColumnRow& column : columns) {
        QVERIFY2(offeredColumnFields().contains(column.field), qPrintable(column.field));
        QVERIFY(column.width.toInt() > 0);
    }

    QSettings ini(dir.filePath(QStringLiteral("Empty/Mand.ini")), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Adresse/Feld1")).toString(), QStringLiteral("Feld1"));
    QCOMPARE(ini.value(QStringLiteral("Adresse/Feld8")).toString(), QStringLiteral("DatumsFeld2"));
    QCOMPARE(ini.value(QStringLiteral("Adresse/Feld10")).toString(), QStringLiteral("ZahlenFeld2"));
    QCOMPARE(ini.value(QStringLiteral("Dokument/Feld6")).toString(), QStringLiteral("Feld6"));
    QCOMPARE(ini.value(QStringLiteral("Dokument/SortSpalte")).toString(), QStringLiteral("0"));
    QCOMPARE(ini.value(QStringLiteral("Dokument/SortAbsteigend")).toString(), QStringLiteral("0"));
    QCOMPARE(ini.value(QStringLiteral("Adressvorlage/Aktuell")).toString(), QStringLiteral("1"));

    const QString letter = QString::fromUtf8(readBytes(dir.filePath(QStringLiteral("Vorlagen/Brief.txt"))));
    QVERIFY(letter.contains(QStringLiteral("Mit freundlichen Grüßen")));
}

void FormatsTest::letterTemplateIsWellFormedOdf() {
    QTemporaryDir dir;
    writeDefaultTemplates(dir.path());
    const auto entries = readZip(readBytes(dir.filePath(QStringLiteral("Brief.odt"))));
    QVERIFY(entries);
    QCOMPARE(entries->at(0).name, QStringLiteral("mimetype"));
    QCOMPARE(entries->at(0).data, QByteArray("application/vnd.oasis.opendocument.text"));

    QStringList names;
    for (const ZipEntryView& entry : *entries) {
        names.append(entry.name);
        if (!entry.name.endsWith(QStringLiteral(".xml")))
            continue;
        QXmlStreamReader xml(entry.data);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(entry.name + QStringLiteral(": ") + xml.errorString()));
    }
    for (const char* required : {"content.xml", "styles.xml", "meta.xml", "META-INF/manifest.xml"})
        QVERIFY2(names.contains(QLatin1String(required)), required);
}

void FormatsTest::installationContentKeepsExistingFiles_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("catalog") << QStringLiteral("General/4.kat");
    QTest::newRow("field catalog") << QStringLiteral("General/30.kat");
    QTest::newRow("column file") << QStringLiteral("General/Tab.dat");
    QTest::newRow("client settings") << QStringLiteral("Empty/Mand.ini");
    QTest::newRow("text template") << QStringLiteral("Vorlagen/Brief.txt");
    QTest::newRow("document template") << QStringLiteral("Vorlagen/Brief.odt");
}

void FormatsTest::installationContentKeepsExistingFiles() {
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    const QString path = dir.filePath(relativePath);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QVERIFY(writeBytes(path, "eigener Inhalt"));

    writeDefaultCatalogs(dir.filePath(QStringLiteral("General")));
    writeDefaultColumnFile(dir.filePath(QStringLiteral("General/Tab.dat")));
    writeTemplateClientIni(dir.filePath(QStringLiteral("Empty/Mand.ini")));
    writeDefaultTemplates(dir.filePath(QStringLiteral("Vorlagen")));

    QCOMPARE(readBytes(path), QByteArray("eigener Inhalt"));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("General/1.kat"))));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Vorlagen/Brief.odt"))));
}

QTEST_GUILESS_MAIN(FormatsTest)
#include "tst_formats.moc"
