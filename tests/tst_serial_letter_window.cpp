#include "app/program.h"
#include "app/startup.h"
#include "app/ui/window_placer.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/tree_view2.h"
#include "data/catalog_file.h"
#include "data/tdm.h"
#include "data/tdm1.h"
#include "data/treefile.h"
#include "fake_associations.h"
#include "file_bytes.h"
#include "mainwin/ui/main_window.h"
#include "platform/office_loader.h"
#include "recording_automation.h"
#include "scripted_interaction.h"
#include "serial/ui/serial_letter_window.h"
#include "serial/word_version.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace zep;
using namespace zep::test;

namespace {

// Counts the clicks it was asked to sound.
class CountingClickSound : public ClickSound {
public:
    explicit CountingClickSound(int& count) : count_(count) {}
    void play() override { ++count_; }

private:
    int& count_;
};

// An installation with the client "Muster": "Alpha GmbH" (a main entry) with "Meier Anna" and the
// main entry "Filiale" below it, "Zeta AG" beside it; the letter "Angebot" (Nr 1) filed under Alpha.
// The main window shows the letter selected; the serial-letter window drives a recording double.
class SerialWindowRun {
public:
    explicit SerialWindowRun(const QString& wordVersion) {
        ensureInstallationLayout(tmp.path());
        program = loadProgram(tmp.path());
        Program::setInstance(&program);
        if (!wordVersion.isEmpty())
            program.registry().writeString(WordCurVerKey, {}, wordVersion);
        fillClient();
        window = std::make_unique<MainWindow>();
        dm = std::make_unique<TDM>(program.paths, interaction, associations);
        dm->DMCreate();
        window->setDataModule(dm.get());
        window->setClientOpener([this](const QString&, const QString&, int) { return openClient(); });
        auto recording = std::make_unique<RecordingAutomation>();
        automation = recording.get();
        serialWindow().setAutomation(std::move(recording));
        serialWindow().setClickSound(std::make_unique<CountingClickSound>(clicks));
        window->show();
        QTRY_VERIFY(opened);
        select(u"Alpha GmbH");
        QVERIFY(dm->dm1().QDok.locate(u"Titel", QStringLiteral("Angebot")));
        window->findChild<QAction*>(QStringLiteral("MSer_Word"))->trigger();
    }
    ~SerialWindowRun() {
        window.reset();
        Program::setInstance(nullptr);
    }

    SerialLetterWindow& serialWindow() { return window->serialLetterWindow(); }
    void select(QStringView caption) {
        auto* tree = window->findChild<TTreeView2*>(QStringLiteral("TVA"));
        const auto found = tree->findItems(caption.toString(), Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(!found.isEmpty());
        tree->setCurrentItem(found.first());
    }
    void press(const char* button) { serialWindow().findChild<QToolButton*>(QString::fromLatin1(button))->click(); }
    QStringList recipients() {
        QStringList names;
        for (const QVariant& name : columnValues(dm->TSerie, QStringLiteral("NameAdresse")))
            names.append(name.toString());
        return names;
    }
    // A click on the grid's data row (0-based among the shown rows) with modifiers.
    void clickRow(int row, Qt::KeyboardModifiers modifiers) {
        auto* grid = serialWindow().findChild<TDBGrid3*>(QStringLiteral("Grid"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->cellRect(0, row + 1).center());
    }

    ScriptedInteraction interaction;
    QTemporaryDir tmp;
    Program program;
    FakeAssociations associations;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<MainWindow> window;
    RecordingAutomation* automation = nullptr;
    int clicks = 0;
    bool opened = false;

private:
    QString clientDir() const { return tmp.filePath(QStringLiteral("Muster")); }
    bool openClient() {
        program.client.SetClientPaths(QStringLiteral("Muster"), clientDir());
        dm->SetClientDataDir(program.client.DataDir);
        opened = dm->OpenClientTables() == 0;
        return opened;
    }
    void fillClient() {
        const QString data = clientDir() + QStringLiteral("/Daten");
        createClientTables(data);
        Table adr, dok, serie;
        openTable(adr, data, QStringLiteral("Adressen.DB"));
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Alpha GmbH"}, {"Baum", 1}, {"Ort", "Köln"}});
        appendRecord(adr, {{"Vor", 1}, {"Name1", "Meier"}, {"Name2", "Anna"}, {"Ort", "Bonn"}});
        appendRecord(adr, {{"Vor", 1}, {"Name1", "Filiale"}, {"Baum", 1}});
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Zeta AG"}, {"Baum", 1}});
        writeTreeFile(data + QStringLiteral("/Adressen.dat"), {{QStringLiteral("Alpha GmbH"), 1, 1, 1},
                                                               {QStringLiteral("Filiale"), 2, 3, 1},
                                                               {QStringLiteral("Meier Anna"), 2, 2, -1},
                                                               {QStringLiteral("Zeta AG"), 1, 4, 1}});
        writeTreeFile(data + QStringLiteral("/Themen.dat"), {});
        openTable(dok, data, QStringLiteral("Dok.DB"));
        appendRecord(dok, {{"NrFirma", 1}, {"Ext", "odt"}, {"Titel", "Angebot"}, {"Datei", "a.odt"}});
        openTable(serie, data, QStringLiteral("Serie.db"));
        appendRecord(serie, {{"NRDoku", 99}, {"NRAdresse", 4}, {"NameAdresse", "Zeta AG"}});
    }
};

// Answers TS02 once it runs: its caption and whether both boxes start unticked, then the main-entry box
// and OK or abort. Any other modal window is closed, so that the test fails instead of hanging.
void answerBranchChoice(bool withMainEntries, bool ok, QString* caption = nullptr, bool* bothUnticked = nullptr) {
    QTimer::singleShot(0, qApp, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != u"TS02") {
            if (modal != nullptr)
                modal->close();
            return;
        }
        auto* unter = modal->findChild<QCheckBox*>(QStringLiteral("CheckUnter"));
        auto* haupt = modal->findChild<QCheckBox*>(QStringLiteral("CheckHaupt"));
        if (caption)
            *caption = modal->windowTitle();
        if (bothUnticked)
            *bothUnticked = !unter->isChecked() && !haupt->isChecked();
        haupt->setChecked(withMainEntries);
        modal->findChild<QPushButton*>(ok ? QStringLiteral("BtnOK") : QStringLiteral("BtnAbort"))->click();
    });
}

} // namespace

class TestSerialLetterWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowShowsTheLetter();
    void addingAddressesAndBranches();
    void removingMarkedOrAllRecipients();
    void startWritesTheDataAndDrivesTheWordProcessor();
    void anotherLanguageClosesTheWindow();
    void closingEndsTheOldWordProcessor();
    void withoutAVersionNothingStarts();
    void closingTheClientClosesTheWindow();
    void withoutTheOfficeTheConnectionFails();
    void waitingForTheOfficeTakesNoSecondCommand();
};

void TestSerialLetterWindow::initTestCase() {
    WindowPlacer::install(*qApp);
}

// Caption, the letter's title, on top at the right edge, the one column filling the grid, the hints.
void TestSerialLetterWindow::windowShowsTheLetter() {
    SerialWindowRun run(QStringLiteral("Word.Document.8"));
    SerialLetterWindow& window = run.serialWindow();
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Seriendruck mit Word"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Angebot"));
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    const QRect screen = window.screen()->availableGeometry();
    QCOMPARE(window.frameGeometry().right(), screen.right());
    QCOMPARE(window.frameGeometry().top(), screen.top() + 60);
    const char* hints[][2] = {{"BtnAdrHinzu", "Adresse hinzufügen"},
                              {"BtnZweigHinzu", "Adresszweig hinzufügen"},
                              {"BtnNavFirst", "Erste Adresse"},
                              {"BtnNavPrior", "Vorherige Adresse"},
                              {"BtnNavNext", "Nächste Adresse"},
                              {"BtnNavLast", "Letzte Adresse"},
                              {"BtnNavDel", "Adresse löschen"},
                              {"BtnClose", "Fenster schließen"},
                              {"BtnWordStart", "Starten"},
                              {"BtnWordAktual", "Adressen aktualisieren"},
                              {"BtnWordEnd", "Beenden"}};
    for (const auto& [name, hint] : hints)
        QCOMPARE(window.findChild<QToolButton*>(QString::fromUtf8(name))->toolTip(), QString::fromUtf8(hint));

    window.resize(window.width() + 90, window.height());
    auto* grid = window.findChild<TDBGrid3*>(QStringLiteral("Grid"));
    QTRY_COMPARE(grid->width(), window.width() - 12);
    const int wanted = grid->width() - grid->horizontalScrollBar()->sizeHint().height();
    QVERIFY(grid->columnWidths().size() == 1);
    QVERIFY(qAbs(grid->columnWidths()[0] - wanted) < grid->fontMetrics().horizontalAdvance(QLatin1Char('o')));
}

void TestSerialLetterWindow::addingAddressesAndBranches() {
    SerialWindowRun run(QStringLiteral("Word.Document.8"));
    run.select(u"Meier Anna");
    run.press("BtnAdrHinzu");
    run.press("BtnAdrHinzu");
    run.select(u"Adressen");
    run.press("BtnAdrHinzu"); // the root is no address
    QCOMPARE(run.recipients(), QStringList({"Meier Anna", "Meier Anna"}));
    QVERIFY(run.dm->TSerie.locate(u"NameAdresse", QStringLiteral("Meier Anna")));
    QCOMPARE(run.dm->TSerie.field(u"NRDoku").asInteger(), 1);
    QCOMPARE(run.dm->TSerie.field(u"NRAdresse").asInteger(), 2);

    // The branch below Alpha: first cancelled, then with main entries.
    run.select(u"Alpha GmbH");
    QString caption;
    bool bothUnticked = false;
    answerBranchChoice(false, false, &caption, &bothUnticked);
    run.press("BtnZweigHinzu");
    QCOMPARE(caption, QStringLiteral("Auswahl"));
    QVERIFY(bothUnticked);
    QCOMPARE(run.recipients().size(), 2);
    answerBranchChoice(true, true);
    run.press("BtnZweigHinzu");
    QCOMPARE(run.recipients(), QStringList({"Meier Anna", "Meier Anna", "Filiale", "Meier Anna"}));
    QCOMPARE(run.clicks, 5);
    QVERIFY(run.interaction.shown().isEmpty());
}

// Ctrl and Shift clicks mark rows; "Nein" keeps them; Ctrl held removes every recipient of the letter.
// The navigation buttons move through the list.
void TestSerialLetterWindow::removingMarkedOrAllRecipients() {
    SerialWindowRun run(QStringLiteral("Word.Document.8"));
    for (const char* caption : {"Alpha GmbH", "Meier Anna", "Filiale", "Zeta AG"}) {
        run.select(QString::fromUtf8(caption));
        run.press("BtnAdrHinzu");
    }
    run.serialWindow().activateWindow();
    Table& recipients = run.dm->TSerie;
    const std::pair<const char*, int> moves[] = {
        {"BtnNavFirst", 1}, {"BtnNavNext", 2}, {"BtnNavLast", 4}, {"BtnNavPrior", 3}};
    for (const auto& [button, recNo] : moves) {
        run.press(button);
        QCOMPARE(recipients.recNo(), recNo);
    }
    auto* grid = run.serialWindow().findChild<TDBGrid3*>(QStringLiteral("Grid"));
    run.clickRow(1, Qt::NoModifier);
    run.clickRow(3, Qt::ShiftModifier);
    QCOMPARE(grid->markedKeys().size(), 3);
    run.clickRow(0, Qt::NoModifier);
    QVERIFY(grid->markedKeys().isEmpty());
    run.clickRow(2, Qt::ControlModifier);
    run.clickRow(3, Qt::ControlModifier);
    run.clickRow(3, Qt::ControlModifier); // unmarks again
    run.interaction.setNextAnswer(Answer::No);
    run.press("BtnNavDel");
    QCOMPARE(run.recipients().size(), 4);
    run.interaction.setNextAnswer(Answer::Yes);
    run.press("BtnNavDel");
    QCOMPARE(run.recipients(), QStringList({"Alpha GmbH", "Meier Anna", "Zeta AG"}));
    QCOMPARE(run.interaction.shown().last().text, QStringLiteral("Markierte Adressen wirklich löschen?"));
    QCOMPARE(run.interaction.shown().last().look, QuestionLook::Question);

    // Nothing marked: the current row goes.
    run.clickRow(1, Qt::NoModifier);
    run.interaction.setNextAnswer(Answer::Yes);
    run.press("BtnNavDel");
    QCOMPARE(run.recipients(), QStringList({"Alpha GmbH", "Zeta AG"}));

    QTest::keyPress(grid, Qt::Key_Control, Qt::ControlModifier); // the grid leaves it to the window
    run.interaction.setNextAnswer(Answer::Yes);
    run.press("BtnNavDel");
    QCOMPARE(run.interaction.shown().last().text, QStringLiteral("ALLE Adressen wirklich löschen?"));
    QCOMPARE(run.interaction.shown().last().look, QuestionLook::Warning);
    QVERIFY(run.recipients().isEmpty());
    run.dm->TSerie.cancelRange();
    QCOMPARE(run.recipients(), QStringList{"Zeta AG"}); // another letter's recipient stays
}

void TestSerialLetterWindow::startWritesTheDataAndDrivesTheWordProcessor() {
    SerialWindowRun run(QStringLiteral("Word.Document.8"));
    run.press("BtnWordStart");
    QCOMPARE(run.interaction.texts(), QStringList{"Keine Adressdaten vorhanden"});
    QVERIFY(run.automation->steps().isEmpty());

    run.select(u"Meier Anna");
    run.press("BtnAdrHinzu");
    run.press("BtnWordStart");
    QStringList fields;
    LoadCatalog(fields, 30, run.program.paths.general);
    QVERIFY(fields.contains(QStringLiteral("Name2")));
    const QList<QByteArray> lines = readBytes(run.program.paths.serialScratchFile).split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], (fields.join(u'\t') + u'\r').toLatin1());
    const QList<QByteArray> values = lines[1].chopped(1).split('\t');
    QCOMPARE(values.size(), fields.size());
    QCOMPARE(values[fields.indexOf(QStringLiteral("Name1"))], QByteArray("Meier"));
    QCOMPARE(values[fields.indexOf(QStringLiteral("Name2"))], QByteArray("Anna"));
    QCOMPARE(run.automation->steps().value(1),
             QStringLiteral(R"(call Documents.Open("%1", false, false, false, "", "", false, "", "", 0))")
                 .arg(run.program.client.FilesDir + QStringLiteral("a.odt")));
    QCOMPARE(run.serialWindow().findChild<QLabel*>(QStringLiteral("SPnl"))->text(),
             QStringLiteral("Aktion erfolgreich ausgeführt"));

    run.automation->clearSteps();
    run.press("BtnWordAktual");
    QCOMPARE(run.automation->steps().value(0), QStringLiteral("get Version"));
    QCOMPARE(run.automation->steps().value(3), QStringLiteral("call Activate()"));

    run.automation->clearSteps();
    run.press("BtnWordEnd");
    QCOMPARE(run.automation->steps().value(2), QStringLiteral("call Quit(-2, 0, 0)"));
    QCOMPARE(run.interaction.texts().size(), 1);
}

void TestSerialLetterWindow::anotherLanguageClosesTheWindow() {
    SerialWindowRun run(QStringLiteral("Word.Document.6"));
    run.select(u"Meier Anna");
    run.press("BtnAdrHinzu");
    run.automation->failAt(QStringLiteral("AnwInfo"));
    run.press("BtnWordStart");
    QCOMPARE(run.interaction.texts(), QStringList{"Diese Version von ZEP unterstützt nur die deutsche Word-Version"});
    QVERIFY(!run.serialWindow().isVisible());
    QCOMPARE(run.automation->steps().mid(3),
             QStringList({R"(call AnwAktivieren("", 1))", R"(call AnwSchließen("Microsoft Word"))", "disconnect"}));
}

void TestSerialLetterWindow::closingEndsTheOldWordProcessor() {
    SerialWindowRun run(QStringLiteral("Word.Document.7"));
    run.select(u"Meier Anna");
    run.press("BtnAdrHinzu");
    run.press("BtnWordStart");
    run.automation->clearSteps();
    run.press("BtnClose");
    QVERIFY(!run.serialWindow().isVisible());
    QCOMPARE(run.automation->steps(),
             QStringList({R"(call AnwAktivieren("", 1))", R"(call AnwSchließen("Microsoft Word"))", "disconnect"}));
    QVERIFY(run.interaction.shown().isEmpty());
}

void TestSerialLetterWindow::withoutAVersionNothingStarts() {
    SerialWindowRun run(QStringLiteral("Word.Document.X"));
    QCOMPARE(run.serialWindow().findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(),
             QStringLiteral("Dokument"));
    run.select(u"Meier Anna");
    run.press("BtnAdrHinzu");
    for (const char* button : {"BtnWordStart", "BtnWordAktual", "BtnWordEnd"})
        run.press(button);
    QCOMPARE(run.interaction.texts(), QStringList(3, "Es wurde keine Word-Version in der Registry gefunden"));
    QVERIFY(run.automation->steps().isEmpty());
}

// Another client's recipients never show under this letter: the window closes with the client's tables.
void TestSerialLetterWindow::closingTheClientClosesTheWindow() {
    SerialWindowRun run(QStringLiteral("Word.Document.8"));
    QVERIFY(run.serialWindow().isVisible());
    run.dm->CloseClientTables();
    QVERIFY(!run.serialWindow().isVisible());
}

// A machine without the office runtime: the program runs and "Starten" says it could not connect.
void TestSerialLetterWindow::withoutTheOfficeTheConnectionFails() {
    SerialWindowRun run(QStringLiteral("Word.Document.8"));
    OfficeOptions options = OfficeOptions::defaults();
    options.sofficePath = run.tmp.filePath(QStringLiteral("soffice"));
    run.serialWindow().setAutomation(
        std::make_unique<OfficeAutomationLoader>(options, run.tmp.filePath(QStringLiteral("libzep_office.so"))));
    run.select(u"Meier Anna");
    run.press("BtnAdrHinzu");
    run.press("BtnWordStart");
    QCOMPARE(run.interaction.texts(), QStringList{"Es konnte keine Verbindung zu Word hergestellt werden"});
    QCOMPARE(run.serialWindow().findChild<QLabel*>(QStringLiteral("SPnl"))->text(), QStringLiteral("Starte Word"));
}

// While the office starts, a second "Starten" or a close request changes nothing.
void TestSerialLetterWindow::waitingForTheOfficeTakesNoSecondCommand() {
    SerialWindowRun run(QStringLiteral("Word.Document.8"));
    run.select(u"Meier Anna");
    run.press("BtnAdrHinzu");
    run.automation->whileConnecting = [&run] {
        run.automation->whileConnecting = nullptr;
        run.press("BtnWordStart");
        run.press("BtnClose");
        run.serialWindow().close();
    };
    run.press("BtnWordStart");
    QVERIFY(run.serialWindow().isVisible());
    QCOMPARE(run.automation->steps().count(QStringLiteral("connect Word.Application running-or-new")), 1);
    QCOMPARE(run.serialWindow().findChild<QLabel*>(QStringLiteral("SPnl"))->text(),
             QStringLiteral("Aktion erfolgreich ausgeführt"));
    run.press("BtnClose");
    QVERIFY(!run.serialWindow().isVisible());
}

QTEST_MAIN(TestSerialLetterWindow)
#include "tst_serial_letter_window.moc"
