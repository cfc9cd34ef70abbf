#include "data/collation.h"
#include "data/data_source.h"
#include "data/engine_error.h"
#include "data/lookup_list.h"
#include "data/query.h"
#include "data/schema.h"
#include "data/table.h"
#include "durable_steps.h"
#include "test_install.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

using namespace zep;
using zep::test::appendRecord;
using zep::test::columnValues;
using zep::test::numbers;
using zep::test::openTable;

namespace {

// Reads a count straight from the file, past every cache of the engine.
int countOnDisk(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM data", -1, &stmt, nullptr);
    const int count = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return count;
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString data_;

    void fillFixture() {
        Table adr, thema, dok;
        openTable(adr, data_, QStringLiteral("Adressen.DB"));
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Alpha GmbH"}, {"Person", false}});
        appendRecord(adr, {{"Vor", 1}, {"Name1", "Meier"}, {"Name2", "Anna"}, {"Person", true}, {"Help", "y"}});
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Zeta AG"}});
        appendRecord(adr, {{"Vor", 3}, {"Name1", "Ärzte Haus"}});
        openTable(thema, data_, QStringLiteral("Thema.DB"));
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Projekte"}});
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Rechnungen"}});
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        const QDate today(2026, 12, 7);
        appendRecord(dok, {{"NrFirma", 1}, {"NrThema", 1}, {"Titel", "Angebot"}, {"WTyp", "D"}, {"WDatum", today}});
        appendRecord(dok, {{"NrFirma", 2}, {"NrThema", -1}, {"Titel", "Brief"}, {"WTyp", "T"}, {"WTag", 46363}});
        appendRecord(dok, {{"NrFirma", 0}, {"NrThema", 2}, {"Titel", "Zettel"}});
        appendRecord(
            dok, {{"NrFirma", 3}, {"NrThema", 2}, {"Titel", "Rechnung"}, {"WTyp", "D"}, {"WDatum", today.addDays(1)}});
        appendRecord(dok, {{"NrFirma", 1}, {"NrThema", 1}, {"Titel", "Vertrag"}, {"WTyp", "W"}, {"WTag", 6624}});
        appendRecord(dok, {{"NrFirma", 2}, {"NrThema", 0}, {"Titel", "Protokoll"}, {"WTyp", "M"}, {"WTag", 1536}});
        appendRecord(
            dok, {{"NrFirma", -1}, {"NrThema", 1}, {"Titel", "Notiz"}, {"WTyp", "D"}, {"WDatum", today.addDays(13)}});
        appendRecord(dok, {{"NrFirma", 3}, {"NrThema", 2}, {"Titel", "Offen"}, {"WTyp", "O"}});
        appendRecord(dok, {{"NrFirma", 4}, {"NrThema", 2}, {"Titel", "Ohne Datum"}, {"WTyp", "D"}});
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
        QTest::newRow("address entry") << "(NrFirma=0) OR (NrFirma=2)" << numbers({2, 3, 6});
        QTest::newRow("topic subtree") << "(NrFirma=0) OR (NrThema=1) OR (NrThema=5) OR (NrThema=9)"
                                       << numbers({1, 3, 5, 7});
        QTest::newRow("whole tree") << "(NrFirma=0) OR (NrThema>0)" << numbers({1, 3, 4, 5, 7, 8, 9});
        QTest::newRow("field names in any case") << "nrfirma=2 or NRFIRMA = 4" << numbers({2, 6, 9});
        QTest::newRow("Alle") << "" << numbers({1, 2, 3, 4, 5, 6, 7, 8, 9});
        QTest::newRow("Dokumente") << "((wtyp = 'O'))" << numbers({8});
        QTest::newRow("Wiedervorlage") << "((wtyp = 'O')) OR ((wtyp <> ''))" << numbers({1, 2, 4, 5, 6, 7, 8, 9});
        // An empty date counts as lying in the past, so it is due today.
        QTest::newRow("Heute") << "((wtyp = 'O')) OR ((wtyp = 'D') AND (wdatum<=07.12.2026)) OR "
                                  "((wtyp = 'T') AND (wtag  <=46363)) OR ((wtyp = 'W') AND (wtag  <=6623)) OR "
                                  "((wtyp = 'M') AND (wtag  <=1536))"
                               << numbers({1, 2, 6, 8, 9});
        QTest::newRow("Morgen") << "((wtyp = 'O')) OR ((wtyp = 'D') AND (wdatum=08.12.2026))" << numbers({4, 8});
        QTest::newRow("Ab Übermorgen") << "((wtyp = 'O')) OR ((wtyp = 'D') AND (wdatum>08.12.2026))" << numbers({7, 8});
        QTest::newRow("Datum") << "((wtyp = 'O')) OR ((wtyp = 'D'))" << numbers({1, 4, 7, 8, 9});
        QTest::newRow("Täglich") << "((wtyp = 'O')) OR ((wtyp = 'T'))" << numbers({2, 8});
        QTest::newRow("empty matches null") << "WTyp=''" << numbers({3});
        QTest::newRow("not, >=, <") << "NOT (NrFirma >= 2) AND NrThema < 2" << numbers({1, 5, 7});
        QTest::newRow("quoted quote") << "Titel = 'O''Brien' OR Titel='Brief'" << numbers({2});
        // Document 3 has NrFirma 0 and NrThema 2: listed once.
        QTest::newRow("topic entry, unfiled document under it")
            << "(NrFirma=0) OR (NrThema=2)" << numbers({3, 4, 8, 9});
    }

    // The same expression selects the same records on a table and on a query's result.
    void filters() {
        QFETCH(QString, filter);
        QFETCH(QVariantList, expected);
        Table dok;
        openTable(dok, data_, QStringLiteral("dok.db"));
        dok.setFilterText(filter);
        dok.setFiltered(true);
        QCOMPARE(columnValues(dok, QStringLiteral("Nr")), expected);
        QCOMPARE(dok.recordCount(), expected.size());

        Query query;
        query.setDirectory(data_);
        query.setSql(QStringLiteral("Select *  from dok.db"));
        query.setFilterText(filter);
        query.setFiltered(true);
        query.open();
        QCOMPARE(columnValues(query, QStringLiteral("Nr")), expected);
        query.setFiltered(false);
        QCOMPARE(query.recordCount(), 9);
        query.setFiltered(true);
        QCOMPARE(query.recordCount(), expected.size());
    }

    void filterErrors_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("missing value") << "NrFirma = "
                                       << "Feldname oder Wert erwartet";
        QTest::newRow("unknown field") << "Unbekannt=1"
                                       << "Das Feld \"Unbekannt\" gibt es in \"Dok.DB\" nicht";
        QTest::newRow("missing parenthesis") << "(NrFirma=1"
                                             << "\")\" fehlt";
        QTest::newRow("date field, text") << "WDatum = 'kein Datum'"
                                          << "WDatum";
        QTest::newRow("number field, text") << "NrFirma = 'abc'"
                                            << "NrFirma";
        QTest::newRow("bad date") << "WDatum = 31.02.2026"
                                  << "ungültiges Datum";
        QTest::newRow("stray character") << "NrFirma = 1 ; drop"
                                         << "unerwartetes Zeichen";
    }

    // A refused filter reports what is wrong and leaves the filter in force as it was.
    void filterErrors() {
        QFETCH(QString, filter);
        QFETCH(QString, messagePart);
        Table dok;
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        dok.setFilterText(QStringLiteral("NrFirma=2"));
        dok.setFiltered(true);
        try {
            dok.setFilterText(filter);
            QFAIL("the filter was accepted");
        } catch (const EngineError& e) {
            QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
        }
        QCOMPARE(dok.filterText(), QStringLiteral("NrFirma=2"));
        QCOMPARE(columnValues(dok, QStringLiteral("Nr")), numbers({2, 6}));
    }

    void documentQueryWithJoin_data() {
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QStringList>("titles");
        const QStringList ascending{"Angebot",   "Brief",    "Notiz",   "Offen", "Ohne Datum",
                                    "Protokoll", "Rechnung", "Vertrag", "Zettel"};
        QStringList descending = ascending;
        std::reverse(descending.begin(), descending.end());
        QTest::newRow("ASC") << "ASC" << ascending;
        QTest::newRow("DESC") << "DESC" << descending;
    }

    void documentQueryWithJoin() {
        QFETCH(QString, direction);
        QFETCH(QStringList, titles);
        Query query;
        query.setDirectory(data_);
        query.setSql(QStringLiteral("SELECT Nr, Datei, Ext, NrFirma, NrThema, WTyp, WTag, WDatum\n"
                                    " ,Titel ,Art ,a.Name1 as Adresse\n"
                                    "FROM dok.db\n"
                                    "LEFT JOIN adressen.db a ON NrFirma = a.Nr\n"
                                    "ORDER BY Titel %1, Nr")
                         .arg(direction));
        query.open();
        QCOMPARE(query.fieldNames(), QStringList({"Nr", "Datei", "Ext", "NrFirma", "NrThema", "WTyp", "WTag", "WDatum",
                                                  "Titel", "Art", "Adresse"}));
        QStringList seen;
        for (const QVariant& v : columnValues(query, QStringLiteral("Titel")))
            seen << v.toString();
        QCOMPARE(seen, titles);
        QVERIFY(query.locate(u"Titel", QStringLiteral("Angebot")));
        QCOMPARE(query.field(u"Adresse").asString(), QStringLiteral("Alpha GmbH"));
        QCOMPARE(query.field(u"Nr").asInteger(), 1);
        QVERIFY(query.locate(u"Titel", QStringLiteral("Notiz")));
        QVERIFY(query.field(u"Adresse").isNull());
    }

    void queryOrderedByJoinedColumn() {
        Query query;
        query.setDirectory(data_);
        query.setSql(QStringLiteral("SELECT Nr ,t.Thema ,a.Name1 as Adresse FROM dok.db "
                                    "LEFT JOIN adressen.db a ON NrFirma = a.Nr LEFT JOIN thema.db t ON NrThema = t.Nr "
                                    "ORDER BY Adresse DESC, Nr"));
        query.open();
        QCOMPARE(query.recordCount(), 9);
        QCOMPARE(query.field(u"Adresse").asString(), QStringLiteral("Zeta AG"));
        query.last();
        QVERIFY(query.field(u"Adresse").isNull());
        QVERIFY(query.locate(u"Nr", 3));
        QCOMPARE(query.field(u"Thema").asString(), QStringLiteral("Rechnungen"));
    }

    void queryErrors_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("unknown column") << "SELECT Nr, Foo FROM dok.db"
                                        << "\"Foo\"";
        QTest::newRow("unknown table") << "SELECT Nr FROM nirgends.db"
                                       << "\"nirgends.db\"";
        QTest::newRow("unknown sort field") << "SELECT Nr FROM dok.db ORDER BY Gibtsnicht"
                                            << "\"Gibtsnicht\"";
        QTest::newRow("empty sort") << "SELECT Nr FROM dok.db ORDER BY  DESC, Nr"
                                    << "Im \"ORDER BY\" fehlt ein Feldname.";
        QTest::newRow("second statement") << "SELECT Nr FROM dok.db; DELETE FROM data"
                                          << "\";\"";
        QTest::newRow("unknown alias") << "SELECT x.Name1 FROM dok.db"
                                       << "\"x\"";
    }

    // A text that is not a query of the subset runs nothing at all.
    void queryErrors() {
        QFETCH(QString, sql);
        QFETCH(QString, messagePart);
        Query query;
        query.setDirectory(data_);
        query.setSql(sql);
        try {
            query.open();
            QFAIL("the query ran");
        } catch (const EngineError& e) {
            QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
        }
        QVERIFY(!query.isActive());
        QCOMPARE(countOnDisk(QDir(data_).filePath(QStringLiteral("Dok.DB"))), 9);
    }

    void masterDetailFollowsMaster() {
        Table adr, dok;
        openTable(adr, data_, QStringLiteral("Adressen.DB"));
        DataSource source(&adr);
        dok.setIndexName(QStringLiteral("iFirma"));
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        dok.setMaster(&source, QStringLiteral("Nr"));
        QCOMPARE(columnValues(dok, QStringLiteral("Nr")), numbers({1, 5}));
        QVERIFY(adr.findKey({2}));
        QCOMPARE(columnValues(dok, QStringLiteral("Nr")), numbers({2, 6}));
        adr.next();
        QCOMPARE(columnValues(dok, QStringLiteral("Nr")), numbers({4, 8}));
        dok.clearMaster();
        QCOMPARE(dok.recordCount(), 9);
    }

    void twoCursorsOnOneTable() {
        Table a, b;
        openTable(a, data_, QStringLiteral("Dok.DB"));
        openTable(b, data_, QStringLiteral("Dok.DB"));
        a.setRecNo(3);
        QCOMPARE(a.field(u"Nr").asInteger(), 3);
        QCOMPARE(b.field(u"Nr").asInteger(), 1);
        const qint64 added = appendRecord(a, {{"Titel", "Neu"}, {"NrFirma", 3}});
        QCOMPARE(b.recordCount(), 9);
        QCOMPARE(b.field(u"Nr").asInteger(), 1);
        b.refresh();
        QCOMPARE(b.recordCount(), 10);
        QCOMPARE(b.field(u"Nr").asInteger(), 1);
        QVERIFY(b.findKey({added}));
        QCOMPARE(b.field(u"Titel").asString(), QStringLiteral("Neu"));
        QCOMPARE(countOnDisk(a.filePath()), 10);
        b.deleteRecord();
        QCOMPARE(countOnDisk(a.filePath()), 9);
    }

    // Two table objects on one record: neither post undoes the other's.
    void twoObjectsEditOneRecord_data() {
        QTest::addColumn<bool>("bothEditFirst"); // b enters edit before a posts
        QTest::newRow("b edits after a's post") << false;
        QTest::newRow("both edit, then each posts") << true;
    }

    void twoObjectsEditOneRecord() {
        QFETCH(bool, bothEditFirst);
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table a, b;
        openTable(a, dir.path(), QStringLiteral("Adressen.DB"));
        appendRecord(a, {{"Name1", "Alt"}, {"Ort", "Bonn"}});
        openTable(b, dir.path(), QStringLiteral("Adressen.DB"));
        if (bothEditFirst)
            b.edit();
        a.edit();
        a.field(u"Name1").setValue(QStringLiteral("Neu durch A"));
        a.post();
        if (!bothEditFirst) {
            QCOMPARE(b.field(u"Name1").asString(), QStringLiteral("Alt")); // browsing shows what it read
            b.edit();
            QCOMPARE(b.field(u"Name1").asString(), QStringLiteral("Neu durch A"));
        }
        b.field(u"Ort").setValue(QStringLiteral("Köln"));
        b.post();
        Table reader;
        openTable(reader, dir.path(), QStringLiteral("Adressen.DB"));
        QCOMPARE(reader.field(u"Name1").asString(), QStringLiteral("Neu durch A"));
        QCOMPARE(reader.field(u"Ort").asString(), QStringLiteral("Köln"));
        QCOMPARE(b.field(u"Name1").asString(), QStringLiteral("Neu durch A"));
        a.refresh();
        QCOMPARE(a.field(u"Ort").asString(), QStringLiteral("Köln"));
    }

    // What another object posted since this one began its edit decides whether this post may
    // overwrite the field: only a field changed there to something else than here is refused.
    void postAgainstAChangeUnderneath_data() {
        QTest::addColumn<QString>("otherField");
        QTest::addColumn<QString>("otherValue");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("name1OnDisk");
        QTest::addColumn<QString>("ortOnDisk");
        QTest::addColumn<bool>("byRefresh"); // refresh() posts the pending edit first
        QTest::newRow("the same field to another value") << "Name1"
                                                         << "von A" << true << "von A"
                                                         << "Bonn" << false;
        QTest::newRow("the same field to the same value") << "Name1"
                                                          << "von B" << false << "von B"
                                                          << "Bonn" << false;
        QTest::newRow("another field") << "Ort"
                                       << "Köln" << false << "von B"
                                       << "Köln" << false;
        QTest::newRow("refresh, the same field to another value") << "Name1"
                                                                  << "von A" << true << "von A"
                                                                  << "Bonn" << true;
        QTest::newRow("refresh, another field") << "Ort"
                                                << "Köln" << false << "von B"
                                                << "Köln" << true;
    }

    void postAgainstAChangeUnderneath() {
        QFETCH(QString, otherField);
        QFETCH(QString, otherValue);
        QFETCH(bool, refused);
        QFETCH(QString, name1OnDisk);
        QFETCH(QString, ortOnDisk);
        QFETCH(bool, byRefresh);
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table a, b;
        openTable(a, dir.path(), QStringLiteral("Adressen.DB"));
        appendRecord(a, {{"Name1", "Alt"}, {"Ort", "Bonn"}});
        openTable(b, dir.path(), QStringLiteral("Adressen.DB"));
        b.edit();
        b.field(u"Name1").setValue(QStringLiteral("von B"));
        a.edit();
        a.field(otherField).setValue(otherValue);
        a.post();
        bool wasRefused = false;
        try {
            if (byRefresh)
                b.refresh();
            else
                b.post();
        } catch (const EngineError&) {
            wasRefused = true;
        }
        QCOMPARE(wasRefused, refused);
        QCOMPARE(b.state(), refused ? DataSetState::Edit : DataSetState::Browse);
        QCOMPARE(b.field(u"Name1").asString(), QStringLiteral("von B"));
        Table reader;
        openTable(reader, dir.path(), QStringLiteral("Adressen.DB"));
        QCOMPARE(reader.field(u"Name1").asString(), name1OnDisk);
        QCOMPARE(reader.field(u"Ort").asString(), ortOnDisk);
        if (!refused)
            QCOMPARE(b.field(u"Ort").asString(), ortOnDisk); // the post read back what others wrote
    }

    // A field changed on disk since this object began its edit, and changed here too, is not
    // overwritten: the post is refused and the user's values stay for correction.
    void postRefusedWhenTheSameFieldChangedUnderneath() {
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table a, b;
        openTable(a, dir.path(), QStringLiteral("Adressen.DB"));
        appendRecord(a, {{"Name1", "Alt"}});
        openTable(b, dir.path(), QStringLiteral("Adressen.DB"));
        b.edit();
        b.field(u"Name1").setValue(QStringLiteral("von B"));
        a.edit();
        a.field(u"Name1").setValue(QStringLiteral("von A"));
        a.post();
        try {
            b.post();
            QFAIL("the post overwrote the other object's change");
        } catch (const EngineError& e) {
            QCOMPARE(e.message(), QStringLiteral("Der Datensatz in \"Adressen.DB\" wurde inzwischen geändert (Feld "
                                                 "\"Name1\"); die Änderung wurde nicht gespeichert."));
        }
        QCOMPARE(b.state(), DataSetState::Edit);
        QCOMPARE(b.field(u"Name1").asString(), QStringLiteral("von B"));
        b.cancel();
        QCOMPARE(b.field(u"Name1").asString(), QStringLiteral("von A"));
        b.edit();
        b.field(u"Name1").setValue(QStringLiteral("von B"));
        b.post();
        a.refresh();
        QCOMPARE(a.field(u"Name1").asString(), QStringLiteral("von B"));
    }

    // edit() on a record another object deleted is refused and leaves the object browsing.
    void editOfARecordDeletedElsewhere() {
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table a, b;
        openTable(a, dir.path(), QStringLiteral("Adressen.DB"));
        appendRecord(a, {{"Name1", "Weg"}});
        openTable(b, dir.path(), QStringLiteral("Adressen.DB"));
        a.deleteRecord();
        QVERIFY_THROWS_EXCEPTION(EngineError, b.edit());
        QCOMPARE(b.state(), DataSetState::Browse);
        QCOMPARE(countOnDisk(a.filePath()), 0);
    }

    void searchSeesAnotherObjectsWrites_data() {
        QTest::addColumn<QString>("write");  // what object a does after b has read its set
        QTest::addColumn<QString>("search"); // how b looks for "Neu"
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("count"); // b's records afterwards
        QTest::newRow("key search after an append") << "append"
                                                    << "findKey" << true << 3;
        QTest::newRow("locate after an append") << "append"
                                                << "locate" << true << 3;
        QTest::newRow("key search after a rename") << "rename"
                                                   << "findKey" << true << 2;
        QTest::newRow("locate after a rename") << "rename"
                                               << "locate" << true << 2;
        QTest::newRow("key search after a delete") << "delete"
                                                   << "findKey" << false << 1;
        QTest::newRow("key search after another connection's insert") << "other connection"
                                                                      << "findKey" << true << 3;
        QTest::newRow("locate after another connection's insert") << "other connection"
                                                                  << "locate" << true << 3;
        QTest::newRow("nothing written") << "none"
                                         << "findKey" << false << 2;
    }

    // A search answers from the file as it is now, not from the set read before another object wrote.
    void searchSeesAnotherObjectsWrites() {
        QFETCH(QString, write);
        QFETCH(QString, search);
        QFETCH(bool, found);
        QFETCH(int, count);
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table a, b;
        openTable(a, dir.path(), QStringLiteral("Adressen.DB"));
        appendRecord(a, {{"Name1", "Alt"}});
        appendRecord(a, {{"Name1", "Zweit"}});
        b.setIndexFieldNames(QStringLiteral("Name1"));
        openTable(b, dir.path(), QStringLiteral("Adressen.DB"));
        QVERIFY(b.findKey({QStringLiteral("Zweit")}));
        if (write == u"append") {
            appendRecord(a, {{"Name1", "Neu"}});
        } else if (write == u"rename") {
            a.first();
            a.edit();
            a.field(u"Name1").setValue(QStringLiteral("Neu"));
            a.post();
        } else if (write == u"other connection") {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(a.filePath().toUtf8().constData(), &db), SQLITE_OK);
            registerCollation(db); // the name index needs it
            QCOMPARE(sqlite3_exec(db, "INSERT INTO data (Name1) VALUES ('Neu')", nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        } else if (write == u"delete") {
            a.first();
            a.edit();
            a.field(u"Name1").setValue(QStringLiteral("Neu"));
            a.post();
            QVERIFY(b.findKey({QStringLiteral("Neu")}));
            b.findKey({QStringLiteral("Zweit")});
            a.deleteRecord();
        }
        const bool hit =
            search == u"findKey" ? b.findKey({QStringLiteral("Neu")}) : b.locate(u"Name1", QStringLiteral("Neu"));
        QCOMPARE(hit, found);
        QCOMPARE(b.field(u"Name1").asString(), found ? QStringLiteral("Neu") : QStringLiteral("Zweit"));
        QCOMPARE(b.recordCount(), count);
    }

    // An object that follows its file shows what other objects post: at its next move, and by itself
    // once the event loop runs, with one notification for many posts.
    void followerShowsOtherObjectsPosts() {
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table writer, follower;
        openTable(writer, dir.path(), QStringLiteral("Thema.DB"));
        appendRecord(writer, {{"Thema", "Projekte"}});
        follower.setIndexFieldNames(QStringLiteral("Thema"));
        follower.setFollowsFile(true);
        openTable(follower, dir.path(), QStringLiteral("Thema.DB"));
        appendRecord(writer, {{"Thema", "Angebote"}});
        QCOMPARE(columnValues(follower, QStringLiteral("Thema")), QVariantList({"Angebote", "Projekte"}));

        follower.first();
        QSignalSpy changes(&follower, &DataSet::dataChanged);
        appendRecord(writer, {{"Thema", "Zahlungen"}});
        appendRecord(writer, {{"Thema", "Akten"}});
        QCOMPARE(changes.count(), 0); // nothing is read while the writer works
        QTRY_COMPARE(follower.recordCount(), 4);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(follower.field(u"Thema").asString(), QStringLiteral("Angebote")); // it stays on its record

        Table other;
        openTable(other, dir.path(), QStringLiteral("Thema.DB"));
        appendRecord(writer, {{"Thema", "Rechnungen"}});
        QCoreApplication::processEvents();
        QCOMPARE(other.recordCount(), 4); // an object that does not follow keeps its set until refresh
    }

    void markerDetectedOnClosedTable() {
        Table dok;
        dok.setDirectory(data_);
        dok.setTableName(QStringLiteral("DOK.db"));
        QVERIFY(!dok.isActive());
        QVERIFY(dok.fieldNames().contains(QStringLiteral("VV34")));

        TableLayout old = schema::documents();
        old.name = QStringLiteral("Alt.DB");
        old.fields.pop_back();
        createTableFile(tmp_.filePath(QStringLiteral("Alt.DB")), old);
        Table alt;
        alt.setDirectory(tmp_.path());
        alt.setTableName(QStringLiteral("alt.db"));
        QVERIFY(alt.fieldNames().contains(QStringLiteral("Titel")));
        QVERIFY(!alt.fieldNames().contains(QStringLiteral("VV34")));
    }

    // A table whose name could not be made durable is not left behind as if it were created.
    void tableNotDurableIsNotLeftBehind() {
        const TableLayout layout{QStringLiteral("Neu.db"), {{"Nr", FieldKind::AutoInc, 0}}, {}};
        const QString path = tmp_.filePath(layout.name);
        test::SyncFailsAfterRename failure(path);
        QVERIFY_THROWS_EXCEPTION(EngineError, createTableFile(path, layout));
        QVERIFY(failure.struck());
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!QFileInfo::exists(path + QStringLiteral(".neu")));
    }

    // A refused post keeps the user's values in insert or edit state and changes nothing on disk.
    void failedPostChangesNothing() {
        const TableLayout layout{QStringLiteral("Codes.db"),
                                 {{"Nr", FieldKind::AutoInc, 0}, {"Code", FieldKind::String, 5}},
                                 {{"iCode", {"Code"}, true}}};
        const QString path = tmp_.filePath(layout.name);
        createTableFile(path, layout);
        Table codes;
        openTable(codes, tmp_.path(), layout.name);
        appendRecord(codes, {{"Code", "A"}});
        appendRecord(codes, {{"Code", "B"}});

        codes.append();
        codes.field(u"Code").setValue(QStringLiteral("A"));
        QVERIFY_THROWS_EXCEPTION(EngineError, codes.post());
        QCOMPARE(codes.state(), DataSetState::Insert);
        QCOMPARE(codes.field(u"Code").asString(), QStringLiteral("A"));
        codes.cancel();
        QCOMPARE(countOnDisk(path), 2);

        codes.first();
        codes.edit();
        codes.field(u"Code").setValue(QStringLiteral("B"));
        QVERIFY_THROWS_EXCEPTION(EngineError, codes.post());
        QCOMPARE(codes.state(), DataSetState::Edit);
        codes.beforePost = [](Table&) {
            throw EngineError(QStringLiteral("abgelehnt"));
        };
        codes.field(u"Code").setValue(QStringLiteral("C"));
        QVERIFY_THROWS_EXCEPTION(EngineError, codes.post());
        QCOMPARE(codes.field(u"Code").asString(), QStringLiteral("C"));
        codes.beforePost = nullptr;
        codes.cancel();
        QCOMPARE(codes.field(u"Code").asString(), QStringLiteral("A"));
        Table other;
        openTable(other, tmp_.path(), layout.name);
        QCOMPARE(columnValues(other, QStringLiteral("Code")), QVariantList({"A", "B"}));
    }

    void corruptTableGivesError_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text file") << QByteArray("Das ist keine Tabelle, nur Text.\n").repeated(200);
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("cut table") << QByteArray("cut");
    }

    void corruptTableGivesError() {
        QFETCH(QByteArray, content);
        const QString dir = tmp_.filePath(QStringLiteral("kaputt"));
        QDir().mkpath(dir);
        const QString path = QDir(dir).filePath(QStringLiteral("Dok.DB"));
        QFile::remove(path);
        if (content == "cut") {
            QFile::copy(QDir(data_).filePath(QStringLiteral("Dok.DB")), path);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const QByteArray head = file.read(2048);
            file.resize(0);
            file.seek(0);
            file.write(head + QByteArray(3000, '\x5a'));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        Table dok;
        dok.setDirectory(dir);
        dok.setTableName(QStringLiteral("Dok.DB"));
        try {
            dok.open();
            QFAIL("a broken table opened");
        } catch (const EngineError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Dok.DB")), qPrintable(e.message()));
        }
        QVERIFY(!dok.isActive());
    }

    void orderKeySearchAndRange() {
        Table adr;
        openTable(adr, data_, QStringLiteral("Adressen.DB"));
        QVERIFY(adr.findKey({3}));
        adr.setIndexFieldNames(QStringLiteral("Name1"));
        QCOMPARE(adr.field(u"Name1").asString(), QStringLiteral("Zeta AG")); // the order change keeps the record
        QCOMPARE(columnValues(adr, QStringLiteral("Name1")),
                 QVariantList({"Alpha GmbH", "Ärzte Haus", "Meier", "Zeta AG"}));
        QVERIFY(adr.findKey({QStringLiteral("Meier")}));
        QCOMPARE(adr.field(u"Nr").asInteger(), 2);
        QVERIFY(!adr.findKey({QStringLiteral("Niemand")}));
        QCOMPARE(adr.field(u"Nr").asInteger(), 2);

        Table dok;
        dok.setIndexName(QStringLiteral("iThema"));
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        dok.setRange(2);
        QCOMPARE(columnValues(dok, QStringLiteral("Nr")), numbers({3, 4, 8, 9}));
        QVERIFY_THROWS_EXCEPTION(EngineError, dok.setRange(QStringLiteral("keine Zahl")));
        dok.refresh();
        QCOMPARE(dok.recordCount(), 4);
        dok.cancelRange();
        QCOMPARE(dok.recordCount(), 9);
        QVERIFY_THROWS_EXCEPTION(EngineError, dok.setIndexName(QStringLiteral("iGibtsNicht")));
        QCOMPARE(dok.indexName(), QStringLiteral("iThema"));
    }

    // A record posted out of the filter leaves the set; moving off an edited record posts it.
    void postedRecordLeavesFilter() {
        const QString dir = tmp_.filePath(QStringLiteral("rebuild"));
        test::createClientTables(dir);
        Table t;
        openTable(t, dir, QStringLiteral("Adressen.DB"));
        for (const char* name : {"A", "B", "C"})
            appendRecord(t, {{"Name1", name}});
        t.setFilterText(QStringLiteral("Help=''"));
        t.setFiltered(true);
        t.first();
        t.edit();
        t.field(u"Help").setValue(QStringLiteral("y"));
        QSignalSpy posted(&t, &DataSet::posted);
        t.post();
        QCOMPARE(posted.count(), 1);
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.field(u"Name1").asString(), QStringLiteral("B"));
        t.edit();
        t.field(u"Help").setValue(QStringLiteral("y"));
        t.next();
        QCOMPARE(t.state(), DataSetState::Browse);
        QCOMPARE(columnValues(t, QStringLiteral("Name1")), QVariantList({"C"}));
        t.setFiltered(false);
        QCOMPARE(t.recordCount(), 3);
        t.last();
        t.deleteRecord();
        QCOMPARE(t.field(u"Name1").asString(), QStringLiteral("B"));
    }

    void postOutOfTheFilter_data() {
        QTest::addColumn<int>("recNo");
        QTest::addColumn<QString>("neighbour");
        QTest::addColumn<QVariantList>("left");
        QTest::newRow("a middle record: the next one") << 2 << "C" << QVariantList({"A", "C", "D"});
        QTest::newRow("the last record: the one before") << 4 << "C" << QVariantList({"A", "B", "C"});
    }

    // A record posted out of the filter leaves the set; the cursor stands on the record that followed it.
    void postOutOfTheFilter() {
        QFETCH(int, recNo);
        QFETCH(QString, neighbour);
        QFETCH(QVariantList, left);
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table t;
        openTable(t, dir.path(), QStringLiteral("Adressen.DB"));
        for (const char* name : {"A", "B", "C", "D"})
            appendRecord(t, {{"Name1", name}});
        t.setFilterText(QStringLiteral("Help=''"));
        t.setFiltered(true);
        t.setRecNo(recNo);
        t.edit();
        t.field(u"Help").setValue(QStringLiteral("y"));
        t.post();
        QCOMPARE(t.field(u"Name1").asString(), neighbour);
        QVERIFY(!t.eof() && !t.bof());
        QCOMPARE(columnValues(t, QStringLiteral("Name1")), left);
    }

    void refreshKeepsTheRecord_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<int>("recNo"); // of "Meier" afterwards
        QTest::newRow("on a middle record") << "nothing" << 3;
        QTest::newRow("another object added a record before it") << "append" << 4;
        QTest::newRow("with a pending edit") << "edit" << 3;
        QTest::newRow("with a pending insert, which it stands on") << "insert" << 3;
    }

    // refresh() stays on the current record, wherever the order puts it now, and posts a pending edit.
    void refreshKeepsTheRecord() {
        QFETCH(QString, meanwhile);
        QFETCH(int, recNo);
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table t, other;
        openTable(t, dir.path(), QStringLiteral("Adressen.DB"));
        for (const char* name : {"Zeta", "Alpha", "Meier", "Berg", "Schulz"})
            appendRecord(t, {{"Name1", name}});
        t.setIndexFieldNames(QStringLiteral("Name1"));
        QVERIFY(t.findKey({QStringLiteral("Meier")}));
        QCOMPARE(t.recNo(), 3);
        if (meanwhile == u"append") {
            openTable(other, dir.path(), QStringLiteral("Adressen.DB"));
            appendRecord(other, {{"Name1", "Adler"}});
        } else if (meanwhile == u"edit") {
            t.edit();
            t.field(u"Ort").setValue(QStringLiteral("Köln"));
        } else if (meanwhile == u"insert") {
            // The new "Meier" sorts after the old one by its number; the old one is renamed away.
            t.edit();
            t.field(u"Name1").setValue(QStringLiteral("Meyer"));
            t.post();
            t.append();
            t.field(u"Name1").setValue(QStringLiteral("Meier"));
            t.field(u"Ort").setValue(QStringLiteral("Köln"));
        }
        t.refresh();
        QCOMPARE(t.state(), DataSetState::Browse);
        QCOMPARE(t.field(u"Name1").asString(), QStringLiteral("Meier"));
        QCOMPARE(t.recNo(), recNo);
        Table reader;
        openTable(reader, dir.path(), QStringLiteral("Adressen.DB"));
        QVERIFY(reader.locate(u"Name1", QStringLiteral("Meier")));
        const bool posted = meanwhile == u"edit" || meanwhile == u"insert";
        QCOMPARE(reader.field(u"Ort").asString(), posted ? QStringLiteral("Köln") : QString());
        QCOMPARE(t.field(u"Ort").asString(), posted ? QStringLiteral("Köln") : QString());
    }

    // The lookup lists read their set again for a key they lack, once per key, so a record another
    // object posted a moment ago is found and a key meaning "none" costs one read only.
    void lookupListFindsARecordPostedElsewhere() {
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table look, writer;
        openTable(look, dir.path(), QStringLiteral("Adressen.DB"));
        appendRecord(look, {{"Name1", "Alpha GmbH"}});
        appendRecord(look, {{"Name1", "Bauer"}, {"Name2", "Max"}});
        LookupList list;
        list.setFields(QStringLiteral("Nr"), QStringLiteral("Name1; Name2"));
        QCOMPARE(list.indexOf(&look, qint64(2)), 1);
        QCOMPARE(list.entries(&look).size(), size_t(2));
        QCOMPARE(list.entries(&look)[0].text, QStringLiteral("Alpha GmbH"));
        QCOMPARE(list.entries(&look)[1].text, QStringLiteral("Bauer Max"));
        const int read = list.revision();

        openTable(writer, dir.path(), QStringLiteral("Adressen.DB"));
        const qint64 added = appendRecord(writer, {{"Name1", "Neu"}});
        QCOMPARE(list.indexOf(&look, added), 2);
        QCOMPARE(list.revision(), read + 1);
        QCOMPARE(list.indexOf(&look, qint64(-1)), -1);
        QCOMPARE(list.indexOf(&look, qint64(-1)), -1);
        QCOMPARE(list.revision(), read + 2); // asked twice, read once
        QCOMPARE(list.indexOf(&look, QVariant()), -1);
        QCOMPARE(list.revision(), read + 2);
    }

    // A list whose file is damaged fails with the engine's error and keeps what it read last.
    void lookupListOfADamagedFileFails() {
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table look;
        openTable(look, dir.path(), QStringLiteral("Adressen.DB"));
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            appendRecord(look, {{"Name1", name}});
        LookupList list;
        list.setFields(QStringLiteral("Nr"), QStringLiteral("Name1"));
        QCOMPARE(list.indexOf(&look, qint64(3)), 2);
        QFile file(look.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(QByteArray(4096, 'x')), 4096);
        file.close();
        list.markStale();
        QVERIFY_THROWS_EXCEPTION(EngineError, list.indexOf(&look, qint64(3)));
        QCOMPARE(list.entries(&look).size(), size_t(3));
        QVERIFY_THROWS_EXCEPTION(EngineError, list.reread(&look));
        QCOMPARE(list.entries(&look).size(), size_t(3));
    }

    void lookupFieldsAndTextForms() {
        Table adrLook, dok;
        adrLook.setIndexFieldNames(QStringLiteral("Name1"));
        openTable(adrLook, data_, QStringLiteral("Adressen.DB"));
        dok.addLookupField(QStringLiteral("Adresse"), QStringLiteral("NrFirma"), &adrLook, QStringLiteral("Nr"),
                           QStringLiteral("Name1"));
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        QCOMPARE(dok.field(u"Adresse").asString(), QStringLiteral("Alpha GmbH"));
        QCOMPARE(dok.field(u"WDatum").asString(), QStringLiteral("07.12.2026"));
        QCOMPARE(adrLook.field(u"Name1").asString(), QStringLiteral("Alpha GmbH"));
        QVERIFY(dok.findKey({7}));
        QVERIFY(dok.field(u"Adresse").isNull());
        dok.setFilterText(QStringLiteral("Adresse = 'Alpha GmbH'"));
        dok.setFiltered(true);
        QCOMPARE(columnValues(dok, QStringLiteral("Nr")), numbers({1, 5}));
        dok.setFiltered(false);
        QVERIFY_THROWS_EXCEPTION(EngineError, dok.edit(); dok.field(u"Adresse").setValue(QStringLiteral("x")));
        dok.cancel();

        Table adr;
        openTable(adr, data_, QStringLiteral("Adressen.DB"));
        QVERIFY(adr.findKey({2}));
        QCOMPARE(adr.field(u"Person").asString(), QStringLiteral("Wahr"));
        QVERIFY(adr.findKey({1}));
        QCOMPARE(adr.field(u"Person").asString(), QStringLiteral("Falsch"));
        QCOMPARE(adr.field(u"Strasse").asString(), QString());
    }

    // The cursor stands on the posted record, whatever the rows' storage did meanwhile.
    void appendThenWorkOnSameCursor() {
        const QString dir = tmp_.filePath(QStringLiteral("append"));
        test::createClientTables(dir);
        Table t;
        openTable(t, dir, QStringLiteral("Adressen.DB"));
        for (int i = 1; i <= 9; ++i) {
            const qint64 nr = appendRecord(t, {{"Name1", QStringLiteral("Name %1").arg(i)}});
            QCOMPARE(t.recNo(), i);
            QCOMPARE(t.field(u"Nr").asInteger(), nr);
        }
        t.setIndexFieldNames(QStringLiteral("Name1"));
        appendRecord(t, {{"Name1", "Name 0"}});
        QCOMPARE(t.recNo(), 1);
        t.edit();
        t.field(u"Name1").setValue(QStringLiteral("Name 00"));
        t.post();
        QCOMPARE(t.recNo(), 1);
        t.deleteRecord();
        QCOMPARE(t.recordCount(), 9);
        QCOMPARE(t.field(u"Name1").asString(), QStringLiteral("Name 1"));
        t.close();
        QVERIFY_THROWS_EXCEPTION(EngineError, t.locate(u"Name1", QStringLiteral("Name 1")));
    }

    void valuesIntoFields_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QVariant>("stored"); // invalid: refused
        QTest::addColumn<QString>("text");    // the text form, or a part of the refusal
        QTest::newRow("date-time into a date") << "Datum" << QVariant(QDateTime(QDate(2026, 12, 7), QTime(14, 30)))
                                               << QVariant(QDate(2026, 12, 7)) << "07.12.2026";
        QTest::newRow("date-time text into a date") << "Datum" << QVariant(QStringLiteral("07.12.2026 14:30:05"))
                                                    << QVariant(QDate(2026, 12, 7)) << "07.12.2026";
        QTest::newRow("date text with a bad time")
            << "Datum" << QVariant(QStringLiteral("07.12.2026 25:99")) << QVariant() << "07.12.2026 25:99";
        QTest::newRow("number above a thousand") << "Betrag" << QVariant(1234.5) << QVariant(1234.5) << "1234,5";
        QTest::newRow("number above a million")
            << "Betrag" << QVariant(-1234567.25) << QVariant(-1234567.25) << "-1234567,25";
        QTest::newRow("number text with a decimal comma")
            << "Betrag" << QVariant(QStringLiteral("1234,5")) << QVariant(1234.5) << "1234,5";
        QTest::newRow("number text with a decimal point")
            << "Betrag" << QVariant(QStringLiteral("1234.5")) << QVariant(1234.5) << "1234,5";
        QTest::newRow("point before three digits may mean thousands: refused")
            << "Betrag" << QVariant(QStringLiteral("1.234")) << QVariant() << "1.234";
        QTest::newRow("thousands points into an integer: refused")
            << "Zahl" << QVariant(QStringLiteral("12.000")) << QVariant() << "12.000";
        QTest::newRow("number text with German thousands separators")
            << "Betrag" << QVariant(QStringLiteral("1.234,5")) << QVariant() << "1.234,5";
        QTest::newRow("whole number as a fraction into an integer")
            << "Zahl" << QVariant(3.0) << QVariant(qint64(3)) << "3";
        QTest::newRow("integer above a thousand") << "Zahl" << QVariant(12345) << QVariant(qint64(12345)) << "12345";
        QTest::newRow("fraction into an integer") << "Zahl" << QVariant(2.5) << QVariant() << "ganze Zahlen";
        QTest::newRow("fraction text into an integer")
            << "Zahl" << QVariant(QStringLiteral("2,5")) << QVariant() << "ganze Zahlen";
        QTest::newRow("fraction into a small integer") << "Klein" << QVariant(-1.5) << QVariant() << "ganze Zahlen";
    }

    // A value is stored as the field's kind or refused with a German message, never silently changed.
    void valuesIntoFields() {
        QFETCH(QString, field);
        QFETCH(QVariant, input);
        QFETCH(QVariant, stored);
        QFETCH(QString, text);
        const TableLayout layout{QStringLiteral("Werte.db"),
                                 {{"Nr", FieldKind::AutoInc, 0},
                                  {"Zahl", FieldKind::Integer, 0},
                                  {"Klein", FieldKind::SmallInt, 0},
                                  {"Betrag", FieldKind::Number, 0},
                                  {"Datum", FieldKind::Date, 0}},
                                 {}};
        QTemporaryDir dir;
        createTableFile(dir.filePath(layout.name), layout);
        Table table;
        openTable(table, dir.path(), layout.name);
        table.append();
        if (!stored.isValid()) {
            try {
                table.field(field).setValue(input);
                QFAIL("the value was taken");
            } catch (const EngineError& e) {
                QVERIFY2(e.message().contains(text), qPrintable(e.message()));
                QVERIFY2(e.message().contains(field), qPrintable(e.message()));
            }
            QVERIFY(table.field(field).isNull());
            return;
        }
        try {
            table.field(field).setValue(input);
            table.post();
        } catch (const EngineError& e) {
            QFAIL(qPrintable(e.message()));
        }
        Table reader;
        openTable(reader, dir.path(), layout.name);
        QCOMPARE(reader.field(field).value(), stored);
        QCOMPARE(reader.field(field).asString(), text);
    }

    void controlsSuspensionNests() {
        Table dok;
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        QSignalSpy changes(&dok, &DataSet::dataChanged);
        {
            ControlsSuspended outer(dok);
            {
                ControlsSuspended inner(dok);
                dok.next();
                dok.next();
            }
            dok.next();
            QCOMPARE(changes.count(), 0);
        }
        QCOMPARE(changes.count(), 1);
        QCOMPARE(dok.recNo(), 4);
    }

    void endOfTable_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("bof");
        QTest::addColumn<bool>("eof");
        QTest::addColumn<QVariantList>("visited"); // by while (!eof()) { ...; next(); }
        const QVariantList all = numbers({1, 2, 3, 4, 5, 6, 7, 8, 9});
        for (const char* kind : {"table", "query"}) {
            const auto row = [&](const char* action) -> QTestData& {
                return QTest::addRow("%s, %s", kind, action)
                       << QString::fromLatin1(kind) << QString::fromLatin1(action);
            };
            row("open") << false << false << all;
            row("first") << false << false << all;
            row("last") << false << false << numbers({9});
            row("setRecNo onto the last row") << false << false << numbers({9});
            row("filter") << false << false << numbers({3, 4, 8, 9});
            row("filter to nothing") << true << true << QVariantList();
            row("move past the end") << false << true << QVariantList();
            row("move before the beginning") << true << false << all;
            row("locate the last record") << false << false << numbers({9});
        }
        QTest::newRow("table, refresh on the last row") << "table"
                                                        << "refresh" << false << false << numbers({9});
        QTest::newRow("table, order change on the last row") << "table"
                                                             << "order" << false << false << numbers({9, 6, 4, 5, 3});
        QTest::newRow("table, key search of the last record") << "table"
                                                              << "findKey" << false << false << numbers({9});
        QTest::newRow("table, empty table") << "table"
                                            << "empty" << true << true << QVariantList();
    }

    // End of table only after a move past the last record (or at once for an empty set); beginning
    // likewise. Opening, refreshing, reordering or standing on the last row leave both false.
    void endOfTable() {
        QFETCH(QString, kind);
        QFETCH(QString, action);
        QFETCH(bool, bof);
        QFETCH(bool, eof);
        QFETCH(QVariantList, visited);
        Table table;
        Query query;
        query.setDirectory(data_);
        query.setSql(QStringLiteral("Select *  from dok.db"));
        DataSet& set = kind == u"table" ? static_cast<DataSet&>(table) : query;
        if (kind == u"table") {
            const QString dir = action == u"empty" ? tmp_.filePath(QStringLiteral("leer")) : data_;
            if (action == u"empty")
                test::createClientTables(dir);
            openTable(table, dir, QStringLiteral("Dok.DB"));
        } else {
            query.open();
        }
        if (action == u"first") {
            set.next();
            set.first();
        } else if (action == u"last") {
            set.last();
        } else if (action == u"setRecNo onto the last row") {
            set.setRecNo(9);
        } else if (action.startsWith(u"filter")) {
            set.setFilterText(action == u"filter" ? QStringLiteral("NrThema=2") : QStringLiteral("NrThema=77"));
            set.setFiltered(true);
        } else if (action == u"move past the end") {
            set.setRecNo(9);
            QCOMPARE(set.moveBy(1), 0);
        } else if (action == u"move before the beginning") {
            QCOMPARE(set.moveBy(-1), 0);
        } else if (action == u"locate the last record") {
            QVERIFY(kind == u"table" ? table.locate(u"Titel", QStringLiteral("Ohne Datum"))
                                     : query.locate(u"Titel", QStringLiteral("Ohne Datum")));
        } else if (action == u"refresh") {
            table.setRecNo(9);
            table.refresh();
        } else if (action == u"order") {
            table.last();
            table.setIndexFieldNames(QStringLiteral("Titel"));
        } else if (action == u"findKey") {
            QVERIFY(table.findKey({9}));
        }
        QCOMPARE(set.bof(), bof);
        QCOMPARE(set.eof(), eof);
        QVariantList seen;
        const int nr = set.fieldPosition(u"Nr");
        for (int guard = 0; !set.eof() && guard < 20; ++guard) {
            seen << set.value(nr);
            set.next();
        }
        QCOMPARE(seen, visited);
    }

    // Beginning of table likewise: a walk backwards from the last record visits every record.
    void beginningOfTable_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QVariantList>("visited");
        QTest::newRow("all") << QString() << numbers({9, 8, 7, 6, 5, 4, 3, 2, 1});
        QTest::newRow("one record") << "NrFirma=4" << numbers({9});
    }

    void beginningOfTable() {
        QFETCH(QString, filter);
        QFETCH(QVariantList, visited);
        Table table;
        openTable(table, data_, QStringLiteral("Dok.DB"));
        Query query;
        query.setDirectory(data_);
        query.setSql(QStringLiteral("Select *  from dok.db"));
        query.open();
        for (DataSet* set : {static_cast<DataSet*>(&table), static_cast<DataSet*>(&query)}) {
            set->setFilterText(filter);
            set->setFiltered(!filter.isEmpty());
            QVariantList seen;
            const int nr = set->fieldPosition(u"Nr");
            set->last();
            for (int guard = 0; !set->bof() && guard < 20; ++guard) {
                seen << set->value(nr);
                set->prior();
            }
            QCOMPARE(seen, visited);
        }
    }

    void navigationBounds() {
        Table dok;
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        QCOMPARE(dok.moveBy(-3), 0);
        QVERIFY(dok.bof());
        QCOMPARE(dok.moveBy(5), 5);
        QCOMPARE(dok.moveBy(10), 3);
        QVERIFY(dok.eof());
        QCOMPARE(dok.recNo(), 9);
        QCOMPARE(dok.moveBy(-20), -8);
        QVERIFY(dok.bof());
        const int titel = dok.fieldPosition(u"Titel");
        QCOMPARE(dok.valueAt(4, titel).toString(), QStringLiteral("Vertrag"));
        QVERIFY(!dok.valueAt(9, titel).isValid());
        QCOMPARE(dok.recNo(), 1);
    }
};

QTEST_GUILESS_MAIN(EngineTest)
#include "tst_engine.moc"
