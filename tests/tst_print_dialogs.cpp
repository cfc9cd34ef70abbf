#include "app/program.h"
#include "app/startup.h"
#include "data/table.h"
#include "durable_steps.h"
#include "mainwin/tree_texts.h"
#include "printing/print_layouts.h"
#include "printing/ui/address_print_dialog.h"
#include "printing/ui/envelope_print_dialog.h"
#include "printing/ui/print_job.h"
#include "printing/ui/print_preview_window.h"
#include "printing/ui/print_status_window.h"
#include "required_tool.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zep;
using namespace Qt::StringLiterals;
using zep::test::appendRecord;
using zep::test::ScriptedInteraction;

namespace {

constexpr double PointsPerMm = 72.0 / 25.4;

// A word as pdftotext -bbox places it: points from the page's top left corner.
struct PdfWord {
    int page = 0;
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

QList<PdfWord> pdfWords(const QString& pdf, int* pageCount = nullptr) {
    QProcess process;
    process.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qWarning("pdftotext failed on %s", qPrintable(pdf));
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression tag(
        uR"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"_s);
    QList<PdfWord> words;
    int page = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(u"<page"_s)) {
            ++page;
            continue;
        }
        words.append({page, m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                      m.captured(4).toDouble()});
    }
    if (pageCount)
        *pageCount = page;
    return words;
}

PdfWord findWord(const QList<PdfWord>& words, const QString& text) {
    for (const PdfWord& word : words)
        if (word.text == text)
            return word;
    return {-1, {}, 0, 0, 0, 0};
}

ScriptedInteraction::PrinterSetup pdfPrinter(const QString& path, const QPageSize& size, double leftMargin = 0) {
    return [path, size, leftMargin](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(size);
        printer.setPageMargins(QMarginsF(leftMargin, 0, 0, 0), QPageLayout::Millimeter);
        return true;
    };
}

// The PDF checks read the file back with pdftotext (poppler-utils, installed by scripts/setup.sh).
#define REQUIRE_PDFTOTEXT() REQUIRE_TOOL("pdftotext", "pdftotext (poppler-utils) is not installed")

template <typename T = QWidget> T* child(QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

void click(QWidget& window, const QString& name) {
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

// An installation with a client of 45 addresses "Adresse 001" .. "Adresse 045" (Nr 1 .. 45), each
// with street, postcode and town, and "Ohne Strasse" (46) with a name only.
class Installation {
public:
    Installation() {
        ensureInstallationLayout(tmp.path());
        program = loadProgram(tmp.path());
        Program::setInstance(&program);
        program.client.SetClientPaths(u"Muster"_s, tmp.filePath(u"Muster"_s));
        test::createClientTables(program.client.DataDir);
        Table adr;
        test::openTable(adr, program.client.DataDir, u"Adressen.DB"_s);
        for (int i = 1; i <= 45; ++i)
            appendRecord(adr, {{u"Vor"_s, 0},
                               {u"Name1"_s, u"Adresse %1"_s.arg(i, 3, 10, QChar(u'0'))},
                               {u"Strasse"_s, u"Weg %1"_s.arg(i)},
                               {u"PLZ1"_s, u"5%1"_s.arg(i, 4, 10, QChar(u'0'))},
                               {u"Ort"_s, u"Bonn"_s}});
        appendRecord(adr, {{u"Vor"_s, 0}, {u"Name1"_s, u"Ohne Strasse"_s}});
        for (int i = 1; i <= 46; ++i)
            selection << subtreeEntryLine(i == 46 ? u"Ohne Strasse"_s : u"Adresse %1"_s.arg(i, 3, 10, QChar(u'0')), i);
    }
    ~Installation() { Program::setInstance(nullptr); }

    // The first address list layout: DejaVu Sans 12, name, street and town.
    void setListLayout() {
        Table t;
        test::openTable(t, program.paths.general, u"AdrPrt.db"_s);
        AddressListLayout layout;
        layout.font = {u"DejaVu Sans"_s, false, false, 12};
        layout.lines[0] = u"[Name1]"_s;
        layout.lines[1] = u"[Strasse]"_s;
        layout.lines[2] = u"[PLZ1] [Ort]"_s;
        t.first();
        t.edit();
        writeAddressListLayout(t, u"Liste"_s, layout);
        t.post();
    }

    std::unique_ptr<AddressPrintDialog> listDialog(int count = 46) {
        auto dialog = std::make_unique<AddressPrintDialog>(
            program.paths.general, program.client.DataDir, [this, count](bool withDescendants, bool withMainEntries) {
                asked.append({withDescendants, withMainEntries});
                return withDescendants ? selection.mid(0, count) : selection.mid(0, 1);
            });
        dialog->show();
        return dialog;
    }

    QString pdfPath(const QString& name) const { return tmp.filePath(name); }

    ScriptedInteraction interaction;
    QTemporaryDir tmp;
    Program program;
    QStringList selection;
    QList<std::pair<bool, bool>> asked; // the flags each reading of the selection was given
};

} // namespace

class TestPrintDialogs : public QObject {
    Q_OBJECT

private slots:
    void addressListPdf();
    void previewShowsFirstPageOnly();
    void unprintableMarginMovesColumns();
    void envelopePdf();
    void abortLeavesNoFile();
    void abortWhilePaintingLeavesNoPartialFile();
    void missingFolderIsReported();
    void newThenDeleteDropsOnlyNew();
    void lastLayoutNeverDeleted();
    void saveNeedsName();
    void firstLayoutIntoEmptyTable();
    void editingRules();
    void closingAsksAndStoresIndex();
    void envelopeLinesEditedByRow();
    void selectionFlags();
};

void TestPrintDialogs::addressListPdf() {
    REQUIRE_PDFTOTEXT();
    Installation inst;
    inst.setListLayout();
    auto dialog = inst.listDialog();
    click(*dialog, u"Check_U"_s);
    click(*dialog, u"R_S2"_s);
    const QString pdf = inst.pdfPath(u"liste.pdf"_s);
    inst.interaction.setNextPrinter(pdfPrinter(pdf, QPageSize(QPageSize::A4)));
    test::DurableStepLog log;
    click(*dialog, u"BtnPrint"_s);
    int pages = 0;
    const QList<PdfWord> words = pdfWords(pdf, &pages);
    QCOMPARE(pages, 3);
    QVERIFY(QFile::permissions(pdf).testFlag(QFileDevice::ReadOther));
    // The content is on disk before the file takes its name, and the name is on disk too.
    const qsizetype renamed = log.indexOf(DurableStep::Renamed, pdf);
    QVERIFY(renamed > 0);
    QCOMPARE(log.entries()[renamed - 1].step, DurableStep::FileSynced);
    QCOMPARE(log.changesNotSynced(), QStringList());
    const int lineHeight = printLineHeight(printFontHeight(12, 254, dialog->preview().screenDpiY()));
    // Ten blocks of four line heights fit the 257 mm of a column.
    const int perColumn = 2570 / (4 * lineHeight);
    const PdfWord first = findWord(words, u"001"_s);
    const PdfWord street = findWord(words, u"1"_s);
    const PdfWord secondColumn = findWord(words, u"%1"_s.arg(perColumn + 1, 3, 10, QChar(u'0')));
    const PdfWord nextPage = findWord(words, u"%1"_s.arg(2 * perColumn + 1, 3, 10, QChar(u'0')));
    QCOMPARE(first.page, 1);
    QVERIFY2(qAbs(findWord(words, u"Adresse"_s).xMin - 20 * PointsPerMm) < 1.0, "first column at 20 mm");
    QVERIFY2(qAbs(street.yMin - first.yMin - lineHeight / 10.0 * PointsPerMm) < 0.2, "line pitch");
    QCOMPARE(secondColumn.page, 1);
    QVERIFY2(qAbs(secondColumn.yMin - first.yMin) < 0.2, "second column begins at the top");
    QVERIFY2(qAbs(secondColumn.xMin - first.xMin - 85 * PointsPerMm) < 0.2, "second column at 105 mm");
    QCOMPARE(nextPage.page, 2);
    QVERIFY2(qAbs(nextPage.yMin - first.yMin) < 0.2, "a new page begins at the top");
    QCOMPARE(findWord(words, u"Strasse"_s).page, 3);
    QVERIFY(inst.interaction.errors().isEmpty());
}

void TestPrintDialogs::previewShowsFirstPageOnly() {
    REQUIRE_PDFTOTEXT();
    Installation inst;
    inst.setListLayout();
    auto dialog = inst.listDialog();
    click(*dialog, u"Check_U"_s);
    click(*dialog, u"R_S2"_s);
    const QString pdf = inst.pdfPath(u"vorschau.pdf"_s);
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        dialog->preview().PB->render(&writer);
    }
    int pages = 0;
    const QList<PdfWord> words = pdfWords(pdf, &pages);
    const int lineHeight = printLineHeight(printFontHeight(12, 254, dialog->preview().screenDpiY()));
    const int perPage = 2 * (2570 / (4 * lineHeight));
    QCOMPARE(pages, 1);
    QVERIFY(findWord(words, u"001"_s).page == 1);
    QVERIFY(findWord(words, u"%1"_s.arg(perPage, 3, 10, QChar(u'0'))).page == 1);
    QCOMPARE(findWord(words, u"%1"_s.arg(perPage + 1, 3, 10, QChar(u'0'))).page, -1);
}

void TestPrintDialogs::unprintableMarginMovesColumns() {
    REQUIRE_PDFTOTEXT();
    Installation inst;
    inst.setListLayout();
    auto dialog = inst.listDialog();
    child<QLineEdit>(*dialog, u"E_RL"_s)->setText(u"0"_s);
    const QString pdf = inst.pdfPath(u"rand.pdf"_s);
    // The printer cannot reach the first 4 mm: the margin 0 becomes 4 mm from the printable area's corner.
    inst.interaction.setNextPrinter(pdfPrinter(pdf, QPageSize(QPageSize::A4), 4));
    click(*dialog, u"BtnPrint"_s);
    const PdfWord word = findWord(pdfWords(pdf), u"Adresse"_s);
    QVERIFY2(qAbs(word.xMin - 8 * PointsPerMm) < 1.0, qPrintable(QString::number(word.xMin / PointsPerMm)));
}

void TestPrintDialogs::envelopePdf() {
    REQUIRE_PDFTOTEXT();
    Installation inst;
    Table address;
    test::openTable(address, inst.program.client.DataDir, u"Adressen.DB"_s);
    QVERIFY(address.findKey({7}));
    Table t;
    test::openTable(t, inst.program.paths.general, u"Brief.db"_s);
    EnvelopeLayout layout;
    layout.width = u"220"_s;
    layout.height = u"110"_s;
    for (int i = 1; i <= PrintLineCount; ++i)
        layout.lines[size_t(i - 1)] = newEnvelopeLine(i);
    layout.lines[0] = {u"Empfängeradresse [Name1]"_s, u"100"_s, u"50"_s, u"0"_s, {u"DejaVu Sans"_s, false, false, 12}};
    layout.lines[1] = {u"Absenderzeile"_s, u"10"_s, u"20"_s, u"90"_s, {u"DejaVu Sans"_s, false, false, 8}};
    t.first();
    t.edit();
    writeEnvelopeLayout(t, u"DL"_s, layout);
    t.post();
    EnvelopePrintDialog dialog(inst.program.paths.general, address);
    dialog.show();
    const QString pdf = inst.pdfPath(u"umschlag.pdf"_s);
    // The printer dialog is offered the envelope as the sheet, in portrait; the user keeps it.
    QSizeF offered;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    inst.interaction.setNextPrinter([&](QPrinter& printer) {
        offered = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
        orientation = printer.pageLayout().orientation();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        return true;
    });
    QStringList statusShown;
    QTimer::singleShot(0, [&statusShown] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* status = qobject_cast<PrintStatusWindow*>(window); status && status->isVisible())
                statusShown << status->DruckLbl->text()
                            << (status->SeiteLbl->isVisible() ? u"Seite sichtbar"_s : QString());
    });
    click(dialog, u"BtnPrint"_s);
    QCOMPARE(offered, QSizeF(110, 220));
    QCOMPARE(orientation, QPageLayout::Portrait);
    // One envelope: the status window names the printer and counts no pages.
    QCOMPARE(statusShown, (QStringList{u"Drucker: PDF-Datei "_s + pdf, QString()}));
    const QList<PdfWord> words = pdfWords(pdf);
    // On the sheet the line starts 50 mm from the left and 220 - 100 mm from the top and runs upwards,
    // the tops of its characters towards the sheet's left edge (the envelope's top).
    const PdfWord recipient = findWord(words, u"Empfängeradresse"_s);
    QVERIFY2(qAbs(recipient.xMin - 50 * PointsPerMm) < 1.0, qPrintable(QString::number(recipient.xMin / PointsPerMm)));
    QVERIFY2(qAbs(recipient.yMax - 120 * PointsPerMm) < 1.0, qPrintable(QString::number(recipient.yMax / PointsPerMm)));
    QVERIFY(recipient.yMax - recipient.yMin > 3 * (recipient.xMax - recipient.xMin));
    const PdfWord name = findWord(words, u"007"_s);
    QVERIFY2(name.yMax < recipient.yMin, "the address follows upwards");
    // Turned by 90° on the envelope, the sender line runs down the envelope: along the sheet, to the right.
    const PdfWord sender = findWord(words, u"Absenderzeile"_s);
    QVERIFY2(qAbs(sender.xMin - 20 * PointsPerMm) < 1.0, qPrintable(QString::number(sender.xMin / PointsPerMm)));
    QVERIFY2(qAbs(sender.yMin - 210 * PointsPerMm) < 1.0, qPrintable(QString::number(sender.yMin / PointsPerMm)));
    QVERIFY(sender.xMax - sender.xMin > 3 * (sender.yMax - sender.yMin));
}

void TestPrintDialogs::abortLeavesNoFile() {
    Installation inst;
    inst.setListLayout();
    auto dialog = inst.listDialog();
    click(*dialog, u"Check_U"_s);
    const QString pdf = inst.pdfPath(u"alt.pdf"_s);
    {
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    inst.interaction.setNextPrinter(pdfPrinter(pdf, QPageSize(QPageSize::A4)));
    QString pageShown;
    QTimer::singleShot(0, [&pageShown] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* status = qobject_cast<PrintStatusWindow*>(window); status && status->isVisible()) {
                pageShown = status->SeiteLbl->text();
                QTest::mouseClick(status->BitBtn11, Qt::LeftButton);
            }
    });
    click(*dialog, u"BtnPrint"_s);
    QCOMPARE(pageShown, u"Seite 1"_s);
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("alt"));
    QCOMPARE(QDir(inst.tmp.path()).entryList({u"*.pdf"_s}, QDir::Files | QDir::Hidden), QStringList{u"alt.pdf"_s});
}

// An abort between painted pages leaves neither a partial PDF nor a scratch file, and the older
// file of the name whole; the painted pages are not counted a second time.
void TestPrintDialogs::abortWhilePaintingLeavesNoPartialFile() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"liste.pdf"_s);
    {
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    QPrinter printer;
    QVERIFY(pdfPrinter(pdf, QPageSize(QPageSize::A4))(printer));
    PrintJob job(printer, true, nullptr);
    QVERIFY(!job.stopRequested(1) && !job.stopRequested(2) && !job.stopRequested(3));
    QList<int> painted;
    const PrintJob::Result result = job.print(3, [&](QPainter& painter, int page) {
        painter.drawText(100, 100, u"Seite %1"_s.arg(page + 1));
        painted.append(page);
        QCOMPARE(job.status().SeiteLbl->text(), u"Seite 3"_s);
        if (page == 1)
            job.status().BitBtn11->click();
    });
    QCOMPARE(result, PrintJob::Result::Aborted);
    QCOMPARE(painted, (QList<int>{0, 1}));
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("alt"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"liste.pdf"_s});
}

void TestPrintDialogs::missingFolderIsReported() {
    Installation inst;
    auto dialog = inst.listDialog();
    const QString pdf = inst.pdfPath(u"fehlt/liste.pdf"_s);
    inst.interaction.setNextPrinter(pdfPrinter(pdf, QPageSize(QPageSize::A4)));
    click(*dialog, u"BtnPrint"_s);
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(inst.interaction.shown().size(), 2);
    QVERIFY2(inst.interaction.shown().last().text.startsWith(u"Die PDF-Datei"_s),
             qPrintable(inst.interaction.shown().last().text));
}

void TestPrintDialogs::newThenDeleteDropsOnlyNew() {
    Installation inst;
    auto dialog = inst.listDialog();
    const QString stored = dialog->BoxBez->currentText();
    click(*dialog, u"NeuBtn"_s);
    QCOMPARE(dialog->BoxBez->currentText(), u"Neu"_s);
    QCOMPARE(child<QLineEdit>(*dialog, u"E_RO"_s)->text(), u"20"_s);
    QCOMPARE(dialog->Grid->item(0, 1)->text(), QString());
    QVERIFY(dialog->SaveBtn->isEnabled());
    click(*dialog, u"DelBtn"_s);
    QCOMPARE(dialog->BoxBez->currentText(), stored);
    QVERIFY(!dialog->Grid->item(0, 1)->text().isEmpty());
    Table t;
    test::openTable(t, inst.program.paths.general, u"AdrPrt.db"_s);
    QCOMPARE(t.recordCount(), 1);
}

void TestPrintDialogs::lastLayoutNeverDeleted() {
    Installation inst;
    auto dialog = inst.listDialog();
    // A new layout given up by "Abbruch" leaves one stored layout: it stays.
    click(*dialog, u"NeuBtn"_s);
    click(*dialog, u"CancelBtn"_s);
    click(*dialog, u"DelBtn"_s);
    Table t;
    test::openTable(t, inst.program.paths.general, u"AdrPrt.db"_s);
    QCOMPARE(t.recordCount(), 1);
    // With a second layout saved, deleting it leaves the first one chosen.
    click(*dialog, u"NeuBtn"_s);
    dialog->BoxBez->setEditText(u"Zweites"_s);
    click(*dialog, u"SaveBtn"_s);
    t.refresh();
    QCOMPARE(t.recordCount(), 2);
    QCOMPARE(dialog->BoxBez->currentText(), u"Zweites"_s);
    click(*dialog, u"DelBtn"_s);
    t.refresh();
    QCOMPARE(t.recordCount(), 1);
    QCOMPARE(dialog->BoxBez->currentText(), u"Adressliste A4"_s);
    click(*dialog, u"DelBtn"_s);
    t.refresh();
    QCOMPARE(t.recordCount(), 1);
    QVERIFY(inst.interaction.shown().isEmpty());
}

void TestPrintDialogs::saveNeedsName() {
    Installation inst;
    auto dialog = inst.listDialog();
    dialog->BoxBez->setEditText(QString());
    QVERIFY(dialog->SaveBtn->isEnabled());
    click(*dialog, u"SaveBtn"_s);
    QCOMPARE(inst.interaction.texts(), QStringList{u"Geben Sie eine Formatsbezeichnung ein!"_s});
    Table t;
    test::openTable(t, inst.program.paths.general, u"AdrPrt.db"_s);
    t.first();
    QCOMPARE(t.field(u"Bezeichnung").asString(), u"Adressliste A4"_s);
}

void TestPrintDialogs::firstLayoutIntoEmptyTable() {
    Installation inst;
    {
        Table t;
        test::openTable(t, inst.program.paths.general, u"AdrPrt.db"_s);
        t.first();
        t.deleteRecord();
        QCOMPARE(t.recordCount(), 0);
    }
    auto dialog = inst.listDialog();
    QCOMPARE(dialog->BoxBez->count(), 0);
    dialog->BoxBez->setEditText(u"Erstes"_s);
    click(*dialog, u"SaveBtn"_s);
    QVERIFY2(inst.interaction.shown().isEmpty(), qPrintable(inst.interaction.texts().join(u'|')));
    Table t;
    test::openTable(t, inst.program.paths.general, u"AdrPrt.db"_s);
    QCOMPARE(t.recordCount(), 1);
    t.first();
    QCOMPARE(t.field(u"Bezeichnung").asString(), u"Erstes"_s);
    QCOMPARE(t.field(u"B").asString(), u"210"_s);
    QCOMPARE(dialog->BoxBez->currentText(), u"Erstes"_s);
}

void TestPrintDialogs::editingRules() {
    Installation inst;
    auto dialog = inst.listDialog();
    // The name list closed without a choice: a name typed then is a change of the layout.
    dialog->BoxBez->showPopup();
    dialog->BoxBez->hidePopup();
    QCoreApplication::processEvents();
    QVERIFY(!dialog->isModified());
    dialog->BoxBez->lineEdit()->setFocus();
    QTest::keyClicks(dialog->BoxBez->lineEdit(), u" neu"_s);
    QVERIFY(dialog->isModified());
    auto* top = child<QLineEdit>(*dialog, u"E_RO"_s);
    top->setFocus();
    top->selectAll();
    QTest::keyClick(top, Qt::Key_Delete);
    QTest::keyClicks(top, u"12345x"_s);
    QCOMPARE(top->text(), u"1234"_s); // four digits at most
    top->clear();
    QTest::keyClick(top, Qt::Key_Return);
    QCOMPARE(top->text(), u"0"_s);
    QVERIFY(dialog->isModified());
    // A row of the grid is edited through E_T; "<" inserts the chosen address field.
    dialog->Grid->setCurrentCell(4, 1);
    auto* list = child<QListWidget>(*dialog, u"LB"_s);
    list->setCurrentRow(list->row(list->findItems(u"Ort"_s, Qt::MatchExactly).first()));
    dialog->E_T->setFocus();
    click(*dialog, u"SpeedButton11"_s);
    QCOMPARE(dialog->E_T->text(), u"[Ort] "_s);
    QCOMPARE(dialog->Grid->item(4, 1)->text(), u"[Ort] "_s);
    inst.interaction.setNextFont(FontDescription{u"DejaVu Serif"_s, true, true, false, false, 9});
    click(*dialog, u"BtnFont"_s);
    QCOMPARE(dialog->E_F->text(), u"DejaVu Serif, Fett, Kursiv, 9"_s);
    click(*dialog, u"SaveBtn"_s);
    QVERIFY(!dialog->SaveBtn->isEnabled());
    Table t;
    test::openTable(t, inst.program.paths.general, u"AdrPrt.db"_s);
    t.first();
    const AddressListLayout stored = readAddressListLayout(t);
    QCOMPARE(stored.top, u"0"_s);
    QCOMPARE(stored.lines[4], u"[Ort] "_s);
    QCOMPARE(stored.font, (PrintFont{u"DejaVu Serif"_s, true, true, 9}));
}

void TestPrintDialogs::closingAsksAndStoresIndex() {
    Installation inst;
    {
        Table t;
        test::openTable(t, inst.program.paths.general, u"AdrPrt.db"_s);
        appendRecord(t, {{u"Bezeichnung"_s, u"Zweispaltig"_s}, {u"B"_s, 210}, {u"H"_s, 297}});
    }
    {
        auto dialog = inst.listDialog();
        QCOMPARE(dialog->BoxBez->count(), 2);
        QCOMPARE(dialog->BoxBez->currentText(), u"Adressliste A4"_s);
        dialog->BoxBez->showPopup(); // reads the names again
        dialog->BoxBez->setCurrentIndex(1);
        dialog->BoxBez->hidePopup();
        emit dialog->BoxBez->activated(1);
        QCOMPARE(dialog->BoxBez->currentText(), u"Zweispaltig"_s);
        child<QLineEdit>(*dialog, u"E_Breite"_s)->setText(u"148"_s);
        emit child<QLineEdit>(*dialog, u"E_Breite"_s)->editingFinished();
        inst.interaction.setNextAnswer(Answer::Yes);
        dialog->close();
        QCOMPARE(inst.interaction.texts(), QStringList{u"Änderungen speichern ?"_s});
        QVERIFY(!dialog->preview().isVisible());
    }
    QCOMPARE(inst.program.settings().printAddressIndex(), 1);
    auto again = inst.listDialog();
    QCOMPARE(again->BoxBez->currentText(), u"Zweispaltig"_s);
    QCOMPARE(child<QLineEdit>(*again, u"E_Breite"_s)->text(), u"148"_s);
}

void TestPrintDialogs::envelopeLinesEditedByRow() {
    Installation inst;
    Table address;
    test::openTable(address, inst.program.client.DataDir, u"Adressen.DB"_s);
    EnvelopePrintDialog dialog(inst.program.paths.general, address);
    dialog.show();
    click(dialog, u"NeuBtn"_s);
    for (int row = 0; row < PrintLineCount; ++row) {
        QCOMPARE(dialog.Grid->item(row, 1)->text(), QString());
        QCOMPARE(dialog.Grid->item(row, 2)->text(), u"100"_s);
        QCOMPARE(dialog.Grid->item(row, 3)->text(), QString::number(10 * (row + 1) + 30));
        QCOMPARE(dialog.Grid->item(row, 4)->text(), u"0"_s);
    }
    // A row's font belongs to that row; the fields follow the row clicked.
    dialog.Grid->setCurrentCell(2, 1);
    QCOMPARE(dialog.E_Y->text(), u"60"_s);
    inst.interaction.setNextFont(FontDescription{u"DejaVu Serif"_s, true, false, false, false, 20});
    click(dialog, u"BtnFont"_s);
    dialog.E_W->setFocus();
    dialog.E_W->setText(u"45"_s);
    QTest::keyClick(dialog.E_W, Qt::Key_Return);
    QCOMPARE(dialog.Grid->item(2, 4)->text(), u"45"_s);
    dialog.Grid->setCurrentCell(3, 1);
    QCOMPARE(dialog.E_F->text(), u"Arial, 12"_s);
    QCOMPARE(dialog.E_W->text(), u"0"_s);
    dialog.Grid->setCurrentCell(2, 1);
    QCOMPARE(dialog.E_F->text(), u"DejaVu Serif, Fett, 20"_s);
    // The font dialog was preset with the row's font. Opening the name list asks first; No keeps the layout unsaved and
    // the list is read anew.
    inst.interaction.setNextAnswer(Answer::No);
    dialog.BoxBez->showPopup();
    dialog.BoxBez->hidePopup();
    QCOMPARE(inst.interaction.texts(), (QStringList{u"Arial;0000;12;"_s, u"Änderungen speichern ?"_s}));
    QCOMPARE(dialog.BoxBez->count(), 1);
    Table t;
    test::openTable(t, inst.program.paths.general, u"Brief.db"_s);
    QCOMPARE(t.recordCount(), 1);
    inst.interaction.setNextAnswer(Answer::No);
    dialog.close();
}

void TestPrintDialogs::selectionFlags() {
    Installation inst;
    auto dialog = inst.listDialog(3);
    QCOMPARE(dialog->selectionList(), QStringList{inst.selection[0]});
    click(*dialog, u"Check_U"_s);
    QCOMPARE(dialog->selectionList(), inst.selection.mid(0, 3));
    QCOMPARE(inst.asked.last(), std::make_pair(true, false));
    click(*dialog, u"Check_H"_s);
    QCOMPARE(inst.asked.last(), std::make_pair(true, true));
    click(*dialog, u"Check_U"_s);
    QCOMPARE(inst.asked.last(), std::make_pair(false, true));
    QVERIFY(!dialog->isModified());
}

QTEST_MAIN(TestPrintDialogs)
#include "tst_print_dialogs.moc"
