#include "app/clock.h"
#include "data/query.h"
#include "data/table.h"
#include "mainwin/document_list.h"
#include "mainwin/resubmission.h"
#include "test_install.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::appendRecord;
using zep::test::columnValues;
using zep::test::numbers;
using zep::test::openTable;

namespace {

// Monday 7 December 2026: day 46363, week 6623, month 1536.
const QDate Today(2026, 12, 7);

const QList<ColumnRow> TitleOnly = {{QStringLiteral("Titel"), QStringLiteral("Titel"), QStringLiteral("30")}};

} // namespace

class ResubmissionTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString data_;

    // Documents around Today; the title says why each one is there.
    void fillFixture() {
        Table dok;
        openTable(dok, data_, QStringLiteral("Dok.DB"));
        const auto add = [&dok](const char* title, const char* type, const QVariant& tag, const QVariant& date) {
            appendRecord(
                dok,
                {{"NrFirma", 1}, {"NrThema", 1}, {"Titel", title}, {"WTyp", type}, {"WTag", tag}, {"WDatum", date}});
        };
        add("1 date today", "D", {}, Today);
        add("2 date yesterday", "D", {}, Today.addDays(-1));
        add("3 date tomorrow", "D", {}, Today.addDays(1));
        add("4 date in three days", "D", {}, Today.addDays(3));
        add("5 date empty", "D", {}, {});
        add("6 daily due today", "T", 46363, {});
        add("7 daily overdue", "T", 46362, {});
        add("8 daily tomorrow", "T", 46364, {});
        add("9 weekly this week", "W", 6623, {});
        add("10 weekly next week", "W", 6624, {});
        add("11 monthly this month", "M", 1536, {});
        add("12 monthly next month", "M", 1537, {});
        add("13 no rule", "", {}, {});
        add("14 other value", "O", {}, {});
    }

    QVariantList listed(const QString& caption) {
        const FixedClock clock(Today);
        Query query;
        query.setDirectory(data_);
        DocumentList list(query);
        const std::optional<QString> filter = resubmissionFilterText(caption, Clock::today());
        if (!filter)
            return {};
        list.rebuild(TitleOnly, 0, false, *filter);
        QVariantList nrs = columnValues(query, QStringLiteral("Nr"));
        std::sort(nrs.begin(), nrs.end(), [](const QVariant& a, const QVariant& b) { return a.toInt() < b.toInt(); });
        return nrs;
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        data_ = tmp_.filePath(QStringLiteral("Daten"));
        test::createClientTables(data_);
        fillFixture();
    }

    void periodNumbers_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("week");
        QTest::addColumn<int>("month");
        QTest::newRow("day zero") << QDate(1899, 12, 30) << 0 << 0 << 12;
        QTest::newRow("1 January 1900, a Monday") << QDate(1900, 1, 1) << 2 << 0 << 13;
        QTest::newRow("first Sunday") << QDate(1900, 1, 7) << 8 << 0 << 13;
        QTest::newRow("second Monday") << QDate(1900, 1, 8) << 9 << 1 << 13;
        QTest::newRow("Sunday before") << QDate(2026, 12, 6) << 46362 << 6622 << 1536;
        QTest::newRow("Monday 7 December 2026") << QDate(2026, 12, 7) << 46363 << 6623 << 1536;
        QTest::newRow("new year's day 2027") << QDate(2027, 1, 1) << 46388 << 6626 << 1537;
    }

    void periodNumbers() {
        QFETCH(QDate, date);
        QFETCH(int, day);
        QFETCH(int, week);
        QFETCH(int, month);
        QCOMPARE(dayNumber(date), day);
        QCOMPARE(weekNumber(date), week);
        QCOMPARE(monthNumber(date), month);
    }

    void filterTexts_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("filter");
        QTest::newRow("Dokumente") << "Dokumente"
                                   << "((wtyp = 'O'))";
        QTest::newRow("Alle") << "Alle"
                              << "";
        QTest::newRow("Wiedervorlage") << "Wiedervorlage"
                                       << "((wtyp = 'O')) OR ((wtyp <> ''))";
        QTest::newRow("Heute") << "Heute"
                               << "((wtyp = 'O')) OR ((wtyp = 'D') AND (wdatum<=07.12.2026)) OR "
                                  "((wtyp = 'T') AND (wtag  <=46363)) OR ((wtyp = 'W') AND (wtag  <=6623)) OR "
                                  "((wtyp = 'M') AND (wtag  <=1536))";
        QTest::newRow("Morgen") << "Morgen"
                                << "((wtyp = 'O')) OR ((wtyp = 'D') AND (wdatum=08.12.2026))";
        QTest::newRow("Ab Übermorgen") << "Ab Übermorgen"
                                       << "((wtyp = 'O')) OR ((wtyp = 'D') AND (wdatum>08.12.2026))";
        QTest::newRow("Datum") << "Datum"
                               << "((wtyp = 'O')) OR ((wtyp = 'D'))";
        QTest::newRow("Täglich") << "Täglich"
                                 << "((wtyp = 'O')) OR ((wtyp = 'T'))";
        QTest::newRow("Wöchentlich") << "Wöchentlich"
                                     << "((wtyp = 'O')) OR ((wtyp = 'W'))";
        QTest::newRow("Monatlich") << "Monatlich"
                                   << "((wtyp = 'O')) OR ((wtyp = 'M'))";
    }

    void filterTexts() {
        QFETCH(QString, caption);
        QFETCH(QString, filter);
        QCOMPARE(resubmissionFilterText(caption, Today), std::optional<QString>(filter));
    }

    void captionsAreComparedExactly() {
        QCOMPARE(resubmissionFilterText(QStringLiteral("heute"), Today), std::nullopt);
        QCOMPARE(resubmissionFilterText(QStringLiteral("Adressen"), Today), std::nullopt);
    }

    void nodesListTheirDocuments_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QVariantList>("expected");
        QTest::newRow("Heute: due and overdue") << "Heute" << numbers({1, 2, 5, 6, 7, 9, 11, 14});
        QTest::newRow("Morgen") << "Morgen" << numbers({3, 14});
        QTest::newRow("Ab Übermorgen") << "Ab Übermorgen" << numbers({4, 14});
        QTest::newRow("Datum") << "Datum" << numbers({1, 2, 3, 4, 5, 14});
        QTest::newRow("Täglich") << "Täglich" << numbers({6, 7, 8, 14});
        QTest::newRow("Wöchentlich") << "Wöchentlich" << numbers({9, 10, 14});
        QTest::newRow("Monatlich") << "Monatlich" << numbers({11, 12, 14});
        QTest::newRow("Wiedervorlage") << "Wiedervorlage" << numbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14});
        QTest::newRow("Dokumente") << "Dokumente" << numbers({14});
        QTest::newRow("Alle") << "Alle" << numbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    }

    void nodesListTheirDocuments() {
        QFETCH(QString, caption);
        QFETCH(QVariantList, expected);
        QCOMPARE(listed(caption), expected);
    }

    void marks_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("tag");
        QTest::addColumn<QVariant>("date");
        QTest::addColumn<int>("mark"); // -1: none
        QTest::addColumn<bool>("overdue");
        QTest::newRow("date today") << "D" << QVariant() << QVariant(Today) << 0 << false;
        QTest::newRow("date yesterday") << "D" << QVariant() << QVariant(Today.addDays(-1)) << 0 << true;
        QTest::newRow("date tomorrow") << "D" << QVariant() << QVariant(Today.addDays(1)) << 0 << false;
        QTest::newRow("date empty") << "D" << QVariant() << QVariant() << 0 << true;
        QTest::newRow("daily today") << "T" << QVariant(46363) << QVariant() << 1 << false;
        QTest::newRow("daily yesterday") << "T" << QVariant(46362) << QVariant() << 1 << true;
        QTest::newRow("daily empty") << "T" << QVariant() << QVariant() << 1 << true;
        QTest::newRow("weekly this week") << "W" << QVariant(6623) << QVariant() << 2 << false;
        QTest::newRow("weekly last week") << "W" << QVariant(6622) << QVariant() << 2 << true;
        QTest::newRow("monthly this month") << "M" << QVariant(1536) << QVariant() << 3 << false;
        QTest::newRow("monthly last month") << "M" << QVariant(1535) << QVariant() << 3 << true;
        QTest::newRow("no rule") << "" << QVariant() << QVariant() << -1 << false;
        QTest::newRow("other value") << "O" << QVariant(1) << QVariant(Today.addDays(-9)) << -1 << false;
        QTest::newRow("lower case") << "d" << QVariant() << QVariant(Today.addDays(-9)) << -1 << false;
    }

    void marks() {
        QFETCH(QString, type);
        QFETCH(QVariant, tag);
        QFETCH(QVariant, date);
        QFETCH(int, mark);
        QFETCH(bool, overdue);
        QCOMPARE(resubmissionMark(type).value_or(-1), mark);
        QCOMPARE(resubmissionOverdue(type, tag, date, Today), overdue);
    }

    void done_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("tag");
        QTest::addColumn<QVariant>("date");
        QTest::addColumn<QString>("typeAfter");
        QTest::addColumn<QVariant>("tagAfter");
        QTest::addColumn<QVariant>("dateAfter");
        const QVariant none;
        QTest::newRow("date rule ends") << Today << "D" << none << QVariant(Today) << "" << none << none;
        QTest::newRow("daily: tomorrow") << Today << "T" << QVariant(46363) << none << "T" << QVariant(46364) << none;
        QTest::newRow("daily long overdue: tomorrow")
            << Today << "T" << QVariant(46000) << none << "T" << QVariant(46364) << none;
        QTest::newRow("weekly on a Monday: next Monday")
            << Today << "W" << QVariant(6623) << none << "W" << QVariant(6624) << none;
        QTest::newRow("weekly on a Sunday: the next day")
            << QDate(2026, 12, 13) << "W" << QVariant(6623) << none << "W" << QVariant(6624) << none;
        QTest::newRow("monthly: first of next month")
            << Today << "M" << QVariant(1536) << none << "M" << QVariant(1537) << none;
        QTest::newRow("no rule stays") << Today << "" << none << none << "" << none << none;
        QTest::newRow("other value stays")
            << Today << "O" << QVariant(5) << QVariant(Today) << "O" << QVariant(5) << QVariant(Today);
    }

    // The change is on disk: a second table object reads it.
    void done() {
        QFETCH(QDate, day);
        QFETCH(QString, type);
        QFETCH(QVariant, tag);
        QFETCH(QVariant, date);
        QFETCH(QString, typeAfter);
        QFETCH(QVariant, tagAfter);
        QFETCH(QVariant, dateAfter);
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table dok, reader;
        openTable(dok, dir.path(), QStringLiteral("Dok.DB"));
        const qint64 nr = appendRecord(dok, {{"NrFirma", 1}, {"WTyp", type}, {"WTag", tag}, {"WDatum", date}});
        QVERIFY(dok.findKey({nr}));
        markResubmissionDone(dok, day);
        QCOMPARE(dok.state(), DataSetState::Browse);

        openTable(reader, dir.path(), QStringLiteral("Dok.DB"));
        QVERIFY(reader.findKey({nr}));
        QCOMPARE(reader.field(u"WTyp").asString(), typeAfter);
        QCOMPARE(reader.field(u"WTag").value(), tagAfter.isValid() ? QVariant(tagAfter.toLongLong()) : QVariant());
        QCOMPARE(reader.field(u"WDatum").value(), dateAfter);
    }

    void ruleFromTheDetail_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("tag");
        QTest::addColumn<QVariant>("date");
        const QVariant none;
        const QDate sunday(2026, 12, 13);
        // Monday and the following Sunday: two day numbers, one week number.
        QTest::newRow("daily on Monday") << Today << "T"
                                         << "T" << QVariant(46363) << none;
        QTest::newRow("daily on Sunday") << sunday << "T"
                                         << "T" << QVariant(46369) << none;
        QTest::newRow("weekly on Monday") << Today << "W"
                                          << "W" << QVariant(6623) << none;
        QTest::newRow("weekly on Sunday") << sunday << "W"
                                          << "W" << QVariant(6623) << none;
        QTest::newRow("monthly") << Today << "M"
                                 << "M" << QVariant(1536) << none;
        QTest::newRow("the calendar's date") << Today << "DK"
                                             << "D" << none << QVariant(QDate(2027, 1, 15));
        QTest::newRow("tomorrow") << Today << "DM"
                                  << "D" << none << QVariant(Today.addDays(1));
        QTest::newRow("in a week") << Today << "DW"
                                   << "D" << none << QVariant(Today.addDays(7));
        QTest::newRow("none") << Today << "K"
                              << "" << none << none;
    }

    // Each rule replaces the one before (here a date rule with a stale period number) entirely.
    void ruleFromTheDetail() {
        QFETCH(QDate, day);
        QFETCH(QString, code);
        QFETCH(QString, type);
        QFETCH(QVariant, tag);
        QFETCH(QVariant, date);
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table dok;
        openTable(dok, dir.path(), QStringLiteral("Dok.DB"));
        const qint64 nr = appendRecord(dok, {{"WTyp", "D"}, {"WTag", 5}, {"WDatum", QDate(2020, 1, 1)}});
        QVERIFY(dok.findKey({nr}));
        setResubmissionRule(dok, code, day, QDate(2027, 1, 15));
        QVERIFY(dok.isEditing());
        dok.post();
        QCOMPARE(dok.field(u"WTyp").asString(), type);
        QCOMPARE(dok.field(u"WTag").value(), tag.isValid() ? QVariant(tag.toLongLong()) : QVariant());
        QCOMPARE(dok.field(u"WDatum").value(), date);
    }

    // The filter in force is the one set at selection: the done document leaves "Heute" at the refresh.
    void doneDailyDocumentLeavesToday() {
        const FixedClock clock(Today);
        QTemporaryDir dir;
        test::createClientTables(dir.path());
        Table dok;
        openTable(dok, dir.path(), QStringLiteral("Dok.DB"));
        const qint64 daily = appendRecord(dok, {{"Titel", "täglich"}, {"WTyp", "T"}, {"WTag", 46363}});
        appendRecord(dok, {{"Titel", "Termin"}, {"WTyp", "D"}, {"WDatum", Today}});
        Query query;
        query.setDirectory(dir.path());
        DocumentList list(query);
        list.rebuild(TitleOnly, 0, false, resubmissionFilterText(QStringLiteral("Heute"), Clock::today()));
        QCOMPARE(query.recordCount(), 2);
        QVERIFY(dok.findKey({daily}));
        markResubmissionDone(dok, Clock::today());
        list.refresh(TitleOnly);
        QCOMPARE(columnValues(query, QStringLiteral("Titel")), QVariantList{QStringLiteral("Termin")});
    }

    void fixedClockIsReleased() {
        {
            const FixedClock clock(QDate(2001, 2, 3));
            QCOMPARE(Clock::today(), QDate(2001, 2, 3));
        }
        QCOMPARE(Clock::today(), QDate::currentDate());
    }
};

QTEST_GUILESS_MAIN(ResubmissionTest)
#include "tst_resubmission.moc"
