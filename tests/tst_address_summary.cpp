#include "data/table.h"
#include "mainwin/address_summary.h"
#include "test_install.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;

namespace {

using Fields = QMap<QString, QString>;

// Lines as text, a heading written as "*" + its text.
QStringList marked(const std::vector<SummaryLine>& lines) {
    QStringList texts;
    for (const SummaryLine& line : lines)
        texts << (line.heading ? u'*' + line.text : line.text);
    return texts;
}

QStringList summaryOf(const Fields& fields) {
    return marked(addressSummaryLines([&fields](const QString& name) { return fields.value(name); }));
}

} // namespace

class TestAddressSummary : public QObject {
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void htmlKeepsBlanksAndBoldsHeadingsOnly();
    void readsTheCurrentRecordOfATable();
};

void TestAddressSummary::lines_data() {
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("names only") << Fields{{"Name1", "Meier"}, {"Name2", "Anna"}} << QStringList{};
    QTest::newRow("phone and postal address")
        << Fields{{"Tel1", "0711 123"}, {"Strasse", "Hauptstraße 1"}, {"PLZ1", "70173"}, {"Ort", "Stuttgart"}}
        << QStringList{"*Kommunikation:", "    Tel1: 0711 123", "*Anschrift:", "    Hauptstraße 1",
                       "    70173 Stuttgart"};
    QTest::newRow("blanks are a value") << Fields{{"Tel3", "  "}} << QStringList{"*Kommunikation:", "    Tel3:   "};
    QTest::newRow("empty text is no value") << Fields{{"Tel3", ""}, {"Ort", ""}} << QStringList{};
    QTest::newRow("postcode without town keeps its blank")
        << Fields{{"PLZ1", "70173"}} << QStringList{"*Anschrift:", "    70173 "};
    QTest::newRow("town without postcode") << Fields{{"Ort", "Ulm"}} << QStringList{"*Anschrift:", "    Ulm"};
    QTest::newRow("fax and mail are numbered")
        << Fields{{"Fax", "1"}, {"Fax2", "2"}, {"Mail", "a@b.de"}, {"Mail2", "c@d.de"}, {"Internet2", "x.de"}}
        << QStringList{"*Kommunikation:",   "    Fax1: 1",       "    Fax2: 2",
                       "    Mail1: a@b.de", "    Mail2: c@d.de", "    Internet2: x.de"};
    QTest::newRow("communication in field order")
        << Fields{{"Internet1", "w"}, {"Tel6", "6"}, {"Tel2", "2"}, {"Mail", "m"}}
        << QStringList{"*Kommunikation:", "    Tel2: 2", "    Tel6: 6", "    Mail1: m", "    Internet1: w"};
    QTest::newRow("free fields, dates and numbers")
        << Fields{{"Feld6", "f6"}, {"Feld1", "f1"}, {"Datum2", "01.02.2003"}, {"Zahl1", "7"}}
        << QStringList{"*Weitere Felder:", "    Feld1: f1", "    Feld6: f6", "    Datum2: 01.02.2003", "    Zahl1: 7"};
    QTest::newRow("bank") << Fields{{"BKonto", "123"}, {"BBLZ", "600"}, {"BBank", "Sparkasse"}}
                          << QStringList{"*Bankverbindung:", "    Sparkasse", "    BLZ: 600", "    Konto: 123"};
    QTest::newRow("serial letter")
        << Fields{{"Grusswort", "Mit freundlichen Grüßen"}, {"AnredeBrief", "Frau"}, {"Herr_Frau", "Frau"}}
        << QStringList{"*Serienbrief:", "    Frau", "    Frau", "    Mit freundlichen Grüßen"};
    QTest::newRow("empty groups between filled ones get no heading")
        << Fields{{"Tel1", "1"}, {"Grusswort", "Gruß"}}
        << QStringList{"*Kommunikation:", "    Tel1: 1", "*Serienbrief:", "    Gruß"};
}

void TestAddressSummary::lines() {
    QFETCH(Fields, fields);
    QFETCH(QStringList, expected);
    QCOMPARE(summaryOf(fields), expected);
}

void TestAddressSummary::htmlKeepsBlanksAndBoldsHeadingsOnly() {
    const QString html =
        addressSummaryHtml({{QStringLiteral("Anschrift:"), true}, {QStringLiteral("    <A&B>"), false}});
    QVERIFY(html.contains(u"<b>Anschrift:</b>"));
    QVERIFY(html.contains(u">    &lt;A&amp;B&gt;<"));
    QVERIFY(html.contains(u"white-space:pre"));
    QCOMPARE(html.count(u"<b>"), 1);
    QVERIFY(addressSummaryHtml({}).isEmpty());
}

void TestAddressSummary::readsTheCurrentRecordOfATable() {
    QTemporaryDir dir;
    test::createClientTables(dir.path());
    Table adr;
    test::openTable(adr, dir.path(), QStringLiteral("Adressen.DB"));
    test::appendRecord(adr, {{"Name1", "Alpha"}, {"Tel1", "111"}, {"PLZ1", "10115"}});
    test::appendRecord(adr, {{"Name1", "Beta"}, {"Ort", "Bonn"}, {"Zahl2", 5}});

    adr.first();
    QCOMPARE(marked(addressSummaryLines(currentRecordReader(adr))),
             (QStringList{"*Kommunikation:", "    Tel1: 111", "*Anschrift:", "    10115 "}));
    adr.next();
    QCOMPARE(marked(addressSummaryLines(currentRecordReader(adr))),
             (QStringList{"*Anschrift:", "    Bonn", "*Weitere Felder:", "    Zahl2: 5"}));
    QVERIFY(ShowAddressSummary(adr).contains(u"<b>Weitere Felder:</b>"));

    QVERIFY(currentRecordReader(adr)(QStringLiteral("NoSuchField")).isNull());
}

QTEST_GUILESS_MAIN(TestAddressSummary)
#include "tst_address_summary.moc"
