#include "app/font_string.h"
#include "mainwin/dde_command.h"
#include "mainwin/enabling_rules.h"
#include "mainwin/entry_filter.h"
#include "mainwin/system_figures.h"
#include "mainwin/window_texts.h"

#include <QDir>
#include <QTest>

using namespace zep;

namespace {

const char* const SampleMemInfo = "MemTotal:       16318088 kB\n"
                                  "MemFree:         1202340 kB\n"
                                  "MemAvailable:    6037692 kB\n"
                                  "Buffers:          402276 kB\n"
                                  "SwapCached:            0 kB\n"
                                  "SwapTotal:       2097148 kB\n"
                                  "SwapFree:        1677716 kB\n"
                                  "HugePages_Total:       0\n";

} // namespace

Q_DECLARE_METATYPE(std::optional<qint64>)
Q_DECLARE_METATYPE(std::optional<QString>)

class MainWinCoreTest : public QObject {
    Q_OBJECT

private slots:
    void captionOfOpenClient() {
        QCOMPARE(mainWindowCaption(QStringLiteral("Muster"), QStringLiteral("/daten/Muster")),
                 QStringLiteral("ZEP 3.5   >>Muster  /daten/Muster<<"));
        QCOMPARE(mainWindowCaption(QString(), QString()), QStringLiteral("ZEP 3.5   >>  <<"));
    }

    void clockTexts_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("leading zeros") << QDateTime(QDate(2024, 3, 5), QTime(7, 4)) << "05.03.24"
                                       << "07:04";
        QTest::newRow("afternoon, minutes not months")
            << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)) << "31.12.99"
            << "23:59";
    }
    void clockTexts() {
        QFETCH(QDateTime, now);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QCOMPARE(clockDateText(now), date);
        QCOMPARE(clockTimeText(now), time);
    }

    void fixedTexts() {
        QCOMPARE(aboutText(), QStringLiteral("ZEP V ZEP 3.5 32bit"));
        QCOMPARE(documentTabCaption(0), QStringLiteral("Dokumente [0]"));
        QCOMPARE(documentTabCaption(1234), QStringLiteral("Dokumente [1234]"));
        QCOMPARE(noSerialLetterDocumentMessage(),
                 QStringLiteral("Es ist kein Dokument, dass als \rSerienbrief dienen soll, ausgewählt"));
    }

    void memInfoIsParsed() {
        const MemoryFigures figures = parseMemInfo(QString::fromLatin1(SampleMemInfo));
        QCOMPARE(figures.memTotal, std::optional<qint64>(16318088));
        QCOMPARE(figures.memAvailable, std::optional<qint64>(6037692));
        QCOMPARE(figures.swapTotal, std::optional<qint64>(2097148));
        QCOMPARE(figures.swapFree, std::optional<qint64>(1677716));
    }

    void memInfoWithoutSwapLines() {
        const MemoryFigures figures = parseMemInfo(u"MemTotal: 1000 kB\nMemAvailable: 370 kB\n");
        QCOMPARE(figures.memTotal, std::optional<qint64>(1000));
        QVERIFY(!figures.swapTotal);
        QCOMPARE(freeSwapText(figures), QStringLiteral("?%Page"));
    }

    void figureTexts_data() {
        QTest::addColumn<QString>("meminfo");
        QTest::addColumn<QString>("ram");
        QTest::addColumn<QString>("page");
        QTest::newRow("sample") << QString::fromLatin1(SampleMemInfo) << "37%RAM"
                                << "80%Page";
        // load 62.6% rounds to 63, so 37 free; swap 0.5 rounds away from zero
        QTest::newRow("rounding") << "MemTotal: 1000 kB\nMemAvailable: 374 kB\nSwapTotal: 1000 kB\nSwapFree: 5 kB\n"
                                  << "37%RAM"
                                  << "1%Page";
        QTest::newRow("everything free") << "MemTotal: 8 kB\nMemAvailable: 8 kB\nSwapTotal: 4 kB\nSwapFree: 4 kB\n"
                                         << "100%RAM"
                                         << "100%Page";
        QTest::newRow("no swap") << "MemTotal: 8 kB\nMemAvailable: 0 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n"
                                 << "0%RAM"
                                 << "-%Page";
        QTest::newRow("unreadable") << QString() << "?%RAM"
                                    << "?%Page";
    }
    void figureTexts() {
        QFETCH(QString, meminfo);
        QFETCH(QString, ram);
        QFETCH(QString, page);
        const MemoryFigures figures = parseMemInfo(meminfo);
        QCOMPARE(freeMemoryText(figures), ram);
        QCOMPARE(freeSwapText(figures), page);
    }

    void missingMemInfoFileGivesUnknown() {
        QCOMPARE(freeMemoryText(readMemInfo(QStringLiteral("/nonexistent/meminfo"))), QStringLiteral("?%RAM"));
    }

    void diskText_data() {
        QTest::addColumn<std::optional<qint64>>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("rounds down") << std::optional<qint64>(5 * 1048576LL + 524287) << "5MB /";
        QTest::newRow("rounds up") << std::optional<qint64>(5 * 1048576LL + 524288) << "6MB /";
        QTest::newRow("large, no separators") << std::optional<qint64>(123456LL * 1048576LL) << "123456MB /";
        QTest::newRow("unknown") << std::optional<qint64>() << "?MB /";
    }
    void diskText() {
        QFETCH(std::optional<qint64>, bytes);
        QFETCH(QString, text);
        QCOMPARE(freeDiskText(bytes, QStringLiteral("/")), text);
    }

    void diskFiguresOfThisMachine() {
        const DiskFigures disk = readDiskFigures(QDir::tempPath());
        QVERIFY(disk.freeBytes.has_value());
        QVERIFY(disk.mountPoint.startsWith(u'/'));
    }

    void ddeCommand_data() {
        QTest::addColumn<QString>("commandTemplate");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<std::optional<QString>>("command");
        QTest::newRow("plain") << "%1"
                               << "/a/b.odt" << std::optional<QString>(QStringLiteral("/a/b.odt"));
        QTest::newRow("in a macro") << "[FileOpen(\"%1\")]"
                                    << "/x y.doc" << std::optional<QString>(QStringLiteral("[FileOpen(\"/x y.doc\")]"));
        QTest::newRow("only the first") << "%1 und %1"
                                        << "f" << std::optional<QString>(QStringLiteral("f und %1"));
        QTest::newRow("file name holding %1") << "open %1"
                                              << "a%1b" << std::optional<QString>(QStringLiteral("open a%1b"));
        QTest::newRow("no placeholder") << "[Open]"
                                        << "f" << std::optional<QString>();
        QTest::newRow("percent alone") << "%2 %"
                                       << "f" << std::optional<QString>();
        QTest::newRow("empty") << ""
                               << "f" << std::optional<QString>();
    }
    void ddeCommand() {
        QFETCH(QString, commandTemplate);
        QFETCH(QString, fileName);
        QFETCH(std::optional<QString>, command);
        QCOMPARE(ddeCommandText(commandTemplate, fileName), command);
    }

    void fontStringApplied_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("size");
        QTest::newRow("complete") << "Arial;1100;12;"
                                  << "Arial" << true << true << 12;
        QTest::newRow("empty name keeps the design name") << ";0100;9;"
                                                          << "Design" << false << true << 9;
        QTest::newRow("three flags are ignored") << "Arial;111;14;"
                                                 << "Arial" << false << false << 14;
        QTest::newRow("five flags are ignored") << "Arial;11111;14;"
                                                << "Arial" << false << false << 14;
        QTest::newRow("size not an integer") << "Arial;1000;12pt;"
                                             << "Arial" << true << false << 10;
        QTest::newRow("missing") << ""
                                 << "Design" << false << false << 10;
    }
    void fontStringApplied() {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(int, size);
        FontDescription design;
        design.name = QStringLiteral("Design");
        design.pointSize = 10;
        const FontDescription font = applyFontString(text, design);
        QCOMPARE(font.name, name);
        QCOMPARE(font.bold, bold);
        QCOMPARE(font.italic, italic);
        QCOMPARE(font.pointSize, size);
    }

    void entryFilter_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("root");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QList<int>>("descendants");
        QTest::addColumn<QString>("filter");
        QTest::newRow("address, toggle up")
            << "NrFirma" << 17 << false << false << QList<int>{4} << "(NrFirma=0) OR (NrFirma=17)";
        QTest::newRow("topic with children, toggle down") << "NrThema" << 5 << false << true << QList<int>{8, 9}
                                                          << "(NrFirma=0) OR (NrThema=5) OR (NrThema=8) OR (NrThema=9)";
        QTest::newRow("root, toggle up") << "NrThema" << 0 << true << false << QList<int>{1, 2}
                                         << "(NrFirma=0) OR (NrThema=0)";
        QTest::newRow("root, toggle down")
            << "NrFirma" << 0 << true << true << QList<int>{1, 2} << "(NrFirma=0) OR (NrFirma>0)";
    }
    void entryFilter() {
        QFETCH(QString, link);
        QFETCH(int, number);
        QFETCH(bool, root);
        QFETCH(bool, all);
        QFETCH(QList<int>, descendants);
        QFETCH(QString, filter);
        QCOMPARE(entryFilterText(link, number, root, all, descendants), filter);
    }

    void enablingRulesDependOnTheView() {
        QVERIFY(entryRuleControls(0).contains(u"PA_PrintBrief"_qs));
        QVERIFY(!entryRuleControls(0).contains(u"MT_Edit"_qs));
        QVERIFY(entryRuleControls(1).contains(u"PT_Del"_qs));
        QVERIFY(!entryRuleControls(1).contains(u"MA_Del"_qs));
        QVERIFY(!entryRuleControls(2).contains(u"MA_Edit"_qs));
        QVERIFY(documentRuleControls(0).contains(u"PD_Save"_qs));
        QVERIFY(documentRuleControls(2).contains(u"RE"_qs));
        QVERIFY(!documentRuleControls(2).contains(u"PD_Move"_qs));
        QVERIFY(documentsViewRuleControls().contains(u"Btn_D_All"_qs));
    }
};

QTEST_GUILESS_MAIN(MainWinCoreTest)
#include "tst_mainwin_core.moc"
