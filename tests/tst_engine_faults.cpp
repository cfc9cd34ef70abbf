#include "data/engine_error.h"
#include "data/filter.h"
#include "data/query.h"
#include "data/schema.h"
#include "data/sql_query.h"
#include "data/sqlite_db.h"
#include "data/table.h"
#include "data/table_file.h"
#include "durable_steps.h"
#include "small_disk.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sqlite3.h>

using namespace zep;
using zep::test::appendRecord;
using zep::test::columnValues;
using zep::test::numbers;
using zep::test::openTable;
using zep::test::SmallDisk;

namespace {

// Runs SQL on a file with a private raw connection, as another program would.
bool rawExec(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Overwrites every page of a table file but the first (the schema) and the table's root page: the
// file opens as a table, and its records cannot be read.
bool damageRecordPages(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    qint64 pageSize = 0, root = 0;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db,
                           "SELECT (SELECT page_size FROM pragma_page_size), rootpage FROM sqlite_master "
                           "WHERE name = 'data'",
                           -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        pageSize = sqlite3_column_int64(stmt, 0);
        root = sqlite3_column_int64(stmt, 1);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    QFile file(path);
    if (pageSize <= 0 || !file.open(QIODevice::ReadWrite))
        return false;
    const qint64 pages = file.size() / pageSize;
    if (pages < 4)
        return false;
    for (qint64 page = 2; page <= pages; ++page) {
        if (page != root && !(file.seek((page - 1) * pageSize) && file.write(QByteArray(pageSize, '\xff')) == pageSize))
            return false;
    }
    return true;
}

QString errorOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const EngineError& error) {
        return error.message();
    }
    return {};
}

QString nested(int depth, const QString& inner) {
    return QString(depth, u'(') + inner + QString(depth, u')');
}

QString repeatedNot(int count, const QString& inner) {
    return QStringLiteral("NOT ").repeated(count) + inner;
}

} // namespace

class EngineFaultsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString data_;

    // Record numbers of documents differ from those of their addresses, so a column taken from the
    // wrong table shows; document 3 has no address.
    void fillFixture() {
        Table adr, dok;
        openTable(adr, data_, QStringLiteral("Adressen.DB"));
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Alpha"}});
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Beta"}});
        appendRecord(adr, {{"Vor", 7}, {"Name1", "Gamma"}});
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        appendRecord(dok, {{"NrFirma", 2}, {"Titel", "Angebot"}});
        appendRecord(dok, {{"NrFirma", 3}, {"Titel", "Brief"}});
        appendRecord(dok, {{"NrFirma", -1}, {"Titel", "Notiz"}});
        appendRecord(dok, {{"NrFirma", 1}, {"Titel", "Vertrag"}});
    }

    QString makeDirectory(const QString& name) {
        const QString dir = tmp_.filePath(name);
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        return dir;
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        data_ = tmp_.filePath(QStringLiteral("Daten"));
        test::createClientTables(data_);
        fillFixture();
    }

    void filters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QVariantList>("expected");
        QTest::newRow("<> with a text") << "Titel <> 'Brief'" << numbers({1, 3, 4});
        QTest::newRow("<> with a number") << "NrFirma <> 3" << numbers({1, 3, 4});
        QTest::newRow("100 parentheses") << nested(100, QStringLiteral("NrFirma = 1")) << numbers({4});
        QTest::newRow("101 NOTs") << repeatedNot(101, QStringLiteral("NrFirma = 1")) << numbers({1, 2, 3});
        QTest::newRow("%1 in a text") << "Titel = '%1' OR Titel = 'Notiz'" << numbers({3});
    }

    void filters() {
        QFETCH(QString, filter);
        QFETCH(QVariantList, expected);
        Table dok;
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        dok.setFilterText(filter);
        dok.setFiltered(true);
        QCOMPARE(columnValues(dok, QStringLiteral("Nr")), expected);

        Query query;
        query.setDirectory(data_);
        query.setSql(QStringLiteral("SELECT * FROM dok.db"));
        query.setFilterText(filter);
        query.setFiltered(true);
        query.open();
        QCOMPARE(columnValues(query, QStringLiteral("Nr")), expected);
    }

    void filterErrors_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("message");
        QTest::newRow("integer overflow")
            << "NrFirma = 99999999999999999999999"
            << "Fehler im Filter \"NrFirma = 99999999999999999999999\": die Zahl \"99999999999999999999999\" ist zu "
               "groß (an Stelle 11).";
        QTest::newRow("negative overflow")
            << "NrFirma > -99999999999999999999999"
            << "Fehler im Filter \"NrFirma > -99999999999999999999999\": die Zahl \"-99999999999999999999999\" ist "
               "zu groß (an Stelle 11).";
        QTest::newRow("%1 in the text") << "Titel = '%1' AND )"
                                        << "Fehler im Filter \"Titel = '%1' AND )\": Feldname oder Wert erwartet (an "
                                           "Stelle 18).";
        QTest::newRow("%1 in a field name") << "%1 = 2"
                                            << "Fehler im Filter \"%1 = 2\": unerwartetes Zeichen \"%\" (an Stelle 1).";
        QTest::newRow("%1 in an unknown field")
            << "\"%1\" = 2"
            << "Fehler im Filter \"\"%1\" = 2\": Das Feld \"%1\" gibt es in \"Dok.DB\" nicht.";
        QTest::newRow("10,000 parentheses") << nested(10000, QStringLiteral("NrFirma = 1"))
                                            << "Fehler im Filter \"" + QString(200, u'(') +
                                                   "...\": der Ausdruck ist zu tief geschachtelt (an Stelle 257).";
        QTest::newRow("100,000 NOTs") << repeatedNot(100000, QStringLiteral("NrFirma = 1"))
                                      << "Fehler im Filter \"" + QStringLiteral("NOT ").repeated(50) +
                                             "...\": der Ausdruck ist zu tief geschachtelt (an Stelle 1025).";
    }

    // Quoted user text in a message is cut, however large the token, name or value.
    void filterErrorsCutTheQuotedText_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("message");
        QTest::newRow("1 MB unexpected token")
            << "NrFirma = 1 " + QString(1'000'000, u'y')
            << "Fehler im Filter \"NrFirma = 1 " + QString(188, u'y') + "...\": unerwartetes \"" + QString(200, u'y') +
                   "...\" (an Stelle 13).";
        QTest::newRow("1 MB field name") << QString(1'000'000, u'z') + " = 2"
                                         << "Fehler im Filter \"" + QString(200, u'z') + "...\": Das Feld \"" +
                                                QString(200, u'z') + "...\" gibt es in \"Dok.DB\" nicht.";
        QTest::newRow("1 MB value") << "NrFirma = '" + QString(1'000'000, u'v') + "'"
                                    << "Fehler im Filter \"NrFirma = '" + QString(189, u'v') + "...\": \"" +
                                           QString(200, u'v') +
                                           "...\" ist kein gültiger Wert (Ganzzahl) für das Feld \"NrFirma\" der "
                                           "Tabelle \"Dok.DB\".";
    }

    void filterErrorsCutTheQuotedText() {
        QFETCH(QString, filter);
        QFETCH(QString, message);
        Table dok;
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        QCOMPARE(errorOf([&] { dok.setFilterText(filter); }), message);
    }

    void filterErrors() {
        QFETCH(QString, filter);
        QFETCH(QString, message);
        Table dok;
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        QCOMPARE(errorOf([&] { dok.setFilterText(filter); }), message);
    }

    // A huge unterminated text must not come back as a huge message.
    void longFilterTextIsCutInTheMessage() {
        const QString filter = QStringLiteral("Titel = '") + QString(5'000'000, u'x');
        const QString message = errorOf([&] { Filter::parse(filter); });
        QCOMPARE(message, QStringLiteral("Fehler im Filter \"Titel = '%1...\": nicht abgeschlossene Zeichenkette "
                                         "(an Stelle 9).")
                              .arg(QString(191, u'x')));
        const QString sql = QStringLiteral("SELECT Nr FROM dok.db ORDER BY ") + QString(5'000'000, u'y');
        QVERIFY(errorOf([&] { translateLocalSql(sql, data_); }).size() < 600);
    }

    void queries_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QVariantList>("firstColumn");
        QTest::newRow("inner join drops documents without address")
            << "SELECT Titel, a.Name1 FROM dok.db INNER JOIN adressen.db a ON NrFirma = a.Nr ORDER BY Titel"
            << QStringList{"Titel", "Name1"} << QVariantList{"Angebot", "Brief", "Vertrag"};
        QTest::newRow("plain join is inner")
            << "SELECT Titel FROM dok.db JOIN adressen.db a ON NrFirma = a.Nr ORDER BY Titel" << QStringList{"Titel"}
            << QVariantList{"Angebot", "Brief", "Vertrag"};
        QTest::newRow("unqualified column belongs to the FROM table")
            << "SELECT Nr, a.Name1 FROM dok.db LEFT JOIN adressen.db a ON NrFirma = a.Nr ORDER BY Nr"
            << QStringList{"Nr", "Name1"} << numbers({1, 2, 3, 4});
        QTest::newRow("unqualified sort column belongs to the FROM table")
            << "SELECT Titel FROM dok.db LEFT JOIN adressen.db a ON NrFirma = a.Nr ORDER BY Nr DESC"
            << QStringList{"Titel"} << QVariantList{"Vertrag", "Notiz", "Brief", "Angebot"};
        QTest::newRow("names taken by aliases are skipped")
            << "SELECT Titel AS Nr_1, Nr, Nr, Nr FROM dok.db ORDER BY Nr" << QStringList{"Nr_1", "Nr", "Nr_2", "Nr_3"}
            << QVariantList{"Angebot", "Brief", "Notiz", "Vertrag"};
        QTest::newRow("a.* of one table")
            << "SELECT Titel, a.* FROM dok.db LEFT JOIN adressen.db a ON NrFirma = a.Nr ORDER BY Titel"
            << (QStringList{"Titel"} +
                [] {
                    QStringList names;
                    for (const FieldDef& field : schema::addresses().fields)
                        names << (field.name.compare(QStringLiteral("Titel"), Qt::CaseInsensitive) == 0
                                      ? field.name + QStringLiteral("_1")
                                      : field.name);
                    return names;
                }())
            << QVariantList{"Angebot", "Brief", "Notiz", "Vertrag"};
    }

    void queries() {
        QFETCH(QString, sql);
        QFETCH(QStringList, names);
        QFETCH(QVariantList, firstColumn);
        Query query;
        query.setDirectory(data_);
        query.setSql(sql);
        query.open();
        QCOMPARE(query.fieldNames(), names);
        QCOMPARE(columnValues(query, names.first()), firstColumn);
    }

    void joinedNamesComeFromTheJoinedTable() {
        Query query;
        query.setDirectory(data_);
        query.setSql(QStringLiteral("SELECT Nr, a.Nr AS AdrNr, a.Vor FROM dok.db "
                                    "LEFT JOIN adressen.db a ON NrFirma = a.Nr ORDER BY Nr"));
        query.open();
        QCOMPARE(columnValues(query, QStringLiteral("AdrNr")), QVariantList({2, 3, QVariant(), 1}));
        QCOMPARE(columnValues(query, QStringLiteral("Vor")), QVariantList({0, 7, QVariant(), 0}));
    }

    void manyCopiesOfOneColumnGetUniqueNames() {
        QStringList columns;
        for (int i = 0; i < 2000; ++i)
            columns << QStringLiteral("Nr");
        const TranslatedQuery translated =
            translateLocalSql(QStringLiteral("SELECT %1 FROM dok.db").arg(columns.join(u',')), data_);
        QCOMPARE(translated.columns.size(), size_t(2000));
        QCOMPARE(translated.columns[0].name, QStringLiteral("Nr"));
        QCOMPARE(translated.columns[1].name, QStringLiteral("Nr_1"));
        QCOMPARE(translated.columns[1999].name, QStringLiteral("Nr_1999"));
    }

    void queryErrors_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown alias with star")
            << "SELECT x.* FROM dok.db"
            << "Fehler in der Abfrage \"SELECT x.* FROM dok.db\": Unbekannte Tabelle \"x\".";
        QTest::newRow("ORDER BY without a field")
            << "SELECT Nr FROM dok.db ORDER BY Titel, ASC"
            << "Fehler in der Abfrage \"SELECT Nr FROM dok.db ORDER BY Titel, ASC\": Im \"ORDER BY\" fehlt ein "
               "Feldname.";
        QTest::newRow("%1 in the text")
            << "SELECT %1 FROM dok.db"
            << "Fehler in der Abfrage \"SELECT %1 FROM dok.db\": unerwartetes Zeichen \"%\"";
        QString eleven = QStringLiteral("SELECT Nr FROM dok.db");
        for (int i = 1; i <= 10; ++i)
            eleven += QStringLiteral(" LEFT JOIN adressen.db a%1 ON NrFirma = a%1.Nr").arg(i);
        QTest::newRow("eleven tables")
            << eleven
            << QStringLiteral("Fehler in der Abfrage \"%1\": Eine Abfrage kann höchstens 10 Tabellen verbinden.")
                   .arg(eleven.left(200) + QStringLiteral("..."));
    }

    void queryErrors() {
        QFETCH(QString, sql);
        QFETCH(QString, message);
        Query query;
        query.setDirectory(data_);
        query.setSql(sql);
        QCOMPARE(errorOf([&] { query.open(); }), message);
        QVERIFY(!query.isActive());
    }

    void queryFailuresNameTheTables_data() {
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("firstLine"); // %1: the directory
        QString columns = QStringLiteral("Nr");
        for (int i = 0; i < 2000; ++i)
            columns += QStringLiteral(", Nr");
        const QString one = QStringLiteral("SELECT %1 FROM dok.db").arg(columns);
        const QString joined =
            QStringLiteral("SELECT %1 FROM dok.db LEFT JOIN adressen.db a ON NrFirma = a.Nr").arg(columns);
        QTest::newRow("SQL error, one table")
            << false << one << "Fehler in der Abfrage \"" + messageExcerpt(one) + "\": too many columns in result set";
        QTest::newRow("SQL error, joined")
            << false << joined
            << "Fehler in der Abfrage \"" + messageExcerpt(joined) + "\": too many columns in result set";
        QTest::newRow("damaged, one table") << true << "SELECT * FROM dok.db"
                                            << "Die Datei \"%1/Dok.DB\" ist keine gültige Tabelle oder beschädigt.";
        QTest::newRow("damaged, three tables")
            << true
            << "SELECT Titel, a.Name1, t.Thema FROM dok.db LEFT JOIN adressen.db a ON NrFirma = a.Nr "
               "LEFT JOIN thema.db t ON NrThema = t.Nr LEFT JOIN adressen.db b ON NrFirma = b.Nr"
            << "Eine der Dateien \"%1/Dok.DB\", \"%1/Adressen.DB\" oder \"%1/Thema.DB\" ist keine gültige Tabelle "
               "oder beschädigt.";
    }

    // A query runs on a connection of its own to which its tables are attached; a damaged file is
    // told with the tables' files (one of them, when there are several), a plain SQL error with the query.
    void queryFailuresNameTheTables() {
        QFETCH(bool, damaged);
        QFETCH(QString, sql);
        QFETCH(QString, firstLine);
        QString dir = data_;
        if (damaged) {
            dir = makeDirectory(QStringLiteral("beschaedigt"));
            test::createClientTables(dir);
            {
                Table dok;
                openTable(dok, dir, QStringLiteral("Dok.DB"));
                for (int i = 0; i < 60; ++i)
                    appendRecord(dok, {{"NrFirma", 1}, {"Titel", QString(200, u'x')}});
            }
            QVERIFY(damageRecordPages(QDir(dir).filePath(QStringLiteral("Dok.DB"))));
        }
        Query query;
        query.setDirectory(dir);
        query.setSql(sql);
        const QString message = errorOf([&] { query.open(); });
        QCOMPARE(message.section(u'\n', 0, 0), QString(firstLine).replace(QStringLiteral("%1"), dir));
        QVERIFY(!query.isActive());
    }

    void tenTablesStillJoin() {
        QString sql = QStringLiteral("SELECT Titel FROM dok.db");
        for (int i = 1; i <= 9; ++i)
            sql += QStringLiteral(" INNER JOIN adressen.db a%1 ON NrFirma = a%1.Nr").arg(i);
        Query query;
        query.setDirectory(data_);
        query.setSql(sql + QStringLiteral(" ORDER BY Titel"));
        query.open();
        QCOMPARE(columnValues(query, QStringLiteral("Titel")), QVariantList({"Angebot", "Brief", "Vertrag"}));
    }

    // After SQLite has ended a transaction on its own, the first cause reaches the caller.
    void firstCauseSurvivesEndedTransaction() {
        const QString dir = makeDirectory(QStringLiteral("transaktion"));
        const QString path = QDir(dir).filePath(QStringLiteral("Dok.DB"));
        createTableFile(path, schema::documents());
        auto connection = Connection::forFile(path);
        const QString message = errorOf([&] {
            inTransaction(*connection, [&] {
                connection->exec(QStringLiteral("ROLLBACK"));
                throw EngineError(QStringLiteral("erste Ursache"));
            });
        });
        QCOMPARE(message, QStringLiteral("erste Ursache"));
        QVERIFY(sqlite3_get_autocommit(connection->handle()) != 0);
    }

    void fullDiskIsReportedWhenCreatingATable() {
        SmallDisk disk(64 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        QVERIFY(disk.fill());
        const QString path = QDir(disk.path()).filePath(QStringLiteral("Adressen.DB"));
        const QString message = errorOf([&] { createTableFile(path, schema::addresses()); });
        QVERIFY2(message.startsWith(QStringLiteral("Der Datenträger ist voll")), qPrintable(message));
        QVERIFY(!QFile::exists(path));
    }

    void fullDiskIsReportedWhenPosting() {
        SmallDisk disk(256 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        test::createClientTables(disk.path());
        Table adr;
        openTable(adr, disk.path(), QStringLiteral("Adressen.DB"));
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Vorher"}});
        QVERIFY(disk.fill());
        QString message;
        for (int i = 0; i < 200 && message.isEmpty(); ++i)
            message = errorOf([&] { appendRecord(adr, {{"Vor", 0}, {"Name1", QString(200, u'x')}}); });
        QVERIFY2(message.startsWith(QStringLiteral("Der Datenträger ist voll")), qPrintable(message));
    }

    void readOnlyDiskIsReported() {
        SmallDisk disk(256 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        test::createClientTables(disk.path());
        QVERIFY(disk.remountReadOnly());
        Table adr;
        const QString message = errorOf([&] {
            openTable(adr, disk.path(), QStringLiteral("Adressen.DB"));
            appendRecord(adr, {{"Vor", 0}, {"Name1", "Neu"}});
        });
        QCOMPARE(message.section(u'\n', 0, 0),
                 QStringLiteral("Auf \"%1\" kann nicht geschrieben werden: Die Datei oder der Datenträger ist "
                                "schreibgeschützt.")
                     .arg(QDir(disk.path()).filePath(QStringLiteral("Adressen.DB"))));
    }

    void lockByAnotherProgramIsReportedInGerman() {
        const QString dir = makeDirectory(QStringLiteral("gesperrt"));
        test::createClientTables(dir);
        const QString path = QDir(dir).filePath(QStringLiteral("Adressen.DB"));
        Table adr;
        openTable(adr, dir, QStringLiteral("Adressen.DB"));
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        const QString message = errorOf([&] { appendRecord(adr, {{"Vor", 0}, {"Name1", "Neu"}}); });
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(message.section(u'\n', 0, 0),
                 QStringLiteral("Die Tabelle \"%1\" wird gerade von einem anderen Programm benutzt. Bitte versuchen "
                                "Sie es später noch einmal.")
                     .arg(path));
    }

    void foreignStructureIsRefused_data() {
        QTest::addColumn<QByteArray>("sql");
        QTest::newRow("view named data") << QByteArray(
            "CREATE TABLE echt (Nr INTEGER PRIMARY KEY AUTOINCREMENT, Name1 VARCHAR(40));"
            "CREATE VIEW data AS SELECT * FROM echt;");
        QTest::newRow("without rowid") << QByteArray("CREATE TABLE data (Nr INTEGER PRIMARY KEY, Name1 VARCHAR(40)) "
                                                     "WITHOUT ROWID;");
        QTest::newRow("trigger") << QByteArray(
            "CREATE TABLE data (Nr INTEGER PRIMARY KEY AUTOINCREMENT, Name1 VARCHAR(40));"
            "CREATE TABLE spur (x);"
            "CREATE TRIGGER t AFTER UPDATE ON data BEGIN INSERT INTO spur VALUES (1); END;");
        QTest::newRow("column rowid") << QByteArray("CREATE TABLE data (rowid INTEGER, Name1 VARCHAR(40));");
        QTest::newRow("column OID") << QByteArray("CREATE TABLE data (OID INTEGER, Name1 VARCHAR(40));");
        QTest::newRow("column _rowid_") << QByteArray("CREATE TABLE data (_rowid_ INTEGER, Name1 VARCHAR(40));");
        QTest::newRow("virtual table") << QByteArray("CREATE VIRTUAL TABLE data USING fts4(Name1);");
    }

    void foreignStructureIsRefused() {
        QFETCH(QByteArray, sql);
        const QString dir = makeDirectory(QStringLiteral("fremd"));
        const QString path = QDir(dir).filePath(QStringLiteral("Adressen.DB"));
        QVERIFY(rawExec(path, sql.constData()));
        const QString expected =
            QStringLiteral("Die Datei \"%1\" ist keine gültige Tabelle oder beschädigt.").arg(path);
        QCOMPARE(errorOf([&] { readTableLayout(path); }), expected);
        Table adr;
        QCOMPARE(errorOf([&] { openTable(adr, dir, QStringLiteral("Adressen.DB")); }), expected);
        QVERIFY(!adr.isActive());
    }

    void upgradeLeftoversAreCleanedAtOpen_data() {
        QTest::addColumn<QByteArray>("current");
        QTest::addColumn<int>("expectedVor");
        QTest::newRow("current table sound") << QByteArray("keep") << 9;
        QTest::newRow("current table damaged") << QByteArray("kein SQLite") << 0;
    }

    void upgradeLeftoversAreCleanedAtOpen() {
        QFETCH(QByteArray, current);
        QFETCH(int, expectedVor);
        const QString dir = makeDirectory(QStringLiteral("rest"));
        test::createClientTables(dir);
        const QString path = QDir(dir).filePath(QStringLiteral("Adressen.DB"));
        const QString backup = path + QStringLiteral(".upgrade-alt");
        {
            Table adr;
            openTable(adr, dir, QStringLiteral("Adressen.DB"));
            appendRecord(adr, {{"Vor", 0}, {"Name1", "Alt"}});
        }
        QVERIFY(QFile::copy(path, backup));
        QVERIFY(rawExec(path, "UPDATE data SET Vor = 9"));
        if (current != "keep") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(current), current.size());
        }
        test::DurableStepLog log;
        Table adr;
        openTable(adr, dir, QStringLiteral("Adressen.DB"));
        QCOMPARE(columnValues(adr, QStringLiteral("Vor")), numbers({expectedVor}));
        QVERIFY(!QFile::exists(backup));
        QVERIFY(log.indexOf(current == "keep" ? DurableStep::Removed : DurableStep::Renamed,
                            current == "keep" ? backup : path) >= 0);
        QCOMPARE(log.changesNotSynced(), QStringList());
    }

    // A backup that cannot be put back over a damaged table is reported with the table's name.
    void unsettledUpgradeBackupIsReported() {
        SmallDisk disk(256 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        test::createClientTables(disk.path());
        const QString path = QDir(disk.path()).filePath(QStringLiteral("Adressen.DB"));
        QVERIFY(QFile::copy(path, path + QStringLiteral(".upgrade-alt")));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("kein SQLite"), 11);
        }
        QVERIFY(disk.remountReadOnly());
        Table adr;
        const QString message = errorOf([&] { openTable(adr, disk.path(), QStringLiteral("Adressen.DB")); });
        QVERIFY2(
            message.startsWith(QStringLiteral("Die Sicherung der Tabelle \"%1\" aus einer Aktualisierung").arg(path)),
            qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("schreibgeschützt")), qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(EngineFaultsTest)
#include "tst_engine_faults.moc"
