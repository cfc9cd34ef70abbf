#include "app/settings.h"
#include "data/engine_error.h"
#include "data/query.h"
#include "data/table.h"
#include "documents/column_arrangement.h"
#include "mainwin/document_list.h"
#include "mainwin/document_list_sql.h"
#include "mainwin/entry_filter.h"
#include "test_install.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::appendRecord;
using zep::test::columnValues;
using zep::test::openTable;

namespace {

ColumnRow column(const char* field, const char* label = nullptr, const char* width = "10") {
    return {QString::fromUtf8(field), QString::fromUtf8(label ? label : field), QString::fromUtf8(width)};
}

QStringList texts(const QVariantList& values) {
    QStringList list;
    for (const QVariant& v : values)
        list << v.toString();
    return list;
}

QStringList visibleNames(const DataSet& dataSet) {
    QStringList names;
    for (int position : dataSet.visibleFields())
        names << dataSet.fieldInfo(position).def.name;
    return names;
}

QList<ColumnRow> rowsOf(const QStringList& fields) {
    QList<ColumnRow> rows;
    for (const QString& field : fields)
        rows.append({field, field + QStringLiteral(" Kopf"), QStringLiteral("12")});
    return rows;
}

QStringList fieldsOf(const QList<ColumnRow>& rows) {
    QStringList fields;
    for (const ColumnRow& row : rows)
        fields << row.field;
    return fields;
}

enum class Step { InsertBelow, Replace, Remove, Up, Down };

const QString Select = QStringLiteral("SELECT Nr, Datei, Ext, NrFirma, NrThema, WTyp, WTag, WDatum\n");

} // namespace

class DocumentListTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString data_;

    void fillFixture() {
        Table adr, thema, dok;
        openTable(adr, data_, QStringLiteral("Adressen.DB"));
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Alpha GmbH"}});
        appendRecord(adr, {{"Vor", 1}, {"Name1", "Meier"}});
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Zeta AG"}});
        openTable(thema, data_, QStringLiteral("Thema.DB"));
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Projekte"}});
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Rechnungen"}});
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        appendRecord(dok, {{"NrFirma", 1}, {"NrThema", 1}, {"Titel", "Bericht"}, {"Art", "Brief"}});
        appendRecord(dok, {{"NrFirma", 2}, {"NrThema", 2}, {"Titel", "Angebot"}, {"Art", "Fax"}});
        appendRecord(dok, {{"NrFirma", 0}, {"NrThema", 2}, {"Titel", "Zettel"}, {"Art", "Brief"}});
        appendRecord(dok, {{"NrFirma", 3}, {"NrThema", -1}, {"Titel", "Chronik"}, {"Art", "Brief"}});
        appendRecord(dok, {{"NrFirma", -1}, {"NrThema", 1}, {"Titel", "Dossier"}, {"Art", "Mail"}});
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        data_ = tmp_.filePath(QStringLiteral("Daten"));
        test::createClientTables(data_);
        fillFixture();
    }

    void sqlText_data() {
        QTest::addColumn<QList<ColumnRow>>("columns");
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QString>("sql");
        QTest::newRow("example: address join")
            << QList<ColumnRow>{column("Titel"), column("Art"), column("Adresse")} << 0 << false
            << Select + " ,Titel ,Art ,a.Name1 as Adresse\nFROM dok.db\nLEFT JOIN adressen.db a ON NrFirma = a.Nr\n"
                        "ORDER BY Titel ASC, Nr";
        QTest::newRow("both joins, sorted by the address")
            << QList<ColumnRow>{column("Thema"), column("Adresse"), column("Autor")} << 1 << true
            << Select + " ,t.Thema ,a.Name1 as Adresse ,Autor\nFROM dok.db\n"
                        "LEFT JOIN adressen.db a ON NrFirma = a.Nr\nLEFT JOIN thema.db t ON NrThema = t.Nr\n"
                        "ORDER BY Adresse DESC, Nr";
        QTest::newRow("topic join only")
            << QList<ColumnRow>{column("Titel"), column("Thema")} << 1 << false
            << Select + " ,Titel ,t.Thema\nFROM dok.db\nLEFT JOIN thema.db t ON NrThema = t.Nr\nORDER BY Thema ASC, Nr";
        QTest::newRow("fixed columns only: the extra line stays, empty")
            << QList<ColumnRow>{column("Nr"), column("WTyp"), column("WDatum")} << 1 << true
            << Select + "\nFROM dok.db\nORDER BY WTyp DESC, Nr";
        QTest::newRow("unknown and hostile names are left out")
            << QList<ColumnRow>{column("Titel"), column("Unbekannt"), column("Titel FROM thema.db --"),
                                column("Art) ; DROP TABLE x")}
            << 1 << false << Select + " ,Titel\nFROM dok.db\nORDER BY Titel ASC, Nr";
        QTest::newRow("nothing usable: sorted by Nr")
            << QList<ColumnRow>{ColumnRow{}} << 0 << true << Select + "\nFROM dok.db\nORDER BY Nr DESC, Nr";
        QTest::newRow("a column selected once, in the table's spelling")
            << QList<ColumnRow>{column("titel"), column("Titel"), column("NrFirma"), column("adresse"),
                                column("Adresse")}
            << 3 << false
            << Select + " ,Titel ,a.Name1 as Adresse\nFROM dok.db\nLEFT JOIN adressen.db a ON NrFirma = a.Nr\n"
                        "ORDER BY Adresse ASC, Nr";
    }

    // The text is as built, and the engine opens it on a client's tables.
    void sqlText() {
        QFETCH(QList<ColumnRow>, columns);
        QFETCH(int, sortColumn);
        QFETCH(bool, descending);
        QFETCH(QString, sql);
        const QString built = documentListSql(columns, sortColumn, descending);
        QCOMPARE(built, sql);
        Query query;
        query.setDirectory(data_);
        query.setSql(built);
        query.open();
        QCOMPARE(query.recordCount(), 5);
    }

    void arrangementShowsColumnsInOrder() {
        const QList<ColumnRow> columns = {column("Adresse", "Firma", "x"), column("Titel", "Betreff", "30"),
                                          column("Thema", "Thema", "")};
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        QCOMPARE(list.rebuild(columns, 1, false, std::nullopt), QString());
        QCOMPARE(visibleNames(query), (QStringList{"Adresse", "Titel", "Thema"}));
        QCOMPARE(query.fieldInfo(0).displayLabel, QStringLiteral("Firma"));
        QCOMPARE(query.fieldInfo(1).displayLabel, QStringLiteral("Betreff"));
        QCOMPARE(query.fieldInfo(0).displayWidth, 10);
        QCOMPARE(query.fieldInfo(1).displayWidth, 30);
        QCOMPARE(query.fieldInfo(2).displayWidth, 10);
        QCOMPARE(texts(columnValues(query, QStringLiteral("Titel"))),
                 (QStringList{"Angebot", "Bericht", "Chronik", "Dossier", "Zettel"}));
        QCOMPARE(texts(columnValues(query, QStringLiteral("Adresse"))),
                 (QStringList{"Meier", "Alpha GmbH", "Zeta AG", "", ""}));
        QCOMPARE(texts(columnValues(query, QStringLiteral("Thema"))),
                 (QStringList{"Rechnungen", "Projekte", "", "Projekte", "Rechnungen"}));
    }

    // A field arranged twice is shown once; a click on any header still sorts by the field shown.
    void headerOfAFieldArrangedTwiceSortsByThatField() {
        const QList<ColumnRow> columns = {column("Titel"), column("Art"), column("Titel"), column("Adresse")};
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        QCOMPARE(list.rebuild(columns, 0, false, std::nullopt), QString());
        const QStringList shown = visibleNames(query);
        QCOMPARE(shown.size(), 3);
        for (int gridColumn = 0; gridColumn < shown.size(); ++gridColumn) {
            const int arranged = arrangedColumnOfGridColumn(query, columns, gridColumn);
            QVERIFY(arranged >= 0);
            QCOMPARE(columns[arranged].field, shown[gridColumn]);
        }
        QCOMPARE(arrangedColumnOfGridColumn(query, columns, 3), -1);
        QCOMPARE(arrangedColumnOfGridColumn(query, columns, -1), -1);
    }

    void sortColumnOutsideTheArrangement_data() {
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QString>("order");
        QTest::newRow("one beyond the last") << 2 << true << "ORDER BY  DESC, Nr";
        QTest::newRow("far beyond") << 12 << false << "ORDER BY  ASC, Nr";
        QTest::newRow("negative") << -1 << true << "ORDER BY  DESC, Nr";
    }

    // The text names no sort column, and the engine refuses it with its message; the list stays closed.
    void sortColumnOutsideTheArrangement() {
        QFETCH(int, sortColumn);
        QFETCH(bool, descending);
        QFETCH(QString, order);
        const QList<ColumnRow> columns = {column("Titel"), column("Art")};
        const QString sql = documentListSql(columns, sortColumn, descending);
        QCOMPARE(sql, Select + " ,Titel ,Art\nFROM dok.db\n" + order);
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        QString message;
        try {
            list.rebuild(columns, sortColumn, descending, std::nullopt);
        } catch (const EngineError& error) {
            message = error.message();
        }
        QCOMPARE(message, QStringLiteral("Fehler in der Abfrage \"SELECT Nr, Datei, Ext, NrFirma, NrThema, WTyp, WTag, "
                                         "WDatum ,Titel ,Art FROM dok.db %1\": Im \"ORDER BY\" fehlt ein Feldname.")
                              .arg(order.simplified()));
        QVERIFY(!query.isActive());
    }

    void missingFieldStopsTheArrangementWithAMessage() {
        const QList<ColumnRow> columns = {column("Titel"), column("Art"), column("Unbekannt"), column("Autor")};
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        const QString message = list.rebuild(columns, 0, false, std::nullopt);
        QVERIFY2(message.contains(QStringLiteral("ab Spalte 3")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\"Unbekannt\"")), qPrintable(message));
        QVERIFY(query.isActive());
        QCOMPARE(visibleNames(query), (QStringList{"Titel", "Art"}));
    }

    void sortDirections_data() {
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("title ascending") << 0 << false
                                         << QStringList{"Angebot", "Bericht", "Chronik", "Dossier", "Zettel"};
        QTest::newRow("title descending")
            << 0 << true << QStringList{"Zettel", "Dossier", "Chronik", "Bericht", "Angebot"};
        // Equal kinds keep the order of their numbers.
        QTest::newRow("kind ascending, then Nr")
            << 1 << false << QStringList{"Bericht", "Zettel", "Chronik", "Angebot", "Dossier"};
    }

    void sortDirections() {
        QFETCH(int, sortColumn);
        QFETCH(bool, descending);
        QFETCH(QStringList, titles);
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        list.rebuild({column("Titel"), column("Art")}, sortColumn, descending, std::nullopt);
        QCOMPARE(texts(columnValues(query, QStringLiteral("Titel"))), titles);
    }

    void entryFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("address 2, toggle up")
            << entryFilterText(QStringLiteral("NrFirma"), 2, false, false, {}) << QStringList{"Angebot", "Zettel"};
        QTest::newRow("topic 1 with no descendants, toggle down")
            << entryFilterText(QStringLiteral("NrThema"), 1, false, true, {})
            << QStringList{"Bericht", "Dossier", "Zettel"};
        QTest::newRow("address 1 with descendant 2, toggle down")
            << entryFilterText(QStringLiteral("NrFirma"), 1, false, true, {2})
            << QStringList{"Angebot", "Bericht", "Zettel"};
        QTest::newRow("address root, toggle up")
            << entryFilterText(QStringLiteral("NrFirma"), 0, true, false, {1, 2, 3}) << QStringList{"Zettel"};
        QTest::newRow("address root, toggle down")
            << entryFilterText(QStringLiteral("NrFirma"), 0, true, true, {1, 2, 3})
            << QStringList{"Angebot", "Bericht", "Chronik", "Zettel"};
        QTest::newRow("topic root, toggle down") << entryFilterText(QStringLiteral("NrThema"), 0, true, true, {1, 2})
                                                 << QStringList{"Angebot", "Bericht", "Dossier", "Zettel"};
    }

    // Selecting another entry only changes the filter of the open query.
    void entryFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, titles);
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        list.rebuild({column("Titel")}, 0, false, std::nullopt);
        const QString sql = query.sql();
        list.setFilter(filter);
        QCOMPARE(texts(columnValues(query, QStringLiteral("Titel"))), titles);
        QCOMPARE(query.sql(), sql);
    }

    void refreshKeepsSqlAndFilterAndStandsOnTheFirstRecord() {
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        list.rebuild({column("Titel"), column("Art")}, 0, true, QStringLiteral("Art='Brief'"));
        QVERIFY(list.locate(4));
        QCOMPARE(query.field(u"Titel").asString(), QStringLiteral("Chronik"));
        const QString sql = query.sql();
        QCOMPARE(list.refresh({column("Titel"), column("Art")}), QString());
        QCOMPARE(query.sql(), sql);
        QCOMPARE(query.recNo(), 1);
        QCOMPARE(texts(columnValues(query, QStringLiteral("Titel"))), (QStringList{"Zettel", "Chronik", "Bericht"}));
    }

    void locateByNr() {
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        QVERIFY(!list.locate(1)); // closed
        list.rebuild({column("Titel"), column("Art")}, 0, false, QStringLiteral("Art='Brief'"));
        QVERIFY(list.locate(3));
        QCOMPARE(query.field(u"Titel").asString(), QStringLiteral("Zettel"));
        // Filtered out and missing numbers leave the cursor.
        QVERIFY(!list.locate(2));
        QVERIFY(!list.locate(99));
        QCOMPARE(query.field(u"Titel").asString(), QStringLiteral("Zettel"));
    }

    void arrangementEditing_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("currentAfter");
        const QStringList abc = {"A", "B", "C"};
        QTest::newRow("insert below the current row")
            << int(Step::InsertBelow) << abc << 0 << QStringList{"A", "Autor", "B", "C"} << 1;
        QTest::newRow("insert below the last row")
            << int(Step::InsertBelow) << abc << 2 << QStringList{"A", "B", "C", "Autor"} << 3;
        QTest::newRow("replace") << int(Step::Replace) << abc << 1 << QStringList{"A", "Autor", "C"} << 1;
        QTest::newRow("remove a middle row") << int(Step::Remove) << abc << 1 << QStringList{"A", "C"} << 1;
        QTest::newRow("remove the last row") << int(Step::Remove) << abc << 2 << QStringList{"A", "B"} << 1;
        QTest::newRow("the only row stays") << int(Step::Remove) << QStringList{"A"} << 0 << QStringList{"A"} << 0;
        QTest::newRow("up") << int(Step::Up) << abc << 2 << QStringList{"A", "C", "B"} << 1;
        QTest::newRow("first row up: nothing") << int(Step::Up) << abc << 0 << abc << 0;
        QTest::newRow("down") << int(Step::Down) << abc << 0 << QStringList{"B", "A", "C"} << 1;
        QTest::newRow("last row down: nothing") << int(Step::Down) << abc << 2 << abc << 2;
    }

    void arrangementEditing() {
        QFETCH(int, step);
        QFETCH(QStringList, before);
        QFETCH(int, current);
        QFETCH(QStringList, after);
        QFETCH(int, currentAfter);
        QList<ColumnRow> rows = rowsOf(before);
        const QString field = QStringLiteral("Autor");
        int result = -1;
        switch (Step(step)) {
        case Step::InsertBelow:
            result = insertColumnBelow(rows, current, field);
            break;
        case Step::Replace:
            result = replaceColumn(rows, current, field);
            break;
        case Step::Remove:
            result = removeColumn(rows, current);
            break;
        case Step::Up:
            result = moveColumnUp(rows, current);
            break;
        case Step::Down:
            result = moveColumnDown(rows, current);
            break;
        }
        QCOMPARE(fieldsOf(rows), after);
        QCOMPARE(result, currentAfter);
        // A new or replaced row shows the field under its own name, ten characters wide; moved rows
        // keep their texts.
        for (const ColumnRow& row : rows) {
            if (row.field == field)
                QCOMPARE(row, (ColumnRow{field, field, QStringLiteral("10")}));
            else
                QCOMPARE(row, (ColumnRow{row.field, row.field + QStringLiteral(" Kopf"), QStringLiteral("12")}));
        }
    }

    void finishedWidths_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("empty stays") << ""
                                     << "";
        QTest::newRow("integer stays") << "25"
                                       << "25";
        QTest::newRow("negative integer stays") << "-3"
                                                << "-3";
        QTest::newRow("word") << "breit"
                              << "0";
        QTest::newRow("decimal") << "1,5"
                                 << "0";
        QTest::newRow("digits and letters") << "12px"
                                            << "0";
    }

    void finishedWidths() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(finishedWidthText(typed), kept);
    }

    void sortBoxRefresh_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("reset");
        QTest::newRow("heading moved down") << "Art" << QStringList{"Titel", "Autor", "Art"} << 2 << false;
        QTest::newRow("heading renamed") << "Art" << QStringList{"Titel", "Dokumentart"} << 0 << true;
        QTest::newRow("heading removed") << "Autor" << QStringList{"Titel"} << 0 << true;
        QTest::newRow("case counts") << "art" << QStringList{"Titel", "Art"} << 0 << true;
    }

    void sortBoxRefresh() {
        QFETCH(QString, shown);
        QFETCH(QStringList, headings);
        QFETCH(int, index);
        QFETCH(bool, reset);
        const SortBoxChoice choice = refreshedSortChoice(shown, headings);
        QCOMPARE(choice.index, index);
        QCOMPARE(choice.sortColumnReset, reset);
    }

    // The column dialog assumes descending when the order is missing and writes the column key in its
    // own spelling, which the main window reads as well.
    void arrangementSortSettings() {
        QTemporaryDir dir;
        const ClientSettings settings(dir.filePath(QStringLiteral("Mand.ini")));
        QCOMPARE(settings.arrangementSortColumn(), 0);
        QVERIFY(settings.arrangementSortDescending());
        QVERIFY(!settings.sortDescending());
        QVERIFY(settings.setArrangementSort(2, false));
        QFile file(settings.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY2(content.contains("Sortspalte=2"), content.constData());
        QVERIFY2(content.contains("SortAbsteigend=0"), content.constData());
        QCOMPARE(settings.sortColumn(), 2);
        QVERIFY(!settings.arrangementSortDescending());
    }

    void displayWidths_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("integer") << "25" << 25;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("empty") << "" << 10;
        QTest::newRow("word") << "breit" << 10;
        QTest::newRow("decimal") << "12,5" << 10;
    }

    void displayWidths() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QCOMPARE(columnDisplayWidth(text), width);
    }
};

QTEST_GUILESS_MAIN(DocumentListTest)
#include "tst_document_list.moc"
