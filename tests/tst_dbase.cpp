#include "app/safe_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"
#include "data/table.h"
#include "data/treefile.h"
#include "file_bytes.h"
#include "required_tool.h"
#include "scripted_interaction.h"
#include "small_disk.h"
#include "test_install.h"
#include "tools/address_dbase.h"
#include "tools/dbase_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zep;
using zep::test::ScriptedInteraction;
using zep::test::SmallDisk;
using zep::test::writeBytes;

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QDate Today(2026, 12, 10);

int importFile(const QString& dbfPath, const QString& dataDir, const QString& treeFile) {
    return importAddresses(readAddressImport(dbfPath), dataDir, treeFile);
}

// A long note with umlauts that no text field of 254 bytes can hold.
QString longNote() {
    QString note;
    for (int i = 0; i < 40; ++i)
        note += QStringLiteral("Zeile %1: Grüße an Frau Weiß.\r\n").arg(i);
    return note;
}

// Two client data directories: the source with three addresses, the target with one entry already
// in its table and tree file.
struct Clients {
    QTemporaryDir source;
    QTemporaryDir target;
    QString targetTree() const { return QDir(target.path()).filePath(QStringLiteral("Adressen.dat")); }

    Clients() {
        test::createClientTables(source.path());
        test::createClientTables(target.path());
        Table adr;
        test::openTable(adr, source.path(), QStringLiteral("Adressen.DB"));
        test::appendRecord(adr, {{"Vor", 0},
                                 {"Baum", 1},
                                 {"Person", false},
                                 {"Name1", "Müller & Söhne"},
                                 {"Ort", "Straßburg"},
                                 {"AnredeBrief", "Sehr geehrte Damen und Herren,"},
                                 {"Datum1", QDate(2024, 2, 29)},
                                 {"Zahl1", 12.5},
                                 {"Notice", longNote()}});
        test::appendRecord(adr, {{"Vor", 1},
                                 {"Baum", -1},
                                 {"Person", true},
                                 {"Name1", "Weiß"},
                                 {"Name2", "Änne"},
                                 {"Datum2", QDate(1999, 12, 31)},
                                 {"Zahl2", -3.25},
                                 {"Notice", "kurz"}});
        test::appendRecord(adr, {{"Vor", 0}, {"Name1", "€uro-Büro"}});
        Table existing;
        test::openTable(existing, target.path(), QStringLiteral("Adressen.DB"));
        test::appendRecord(existing, {{"Vor", 0}, {"Baum", -1}, {"Name1", "Vorhanden"}});
        writeTreeFile(targetTree(), {{QStringLiteral("Vorhanden"), 1, 1, -1}});
    }
};

QList<QVariantList> addressRows(const QString& dir, const QStringList& fields) {
    Table adr;
    test::openTable(adr, dir, QStringLiteral("Adressen.DB"));
    QList<QVariantList> rows;
    for (adr.first(); !adr.eof(); adr.next()) {
        QVariantList row;
        for (const QString& field : fields)
            row.append(adr.field(field).value());
        rows.append(row);
    }
    return rows;
}

// A valid table of one text and one date column, two records.
QByteArray smallDbf() {
    DbfTable table;
    table.fields = {{QStringLiteral("NAME1"), 'C', 20, 0}, {QStringLiteral("DATUM1"), 'D', 8, 0}};
    table.records = {{QStringLiteral("Köhler"), QDate(2020, 1, 2)}, {QStringLiteral("Jäger"), QVariant()}};
    return writeDbf(table, Today).table;
}

// A memo table of one record ("Name", a note) as dBase III writes it.
DbfFiles memoDbf(char version) {
    DbfTable table;
    table.fields = {{QStringLiteral("NAME1"), 'C', 10, 0}, {QStringLiteral("NOTICE"), 'M', 10, 0}};
    table.records = {{QStringLiteral("Name"), QStringLiteral("alt")}};
    DbfFiles files = writeDbf(table, Today);
    files.table[0] = version;
    return files;
}

// The same table as dBase IV keeps it: version 0x8B, block size 512 in the memo header, the note in
// block 1 behind its 8-byte header, followed by bytes that belong to no note.
DbfFiles dbaseFourMemo(const DbfFiles& three) {
    DbfFiles files{three.table, QByteArray(512, '\0')};
    files.table[0] = char(0x8B);
    files.memo[20] = char(0x00);
    files.memo[21] = char(0x02);
    const QByteArray note = toCp1252(QStringLiteral("Notiz über\x1A zwei Zeilen"));
    QByteArray block("\xFF\xFF\x08\x00", 4);
    const quint32 length = quint32(note.size() + 8);
    for (int shift = 0; shift < 32; shift += 8)
        block.append(char((length >> shift) & 0xFF));
    files.memo += block + note + QByteArray("Rest", 4) + QByteArray(512 - 8 - note.size() - 4, '\x1A');
    return files;
}

// A table of the text fields NAME1 and ORT (30 bytes each) holding the bytes given as they are, with
// the language byte given.
QByteArray rawTextDbf(const QList<QList<QByteArray>>& records, char languageByte) {
    constexpr int FieldLength = 30;
    DbfTable table;
    table.fields = {{QStringLiteral("NAME1"), 'C', FieldLength, 0}, {QStringLiteral("ORT"), 'C', FieldLength, 0}};
    for (qsizetype r = 0; r < records.size(); ++r)
        table.records.append({QString(), QString()});
    QByteArray bytes = writeDbf(table, Today).table;
    const int headerSize = quint8(bytes[8]) | quint8(bytes[9]) << 8;
    const int recordSize = 1 + 2 * FieldLength;
    for (qsizetype r = 0; r < records.size(); ++r)
        for (qsizetype f = 0; f < records[r].size(); ++f)
            bytes.replace(headerSize + r * recordSize + 1 + f * FieldLength, records[r][f].size(), records[r][f]);
    bytes[29] = languageByte;
    return bytes;
}

// Marks a record of a table as deleted, as dBase does.
void markDeleted(QByteArray& bytes, int record) {
    const int headerSize = quint8(bytes[8]) | quint8(bytes[9]) << 8;
    const int recordSize = quint8(bytes[10]) | quint8(bytes[11]) << 8;
    bytes[headerSize + record * recordSize] = '*';
}

QStringList treeNames(const QString& treeFile) {
    QStringList names;
    for (const TreeFileRecord& record : readTreeFile(treeFile))
        names.append(record.name);
    return names;
}

// Bytes that end right before a page that cannot be read.
class GuardedBytes {
public:
    explicit GuardedBytes(const QByteArray& bytes) : size_(bytes.size()) {
        const qsizetype page = ::sysconf(_SC_PAGESIZE);
        const qsizetype pages = size_ / page + 1;
        length_ = (pages + 1) * page;
        base_ = static_cast<char*>(
            ::mmap(nullptr, size_t(length_), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        ::mprotect(base_ + pages * page, size_t(page), PROT_NONE);
        data_ = base_ + pages * page - size_;
        std::memcpy(data_, bytes.constData(), size_t(size_));
    }
    ~GuardedBytes() { ::munmap(base_, size_t(length_)); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    QByteArray bytes() const { return QByteArray::fromRawData(data_, size_); }

private:
    qsizetype size_;
    qsizetype length_ = 0;
    char* base_ = nullptr;
    char* data_ = nullptr;
};

} // namespace

class TestDbase : public QObject {
    Q_OBJECT

private slots:
    void fieldNames_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("short kept") << QStringList{"Name1", "PLZ1"} << QStringList{"Name1", "PLZ1"};
        QTest::newRow("cut to ten") << QStringList{"AnredeBrief"} << QStringList{"AnredeBrie"};
        QTest::newRow("cut names kept apart") << QStringList{"AnredeBrief", "AnredeBriefe", "AnredeBrieg"}
                                              << QStringList{"AnredeBrie", "AnredeBri1", "AnredeBri2"};
        QTest::newRow("case counts as same")
            << QStringList{"Strassenname", "STRASSENNAMEN"} << QStringList{"Strassenna", "STRASSENN1"};
    }

    void fieldNames() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        QCOMPARE(dbfFieldNames(names), expected);
    }

    // What the export writes, as another program would read it: dBase III with a memo file,
    // Windows-1252 text, the 11-character field name cut, no work or version marker.
    void exportWritesDbaseThree() {
        Clients clients;
        QTemporaryDir out;
        QCOMPARE(exportAddresses(clients.source.path(), out.path(), Today), 3);
        const QByteArray dbf = readBytes(QDir(out.path()).filePath(QStringLiteral("Adressen.dbf")));
        QCOMPARE(quint8(dbf.at(0)), quint8(0x83));
        QCOMPARE(dbf.mid(1, 3), QByteArray("\x7E\x0C\x0A", 3));
        QCOMPARE(dbf.back(), '\x1A');
        QVERIFY(dbf.contains(toCp1252(u"Müller & Söhne")));
        QVERIFY(dbf.contains(QByteArray("\x80uro-B\xFCro")));
        QVERIFY(dbf.contains("20240229"));
        const DbfTable table = readDbf(dbf, readBytes(QDir(out.path()).filePath(QStringLiteral("Adressen.dbt"))),
                                       QStringLiteral("Adressen.dbf"));
        QStringList names;
        QString types;
        for (const DbfField& field : table.fields) {
            names.append(field.name);
            types += QLatin1Char(field.type);
        }
        QVERIFY(names.contains(QStringLiteral("AnredeBrie")));
        QVERIFY(!names.contains(QStringLiteral("Help")) && !names.contains(QStringLiteral("VV34")));
        QCOMPARE(types.count(u'D'), 2);
        QCOMPARE(types.count(u'L'), 1);
        QCOMPARE(types.count(u'M'), 1);
        QCOMPARE(table.records.size(), 3);
    }

    // A table that cannot be written leaves no new memo file that an older table would misread.
    void failedExportLeavesNoMemoFile() {
        Clients clients;
        QTemporaryDir out;
        QVERIFY(QDir(out.path()).mkdir(QStringLiteral("Adressen.dbf")));
        QVERIFY_THROWS_EXCEPTION(FileError, exportAddresses(clients.source.path(), out.path(), Today));
        QVERIFY(!QFile::exists(QDir(out.path()).filePath(QStringLiteral("Adressen.dbt"))));
    }

    // Only short notes: the note is a text field and no memo file is written.
    void shortNotesNeedNoMemoFile() {
        QTemporaryDir data;
        QTemporaryDir out;
        test::createClientTables(data.path());
        Table adr;
        test::openTable(adr, data.path(), QStringLiteral("Adressen.DB"));
        test::appendRecord(adr, {{"Vor", 0}, {"Name1", "A"}, {"Notice", QString(254, u'ä')}});
        QCOMPARE(exportAddresses(data.path(), out.path(), Today), 1);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("Adressen.dbf")});
        const DbfTable table =
            readDbf(readBytes(QDir(out.path()).filePath(QStringLiteral("Adressen.dbf"))), {}, QStringLiteral("x"));
        QCOMPARE(quint8(readBytes(QDir(out.path()).filePath(QStringLiteral("Adressen.dbf"))).at(0)), quint8(0x03));
        const int notice = int(std::find_if(table.fields.begin(), table.fields.end(),
                                            [](const DbfField& f) { return f.name == QStringLiteral("Notice"); }) -
                               table.fields.begin());
        QCOMPARE(table.fields[notice].type, 'C');
        QCOMPARE(table.records[0][notice].toString(), QString(254, u'ä'));
    }

    // Exported and imported into another client: every field arrives, the addresses are new top-level
    // entries behind the existing one, and the tree file lists them.
    void roundTrip() {
        Clients clients;
        QTemporaryDir out;
        QCOMPARE(exportAddresses(clients.source.path(), out.path(), Today), 3);
        QCOMPARE(importFile(QDir(out.path()).filePath(QStringLiteral("Adressen.dbf")), clients.target.path(),
                            clients.targetTree()),
                 3);
        const QStringList fields{"Person", "Name1",  "Name2", "Ort",   "AnredeBrief",
                                 "Datum1", "Datum2", "Zahl1", "Zahl2", "Notice"};
        QList<QVariantList> expected = addressRows(clients.source.path(), fields);
        QList<QVariantList> imported = addressRows(clients.target.path(), fields);
        QCOMPARE(imported.size(), 4);
        imported.removeFirst();
        // A blank logical reads back as null, as it was written.
        QCOMPARE(imported, expected);
        QCOMPARE(addressRows(clients.target.path(), {"Nr", "Vor", "Baum"}),
                 (QList<QVariantList>{{qint64(1), qint64(0), qint64(-1)},
                                      {qint64(2), qint64(0), qint64(-1)},
                                      {qint64(3), qint64(0), qint64(-1)},
                                      {qint64(4), qint64(0), qint64(-1)}}));
        QCOMPARE(readTreeFile(clients.targetTree()),
                 (QList<TreeFileRecord>{{QStringLiteral("Vorhanden"), 1, 1, -1},
                                        {QStringLiteral("Müller & Söhne"), 1, 2, -1},
                                        {QStringLiteral("Weiß Änne"), 1, 3, -1},
                                        {QStringLiteral("€uro-Büro"), 1, 4, -1}}));
    }

    void badInput_data() {
        QTest::addColumn<QByteArray>("dbf");
        QTest::addColumn<QString>("detail");
        const QByteArray good = smallDbf();
        QTest::newRow("empty") << QByteArray() << "sie ist zu kurz";
        QTest::newRow("picture") << QByteArray("\x89PNG\r\n\x1A\n").repeated(8) << "die Kennung am Anfang fehlt";
        QTest::newRow("record cut off") << good.left(good.size() - 10) << "sie ist unvollständig, es fehlen Datensätze";
        QTest::newRow("header cut off") << good.left(40) << "der Kopf ist beschädigt";
        QByteArray wrongSize = good;
        wrongSize[10] = char(wrongSize[10] + 1);
        QTest::newRow("record size wrong") << wrongSize << "der Kopf ist beschädigt";
        QByteArray unknownType = good;
        unknownType[32 + 11] = 'X';
        QTest::newRow("unknown type") << unknownType << "das Feld \"NAME1\" hat den unbekannten Typ \"X\"";
        QByteArray huge = good;
        huge[7] = char(0x7F);
        QTest::newRow("count beyond file") << huge << "sie ist unvollständig, es fehlen Datensätze";
        DbfTable memoTable;
        memoTable.fields = {{QStringLiteral("NAME1"), 'C', 5, 0}, {QStringLiteral("NOTICE"), 'M', 10, 0}};
        memoTable.records = {{QStringLiteral("A"), QStringLiteral("Notiz")}};
        QTest::newRow("memo file missing") << writeDbf(memoTable, Today).table << "die Notizdatei ist unvollständig";
    }

    // A damaged or foreign file is refused with a German message naming it; table and tree file stay.
    void badInput() {
        QFETCH(QByteArray, dbf);
        QFETCH(QString, detail);
        Clients clients;
        const QString path = QDir(clients.source.path()).filePath(QStringLiteral("Fremd.dbf"));
        QVERIFY(writeBytes(path, dbf));
        const QByteArray treeBefore = readBytes(clients.targetTree());
        try {
            importFile(path, clients.target.path(), clients.targetTree());
            QFAIL("the file was taken");
        } catch (const FormatError& error) {
            QCOMPARE(error.message(), QStringLiteral("Die Datei \"%1\" ist keine lesbare dBase-Datei: %2.")
                                          .arg(QDir::toNativeSeparators(path), detail));
        }
        QCOMPARE(addressRows(clients.target.path(), {"Name1"}), QList<QVariantList>{{QStringLiteral("Vorhanden")}});
        QCOMPARE(readBytes(clients.targetTree()), treeBefore);
    }

    // A DOS name the tree file cannot hold ("ı", 0xD5 in code page 850) refuses the file: the tree
    // would show another name than the table.
    void namesTheTreeCannotHoldAreRefused() {
        Clients clients;
        DbfTable table;
        table.fields = {{QStringLiteral("NAME1"), 'C', 20, 0}};
        table.records = {{QStringLiteral("Yildiz")}};
        QByteArray bytes = writeDbf(table, Today).table;
        bytes[29] = char(0x02);
        bytes.replace(bytes.indexOf("Yildiz"), 6, QByteArray("Y\xD5ld\xD5z"));
        const QString path = QDir(clients.source.path()).filePath(QStringLiteral("Dos.dbf"));
        QVERIFY(writeBytes(path, bytes));
        const QByteArray treeBefore = readBytes(clients.targetTree());
        try {
            importFile(path, clients.target.path(), clients.targetTree());
            QFAIL("the file was taken");
        } catch (const FormatError& error) {
            QCOMPARE(error.message(),
                     QStringLiteral("Die Datei \"%1\" enthält Namen mit Zeichen, die in der Baumansicht nicht "
                                    "gespeichert werden können: ı. Es wurde keine Adresse eingelesen.")
                         .arg(QDir::toNativeSeparators(path)));
        }
        QCOMPARE(addressRows(clients.target.path(), {"Name1"}), QList<QVariantList>{{QStringLiteral("Vorhanden")}});
        QCOMPARE(readBytes(clients.targetTree()), treeBefore);
    }

    // A table of other data has no column an address could take.
    void fileWithoutAddressFields() {
        Clients clients;
        DbfTable other;
        other.fields = {{QStringLiteral("ARTIKEL"), 'C', 10, 0}, {QStringLiteral("PREIS"), 'N', 8, 2}};
        other.records = {{QStringLiteral("Schraube"), 0.25}};
        const QString path = QDir(clients.source.path()).filePath(QStringLiteral("Artikel.dbf"));
        QVERIFY(writeBytes(path, writeDbf(other, Today).table));
        QVERIFY_THROWS_EXCEPTION(FormatError, importFile(path, clients.target.path(), clients.targetTree()));
        QCOMPARE(addressRows(clients.target.path(), {"Name1"}).size(), 1);
    }

    // A tree file that cannot be written leaves the table as it was: no address without a tree entry.
    void treeFileFailureAddsNothing() {
        Clients clients;
        QTemporaryDir out;
        exportAddresses(clients.source.path(), out.path(), Today);
        const QString blocked = QDir(clients.target.path()).filePath(QStringLiteral("Ordner.dat"));
        QVERIFY(QDir().mkdir(blocked));
        QVERIFY_THROWS_EXCEPTION(FileError, importFile(QDir(out.path()).filePath(QStringLiteral("Adressen.dbf")),
                                                       clients.target.path(), blocked));
        QCOMPARE(addressRows(clients.target.path(), {"Name1"}), QList<QVariantList>{{QStringLiteral("Vorhanden")}});
    }

    // Random damage to valid files (dBase III with and without memo, dBase IV memo) is refused or
    // read. Each input ends at a page that cannot be read, so reading past its end crashes the test.
    void fuzzedInputs() {
        const DbfFiles memoFiles = memoDbf(0x83);
        const QList<DbfFiles> seeds{{smallDbf(), {}}, memoFiles, dbaseFourMemo(memoFiles)};
        QRandomGenerator random(20261210);
        int refused = 0;
        for (int round = 0; round < 6000; ++round) {
            const DbfFiles& seed = seeds[round % seeds.size()];
            QByteArray table = seed.table;
            QByteArray memo = seed.memo;
            QByteArray& target = random.bounded(3) == 0 && !memo.isEmpty() ? memo : table;
            const int changes = int(random.bounded(1, 6));
            for (int c = 0; c < changes; ++c)
                target[int(random.bounded(int(target.size())))] = char(random.bounded(256));
            if (random.bounded(4) == 0)
                target.truncate(int(random.bounded(int(target.size()))));
            const GuardedBytes guardedTable(table);
            const GuardedBytes guardedMemo(memo);
            try {
                const DbfTable read = readDbf(guardedTable.bytes(), guardedMemo.bytes(), QStringLiteral("x.dbf"));
                for (const QVariantList& record : read.records)
                    QCOMPARE(record.size(), read.fields.size());
            } catch (const FormatError&) {
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }

    // Language byte 1 is code page 437 (0x9B is a cent sign there, ø in code page 850); a dBase IV
    // memo is cut at the length in its block header, not at an end mark.
    void readsDosCodePagesAndDbaseFourMemos() {
        const DbfFiles three = memoDbf(0x83);
        QByteArray table = three.table;
        table[29] = char(0x01);
        QByteArray name = QByteArray("Gr\x81\xE1"
                                     "e\x9B");
        table.replace(table.indexOf("Name"), name.size(), name);
        const DbfTable dos = readDbf(table, three.memo, QStringLiteral("dos.dbf"));
        QCOMPARE(dos.records.value(0).value(0).toString(), QStringLiteral("Grüße¢"));

        const DbfTable four = readDbf(dbaseFourMemo(three).table, dbaseFourMemo(three).memo, QStringLiteral("iv.dbf"));
        QCOMPARE(four.records.value(0).value(1).toString(), QStringLiteral("Notiz über\x1A zwei Zeilen"));
    }

    // A table written by the spreadsheet's dBase export (code page 850, language byte 0, upper-case
    // names) is imported with its umlauts, dates, logicals and numbers.
    void importsSpreadsheetExport() {
        REQUIRE_TOOL("soffice", "soffice fehlt: scripts/setup.sh installiert es für die Tests");
        const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        QTemporaryDir work;
        const QString sheet = QDir(work.path()).filePath(QStringLiteral("adressen.fods"));
        QVERIFY(QFile::copy(QStringLiteral(ZEP_TEST_DATA "/calc_addresses.fods"), sheet));
        QProcess convert;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), work.path()); // a profile of its own
        convert.setProcessEnvironment(environment);
        convert.start(office, {QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("dbf"),
                               QStringLiteral("--outdir"), work.path(), sheet});
        QVERIFY(convert.waitForFinished(180000));
        const QString dbf = QDir(work.path()).filePath(QStringLiteral("adressen.dbf"));
        QVERIFY2(QFile::exists(dbf), convert.readAllStandardError().constData());
        QCOMPARE(quint8(readBytes(dbf).at(29)), quint8(0));

        Clients clients;
        QCOMPARE(importFile(dbf, clients.target.path(), clients.targetTree()), 2);
        QCOMPARE(addressRows(clients.target.path(), {"Name1", "Ort", "Datum1", "Person", "Zahl1"}),
                 (QList<QVariantList>{
                     {QStringLiteral("Vorhanden"), QVariant(), QVariant(), QVariant(), QVariant()},
                     {QStringLiteral("Müller & Söhne"), QStringLiteral("Köln"), QDate(2024, 2, 29), true, 12.5},
                     {QStringLiteral("Weiß GmbH"), QStringLiteral("Straßburg"), QDate(1999, 12, 31), false, -3.0}}));
        QCOMPARE(readTreeFile(clients.targetTree()).size(), 3);
        QCOMPARE(readTreeFile(clients.targetTree()).at(2).name, QStringLiteral("Weiß GmbH"));
    }

    void languageByteZeroIsReadInTheCodePageOfItsLetters_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("place");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<QString>("expectedPlace");
        QTest::newRow("code page 850") << QByteArray("J\x81rgen M\x81ller")
                                       << QByteArray("K\x94ln / Stra\xE1"
                                                     "e")
                                       << "Jürgen Müller"
                                       << "Köln / Straße";
        QTest::newRow("Windows-1252") << QByteArray("J\xFCrgen M\xFCller")
                                      << QByteArray("K\xF6ln / Stra\xDF"
                                                    "e")
                                      << "Jürgen Müller"
                                      << "Köln / Straße";
        QTest::newRow("code page 850, only ß") << QByteArray("Wei\xE1") << QByteArray("Bonn") << "Weiß"
                                               << "Bonn";
        QTest::newRow("Windows-1252, only ß") << QByteArray("Wei\xDF") << QByteArray("Bonn") << "Weiß"
                                              << "Bonn";
        QTest::newRow("plain letters") << QByteArray("Meier") << QByteArray("Bonn") << "Meier"
                                       << "Bonn";
    }

    // Language byte 0 names no code page: the import reads the file in the one of 850 and 1252 that
    // gives German letters, and stores the names so in the table and the tree.
    void languageByteZeroIsReadInTheCodePageOfItsLetters() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, place);
        QFETCH(QString, expectedName);
        QFETCH(QString, expectedPlace);
        Clients clients;
        const QString path = QDir(clients.source.path()).filePath(QStringLiteral("Export.dbf"));
        QVERIFY(writeBytes(path, rawTextDbf({{name, place}}, 0)));
        QCOMPARE(importFile(path, clients.target.path(), clients.targetTree()), 1);
        QCOMPARE(addressRows(clients.target.path(), {"Name1", "Ort"}).last(),
                 (QVariantList{expectedName, expectedPlace}));
        QCOMPARE(treeNames(clients.targetTree()).last(), expectedName);
    }

    // A record marked deleted ("*") is neither read nor imported.
    void deletedRecordsAreSkipped() {
        Clients clients;
        QByteArray bytes = rawTextDbf({{"Erster", "Bonn"}, {"Entfernt", "Köln"}, {"Dritter", "Ulm"}}, 3);
        markDeleted(bytes, 1);
        const DbfTable table = readDbf(bytes, {}, QStringLiteral("x.dbf"));
        QCOMPARE(table.records, (QList<QVariantList>{{QStringLiteral("Erster"), QStringLiteral("Bonn")},
                                                     {QStringLiteral("Dritter"), QStringLiteral("Ulm")}}));
        const QString path = QDir(clients.source.path()).filePath(QStringLiteral("Mit.dbf"));
        QVERIFY(writeBytes(path, bytes));
        QCOMPARE(importFile(path, clients.target.path(), clients.targetTree()), 2);
        QCOMPARE(treeNames(clients.targetTree()),
                 (QStringList{QStringLiteral("Vorhanden"), QStringLiteral("Erster"), QStringLiteral("Dritter")}));
    }

    // Before anything is stored the user sees how the first names read and decides; the question
    // lists at most five of them.
    void namesAreShownBeforeTheImport_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("names");
        QTest::newRow("one, yes") << 1 << int(Answer::Yes) << "Müller 1";
        QTest::newRow("two, yes") << 2 << int(Answer::Yes) << "Müller 1\nMüller 2";
        QTest::newRow("seven, no") << 7 << int(Answer::No) << "Müller 1\nMüller 2\nMüller 3\nMüller 4\nMüller 5\n...";
    }

    void namesAreShownBeforeTheImport() {
        QFETCH(int, count);
        QFETCH(int, answer);
        QFETCH(QString, names);
        QTemporaryDir dir;
        QList<QList<QByteArray>> records;
        for (int i = 1; i <= count; ++i)
            records.append({"M\x81ller " + QByteArray::number(i), "K\x94ln"});
        const QString path = dir.filePath(QStringLiteral("Dos.dbf"));
        QVERIFY(writeBytes(path, rawTextDbf(records, 0)));
        ScriptedInteraction interaction;
        interaction.setNextAnswer(Answer(answer));
        QCOMPARE(confirmAddressImport(readAddressImport(path), interaction), Answer(answer) == Answer::Yes);
        QCOMPARE(interaction.shown().size(), 1);
        QCOMPARE(interaction.shown()[0].kind, ScriptedInteraction::Kind::YesNo);
        QCOMPARE(interaction.shown()[0].caption, QStringLiteral("ZEP"));
        const QString amount = count == 1 ? QStringLiteral("eine Adresse") : QStringLiteral("%1 Adressen").arg(count);
        const QString question = count == 1 ? QStringLiteral("Soll die Adresse importiert werden?")
                                            : QStringLiteral("Sollen die Adressen importiert werden?");
        QCOMPARE(interaction.texts()[0], QStringLiteral("Die Datei \"%1\" enthält %2. So werden die Namen "
                                                        "gelesen:\n\n%3\n\n%4")
                                             .arg(path, amount, names, question));
    }

    // A file whose records are all deleted is only reported.
    void fileWithoutAddressesAsksNothing() {
        QTemporaryDir dir;
        QByteArray bytes = rawTextDbf({{"Entfernt", "Bonn"}}, 3);
        markDeleted(bytes, 0);
        const QString path = dir.filePath(QStringLiteral("Leer.dbf"));
        QVERIFY(writeBytes(path, bytes));
        ScriptedInteraction interaction;
        QVERIFY(!confirmAddressImport(readAddressImport(path), interaction));
        QCOMPARE(interaction.texts(),
                 QStringList{QStringLiteral("Die Datei \"%1\" enthält keine Adressen.").arg(path)});
        QCOMPARE(interaction.shown()[0].kind, ScriptedInteraction::Kind::Information);
    }

    // The export killed after each step of replacing its table and memo file: a table is never left
    // beside the memo file of another export, so no note is read from the wrong place.
    void exportKilledAtAnyStepLeavesNoMixedPair() {
        Clients clients;
        QTemporaryDir out;
        QTemporaryDir fresh;
        QDir o(out.path());
        const QString dbf = o.filePath(QStringLiteral("Adressen.dbf"));
        const QString dbt = o.filePath(QStringLiteral("Adressen.dbt"));
        exportAddresses(clients.source.path(), out.path(), Today);
        const QByteArray oldDbf = readBytes(dbf);
        const QByteArray oldDbt = readBytes(dbt);
        Table adr;
        test::openTable(adr, clients.source.path(), QStringLiteral("Adressen.DB"));
        test::appendRecord(adr, {{"Vor", 0}, {"Name1", "Neu"}, {"Notice", QStringLiteral("Neu: ") + longNote()}});
        adr.close();
        exportAddresses(clients.source.path(), fresh.path(), Today);
        const QByteArray newDbf = readBytes(QDir(fresh.path()).filePath(QStringLiteral("Adressen.dbf")));
        const QByteArray newDbt = readBytes(QDir(fresh.path()).filePath(QStringLiteral("Adressen.dbt")));
        QVERIFY(newDbt != oldDbt);

        int stop = 1;
        for (;; ++stop) {
            QVERIFY(o.removeRecursively() && QDir().mkpath(out.path()));
            QVERIFY(writeBytes(dbf, oldDbf) && writeBytes(dbt, oldDbt));
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                int seen = 0;
                const DurableStepWatch watch([&](DurableStep, const QString&) {
                    if (++seen == stop)
                        ::_exit(0);
                });
                exportAddresses(clients.source.path(), out.path(), Today);
                ::_exit(1);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            const bool finished = WEXITSTATUS(status) == 1;
            if (QFile::exists(dbf)) {
                const bool oldPair = readBytes(dbf) == oldDbf && readBytes(dbt) == oldDbt;
                const bool newPair = readBytes(dbf) == newDbf && readBytes(dbt) == newDbt;
                QVERIFY2(oldPair || newPair, qPrintable(QStringLiteral("killed after step %1").arg(stop)));
            }
            if (finished) {
                QVERIFY(readBytes(dbf) == newDbf && readBytes(dbt) == newDbt);
                break;
            }
        }
        QVERIFY2(stop > 4, "the export took fewer steps than writing two files needs");
    }

    // A disk that fills up while the new files are written keeps the old table and memo file, and
    // no temporary file stays behind.
    void fullDiskKeepsTheOldPair_data() {
        QTest::addColumn<bool>("tableFits");
        QTest::newRow("nothing fits") << false;
        QTest::newRow("room for the new table only") << true;
    }

    void fullDiskKeepsTheOldPair() {
        QFETCH(bool, tableFits);
        SmallDisk disk(512 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        Clients clients;
        const QDir o(disk.path());
        exportAddresses(clients.source.path(), disk.path(), Today);
        const QByteArray oldDbf = readBytes(o.filePath(QStringLiteral("Adressen.dbf")));
        const QByteArray oldDbt = readBytes(o.filePath(QStringLiteral("Adressen.dbt")));
        QVERIFY(disk.fill(tableFits ? (oldDbf.size() / 4096 + 1) * 4096 : 0));
        try {
            exportAddresses(clients.source.path(), disk.path(), Today);
            QFAIL("an export that did not fit was reported as written");
        } catch (const FileError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("Der Datenträger ist voll")), qPrintable(error.message()));
        }
        QCOMPARE(readBytes(o.filePath(QStringLiteral("Adressen.dbf"))), oldDbf);
        QCOMPARE(readBytes(o.filePath(QStringLiteral("Adressen.dbt"))), oldDbt);
        QCOMPARE(
            o.entryList(QDir::Files | QDir::Hidden, QDir::Name),
            (QStringList{QStringLiteral("Adressen.dbf"), QStringLiteral("Adressen.dbt"), QStringLiteral("ballast")}));
    }
};

QTEST_GUILESS_MAIN(TestDbase)
#include "tst_dbase.moc"
