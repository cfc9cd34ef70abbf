#include "app/clock.h"
#include "app/profile_file.h"
#include "app/program.h"
#include "app/safe_file.h"
#include "app/startup.h"
#include "app/ui/help_window.h"
#include "app/ui/window_placer.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/tree_view2.h"
#include "data/tdm.h"
#include "data/tdm1.h"
#include "data/treefile.h"
#include "documents/associations.h"
#include "documents/column_file.h"
#include "documents/process_launcher.h"
#include "documents/shell_open.h"
#include "documents/ui/column_arrangement_dialog.h"
#include "environment_override.h"
#include "fake_associations.h"
#include "file_bytes.h"
#include "mainwin/ui/main_note_editor.h"
#include "mainwin/ui/main_window.h"
#include "platform/dde_dbus.h"
#include "scripted_interaction.h"
#include "small_disk.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMutex>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QSemaphore>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <atomic>
#include <cerrno>
#include <optional>
#include <ranges>
#include <sqlite3.h>

#include <memory>

using namespace zep;
using zep::test::appendRecord;
using zep::test::columnValues;
using zep::test::EnvironmentOverride;
using zep::test::readBytes;
using zep::test::ScriptedInteraction;
using zep::test::SmallDisk;
using zep::test::writeBytes;

namespace {

QString text(const QObject* object) {
    if (const auto* action = qobject_cast<const QAction*>(object))
        return action->text();
    if (const auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title();
    if (const auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (const auto* button = qobject_cast<const QToolButton*>(object))
        return button->text();
    return {};
}

QString hint(const QObject* object) {
    if (const auto* widget = qobject_cast<const QWidget*>(object))
        return widget->toolTip();
    return {};
}

QStringList tabTexts(const QTabBar* bar) {
    QStringList texts;
    for (int i = 0; i < bar->count(); ++i)
        texts << bar->tabText(i);
    return texts;
}

// An installation with one client "Muster": three addresses (one below another), two topics and
// documents filed under them.
class Installation {
public:
    Installation() {
        ensureInstallationLayout(tmp.path());
        program = loadProgram(tmp.path());
        Program::setInstance(&program);
        clientDir = tmp.filePath(QStringLiteral("Muster"));
        fillClient();
    }
    ~Installation() { Program::setInstance(nullptr); }

    // Opens the client as the client list would.
    bool openClient() {
        ++opened;
        if (cancelClientList)
            return false;
        program.client.SetClientPaths(QStringLiteral("Muster"), clientDir);
        dm->CloseClientTables();
        dm->CloseDocumentQuery();
        dm->SetClientDataDir(program.client.DataDir);
        return dm->OpenClientTables() == 0;
    }

    std::unique_ptr<MainWindow> makeWindow() {
        auto window = std::make_unique<MainWindow>();
        dm = std::make_unique<TDM>(program.paths, interaction, associations);
        dm->DMCreate();
        window->setDataModule(dm.get());
        window->setClientOpener([this](const QString&, const QString&, int) { return openClient(); });
        return window;
    }

    ProfileFile zepIni() const { return ProfileFile(program.paths.settingsFile); }
    ProfileFile mandIni() const { return ProfileFile(clientDir + QStringLiteral("/Mand.ini")); }

    // Documents of "Zeta AG" with resubmission rules around Monday 7 December 2026 (day 46363,
    // week 6623): Nr 4 to 8.
    void addResubmissionDocuments() {
        Table dok;
        test::openTable(dok, clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        const QDate today(2026, 12, 7);
        appendRecord(dok,
                     {{"NrFirma", 3}, {"Ext", "odt"}, {"Titel", "Termin heute"}, {"WTyp", "D"}, {"WDatum", today}});
        appendRecord(
            dok,
            {{"NrFirma", 3}, {"Ext", "odt"}, {"Titel", "Termin morgen"}, {"WTyp", "D"}, {"WDatum", today.addDays(1)}});
        appendRecord(dok,
                     {{"NrFirma", 3}, {"Ext", "odt"}, {"Titel", "Täglich fällig"}, {"WTyp", "T"}, {"WTag", 46363}});
        appendRecord(
            dok, {{"NrFirma", 3}, {"Ext", "odt"}, {"Titel", "Später"}, {"WTyp", "D"}, {"WDatum", today.addDays(13)}});
        appendRecord(
            dok, {{"NrFirma", 3}, {"Ext", "odt"}, {"Titel", "Wöchentlich überfällig"}, {"WTyp", "W"}, {"WTag", 6620}});
    }

    ScriptedInteraction interaction;
    QTemporaryDir tmp;
    Program program;
    QString clientDir;
    test::FakeAssociations associations; // nothing registered
    std::unique_ptr<TDM> dm;
    int opened = 0;
    bool cancelClientList = false;

private:
    void fillClient() {
        const QString data = clientDir + QStringLiteral("/Daten");
        test::createClientTables(data);
        Table adr, thema, dok;
        test::openTable(adr, data, QStringLiteral("Adressen.DB"));
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Alpha GmbH"}, {"Baum", 1}});
        appendRecord(adr, {{"Vor", 1}, {"Name1", "Meier"}, {"Name2", "Anna"}, {"Person", true}});
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Zeta AG"}, {"Baum", 1}});
        writeTreeFile(data + QStringLiteral("/Adressen.dat"), {{QStringLiteral("Alpha GmbH"), 1, 1, 1},
                                                               {QStringLiteral("Meier Anna"), 2, 2, -1},
                                                               {QStringLiteral("Zeta AG"), 1, 3, 1}});
        test::openTable(thema, data, QStringLiteral("Thema.DB"));
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Projekte"}});
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Rechnungen"}});
        writeTreeFile(data + QStringLiteral("/Themen.dat"),
                      {{QStringLiteral("Projekte"), 1, 1, 1}, {QStringLiteral("Rechnungen"), 1, 2, 1}});
        test::openTable(dok, data, QStringLiteral("Dok.DB"));
        appendRecord(dok, {{"NrFirma", 1}, {"NrThema", 1}, {"Ext", "odt"}, {"Titel", "Angebot"}, {"Datei", "a.odt"}});
        appendRecord(dok, {{"NrFirma", 1}, {"NrThema", 2}, {"Ext", "---"}, {"Titel", "Anruf"}, {"Notice", "rief an"}});
        appendRecord(dok, {{"NrFirma", 2}, {"NrThema", 2}, {"Ext", "pdf"}, {"Titel", "Rechnung"}, {"Datei", "r.pdf"}});
        ProfileFile(clientDir + QStringLiteral("/Mand.ini")).writeInteger(u"Adressvorlage", u"Aktuell", 0);
    }
};

template <typename T = QObject> T* child(QWidget& window, const QString& name) {
    return window.findChild<T*>(name);
}

bool enabled(QWidget& window, const QString& name) {
    if (auto* action = child<QAction>(window, name))
        return action->isEnabled();
    return child<QWidget>(window, name)->isEnabled();
}

// The grid paints nothing but its background: no header, no rows.
bool gridIsBlank(TDBGrid3& grid) {
    const QImage image = grid.viewport()->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

QStringList titles(Query& query) {
    QStringList list;
    for (const QVariant& title : columnValues(query, QStringLiteral("Titel")))
        list << title.toString();
    return list;
}

QStringList visibleLabels(const DataSet& dataSet) {
    QStringList labels;
    for (int position : dataSet.visibleFields())
        labels << dataSet.fieldInfo(position).displayLabel;
    return labels;
}

// The modal dialog now running, when it is the one of that name; nullptr otherwise.
QDialog* activeDialogNamed(QStringView name) {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return dialog != nullptr && dialog->objectName() == name ? dialog : nullptr;
}

// Once the named dialog runs: OK, whether that left it open, then its abort button.
void okThenAbortWhenShown(QStringView name, QStringView abortButton, bool& stayedOpen) {
    QTimer::singleShot(0, qApp, [name, abortButton, &stayedOpen] {
        auto* dialog = activeDialogNamed(name);
        if (dialog == nullptr)
            return;
        dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        stayedOpen = dialog->isVisible();
        dialog->findChild<QPushButton*>(abortButton.toString())->click();
    });
}

void selectNode(TTreeView2* tree, const QString& caption) {
    const QList<QTreeWidgetItem*> found = tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY(!found.isEmpty());
    tree->setCurrentItem(found.first());
}

// Records what it is asked to open.
class RecordingLauncher : public ProgramLauncher {
public:
    // desktopCode: what the desktop answers when handed a document.
    explicit RecordingLauncher(QStringList& calls, int desktopCode = shell_code::Started)
        : calls_(calls), desktopCode_(desktopCode) {}
    int start(const QString& program, const QStringList& arguments, const QString&) override {
        calls_ << program + u'|' + arguments.join(u'|');
        return shell_code::Started;
    }
    int openWithDesktop(const QString& document, const QString&, std::function<void()>) override {
        calls_ << u'|' + document;
        return desktopCode_;
    }

private:
    QStringList& calls_;
    int desktopCode_;
};

bool writeExecutable(const QString& path, const QString& script) {
    return writeBytes(path, script.toUtf8()) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

// A running application on a bus: answers org.freedesktop.Application.Open from its own thread.
class FakeApplication : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    QStringList received() const {
        const QMutexLocker lock(&mutex_);
        return received_;
    }

public slots:
    void Open(const QStringList& uris, const QVariantMap&) {
        const QMutexLocker lock(&mutex_);
        received_ += uris;
    }

private:
    mutable QMutex mutex_;
    QStringList received_;
};

// A running application that holds each request until the test lets it answer: taking the file, or
// refusing it.
class HoldingApplication : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit HoldingApplication(bool takes) : takes_(takes) {}
    bool holding() const { return holding_; }
    bool answered() const { return answered_; }
    void answer() { release_.release(); }

public slots:
    void Open(const QStringList&, const QVariantMap&) {
        holding_ = true;
        // Not for ever: a failing test still ends.
        release_.tryAcquire(1, 30000);
        if (!takes_)
            sendErrorReply(QDBusError::Failed, QStringLiteral("nein"));
        answered_ = true;
    }

private:
    const bool takes_;
    std::atomic<bool> holding_ = false;
    std::atomic<bool> answered_ = false;
    QSemaphore release_;
};

// A private session bus for one test; empty address when no bus daemon is installed.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (daemon_.waitForStarted() && daemon_.waitForReadyRead())
            address = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        daemon_.kill();
        daemon_.waitForFinished();
    }
    QString address;

private:
    QProcess daemon_;
};

} // namespace

int recordCount(Installation& inst, const QString& table) {
    Table t;
    test::openTable(t, inst.clientDir + QStringLiteral("/Daten"), table);
    return t.recordCount();
}

// Registers "odt", "pdf" and "txt" (in that order in the grid) with program files that exist, for TN04;
// the installation has letter templates for "odt" and "txt".
void registerTextApplications(Installation& inst) {
    Table pro;
    test::openTable(pro, inst.program.paths.general, QStringLiteral("Programm.DB"));
    for (const char* ext : {"odt", "pdf", "txt"}) {
        const QString program = inst.tmp.filePath(QStringLiteral("schreib-") + QString::fromLatin1(ext));
        QFile(program).open(QIODevice::WriteOnly);
        appendRecord(pro,
                     {{"Ext", ext}, {"Titel", QStringLiteral("Text ") + QString::fromLatin1(ext)}, {"Anw", program}});
    }
}

// What the script saw of TN04.
struct NewDocumentRun {
    bool shown = false;
    int recordsWhileShown = -1;
    bool okEnabled = false;
    bool artPicked = false;
    QStringList templates;
    bool openAfterOk = false;
};

// Clicks "Neues Dokument"; in TN04 takes the first template of the application in the given grid row,
// types the title and closes the dialog in the given ways in turn ("BtnOK", "BitBtn2", "close", "Escape").
NewDocumentRun runNewDocument(MainWindow& window, Installation& inst, const QString& title, const QStringList& closings,
                              int application = 0) {
    NewDocumentRun run;
    QTimer::singleShot(0, &window, [&] {
        auto* dialog = activeDialogNamed(u"TN04");
        if (dialog == nullptr)
            return;
        run.shown = true;
        run.recordsWhileShown = recordCount(inst, QStringLiteral("Dok.DB"));
        dialog->findChild<QListWidget*>(QStringLiteral("Grid"))->setCurrentRow(application);
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("FLB"));
        for (int row = 0; row < list->count(); ++row)
            run.templates << list->item(row)->text();
        list->setCurrentRow(0);
        dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(title);
        // A filing field picked from its catalog puts the provisional record into edit state.
        auto* art = dialog->findChild<QComboBox*>(QStringLiteral("DBComboBox2"));
        const int rechnung = art->findText(QStringLiteral("Rechnung"));
        run.artPicked = rechnung >= 0;
        art->setCurrentIndex(rechnung);
        emit art->activated(rechnung);
        run.okEnabled = dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->isEnabled();
        for (const QString& closing : closings) {
            if (closing == u"close")
                dialog->close();
            else if (closing == u"Escape")
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->findChild<QPushButton*>(closing)->click();
            if (closing == u"BtnOK")
                run.openAfterOk = dialog->isVisible();
        }
        // A test that expected the dialog to close fails on its checks instead of waiting for ever.
        if (dialog->isVisible())
            dialog->reject();
    });
    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("Btn_D_NeuDok")), Qt::LeftButton);
    return run;
}

QStringList filesOf(Installation& inst) {
    return QDir(inst.clientDir + QStringLiteral("/Files")).entryList(QDir::Files, QDir::Name);
}

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    // Shows the window and lets it open its client.
    // The window TN04 is run from: the text applications registered, a launcher that records, the
    // client open and the address "Meier Anna" selected.
    static std::unique_ptr<MainWindow> newDocumentWindow(Installation& inst, QStringList& calls) {
        registerTextApplications(inst);
        auto window = inst.makeWindow();
        window->setProgramLauncher(std::make_unique<RecordingLauncher>(calls));
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        return window;
    }

    static void showAndOpen(MainWindow& window, Installation& inst) {
        window.show();
        QTRY_COMPARE(inst.opened, 1);
    }

    // The session bus of this whole test: Qt connects to it once, on first use, so it is set up before any window.
    PrivateBus sessionBus_;

private slots:
    void initTestCase() {
        if (!sessionBus_.address.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", sessionBus_.address.toUtf8());
    }

    void controlsHaveTheirNamesAndTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        const auto row = [](const char* name, const char* caption, const char* tip = "") {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(caption) << QString::fromUtf8(tip);
        };
        row("PnlDate", "Date", "Datum");
        row("PnlTime", "Time", "Zeit");
        row("PnlRAM", "Free RAM", "Frei Arbeitsspeicher");
        row("PnlPage", "Free Page", "Freier Speicher der Auslagerungsdatei");
        row("PnlDisk", "Free Disk", "Freier Speicher auf Laufwerk C:");
        row("BoxAdrVor", "", "Adressformat für die Zwischenablage");
        row("BtnAdrCopy", "X", "Kopiert die Adresse im aktuellen Adressformat in die Zwischenablage");
        row("Btn_B_Neu", "", "Neuer Eintrag");
        row("Btn_B_Edit", "", "Eintrag bearbeiten");
        row("Btn_B_Del", "", "Eintrag löschen");
        row("Edit_B_Such", "", "Eintrag suchen");
        row("Btn_B_Such", "", "Weiter suchen");
        row("Btn_B_KlappAuf", "");
        row("Btn_B_KlappZu", "");
        row("Btn_B_Trenn1", "");
        row("Btn_B_Font", "", "Schriftart");
        row("Btn_D_NeuDok", "", "Neues Dokument");
        row("Btn_D_NeuNot", "", "Neue Notiz");
        row("Btn_D_Holen", "", "Dokument holen");
        row("Btn_D_Open", "", "Dokument öffnen");
        row("Btn_D_Book", "", "Detail");
        row("Btn_D_Done", "", "Dokument erledigt");
        row("Btn_D_Del", "", "Eintrag löschen");
        row("Btn_D_All", "", "Dokumente von Untereinträgen werden angezeigt");
        row("Btn_D_Font", "", "Schriftart");
        row("Btn_D_Tab", "", "Tabellenansicht bearbeiten");
        row("Btn_D_Notiz", "");
        row("MA_Menu", "Adressen");
        row("MA_Neu", "Neu");
        row("MA_Edit", "Berabeiten");
        row("MA_Del", "Löschen");
        row("MA_Font", "Schriftart");
        row("MA_PrintBrief", "Briefumschlag");
        row("MA_PrintAdr", "Adressen");
        row("MA_Vorlage", "Vorlage für Zwischenablage");
        row("MT_Menu", "Themen");
        row("MT_Neu", "Neu");
        row("MT_Edit", "Bearbeiten");
        row("MT_Del", "Löschen");
        row("MT_Font", "Schriftart");
        row("MD_Menu", "Dokumente");
        row("MD_NeuDok", "Neues Dokument");
        row("MD_NeuNot", "Neue Notiz");
        row("MD_Holen", "Holen");
        row("MD_Open", "Öffnen");
        row("MD_Book", "Detail");
        row("MD_Del", "Löschen");
        row("MD_Tab", "Ansicht");
        row("MD_Save", "Speichern unter..");
        row("MD_Move", "Verschieben");
        row("MD_Copy", "Kopieren");
        row("MD_Font", "Schriftart");
        row("MSer_Menu", "Seriendruck");
        row("MSer_Word", "mit Word");
        row("MKat_Menu", "&Kataloge");
        row("MKat_DokArt", "&Dokument - Art");
        row("MKat_Autor", "&Autor");
        row("MKat_AnredeBrief", "Anrede Briefkopf");
        row("MKat_Anrede", "Anrede");
        row("MKat_Herr", "Herr / Frau");
        row("MKat_Gruss", "Grusswort");
        row("MTool_Menu", "&Tools");
        row("MTool_Mand", "Mandanten");
        row("MTool_Anw", "&Anwendung...");
        row("MTool_ImpDBF", "dBase");
        row("MTool_ExpDBF", "dBase");
        row("MTool_Sicher", "&Datensicherung");
        row("MTool_Baum", "&Baumstruktur");
        row("MTool_Option", "&Optionen");
        row("MHelp_Menu", "&Hilfe");
        row("MHelp_View", "Ü&bersicht");
        row("MHelp_Tips", "&Tips und Tricks");
        row("MHelp_Support", "Support");
        row("MHelp_Uber", "Üb&er...");
        row("MClose_Menu", "Beenden");
        row("MClose_Close", "Schließen      Alt F4");
        row("PA_Neu", "Neu");
        row("PA_Edit", "Bearbeiten");
        row("PA_Del", "Löschen");
        row("PA_Font", "Schriftart");
        row("PA_PrintBrief", "Briefumschlag");
        row("PA_PrintAdr", "Adressen");
        row("PT_Neu", "Neu");
        row("PT_Edit", "Bearbeiten");
        row("PT_Del", "Löschen");
        row("PT_Font", "Schriftart");
        row("PD_Open", "Öffnen");
        row("PD_Book", "Detail");
        row("PD_Del", "Löschen");
        row("PD_Save", "Speichern unter...");
        row("PD_Move", "Verschieben");
        row("PD_Copy", "Kopieren");
        row("PD_Print", "Drucken");
        row("PD_Play", "Abspielen");
    }
    void controlsHaveTheirNamesAndTexts() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        Installation inst;
        MainWindow window;
        QObject* object = window.findChild<QObject*>(name);
        QVERIFY2(object != nullptr, qPrintable(name));
        QCOMPARE(text(object), caption);
        QCOMPARE(hint(object), toolTip);
    }

    void layoutComponentsExist() {
        Installation inst;
        MainWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("TM01"));
        for (const char* name : {"ToolBar4", "PnlBaum", "B_Tool1", "ToolBar2", "PnlAdress", "Splitter2", "Splitter1",
                                 "PnlDok", "D_Tool1", "PnlNotiz", "Splitter", "Image1"})
            QVERIFY2(child<QWidget>(window, QString::fromUtf8(name)), name);
        QCOMPARE(tabTexts(child<QTabBar>(window, QStringLiteral("Tab00"))),
                 QStringList({QStringLiteral("Adressen"), QStringLiteral("Themen"), QStringLiteral("Dokumente")}));
        QCOMPARE(tabTexts(child<QTabBar>(window, QStringLiteral("Tab22"))), QStringList{QStringLiteral("Dokumente")});
        for (const char* name : {"TVA", "TVB", "TVD"})
            QCOMPARE(child<TTreeView2>(window, QString::fromUtf8(name))->indentation(), 25);
        QVERIFY(child<QTextEdit>(window, QStringLiteral("REAdr"))->isReadOnly());
        QVERIFY(!child<QWidget>(window, QStringLiteral("Btn_B_Trenn1"))->isEnabled());
        QVERIFY(child<QToolButton>(window, QStringLiteral("Btn_D_All"))->isCheckable());
        QVERIFY(child<QToolButton>(window, QStringLiteral("BtnAdrCopy"))->font().bold());
        QVERIFY(!child<QAction>(window, QStringLiteral("PD_Play"))->isVisible());
        QCOMPARE(child<QAction>(window, QStringLiteral("MHelp_View"))->shortcut(), QKeySequence(Qt::Key_F1));
        auto* zeit = child<QTimer>(window, QStringLiteral("TimerZeit"));
        auto* sys = child<QTimer>(window, QStringLiteral("TimerSys"));
        QCOMPARE(zeit->interval(), 60000);
        QCOMPARE(sys->interval(), 5000);
        QVERIFY(!zeit->isActive());
        QVERIFY(!sys->isActive());
        QCOMPARE(child<QLabel>(window, QStringLiteral("PnlDate"))->text(), QStringLiteral("Date"));
    }

    void catalogItemsCarryTheirCatalogNumbers() {
        Installation inst;
        MainWindow window;
        QList<int> tags;
        for (const char* name :
             {"MKat_DokArt", "MKat_Autor", "MKat_AnredeBrief", "MKat_Anrede", "MKat_Herr", "MKat_Gruss"})
            tags << child<QAction>(window, QString::fromUtf8(name))->data().toInt();
        QCOMPARE(tags, QList<int>({1, 4, 10, 11, 12, 13}));
    }

    void firstStartWithoutSettingsIsMaximisedWithDefaultPanes() {
        Installation inst;
        QVERIFY(!QFile::exists(inst.program.paths.settingsFile));
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        QVERIFY(window->isMaximized());
        QTRY_COMPARE(child<QWidget>(*window, QStringLiteral("PnlBaum"))->width(), 250);
        QCOMPARE(child<QWidget>(*window, QStringLiteral("PnlAdress"))->height(), 120);
        QVERIFY(child<QTimer>(*window, QStringLiteral("TimerZeit"))->isActive());
        QVERIFY(child<QTimer>(*window, QStringLiteral("TimerSys"))->isActive());
        QCOMPARE(child<QLabel>(*window, QStringLiteral("PnlDate"))->text(),
                 QDate::currentDate().toString(QStringLiteral("dd.MM.yy")));
    }

    void storedLayoutAndFontsAreRestored() {
        Installation inst;
        const ProfileFile ini = inst.zepIni();
        ini.writeInteger(u"WindowMain", u"Max", 0);
        ini.writeInteger(u"WindowMain", u"Left", 40);
        ini.writeInteger(u"WindowMain", u"Top", 30);
        ini.writeInteger(u"WindowMain", u"Width", 900);
        ini.writeInteger(u"WindowMain", u"Height", 640);
        ini.writeInteger(u"WindowTree", u"TreeWidth", 300);
        ini.writeInteger(u"WindowTree", u"AdrHeight", 90);
        ini.writeString(u"WindowDoc", u"Font", u"Courier;1000;14;");
        // Unreadable flags and size leave those parts of the design font.
        ini.writeString(u"WindowTree", u"Font", u";10;x;");
        MainWindow window;
        const QFont designTree = child<QWidget>(window, QStringLiteral("PnlMain"))->font();
        QVERIFY(!window.isMaximized());
        QCOMPARE(window.size(), QSize(900, 640));
        QCOMPARE(window.pos(), QPoint(40, 30));
        auto* grid = child<QWidget>(window, QStringLiteral("D_Grid"));
        QCOMPARE(grid->font().family(), QStringLiteral("Courier"));
        QVERIFY(grid->font().bold());
        QCOMPARE(grid->font().pointSize(), 14);
        auto* tree = child<QWidget>(window, QStringLiteral("PnlBaum"));
        QCOMPARE(tree->font().bold(), designTree.bold());
        QCOMPARE(tree->font().pointSize(), designTree.pointSize());
        window.show();
        QTRY_COMPARE(tree->width(), 300);
        QCOMPARE(child<QWidget>(window, QStringLiteral("PnlAdress"))->height(), 90);
    }

    // A rectangle stored on a screen that is gone is moved onto this one, at its stored size.
    void storedRectangleOffTheScreenIsBroughtBack() {
        Installation inst;
        WindowPlacer placer;
        qApp->installEventFilter(&placer);
        const ProfileFile ini = inst.zepIni();
        ini.writeInteger(u"WindowMain", u"Max", 0);
        ini.writeInteger(u"WindowMain", u"Left", 3000);
        ini.writeInteger(u"WindowMain", u"Top", -400);
        ini.writeInteger(u"WindowMain", u"Width", 600);
        ini.writeInteger(u"WindowMain", u"Height", 400);
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        QCOMPARE(window->size(), QSize(600, 400));
        // Moved no further than needed: into the top right corner, next to where it was.
        const QRect screen = window->screen()->availableGeometry();
        const QRect frame = window->frameGeometry();
        QCOMPARE(frame.right(), screen.right());
        QCOMPARE(frame.top(), screen.top());
    }

    void closingMaximisedWritesOnlyMaxAndPanes() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->close();
        const ProfileFile ini = inst.zepIni();
        QCOMPARE(ini.readInteger(u"WindowMain", u"Max", -1), 1);
        QCOMPARE(ini.readInteger(u"WindowTree", u"TreeWidth", -1), 250);
        QCOMPARE(ini.readInteger(u"WindowTree", u"AdrHeight", -1), 120);
        for (const char16_t* key : {u"Left", u"Top", u"Width", u"Height"})
            QVERIFY(!ini.keys(u"WindowMain").contains(QString::fromUtf16(key)));
    }

    void closingNormalWritesTheRectangle() {
        Installation inst;
        inst.zepIni().writeInteger(u"WindowMain", u"Max", 0);
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->resize(800, 500);
        window->move(20, 10);
        window->close();
        const ProfileFile ini = inst.zepIni();
        QCOMPARE(ini.readInteger(u"WindowMain", u"Max", -1), 0);
        QCOMPARE(ini.readInteger(u"WindowMain", u"Width", -1), 800);
        QCOMPARE(ini.readInteger(u"WindowMain", u"Height", -1), 500);
        QCOMPARE(ini.readInteger(u"WindowMain", u"Left", -1), 20);
        QCOMPARE(ini.readInteger(u"WindowMain", u"Top", -1), 10);
    }

    void switchingClientLoadsTreesAndCaption() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        QCOMPARE(window->windowTitle(), QStringLiteral("ZEP 3.5   >>Muster  ") + inst.clientDir + QStringLiteral("<<"));
        QCOMPARE(window->viewState().view, ViewState::Addresses);
        auto* tva = child<TTreeView2>(*window, QStringLiteral("TVA"));
        QCOMPARE(tva->topLevelItem(0)->text(0), QStringLiteral("Adressen"));
        QCOMPARE(tva->currentItem(), tva->topLevelItem(0));
        QVERIFY(tva->topLevelItem(0)->isExpanded());
        QCOMPARE(child<TTreeView2>(*window, QStringLiteral("TVB"))->topLevelItem(0)->text(0), QStringLiteral("Themen"));
        QCOMPARE(child<QTabBar>(*window, QStringLiteral("Tab00"))->tabText(0), QStringLiteral("Adressen [3]"));
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    void cancelledClientListClosesTheWindow() {
        Installation inst;
        inst.cancelClientList = true;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        QTRY_VERIFY(!window->isVisible());
    }

    // Behind the start-up client list, after it was closed without a choice, and once a client is open
    // (address view, root selected).
    void commandsNeedAnOpenClient() {
        struct Command {
            const char* name;
            bool withoutClient;
            bool withClient;
        };
        const Command commands[] = {
            {"Btn_B_Neu", false, true},   {"MA_Neu", false, true},         {"MT_Neu", false, true},
            {"PA_Neu", false, true},      {"Btn_B_Edit", false, false},    {"MA_Del", false, false},
            {"Edit_B_Such", false, true}, {"Btn_B_KlappAuf", false, true}, {"Tab00", false, true},
            {"BoxAdrVor", false, true},   {"BtnAdrCopy", false, true},     {"MA_Vorlage", false, true},
            {"MA_PrintAdr", false, true}, {"Btn_D_Tab", false, true},      {"MD_Tab", false, true},
            {"MSer_Word", false, true},   {"MTool_Sicher", false, true},   {"MTool_Option", false, true},
            {"MTool_Baum", false, true},  {"MTool_ImpDBF", false, true},   {"MTool_ExpDBF", false, true},
            {"Btn_D_All", false, true},   {"MD_Open", false, false},       {"Btn_D_NeuDok", false, false},
            {"Btn_B_Font", true, true},   {"Btn_D_Font", true, true},      {"MA_Font", true, true},
            {"MKat_DokArt", true, true},  {"MTool_Mand", true, true},      {"MTool_Anw", true, true},
            {"MHelp_View", true, true},   {"MClose_Close", true, true},
        };
        Installation inst;
        auto window = inst.makeWindow();
        QStringList wrongBehindTheList;
        bool blankBehindTheList = false;
        window->setClientOpener([&](const QString&, const QString&, int) {
            ++inst.opened;
            for (const Command& command : commands)
                if (enabled(*window, QString::fromUtf8(command.name)) != command.withoutClient)
                    wrongBehindTheList << QString::fromUtf8(command.name);
            blankBehindTheList = gridIsBlank(*child<TDBGrid3>(*window, QStringLiteral("D_Grid")));
            return false;
        });
        showAndOpen(*window, inst);
        QCOMPARE(wrongBehindTheList, QStringList());
        QVERIFY(blankBehindTheList);
        QTRY_VERIFY(!window->isVisible());
        for (const Command& command : commands)
            QVERIFY2(enabled(*window, QString::fromUtf8(command.name)) == command.withoutClient, command.name);

        window->setClientOpener([&](const QString&, const QString&, int) { return inst.openClient(); });
        QVERIFY(window->SwitchClient(QString(), -1));
        for (const Command& command : commands)
            QVERIFY2(enabled(*window, QString::fromUtf8(command.name)) == command.withClient, command.name);
    }

    void viewsShowTheirTreeAndMenus_data() {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<bool>("addressMenu");
        QTest::addColumn<bool>("topicMenu");
        QTest::addColumn<bool>("entryTools");
        QTest::newRow("addresses") << 0 << "TVA" << true << false << true;
        QTest::newRow("topics") << 1 << "TVB" << false << true << true;
        QTest::newRow("documents") << 2 << "TVD" << false << false << false;
    }
    void viewsShowTheirTreeAndMenus() {
        QFETCH(int, view);
        QFETCH(QString, tree);
        QFETCH(bool, addressMenu);
        QFETCH(bool, topicMenu);
        QFETCH(bool, entryTools);
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        child<QTabBar>(*window, QStringLiteral("Tab00"))->setCurrentIndex(view);
        QCOMPARE(window->viewState().view, ViewState::View(view));
        QCOMPARE(child<QStackedWidget>(*window, QStringLiteral("PnlTrees"))->currentWidget()->objectName(), tree);
        QCOMPARE(child<QMenu>(*window, QStringLiteral("MA_Menu"))->menuAction()->isVisible(), addressMenu);
        QCOMPARE(child<QMenu>(*window, QStringLiteral("MT_Menu"))->menuAction()->isVisible(), topicMenu);
        QCOMPARE(child<QWidget>(*window, QStringLiteral("REAdr"))->isVisible(), view == 0);
        QCOMPARE(child<QWidget>(*window, QStringLiteral("Image1"))->isVisible(), true);
        QCOMPARE(child<QWidget>(*window, QStringLiteral("B_Tool1"))->isVisible(), entryTools);
        QCOMPARE(enabled(*window, QStringLiteral("MTool_Baum")), entryTools);
        if (view == 2) {
            for (const char* name : {"Btn_D_NeuDok", "Btn_D_All", "MD_Holen", "PD_Save"})
                QVERIFY2(!enabled(*window, QString::fromUtf8(name)), name);
        }
    }

    void documentRuleFollowsTheSelectedEntry() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        auto* tab = child<QTabBar>(*window, QStringLiteral("Tab22"));
        auto* tva = child<TTreeView2>(*window, QStringLiteral("TVA"));
        selectNode(tva, QStringLiteral("Alpha GmbH"));
        QCOMPARE(tab->tabText(0), QStringLiteral("Dokumente [2]"));
        for (const char* name : {"Btn_D_Open", "Btn_D_Book", "Btn_D_Del", "RE", "PD_Save", "MD_Move", "Btn_B_Edit"})
            QVERIFY2(enabled(*window, QString::fromUtf8(name)), name);
        // The sub-entries toggle adds the documents of "Meier Anna".
        child<QToolButton>(*window, QStringLiteral("Btn_D_All"))->click();
        QCOMPARE(tab->tabText(0), QStringLiteral("Dokumente [3]"));
        child<QToolButton>(*window, QStringLiteral("Btn_D_All"))->click();
        selectNode(tva, QStringLiteral("Zeta AG"));
        QCOMPARE(tab->tabText(0), QStringLiteral("Dokumente [0]"));
        for (const char* name : {"Btn_D_Open", "Btn_D_Notiz", "RE", "PD_Open", "MD_Save"})
            QVERIFY2(!enabled(*window, QString::fromUtf8(name)), name);
        QVERIFY(window->noteEditor().toPlainText().isEmpty());
        QVERIFY(!window->noteEditor().isModified());
        // The root is no proper entry.
        tva->setCurrentItem(tva->topLevelItem(0));
        QVERIFY(!enabled(*window, QStringLiteral("Btn_B_Edit")));
        QVERIFY(!enabled(*window, QStringLiteral("MA_Del")));
    }

    void listShowsTheArrangementOfTheColumnFile() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        const Query& list = inst.dm->dm1().QDok;
        QCOMPARE(visibleLabels(list),
                 (QStringList{"Titel", "Art", "Adresse", "Thema", "Erstellt", "Geändert", "Autor"}));
        QCOMPARE(list.fieldInfo(0).displayWidth, 30);
        QVERIFY(inst.interaction.texts().isEmpty());
    }

    // On the root the toggle decides between the unfiled documents and everything under the tree.
    void rootListsByTheToggle() {
        Installation inst;
        {
            Table dok;
            test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
            appendRecord(dok, {{"NrFirma", 0}, {"NrThema", 0}, {"Titel", "Ohne Ablage"}});
            appendRecord(dok, {{"NrFirma", -1}, {"NrThema", -1}, {"Titel", "Nirgends"}});
        }
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        auto* tva = child<TTreeView2>(*window, QStringLiteral("TVA"));
        auto* toggle = child<QToolButton>(*window, QStringLiteral("Btn_D_All"));
        Query& list = inst.dm->dm1().QDok;
        tva->setCurrentItem(tva->topLevelItem(0));
        QCOMPARE(titles(list), QStringList{"Ohne Ablage"});
        toggle->click();
        QCOMPARE(titles(list), (QStringList{"Angebot", "Anruf", "Ohne Ablage", "Rechnung"}));
        child<QTabBar>(*window, QStringLiteral("Tab00"))->setCurrentIndex(1);
        auto* tvb = child<TTreeView2>(*window, QStringLiteral("TVB"));
        tvb->setCurrentItem(tvb->topLevelItem(0));
        QCOMPARE(titles(list), (QStringList{"Angebot", "Anruf", "Ohne Ablage", "Rechnung"}));
        toggle->click();
        QCOMPARE(titles(list), QStringList{"Ohne Ablage"});
    }

    // Two clicks on one heading restore the order; a click on another heading turns the direction round.
    void headerClicksSortTheList() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        auto* tva = child<TTreeView2>(*window, QStringLiteral("TVA"));
        tva->setCurrentItem(tva->topLevelItem(0));
        child<QToolButton>(*window, QStringLiteral("Btn_D_All"))->click();
        Query& list = inst.dm->dm1().QDok;
        const QStringList ascending = {"Angebot", "Anruf", "Rechnung"};
        QCOMPARE(titles(list), ascending);
        const QString filter = list.filterText();
        TDBGrid3& grid = window->documentGrid();
        emit grid.OnHeaderClick(0, 0);
        QCOMPARE(titles(list), (QStringList{"Rechnung", "Anruf", "Angebot"}));
        QVERIFY(window->sortDescending());
        emit grid.OnHeaderClick(0, 0);
        QCOMPARE(titles(list), ascending);
        QCOMPARE(list.filterText(), filter);
        // A new column starts in the turned direction: descending by kind, equal kinds by Nr.
        emit grid.OnHeaderClick(6, 0);
        QCOMPARE(window->sortColumn(), 6);
        QVERIFY(window->sortDescending());
        QCOMPARE(list.recordCount(), 3);
        QVERIFY(inst.interaction.texts().isEmpty());
    }

    // A client whose sort column lies beyond the arrangement: the engine refuses the list's text and
    // says so; the column dialog's sort box, once opened, puts the sort back on the first column.
    void sortColumnOutsideTheArrangementIsRefusedByTheEngine() {
        Installation inst;
        writeColumnFile(inst.program.paths.columnFile,
                        {{QStringLiteral("Titel"), QStringLiteral("Titel"), QStringLiteral("30")},
                         {QStringLiteral("Art"), QStringLiteral("Art"), QStringLiteral("10")}});
        inst.mandIni().writeInteger(u"Dokument", u"SortSpalte", 2);
        inst.mandIni().writeInteger(u"Dokument", u"SortAbsteigend", 1);
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(!inst.interaction.texts().isEmpty());
        QCOMPARE(inst.interaction.texts().last(),
                 QStringLiteral("Fehler in der Abfrage \"SELECT Nr, Datei, Ext, NrFirma, NrThema, WTyp, WTag, WDatum "
                                ",Titel ,Art FROM dok.db ORDER BY DESC, Nr\": Im \"ORDER BY\" fehlt ein Feldname."));
        QCOMPARE(child<QTabBar>(*window, QStringLiteral("Tab22"))->tabText(0), QStringLiteral("Dokumente [0]"));
        auto* dialog = child<ColumnArrangementDialog>(*window, QStringLiteral("TT01"));
        dialog->show();
        auto* sortBox = child<QComboBox>(*dialog, QStringLiteral("SortBox"));
        sortBox->showPopup();
        sortBox->hidePopup();
        QCOMPARE(window->sortColumn(), 0);
        child<QPushButton>(*dialog, QStringLiteral("BtnOK"))->click();
        QCOMPARE(titles(inst.dm->dm1().QDok), (QStringList{"Anruf", "Angebot"}));
    }

    void resubmissionNodesListOnlyTheirDocuments_data() {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Heute: due and overdue")
            << "Heute" << QStringList{"Täglich fällig", "Termin heute", "Wöchentlich überfällig"};
        QTest::newRow("Morgen") << "Morgen" << QStringList{"Termin morgen"};
        QTest::newRow("Ab Übermorgen") << "Ab Übermorgen" << QStringList{"Später"};
        QTest::newRow("Wöchentlich") << "Wöchentlich" << QStringList{"Wöchentlich überfällig"};
        QTest::newRow("Dokumente") << "Dokumente" << QStringList{};
        QTest::newRow("Alle") << "Alle" << QStringList{"Angebot",        "Anruf",
                                                       "Rechnung",       "Später",
                                                       "Täglich fällig", "Termin heute",
                                                       "Termin morgen",  "Wöchentlich überfällig"};
    }

    void resubmissionNodesListOnlyTheirDocuments() {
        QFETCH(QString, node);
        QFETCH(QStringList, expected);
        const FixedClock clock(QDate(2026, 12, 7));
        Installation inst;
        inst.addResubmissionDocuments();
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->SelectView(2);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVD")), node);
        QCOMPARE(titles(inst.dm->dm1().QDok), expected);
        QCOMPARE(child<QTabBar>(*window, QStringLiteral("Tab22"))->tabText(0),
                 QStringLiteral("Dokumente [%1]").arg(expected.size()));
    }

    // The daily document is due again tomorrow and leaves "Heute" at the refresh; the list keeps its row.
    void documentDoneRefreshesTheList() {
        const FixedClock clock(QDate(2026, 12, 7));
        Installation inst;
        inst.addResubmissionDocuments();
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->SelectView(2);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVD")), QStringLiteral("Heute"));
        Query& list = inst.dm->dm1().QDok;
        QVERIFY(window->locateDocument(6));
        QCOMPARE(list.recNo(), 1);
        child<QToolButton>(*window, QStringLiteral("Btn_D_Done"))->click();
        QCOMPARE(list.recNo(), 1);
        QCOMPARE(list.field(u"Titel").asString(), QStringLiteral("Termin heute"));
        QCOMPARE(titles(list), (QStringList{"Termin heute", "Wöchentlich überfällig"}));
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        QVERIFY(dok.findKey({6}));
        QCOMPARE(dok.field(u"WTag").asInteger(), 46364);
        // A date rule ends.
        QVERIFY(window->locateDocument(4));
        child<QToolButton>(*window, QStringLiteral("Btn_D_Done"))->click();
        QCOMPARE(titles(list), QStringList{"Wöchentlich überfällig"});
        QVERIFY(dok.findKey({4}));
        QVERIFY(dok.field(u"WTyp").asString().isEmpty());
        QVERIFY(dok.field(u"WDatum").isNull());
    }

    // Icon at (left+2, top+1), the rule's mark at left+20, the overdue mark at left+30.
    void firstColumnShowsIconAndMarks() {
        const FixedClock clock(QDate(2026, 12, 7));
        Installation inst;
        inst.addResubmissionDocuments();
        auto window = inst.makeWindow();
        window->resize(900, 600);
        showAndOpen(*window, inst);
        window->SelectView(2);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVD")), QStringLiteral("Alle"));
        TDBGrid3& grid = window->documentGrid();
        Query& list = inst.dm->dm1().QDok;
        list.first(); // "Angebot": no rule
        const QImage image = grid.viewport()->grab().toImage();
        // The top row of a badge, above its letter.
        const auto badgeAt = [&](int row, int x) {
            const QRect cell = grid.cellRect(0, row);
            return image.pixelColor(cell.left() + x + 3, cell.top() + 1 + 3);
        };
        const QColor dateBadge(40, 120, 200), weeklyBadge(40, 150, 70), overdueBadge(245, 175, 0);
        // Rows (1 is the header): 2 Anruf, 4 Später (date ahead), 8 Wöchentlich überfällig.
        QVERIFY(badgeAt(2, 20) != dateBadge && badgeAt(2, 20) != weeklyBadge);
        // The note's own icon, a yellow sheet, inside the first 16 pixels.
        const QRect noteCell = grid.cellRect(0, 2);
        QCOMPARE(image.pixelColor(noteCell.left() + 2 + 8, noteCell.top() + 1 + 7), QColor(255, 240, 140));
        QCOMPARE(badgeAt(4, 20), dateBadge);
        QVERIFY(badgeAt(4, 30) != overdueBadge);
        QCOMPARE(badgeAt(8, 20), weeklyBadge);
        QCOMPARE(badgeAt(8, 30), overdueBadge);
    }

    void columnDialogShowAndAbort_data() {
        QTest::addColumn<bool>("zeigen");
        QTest::addColumn<QString>("closing"); // "BtnAbort", "Escape" or "close"
        QTest::newRow("Zeigen, abort") << true << "BtnAbort";
        QTest::newRow("Zeigen, Escape") << true << "Escape";
        QTest::newRow("Zeigen, close box") << true << "close";
        QTest::newRow("Escape") << false << "Escape";
        QTest::newRow("close box") << false << "close";
    }

    // "Zeigen" shows the edited arrangement; abort, Escape and the close box drop the edits and show
    // the saved one again; none writes the file.
    void columnDialogShowAndAbort() {
        QFETCH(bool, zeigen);
        QFETCH(QString, closing);
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        const QByteArray saved = readBytes(inst.program.paths.columnFile);
        const QStringList savedLabels = {"Titel", "Art", "Adresse", "Thema", "Erstellt", "Geändert", "Autor"};
        const Query& list = inst.dm->dm1().QDok;
        QCOMPARE(visibleLabels(list), savedLabels);
        auto* dialog = child<ColumnArrangementDialog>(*window, QStringLiteral("TT01"));
        dialog->show();
        auto* grid = child<QTableWidget>(*dialog, QStringLiteral("G"));
        grid->setCurrentCell(1, 0);
        child<QToolButton>(*dialog, QStringLiteral("BtnDel"))->click();
        grid->item(0, 1)->setText(QStringLiteral("Betreff"));
        grid->item(0, 2)->setText(QStringLiteral("breit"));
        QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("0"));
        if (zeigen) {
            child<QPushButton>(*dialog, QStringLiteral("BtnZeigen"))->click();
            QCOMPARE(visibleLabels(list),
                     (QStringList{"Betreff", "Adresse", "Thema", "Erstellt", "Geändert", "Autor"}));
            QVERIFY(dialog->shown());
        }
        if (closing == u"Escape") {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Escape);
        } else if (closing == u"close") {
            dialog->close();
        } else {
            child<QPushButton>(*dialog, closing)->click();
        }
        QVERIFY(!dialog->isVisible());
        QCOMPARE(visibleLabels(list), savedLabels);
        QCOMPARE(dialog->arrangement(), readColumnFile(inst.program.paths.columnFile));
        QCOMPARE(readBytes(inst.program.paths.columnFile), saved);
    }

    void columnDialogOkSavesArrangementAndSort() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        auto* dialog = child<ColumnArrangementDialog>(*window, QStringLiteral("TT01"));
        dialog->show();
        auto* fields = child<QListWidget>(*dialog, QStringLiteral("LB"));
        fields->setCurrentRow(int(offeredColumnFields().indexOf(QStringLiteral("Feld1"))));
        auto* grid = child<QTableWidget>(*dialog, QStringLiteral("G"));
        grid->setCurrentCell(0, 0);
        child<QToolButton>(*dialog, QStringLiteral("BtnHinHin"))->click();
        QCOMPARE(grid->currentRow(), 1);
        auto* sortBox = child<QComboBox>(*dialog, QStringLiteral("SortBox"));
        sortBox->setCurrentIndex(1);
        child<QCheckBox>(*dialog, QStringLiteral("Sortcheck"))->setChecked(false);
        child<QPushButton>(*dialog, QStringLiteral("BtnOK"))->click();
        QVERIFY(!dialog->isVisible());
        const QList<ColumnRow> stored = readColumnFile(inst.program.paths.columnFile);
        QCOMPARE(stored.size(), 8);
        QCOMPARE(stored[1], (ColumnRow{QStringLiteral("Feld1"), QStringLiteral("Feld1"), QStringLiteral("10")}));
        QCOMPARE(inst.mandIni().readInteger(u"Dokument", u"SortSpalte", -1), 1);
        QCOMPARE(inst.mandIni().readInteger(u"Dokument", u"SortAbsteigend", -1), 0);
        QCOMPARE(visibleLabels(inst.dm->dm1().QDok).value(1), QStringLiteral("Feld1"));
    }

    void unsavedArrangementKeepsTheDialogOpen_data() {
        QTest::addColumn<bool>("columnFileBlocked"); // else "Mand.ini" is blocked
        QTest::newRow("column file") << true;
        QTest::newRow("sort settings") << false;
    }

    // The disk is full as "Tab.dat" is written, or a directory stands where "Mand.ini" is replaced: the
    // message, the dialog stays open
    // with the user's rows, and neither file describes an arrangement the other does not (the column
    // file gets its old content back when the sort settings fail).
    void unsavedArrangementKeepsTheDialogOpen() {
        QFETCH(bool, columnFileBlocked);
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        auto* dialog = child<ColumnArrangementDialog>(*window, QStringLiteral("TT01"));
        dialog->show();
        auto* grid = child<QTableWidget>(*dialog, QStringLiteral("G"));
        grid->item(0, 1)->setText(QStringLiteral("Betreff"));
        const QString columns = inst.program.paths.columnFile;
        const QByteArray before = readBytes(columns);
        const QString blocked = inst.program.client.IniFile;
        std::optional<InjectedWriteFailure> fullDisk;
        if (columnFileBlocked) {
            fullDisk.emplace(ENOSPC, 0);
        } else {
            QVERIFY(QFile::remove(blocked));
            QVERIFY(QDir().mkpath(blocked));
        }
        const int shown = int(inst.interaction.shown().size());
        child<QPushButton>(*dialog, QStringLiteral("BtnOK"))->click();
        fullDisk.reset();
        QCOMPARE(inst.interaction.shown().size(), shown + 1);
        const QString message =
            columnFileBlocked
                ? QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: Der Datenträger ist voll.")
                      .arg(columns)
                : QStringLiteral("Die Sortierung konnte nicht in \"%1\" gespeichert werden.").arg(blocked);
        QVERIFY2(inst.interaction.texts().last().startsWith(message), qPrintable(inst.interaction.texts().last()));
        QVERIFY(dialog->isVisible());
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Betreff"));
        if (columnFileBlocked)
            QCOMPARE(inst.mandIni().readInteger(u"Dokument", u"SortSpalte", -1), -1);
        else
            QCOMPARE(readBytes(columns), before);
        dialog->close();
    }

    // A heading the column file cannot hold is asked about; "Nein" keeps the dialog open, nothing saved.
    void headingWithCharactersTheFileCannotHold() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        auto* dialog = child<ColumnArrangementDialog>(*window, QStringLiteral("TT01"));
        dialog->show();
        auto* grid = child<QTableWidget>(*dialog, QStringLiteral("G"));
        grid->item(0, 1)->setText(QStringLiteral("Tytuł"));
        const QList<ColumnRow> before = readColumnFile(inst.program.paths.columnFile);
        inst.interaction.setNextAnswer(Answer::No);
        child<QPushButton>(*dialog, QStringLiteral("BtnOK"))->click();
        QCOMPARE(inst.interaction.texts().last(),
                 QStringLiteral("Eine Spaltenbezeichnung enthält Zeichen, die in der Spaltenanordnung nicht "
                                "gespeichert werden können: ł\r\rJa: Speichern, diese Zeichen werden durch \"?\" "
                                "ersetzt.\rNein: Zurück zur Eingabe, um die Bezeichnung zu ändern."));
        QVERIFY(dialog->isVisible());
        QCOMPARE(readColumnFile(inst.program.paths.columnFile), before);
        inst.interaction.setNextAnswer(Answer::Yes);
        child<QPushButton>(*dialog, QStringLiteral("BtnOK"))->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(readColumnFile(inst.program.paths.columnFile).first().label, QStringLiteral("Tytu?"));
    }

    // A heading that is gone from the sort box puts the list's sort column back to the first.
    void lostSortHeadingResetsTheSortColumn() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->setSortState(3, false);
        auto* dialog = child<ColumnArrangementDialog>(*window, QStringLiteral("TT01"));
        dialog->show();
        auto* sortBox = child<QComboBox>(*dialog, QStringLiteral("SortBox"));
        sortBox->setCurrentIndex(2);
        auto* grid = child<QTableWidget>(*dialog, QStringLiteral("G"));
        grid->setCurrentCell(4, 0);
        child<QToolButton>(*dialog, QStringLiteral("BtnAuf"))->click();
        QCOMPARE(sortBox->currentText(), QStringLiteral("Adresse"));
        QCOMPARE(window->sortColumn(), 3);
        grid->setCurrentCell(2, 0);
        child<QToolButton>(*dialog, QStringLiteral("BtnDel"))->click();
        QCOMPARE(sortBox->currentIndex(), 0);
        QCOMPARE(window->sortColumn(), 0);
        dialog->close();
    }

    // A damaged installation file: a message, one empty row, the file as it was, and a list that
    // says why it shows no columns.
    void brokenColumnFileIsReportedAndKept() {
        Installation inst;
        const QByteArray broken("\x01\x06\x05Titel\x06\xc8Titel", 15);
        {
            QFile file(inst.program.paths.columnFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(broken);
        }
        auto window = inst.makeWindow();
        QCOMPARE(inst.interaction.shown().size(), 1);
        QVERIFY(inst.interaction.texts().first().startsWith(QStringLiteral("Die Spaltendatei")));
        QCOMPARE(window->columnArrangement().arrangement(), QList<ColumnRow>{ColumnRow{}});
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY2(inst.interaction.texts().last().startsWith(
                     QStringLiteral("Die Tabellenansicht kann ab Spalte 1 nicht angezeigt werden.")),
                 qPrintable(inst.interaction.texts().last()));
        QCOMPARE(child<QTabBar>(*window, QStringLiteral("Tab22"))->tabText(0), QStringLiteral("Dokumente [2]"));
        QFile file(inst.program.paths.columnFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), broken);
    }

    void resubmissionStartValue_data() {
        QTest::addColumn<int>("startValue");
        QTest::addColumn<int>("firstView");
        QTest::addColumn<int>("secondView");
        QTest::newRow("never") << 0 << 0 << 0;
        QTest::newRow("first client of the run") << 1 << 2 << 0;
        QTest::newRow("every client") << 2 << 2 << 2;
    }
    void resubmissionStartValue() {
        QFETCH(int, startValue);
        QFETCH(int, firstView);
        QFETCH(int, secondView);
        Installation inst;
        inst.program.resubmissionStart = startValue;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        QCOMPARE(int(window->viewState().view), firstView);
        if (firstView == 2)
            QCOMPARE(child<TTreeView2>(*window, QStringLiteral("TVD"))->currentItem()->text(0),
                     QStringLiteral("Heute"));
        child<QAction>(*window, QStringLiteral("MTool_Mand"))->trigger();
        QCOMPARE(inst.opened, 2);
        QCOMPARE(int(window->viewState().view), secondView);
    }

    void fontsAreChosenThroughTheSeamAndWrittenAtOnce() {
        Installation inst;
        auto window = inst.makeWindow();
        FontDescription chosen{QStringLiteral("Courier"), false, true, false, false, 13};
        inst.interaction.setNextFont(chosen);
        child<QToolButton>(*window, QStringLiteral("Btn_D_Font"))->click();
        QCOMPARE(child<QWidget>(*window, QStringLiteral("D_Grid"))->font().pointSize(), 13);
        QCOMPARE(inst.zepIni().readString(u"WindowDoc", u"Font", {}), QStringLiteral("Courier;0100;13;"));
        inst.interaction.setNextFont(std::nullopt);
        child<QAction>(*window, QStringLiteral("PA_Font"))->trigger();
        QCOMPARE(inst.zepIni().readString(u"WindowTree", u"Font", QStringLiteral("none")), QStringLiteral("none"));
        chosen.pointSize = 11;
        inst.interaction.setNextFont(chosen);
        child<QToolButton>(*window, QStringLiteral("Btn_B_Font"))->click();
        QCOMPARE(child<QWidget>(*window, QStringLiteral("PnlBaum"))->font().pointSize(), 11);
        QCOMPARE(inst.zepIni().readString(u"WindowTree", u"Font", {}), QStringLiteral("Courier;0100;11;"));
        // The menu twin of the list's font button.
        chosen.pointSize = 9;
        inst.interaction.setNextFont(chosen);
        child<QAction>(*window, QStringLiteral("MD_Font"))->trigger();
        QCOMPARE(child<QWidget>(*window, QStringLiteral("D_Grid"))->font().pointSize(), 9);
        QVERIFY(inst.interaction.errors().isEmpty());
    }

    void messagesOfTheWindow() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        child<QAction>(*window, QStringLiteral("MHelp_Uber"))->trigger();
        QCOMPARE(inst.interaction.texts().last(), QStringLiteral("ZEP V ZEP 3.5 32bit"));
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Zeta AG"));
        child<QAction>(*window, QStringLiteral("MSer_Word"))->trigger();
        QCOMPARE(inst.interaction.texts().last(),
                 QStringLiteral("Es ist kein Dokument, dass als \rSerienbrief dienen soll, ausgewählt"));
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVB")), QStringLiteral("Rechnungen"));
        child<QTabBar>(*window, QStringLiteral("Tab00"))->setCurrentIndex(1);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVB")), QStringLiteral("Rechnungen"));
        Query& list = inst.dm->dm1().QDok;
        QVERIFY(list.locate(u"Ext", QStringLiteral("---")));
        const int before = inst.interaction.texts().size();
        for (const char* name : {"PD_Save", "PD_Copy", "MSer_Word"})
            child<QAction>(*window, QString::fromUtf8(name))->trigger();
        QCOMPARE(inst.interaction.texts().mid(before),
                 QStringList(3, QStringLiteral("Das ist eine Notiz, keine Datei")));
    }

    // "Verschieben" files the document under the picked entry of the active tree and keeps the list's
    // row; the same entry or a cancelled picker writes nothing; "Kopieren" hands the target to the copy
    // dialog and finds the document again afterwards.
    void documentsMoveAndCopyToAPickedEntry() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        QStringList asked;
        int picked = 0;
        window->setEntryPicker([&](const QString& caption, const QString& treeFile, QWidget*) {
            asked << caption + u'|' + QFileInfo(treeFile).fileName();
            return picked;
        });
        QList<int> copyTargets;
        window->setCopyDialogRunner([&](int target, QWidget*) { copyTargets << target; });
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        Query& list = inst.dm->dm1().QDok;
        QCOMPARE(titles(list), (QStringList{"Angebot", "Anruf"}));
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));

        QVERIFY(window->locateDocument(1));
        picked = 3;
        for (const char* command : {"PD_Copy", "MD_Copy"}) // the menu entry does what the popup entry does
            child<QAction>(*window, QString::fromLatin1(command))->trigger();
        QCOMPARE(copyTargets, (QList<int>{3, 3}));
        QCOMPARE(list.field(u"Nr").asInteger(), 1);

        for (const int target : {0, 1}) { // cancelled, and the entry it belongs to already
            picked = target;
            child<QAction>(*window, QStringLiteral("PD_Move"))->trigger();
            QCOMPARE(titles(list), (QStringList{"Angebot", "Anruf"}));
        }
        picked = 3;
        QVERIFY(window->locateDocument(2));
        child<QAction>(*window, QStringLiteral("MD_Move"))->trigger();
        QCOMPARE(titles(list), QStringList{"Angebot"});
        QCOMPARE(list.recNo(), 1); // the second row is gone: the last one is kept
        QVERIFY(dok.findKey({2}));
        QCOMPARE(dok.field(u"NrFirma").asInteger(), 3);
        QCOMPARE(dok.field(u"NrThema").asInteger(), 2); // the other tree keeps its entry
        QCOMPARE(asked,
                 (QStringList{"Dokument kopieren nach ...|Adressen.dat", "Dokument kopieren nach ...|Adressen.dat",
                              "Dokument verschieben nach...|Adressen.dat", "Dokument verschieben nach...|Adressen.dat",
                              "Dokument verschieben nach...|Adressen.dat"}));
        QVERIFY(dok.findKey({1}));
        QCOMPARE(dok.field(u"NrFirma").asInteger(), 1);
    }

    // A move that cannot be posted (another program holds the table's write lock) is reported, and
    // no edit stays pending for the next move of the table to post.
    void refusedMoveIsReportedAndCancelled() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->setEntryPicker([](const QString&, const QString&, QWidget*) { return 3; });
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(window->locateDocument(1));
        sqlite3* other = nullptr;
        const QByteArray path = (inst.clientDir + QStringLiteral("/Daten/Dok.DB")).toUtf8();
        QCOMPARE(sqlite3_open(path.constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        const int before = inst.interaction.texts().size();
        child<QAction>(*window, QStringLiteral("PD_Move"))->trigger();
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(inst.interaction.texts().size(), before + 1);
        QCOMPARE(inst.dm->TDok.state(), DataSetState::Browse);
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        QVERIFY(dok.findKey({1}));
        QCOMPARE(dok.field(u"NrFirma").asInteger(), 1);
    }

    void copyDocument_data() {
        QTest::addColumn<QString>("closing"); // "OK", "BitBtn2", "close", "Escape"
        QTest::addColumn<QString>("folder");  // "RB_ZEP", "RB_SAME", "RB_OTHER"
        QTest::newRow("OK into Files") << "OK"
                                       << "RB_ZEP";
        QTest::newRow("OK, the folder kept: a bare source lands in Files") << "OK"
                                                                           << "RB_SAME";
        QTest::newRow("OK into another folder") << "OK"
                                                << "RB_OTHER";
        QTest::newRow("abort") << "BitBtn2"
                               << "RB_OTHER";
        QTest::newRow("close box") << "close"
                                   << "RB_ZEP";
        QTest::newRow("Escape") << "Escape"
                                << "RB_SAME";
    }

    // TN07 posts a provisional copy under the target when it shows, on its own table object; only OK
    // keeps it, with its own file under a new number. The height follows the folder choice.
    void copyDocument() {
        QFETCH(QString, closing);
        QFETCH(QString, folder);
        Installation inst;
        const QString files = inst.clientDir + QStringLiteral("/Files/");
        QVERIFY(QDir().mkpath(files));
        QVERIFY(writeBytes(files + QStringLiteral("a.odt"), "Angebot"));
        const QString other = inst.tmp.filePath(QStringLiteral("Ablage extern"));
        QVERIFY(QDir().mkpath(other));
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->setEntryPicker([](const QString&, const QString&, QWidget*) { return 3; });
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(window->locateDocument(1));
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        int whileShown = -1;
        QList<int> heights;
        QString shownTarget;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TN07");
            if (dialog == nullptr)
                return;
            whileShown = recordCount(inst, QStringLiteral("Dok.DB"));
            heights << dialog->height();
            dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Angebot Zeta"));
            dialog->findChild<QRadioButton*>(folder)->click();
            heights << dialog->height();
            if (folder == u"RB_OTHER") {
                auto* dirs = dialog->findChild<QTreeView*>(QStringLiteral("DirBox"));
                auto* model = qobject_cast<QFileSystemModel*>(dirs->model());
                dirs->setCurrentIndex(model->index(other));
            }
            shownTarget = dialog->findChild<QLineEdit*>(QStringLiteral("EditZFile"))->text();
            if (closing == u"OK")
                dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
            else if (closing == u"BitBtn2")
                dialog->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
            else if (closing == u"close")
                dialog->close();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        child<QAction>(*window, QStringLiteral("PD_Copy"))->trigger();
        QCOMPARE(whileShown, before + 1);
        QCOMPARE(heights.first(), 292);
        QCOMPARE(heights.last(), folder == u"RB_OTHER" ? 457 : 292);
        const bool filed = closing == u"OK";
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before + (filed ? 1 : 0));
        const QString expected =
            (folder == u"RB_OTHER" ? other + u'/' : files) + QStringLiteral("Angebot Zeta00001.odt");
        QCOMPARE(shownTarget, expected);
        QCOMPARE(QFileInfo::exists(expected), filed);
        QCOMPARE(inst.dm->dm1().QDok.field(u"Nr").asInteger(), 1); // the source is selected again
        if (filed) {
            Table dok;
            test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
            dok.last();
            QCOMPARE(dok.field(u"Datei").asString(),
                     folder == u"RB_OTHER" ? expected : QStringLiteral("Angebot Zeta00001.odt"));
            QCOMPARE(dok.field(u"NrFirma").asInteger(), 3);
            QCOMPARE(dok.field(u"NrThema").asInteger(), 1);
            QCOMPARE(dok.field(u"Titel").asString(), QStringLiteral("Angebot Zeta"));
            QCOMPARE(dok.field(u"Offen").asInteger(), 1);
            QCOMPARE(dok.field(u"EDatum").asDate(), Clock::today());
            QCOMPARE(readBytes(expected), QByteArray("Angebot"));
        }
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // A copy whose file cannot be made (the source is gone, the target folder is not writable)
    // is reported and leaves neither a record nor a file; the dialog stays open until aborted.
    void failedCopyLeavesNoRecord() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->setEntryPicker([](const QString&, const QString&, QWidget*) { return 3; });
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(window->locateDocument(1));
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        bool stayedOpen = false;
        okThenAbortWhenShown(u"TN07", u"BitBtn2", stayedOpen);
        child<QAction>(*window, QStringLiteral("PD_Copy"))->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before);
        QCOMPARE(inst.interaction.texts(),
                 QStringList{QStringLiteral("Die Datei \"%1/Files/a.odt\" wurde nicht gefunden.").arg(inst.clientDir)});
        QVERIFY(!QFileInfo::exists(inst.clientDir + QStringLiteral("/Files/Angebot00001.odt")));
    }

    void addOneFile_data() {
        QTest::addColumn<QString>("closing"); // "OK", "BtnAbbruch", "close", "Escape"
        QTest::addColumn<QString>("handling");
        QTest::newRow("OK, copied") << "OK"
                                    << "CBCopy";
        QTest::newRow("OK, moved") << "OK"
                                   << "CBMove";
        QTest::newRow("OK, kept") << "OK"
                                  << "CBNone";
        QTest::newRow("abort") << "BtnAbbruch"
                               << "CBMove";
        QTest::newRow("close box") << "close"
                                   << "CBCopy";
        QTest::newRow("Escape") << "Escape"
                                << "CBCopy";
    }

    // "Dokument holen" with one file shows TN05 with its proposals and a provisional record; only OK
    // files the document, and the list then stands on it.
    void addOneFile() {
        QFETCH(QString, closing);
        QFETCH(QString, handling);
        Installation inst;
        const QString files = inst.clientDir + QStringLiteral("/Files/");
        QVERIFY(QDir().mkpath(files));
        const QString source = inst.tmp.filePath(QStringLiteral("Angebot00007.odt"));
        QVERIFY(writeBytes(source, "Preise"));
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Zeta AG"));
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        int whileShown = -1;
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TN05");
            if (dialog == nullptr)
                return;
            whileShown = recordCount(inst, QStringLiteral("Dok.DB"));
            for (const char* name : {"Edit1", "Lbl_Von", "Lbl_Nach"})
                shown << dialog->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
            shown << QString::number(dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->isEnabled());
            dialog->findChild<QRadioButton*>(handling)->click();
            if (closing == u"OK")
                dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
            else if (closing == u"BtnAbbruch")
                dialog->findChild<QPushButton*>(QStringLiteral("BtnAbbruch"))->click();
            else if (closing == u"close")
                dialog->close();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        inst.interaction.setNextFiles({source});
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Holen")), Qt::LeftButton);
        QCOMPARE(whileShown, before + 1);
        QCOMPARE(shown, (QStringList{"Angebot", source, files + QStringLiteral("Angebot00001.odt"), "1"}));
        const bool filed = closing == u"OK";
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before + (filed ? 1 : 0));
        QCOMPARE(QFileInfo::exists(source), !(filed && handling == u"CBMove"));
        QCOMPARE(QFileInfo::exists(files + QStringLiteral("Angebot00001.odt")), filed && handling != u"CBNone");
        if (filed) {
            Query& list = inst.dm->dm1().QDok;
            QCOMPARE(list.field(u"Titel").asString(), QStringLiteral("Angebot"));
            QCOMPARE(list.field(u"Datei").asString(),
                     handling == u"CBNone" ? source : QStringLiteral("Angebot00001.odt"));
            QCOMPARE(inst.dm->TDok.field(u"NrFirma").asInteger(), 3);
            QCOMPARE(inst.dm->TDok.field(u"Offen").asInteger(), 1);
        }
        QCOMPARE(inst.interaction.texts().size(), 1); // the file dialog only
    }

    // TN05 on a "Files" folder that cannot be written: OK reports the failed copy in German and keeps
    // the dialog open; aborting then leaves no record, the file where it was and nothing in "Files".
    void failedAddingLeavesNoRecord() {
        SmallDisk disk(64 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        QVERIFY(disk.remountReadOnly());
        Installation inst;
        QVERIFY(QFile::link(disk.path(), inst.clientDir + QStringLiteral("/Files")));
        const QString source = inst.tmp.filePath(QStringLiteral("Brief.doc"));
        QVERIFY(writeBytes(source, "Brief"));
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Zeta AG"));
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        bool stayedOpen = false;
        okThenAbortWhenShown(u"TN05", u"BtnAbbruch", stayedOpen);
        emit window->documentGrid().OnDragFiles({source});
        QVERIFY(stayedOpen);
        QCOMPARE(inst.interaction.texts(),
                 QStringList{QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2/Files/Brief00001.doc\" kopiert "
                                            "werden: Der Datenträger ist schreibgeschützt.")
                                 .arg(source, inst.clientDir)});
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before);
        QCOMPARE(readBytes(source), QByteArray("Brief"));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Files dropped onto the list: several go through TN051 in one run, two of one name getting
    // consecutive numbers; the list then stands on the last one filed.
    void addSeveralDroppedFiles() {
        Installation inst;
        const QString files = inst.clientDir + QStringLiteral("/Files/");
        QVERIFY(QDir().mkpath(files));
        QVERIFY(QDir().mkpath(inst.tmp.filePath(QStringLiteral("alt"))));
        const QStringList dropped{inst.tmp.filePath(QStringLiteral("Brief.doc")),
                                  inst.tmp.filePath(QStringLiteral("alt/Brief.doc")),
                                  inst.tmp.filePath(QStringLiteral("Foto.jpeg"))};
        for (const QString& path : dropped)
            QVERIFY(writeBytes(path, path.toUtf8()));
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVB")), QStringLiteral("Projekte"));
        child<QTabBar>(*window, QStringLiteral("Tab00"))->setCurrentIndex(1);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVB")), QStringLiteral("Projekte"));
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        int whileShown = -1;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TN051");
            if (dialog == nullptr)
                return;
            whileShown = recordCount(inst, QStringLiteral("Dok.DB"));
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        });
        emit window->documentGrid().OnDragFiles(dropped + QStringList{inst.tmp.path()});
        QCOMPARE(whileShown, before);
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before + 3);
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        dok.setFilterText(QStringLiteral("Offen=0"));
        dok.setFiltered(true);
        QCOMPARE(columnValues(dok, QStringLiteral("Datei")),
                 (QVariantList{"Brief00001.doc", "Brief00002.doc", "Foto00001.jpeg"}));
        QCOMPARE(columnValues(dok, QStringLiteral("NrThema")), (QVariantList{1, 1, 1}));
        QCOMPARE(readBytes(files + QStringLiteral("Brief00002.doc")), dropped[1].toUtf8());
        QCOMPARE(inst.dm->dm1().QDok.field(u"Titel").asString(), QStringLiteral("Foto.jpeg"));
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // Hundreds of dropped files show their progress; "Abbrechen" stops between two files, and what
    // was filed stays filed and listed.
    void manyDroppedFilesCanBeStopped() {
        Installation inst;
        QVERIFY(QDir().mkpath(inst.clientDir + QStringLiteral("/Files")));
        QStringList dropped;
        for (int i = 0; i < 300; ++i) {
            dropped << inst.tmp.filePath(QStringLiteral("Beleg %1.pdf").arg(i));
            QVERIFY(writeBytes(dropped.last(), "Beleg"));
        }
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Zeta AG"));
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        QString progress;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TN051");
            if (dialog == nullptr)
                return;
            auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("Fortschritt"));
            connect(bar, &QProgressBar::valueChanged, dialog, [&, dialog](int value) {
                if (value != 5)
                    return;
                progress = dialog->findChild<QLabel*>(QStringLiteral("LblFortschritt"))->text();
                dialog->findChild<QPushButton*>(QStringLiteral("BtnAbbruch"))->click();
            });
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        });
        emit window->documentGrid().OnDragFiles(dropped);
        QCOMPARE(progress, QStringLiteral("5 von 300 Dateien abgelegt"));
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before + 5);
        QCOMPARE(inst.dm->dm1().QDok.field(u"Titel").asString(), QStringLiteral("Beleg 4.pdf"));
        QCOMPARE(QDir(inst.clientDir + QStringLiteral("/Files")).count(), 2u + 5u);
    }

    // Files dropped onto the list go to filing without the directories among them; without filing
    // the list refuses them. The end of a drag from the list leaves no copy mode behind.
    void droppedFilesAndTheEndOfADrag() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        TDBGrid3& grid = window->documentGrid();
        window->setFileAdder({});
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(!grid.AcceptFiles());
        QList<QStringList> filed;
        window->setFileAdder([&](const QStringList& paths) { filed << paths; });
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Zeta AG"));
        QVERIFY(grid.AcceptFiles());
        const QString file = inst.tmp.filePath(QStringLiteral("Brief an Zeta.odt"));
        QFile(file).open(QIODevice::WriteOnly);
        emit grid.OnDragFiles({inst.tmp.path(), file, inst.clientDir + QStringLiteral("/Daten")});
        emit grid.OnDragFiles({inst.tmp.path()});
        QCOMPARE(filed, QList<QStringList>{QStringList{file}});

        window->setCopyDrag(true);
        grid.setDragCursor(DragCursorCopy);
        emit grid.OnEndDrag(true);
        QVERIFY(!window->copyDrag());
        QCOMPARE(grid.dragCursor(), int(DragCursorMove));
        QVERIFY(!grid.ctrlState());
    }

    // Exported to a chosen folder and imported back: the table and the address tree are read anew and
    // show the addresses twice, the imported ones as top-level entries.
    void dbaseExportAndImportThroughTheToolMenu() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        const QString folder = inst.tmp.filePath(QStringLiteral("export"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = QDir(folder).filePath(QStringLiteral("Adressen.dbf"));
        inst.interaction.setNextDirectory(folder);
        child<QAction>(*window, QStringLiteral("MTool_ExpDBF"))->trigger();
        QCOMPARE(inst.interaction.texts().last(),
                 QStringLiteral("3 Adressen wurden nach \"%1\" exportiert.").arg(file));
        // The names are shown first; No imports nothing, Yes imports the file.
        const QString question = QStringLiteral("Die Datei \"%1\" enthält 3 Adressen. So werden die Namen gelesen:\n\n"
                                                "Alpha GmbH\nMeier Anna\nZeta AG\n\nSollen die Adressen importiert "
                                                "werden?")
                                     .arg(file);
        inst.interaction.setNextFile(file);
        inst.interaction.setNextAnswer(Answer::No);
        child<QAction>(*window, QStringLiteral("MTool_ImpDBF"))->trigger();
        QCOMPARE(inst.interaction.texts().last(), question);
        QCOMPARE(inst.dm->TAdr.recordCount(), 3);
        inst.interaction.setNextFile(file);
        inst.interaction.setNextAnswer(Answer::Yes);
        child<QAction>(*window, QStringLiteral("MTool_ImpDBF"))->trigger();
        QCOMPARE(inst.interaction.texts().mid(inst.interaction.texts().size() - 2),
                 (QStringList{question, QStringLiteral("3 Adressen wurden importiert.")}));
        QCOMPARE(inst.dm->TAdr.recordCount(), 6);
        auto* tva = child<TTreeView2>(*window, QStringLiteral("TVA"));
        QCOMPARE(tva->findItems(QStringLiteral("Meier Anna"), Qt::MatchExactly | Qt::MatchRecursive).size(), 2);
        QCOMPARE(tva->topLevelItem(0)->childCount(), 5);
        QCOMPARE(tva->currentItem(), tva->topLevelItem(0));

        // A second export into the same folder asks first; No keeps the file.
        const QByteArray before = [&] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        inst.interaction.setNextDirectory(folder);
        inst.interaction.setNextAnswer(Answer::No);
        child<QAction>(*window, QStringLiteral("MTool_ExpDBF"))->trigger();
        QCOMPARE(inst.interaction.texts().last(),
                 QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.\nSoll sie überschrieben werden?").arg(file));
        QFile after(file);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }

    // A file that is no dBase table is refused with its message; the tree keeps its entries.
    void dbaseImportOfAForeignFileChangesNothing() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        const QString file = inst.tmp.filePath(QStringLiteral("brief.dbf"));
        QFile foreign(file);
        QVERIFY(foreign.open(QIODevice::WriteOnly) &&
                foreign.write("Sehr geehrte Damen und Herren, dies ist Text.") > 0);
        foreign.close();
        inst.interaction.setNextFile(file);
        child<QAction>(*window, QStringLiteral("MTool_ImpDBF"))->trigger();
        QCOMPARE(
            inst.interaction.texts().last(),
            QStringLiteral("Die Datei \"%1\" ist keine lesbare dBase-Datei: die Kennung am Anfang fehlt.").arg(file));
        QCOMPARE(inst.interaction.shown().last().kind, ScriptedInteraction::Kind::Error);
        QCOMPARE(inst.dm->TAdr.recordCount(), 3);
        QCOMPARE(child<TTreeView2>(*window, QStringLiteral("TVA"))->topLevelItem(0)->childCount(), 2);
    }

    // The help menu and the column dialog's help button open their pages in one help window each.
    void helpMenuAndColumnDialogOpenTheirPages_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::newRow("contents") << "MHelp_View"
                                  << "Inhalt";
        QTest::newRow("tips") << "MHelp_Tips"
                              << "Tips und Tricks";
        QTest::newRow("support") << "MHelp_Support"
                                 << "Support";
    }

    void helpMenuAndColumnDialogOpenTheirPages() {
        QFETCH(QString, item);
        QFETCH(QString, title);
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        child<QAction>(*window, item)->trigger();
        child<QAction>(*window, item)->trigger();
        const QList<HelpWindow*> help = window->findChildren<HelpWindow*>();
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.first()->browser()->documentTitle(), title);
        auto* columns = child<QWidget>(*window, QStringLiteral("TT01"));
        child<QPushButton>(*columns, QStringLiteral("BtnHelp"))->click();
        QCOMPARE(columns->findChild<HelpWindow*>()->browser()->documentTitle(),
                 QStringLiteral("Tabellenspalten anordnen"));
    }

    // The help buttons of the dialogs the tool commands open show their pages over the dialog.
    void toolDialogsOpenTheirHelpPages_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("editDialog");
        QTest::addColumn<QString>("title");
        QTest::newRow("address templates") << "MA_Vorlage" << false << "Adressvorlagen für die Zwischenablage";
        QTest::newRow("application list") << "MTool_Anw" << false << "Anwendungen";
        QTest::newRow("application edit") << "MTool_Anw" << true << "Anwendungen";
    }

    void toolDialogsOpenTheirHelpPages() {
        QFETCH(QString, item);
        QFETCH(bool, editDialog);
        QFETCH(QString, title);
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QWidget* owner = editDialog ? dialog->findChild<QWidget*>(QStringLiteral("TN02")) : dialog;
            QVERIFY(owner != nullptr);
            owner->findChild<QPushButton*>(QStringLiteral("BtnHelp"), Qt::FindDirectChildrenOnly)->click();
            // The page opens over the running modal dialog, so that it can be used.
            if (auto* help = dialog->findChild<HelpWindow*>())
                shown = help->browser()->documentTitle();
            if (item == QStringLiteral("MA_Vorlage"))
                inst.interaction.setNextAnswer(Answer::No); // no current template: not set now
            dialog->reject();
        });
        child<QAction>(*window, item)->trigger();
        QCOMPARE(shown, title);
    }

    void saveCopyProposesTheFileInTheHomeDirectory() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        QDir().mkpath(inst.program.client.FilesDir);
        QFile source(inst.program.client.FilesDir + QStringLiteral("a.odt"));
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.write("Inhalt");
        source.close();
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(inst.dm->dm1().QDok.locate(u"Ext", QStringLiteral("odt")));
        const QString target = inst.tmp.filePath(QStringLiteral("kopie"));
        // The menu twin asks the same; cancelled, it writes nothing.
        inst.interaction.setNextFile(QString());
        child<QAction>(*window, QStringLiteral("MD_Save"))->trigger();
        QCOMPARE(inst.interaction.shown().last().caption, QStringLiteral("Datei \"a.odt\" speichern unter ..."));
        inst.interaction.setNextFile(target);
        child<QAction>(*window, QStringLiteral("PD_Save"))->trigger();
        const auto& shown = inst.interaction.shown().last();
        QCOMPARE(shown.caption, QStringLiteral("Datei \"a.odt\" speichern unter ..."));
        QCOMPARE(shown.text, QDir(QDir::homePath()).filePath(QStringLiteral("a.odt")));
        QCOMPARE(shown.filter, QStringLiteral("*.odt (*.odt);;*.* (*)"));
        QFile copy(target + QStringLiteral(".odt"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("Inhalt"));
    }

    void addressTemplateChoiceIsStored() {
        Installation inst;
        {
            Table templates;
            test::openTable(templates, inst.program.paths.general, QStringLiteral("AdrVorlage.DB"));
            appendRecord(templates, {{"Name", "Brief"}});
            appendRecord(templates, {{"Name", "Fax"}});
        }
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        auto* box = child<QComboBox>(*window, QStringLiteral("BoxAdrVor"));
        const int fax = box->findText(QStringLiteral("Fax"));
        QVERIFY(fax >= 0);
        const int nr = box->itemData(fax).toInt();
        window->SetCurrentAddressTemplate(nr);
        QCOMPARE(box->currentText(), QStringLiteral("Fax"));
        QCOMPARE(ProfileFile(inst.program.client.IniFile).readInteger(u"Adressvorlage", u"Aktuell", -1), nr);
    }

    void largeNoteEditorChangesTheNoteOfTheCurrentDocument() {
        Installation inst;
        auto window = inst.makeWindow();
        QString seen;
        window->setNoteEditorRunner([&seen](const QString& path, QWidget*) {
            QFile file(path);
            if (!file.open(QIODevice::ReadWrite))
                return 0;
            seen = QString::fromUtf8(file.readAll());
            file.resize(0);
            file.write("Neuer Text äöü");
            return 1;
        });
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(inst.dm->dm1().QDok.locate(u"Titel", QStringLiteral("Anruf")));
        QCOMPARE(window->noteEditor().noteText(), QStringLiteral("rief an"));
        child<QToolButton>(*window, QStringLiteral("Btn_D_Notiz"))->click();
        QVERIFY(isQtRichText(seen));
        QTextDocument sent;
        sent.setHtml(seen);
        QCOMPARE(sent.toPlainText(), QStringLiteral("rief an"));
        QCOMPARE(window->noteEditor().noteText(), QStringLiteral("Neuer Text äöü"));
        QVERIFY(window->noteEditor().isModified());
        window->close();
        QCOMPARE(inst.dm->TDok.field(u"Notice").asString(), QStringLiteral("Neuer Text äöü"));
    }

    void unchangedLargeNoteLeavesTheNote() {
        Installation inst;
        auto window = inst.makeWindow();
        window->setNoteEditorRunner([](const QString&, QWidget*) { return 0; });
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(inst.dm->dm1().QDok.locate(u"Titel", QStringLiteral("Anruf")));
        child<QToolButton>(*window, QStringLiteral("Btn_D_Notiz"))->click();
        QCOMPARE(window->noteEditor().noteText(), QStringLiteral("rief an"));
        QVERIFY(!window->noteEditor().isModified());
    }

    // A scratch file that cannot be written says so; the editor is not started and the note stays.
    void unwritableScratchFileIsReported() {
        Installation inst;
        auto window = inst.makeWindow();
        int runs = 0;
        window->setNoteEditorRunner([&runs](const QString&, QWidget*) { return ++runs; });
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(inst.dm->dm1().QDok.locate(u"Titel", QStringLiteral("Anruf")));
        QVERIFY(QDir().mkpath(inst.program.paths.noteScratchFile)); // a directory cannot be written as a file
        child<QToolButton>(*window, QStringLiteral("Btn_D_Notiz"))->click();
        QCOMPARE(runs, 0);
        QVERIFY(inst.interaction.texts().last().contains(inst.program.paths.noteScratchFile));
        QCOMPARE(window->noteEditor().noteText(), QStringLiteral("rief an"));
    }

    void desktopIdNamesServiceAndObjectPath_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("path");
        QTest::newRow("reverse domain") << "org.example.TextEditor.desktop"
                                        << "org.example.TextEditor"
                                        << "/org/example/TextEditor";
        QTest::newRow("dashes") << "org.example.my-app.desktop"
                                << "org.example.my-app"
                                << "/org/example/my_app";
        QTest::newRow("without suffix") << "org.example.Viewer"
                                        << "org.example.Viewer"
                                        << "/org/example/Viewer";
    }
    void desktopIdNamesServiceAndObjectPath() {
        QFETCH(QString, id);
        QFETCH(QString, service);
        QFETCH(QString, path);
        QCOMPARE(applicationBusName(id), service);
        QCOMPARE(applicationObjectPath(id), path);
    }

    void runningApplicationIsHandedTheFile() {
        PrivateBus bus;
        if (bus.address.isEmpty())
            QSKIP("no dbus-daemon on this machine");
        QThread serverThread;
        serverThread.start();
        FakeApplication application;
        application.moveToThread(&serverThread);
        QDBusConnection server = QDBusConnection::connectToBus(bus.address, QStringLiteral("server"));
        QVERIFY(server.registerService(QStringLiteral("org.zep.test.Editor")));
        QVERIFY(server.registerObject(QStringLiteral("/org/zep/test/Editor"), &application,
                                      QDBusConnection::ExportAllSlots));
        QDBusConnection client = QDBusConnection::connectToBus(bus.address, QStringLiteral("client"));
        QObject context;
        QStringList answers;
        const auto answer = [&answers](const char* name) {
            return [&answers, name](bool taken) {
                answers << QString::fromLatin1(name) + u'=' + QString::number(taken);
            };
        };
        QVERIFY(sendFileToDesktopApplication(client, QStringLiteral("org.zep.test.Editor.desktop"),
                                             QStringLiteral("/tmp/Brief an Müller.odt"), false, &context,
                                             answer("editor")));
        QVERIFY(sendFileToDesktopApplication(client, QStringLiteral("org.zep.test.Other.desktop"),
                                             QStringLiteral("/tmp/x.odt"), false, &context, answer("other")));
        QTRY_COMPARE(answers.size(), 2);
        serverThread.quit();
        serverThread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
        answers.sort();
        QCOMPARE(answers, (QStringList{QStringLiteral("editor=1"), QStringLiteral("other=0")}));
        QCOMPARE(application.received(), QStringList{QStringLiteral("file:///tmp/Brief an Müller.odt")});
    }

    // The copy button fills the current template with the selected address; a current number without
    // its template copies nothing.
    void copyAddressToClipboard_data() {
        QTest::addColumn<int>("current"); // -1: the template
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("current template") << -1 << "Meier Anna\r\nPerson: Wahr\r\n";
        QTest::newRow("template gone") << 99 << "vorher";
        QTest::newRow("no template") << 0 << "vorher";
    }
    void copyAddressToClipboard() {
        QFETCH(int, current);
        QFETCH(QString, clipboard);
        Installation inst;
        Table templates;
        test::openTable(templates, inst.program.paths.general, QStringLiteral("AdrVorlage.DB"));
        appendRecord(templates, {{"Name", "Andere"}, {"Adr", "falsch"}});
        const qint64 nr = appendRecord(templates, {{"Name", "Brief"}, {"Adr", "[Name1] [Name2]\r\nPerson: [person]"}});
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        window->SetCurrentAddressTemplate(current < 0 ? int(nr) : current);
        inst.dm->TAdrVor.first();
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("BtnAdrCopy")), Qt::LeftButton);
        QCOMPARE(clipboardText(), clipboard);
    }

    // "Dokument öffnen" takes the register's program, asks among several (Abort opens nothing and
    // copies nothing) and hands a document without program to the desktop.
    void documentDetail_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("button"); // the rule button the user clicks
        QTest::addColumn<QString>("closing");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("tag");
        QTest::addColumn<QVariant>("date");
        const QVariant none;
        const QDate monday(2026, 12, 7);
        const QDate sunday(2026, 12, 13);
        QTest::newRow("weekly, OK") << monday << "RBWoche"
                                    << "BtnOK"
                                    << "W" << QVariant(qint64(6623)) << none;
        // Sunday ends the week that Monday began: the same week number.
        QTest::newRow("weekly on Sunday, OK") << sunday << "RBWoche"
                                              << "BtnOK"
                                              << "W" << QVariant(qint64(6623)) << none;
        QTest::newRow("daily, OK") << monday << "RBTag"
                                   << "BtnOK"
                                   << "T" << QVariant(qint64(46363)) << none;
        QTest::newRow("daily on Sunday, OK") << sunday << "RBTag"
                                             << "BtnOK"
                                             << "T" << QVariant(qint64(46369)) << none;
        // The calendar shows today on a document without a date rule.
        QTest::newRow("date untouched, OK") << monday << "RBDatum"
                                            << "BtnOK"
                                            << "D" << none << QVariant(monday);
        QTest::newRow("weekly, abort") << monday << "RBWoche"
                                       << "BtnAbbruch"
                                       << "" << none << none;
    }

    // TA02 edits the live record: a rule set by the user's click is stored with OK, dropped by abort.
    void documentDetail() {
        QFETCH(QDate, today);
        QFETCH(QString, button);
        QFETCH(QString, closing);
        QFETCH(QString, type);
        QFETCH(QVariant, tag);
        QFETCH(QVariant, date);
        const FixedClock clock(today);
        Installation inst;
        ProfileFile(inst.clientDir + QStringLiteral("/Mand.ini")).writeString(u"Dokument", u"Feld1", u"Aktenzeichen");
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        const qint64 nr = inst.dm->TDok.field(u"Nr").asInteger();
        QString caption;
        bool calendarEnabledBefore = true;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TA02");
            if (dialog == nullptr)
                return;
            caption = dialog->findChild<QLabel*>(QStringLiteral("Feld1"))->text();
            calendarEnabledBefore = dialog->findChild<QWidget*>(QStringLiteral("Kalender"))->isEnabled();
            dialog->findChild<QRadioButton*>(button)->click();
            dialog->findChild<QPushButton*>(closing)->click();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Book")), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Aktenzeichen"));
        QVERIFY(!calendarEnabledBefore);
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        QVERIFY(dok.findKey({nr}));
        QCOMPARE(dok.field(u"WTyp").asString(), type);
        QCOMPARE(dok.field(u"WTag").value(), tag);
        QCOMPARE(dok.field(u"WDatum").value(), date);
        QVERIFY(!inst.dm->TDok.isEditing());
        QCOMPARE(inst.dm->TDok.field(u"Nr").asInteger(), nr);
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // Stepping to the next document posts the edit pending on this one, and the list follows.
    void documentDetailStepsWithPendingEdits() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        child<QToolButton>(*window, QStringLiteral("Btn_D_All"))->click(); // every document of the client
        DataSet& list = inst.dm->dm1().QDok;
        QVERIFY2(list.recordCount() > 1, qPrintable(QString::number(list.recordCount())));
        list.first();
        const qint64 first = inst.dm->TDok.field(u"Nr").asInteger();
        QCOMPARE(first, list.field(u"Nr").asInteger());
        qint64 shownAfterStep = 0;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr && dialog->objectName() == u"TA02");
            auto* title = dialog->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
            title->setFocus();
            title->selectAll();
            QTest::keyClicks(title, QStringLiteral("Neuer Titel"));
            dialog->findChild<QToolButton*>(QStringLiteral("BtnNext"))->click();
            shownAfterStep = inst.dm->TDok.field(u"Nr").asInteger();
            dialog->findChild<QPushButton*>(QStringLiteral("BtnAbbruch"))->click();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Book")), Qt::LeftButton);
        QVERIFY2(
            shownAfterStep != 0 && shownAfterStep != first,
            qPrintable(QStringLiteral("%1 %2 %3").arg(shownAfterStep).arg(first).arg(inst.dm->TDok.recordCount())));
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        QVERIFY(dok.findKey({first}));
        QCOMPARE(dok.field(u"Titel").asString(), QStringLiteral("Neuer Titel"));
        QCOMPARE(inst.dm->TDok.field(u"Nr").asInteger(), shownAfterStep);
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // "Nächster Datensatz" walks the whole list and stops on the last document; back from the first
    // moves nothing.
    void documentDetailStepsToBothEnds() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        auto* tva = child<TTreeView2>(*window, QStringLiteral("TVA"));
        tva->setCurrentItem(tva->topLevelItem(0));
        child<QToolButton>(*window, QStringLiteral("Btn_D_All"))->click(); // every document of the client
        Query& list = inst.dm->dm1().QDok;
        const QStringList all = titles(list);
        QCOMPARE(all.size(), 3);
        list.first();
        QStringList forward, backward;
        int movesBeforeTheFirst = -1;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TA02");
            if (dialog == nullptr)
                return;
            auto* title = dialog->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
            auto* next = dialog->findChild<QToolButton*>(QStringLiteral("BtnNext"));
            auto* previous = dialog->findChild<QToolButton*>(QStringLiteral("BtnPri"));
            for (int i = 0; i < all.size(); ++i) {
                next->click();
                forward << title->text();
            }
            for (int i = 0; i < all.size() - 1; ++i) {
                previous->click();
                backward << title->text();
            }
            const QSignalSpy moves(&list, &DataSet::dataChanged);
            previous->click();
            movesBeforeTheFirst = int(moves.count());
            backward << title->text();
            dialog->findChild<QPushButton*>(QStringLiteral("BtnAbbruch"))->click();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Book")), Qt::LeftButton);
        QCOMPARE(forward, (QStringList{all[1], all[2], all[2]}));
        QCOMPARE(backward, (QStringList{all[1], all[0], all[0]}));
        QCOMPARE(movesBeforeTheFirst, 0);
        QCOMPARE(list.recNo(), 1);
        QCOMPARE(inst.dm->TDok.field(u"Titel").asString(), all[0]);
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    void newNote_data() {
        QTest::addColumn<QString>("closing"); // "OK", "BitBtn2", "close", "Escape"
        QTest::newRow("OK files the note") << "OK";
        QTest::newRow("abort") << "BitBtn2";
        QTest::newRow("close box") << "close";
        QTest::newRow("Escape") << "Escape";
    }

    // TO1 posts a provisional note when it shows; only OK keeps it, completed as a note.
    void newNote() {
        QFETCH(QString, closing);
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        int whileShown = -1;
        bool okEnabled = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TO1");
            if (dialog == nullptr)
                return;
            whileShown = recordCount(inst, QStringLiteral("Dok.DB"));
            okEnabled = dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->isEnabled();
            dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Rückruf"));
            if (closing == u"OK")
                dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
            else if (closing == u"BitBtn2")
                dialog->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
            else if (closing == u"close")
                dialog->close();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_NeuNot")), Qt::LeftButton);
        QCOMPARE(whileShown, before + 1);
        QVERIFY(okEnabled);
        const bool filed = closing == u"OK";
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before + (filed ? 1 : 0));
        if (filed) {
            QCOMPARE(inst.dm->TDok.field(u"Titel").asString(), QStringLiteral("Rückruf"));
            QCOMPARE(inst.dm->TDok.field(u"Ext").asString(), QStringLiteral("---"));
            QCOMPARE(inst.dm->TDok.field(u"Datei").asString(), QStringLiteral("Ablage"));
            QCOMPARE(inst.dm->TDok.field(u"NrFirma").asInteger(), 2);
            QCOMPARE(inst.dm->TDok.field(u"NrThema").asInteger(), -1);
            QCOMPARE(inst.dm->TDok.field(u"Offen").asInteger(), 1);
            QVERIFY(inst.dm->TDok.field(u"EDatum").value().isValid());
            QCOMPARE(inst.dm->dm1().QDok.field(u"Titel").asString(), QStringLiteral("Rückruf"));
        }
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    void newDocument_data() {
        QTest::addColumn<QStringList>("closings");
        QTest::newRow("OK files and opens") << QStringList{"BtnOK"};
        QTest::newRow("abort") << QStringList{"BitBtn2"};
        QTest::newRow("close box") << QStringList{"close"};
        QTest::newRow("Escape") << QStringList{"Escape"};
    }

    // TN04 posts a provisional document when it shows; only OK keeps it, with its copy of the template,
    // and the list then stands on it and opens it. Filing fields edited before an abort leave nothing.
    void newDocument() {
        QFETCH(QStringList, closings);
        Installation inst;
        QStringList calls;
        auto window = newDocumentWindow(inst, calls);
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        const NewDocumentRun run = runNewDocument(*window, inst, QStringLiteral("Angebot"), closings);
        QCOMPARE(inst.interaction.texts(), QStringList());
        QVERIFY(run.shown);
        QCOMPARE(run.recordsWhileShown, before + 1);
        QCOMPARE(run.templates, QStringList{QStringLiteral("Brief.odt")});
        QVERIFY(run.okEnabled);
        QVERIFY(run.artPicked);
        QVERIFY(!run.openAfterOk);
        const bool filed = closings == QStringList{QStringLiteral("BtnOK")};
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before + (filed ? 1 : 0));
        const QString path = inst.clientDir + QStringLiteral("/Files/Angebot00001.odt");
        QCOMPARE(filesOf(inst), filed ? QStringList{QStringLiteral("Angebot00001.odt")} : QStringList());
        if (filed) {
            Query& list = inst.dm->dm1().QDok;
            QCOMPARE(list.field(u"Titel").asString(), QStringLiteral("Angebot"));
            Table dok;
            test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
            QVERIFY(dok.findKey({list.field(u"Nr").asInteger()}));
            QCOMPARE(dok.field(u"Datei").asString(), QStringLiteral("Angebot00001.odt"));
            QCOMPARE(dok.field(u"Ext").asString(), QStringLiteral("odt"));
            QCOMPARE(dok.field(u"Art").asString(), QStringLiteral("Rechnung"));
            QCOMPARE(dok.field(u"NrFirma").asInteger(), 2);
            QCOMPARE(dok.field(u"NrThema").asInteger(), -1);
            QCOMPARE(dok.field(u"Offen").asInteger(), 1);
            QCOMPARE(readBytes(path), readBytes(inst.program.paths.templates + QStringLiteral("/Brief.odt")));
            QCOMPARE(calls, QStringList{inst.tmp.filePath(QStringLiteral("schreib-odt")) + u'|' + path});
        } else {
            QCOMPARE(calls, QStringList());
        }
        // The register follows the current document again.
        QVERIFY(inst.dm->TPro.recordCount() <= 1);
    }

    // Angebot00001.odt is in "Files" already.
    void newDocumentNumbers_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("datei");
        QTest::newRow("next free number") << "Angebot"
                                          << "Angebot00002.odt";
        QTest::newRow("five-digit tail dropped") << "Rechnung 12345"
                                                 << "Rechnung 00001.odt";
        QTest::newRow("five digits kept") << "12345"
                                          << "1234500001.odt";
    }
    void newDocumentNumbers() {
        QFETCH(QString, title);
        QFETCH(QString, datei);
        Installation inst;
        registerTextApplications(inst);
        QDir().mkpath(inst.clientDir + QStringLiteral("/Files"));
        QVERIFY(writeBytes(inst.clientDir + QStringLiteral("/Files/Angebot00001.odt"), "alt"));
        QStringList calls;
        auto window = inst.makeWindow();
        window->setProgramLauncher(std::make_unique<RecordingLauncher>(calls));
        showAndOpen(*window, inst);
        child<QTabBar>(*window, QStringLiteral("Tab00"))->setCurrentIndex(1);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVB")), QStringLiteral("Projekte"));
        const NewDocumentRun run = runNewDocument(*window, inst, title, {QStringLiteral("BtnOK")});
        QCOMPARE(inst.interaction.texts(), QStringList());
        QVERIFY(!run.openAfterOk);
        QCOMPARE(inst.dm->TDok.field(u"Titel").asString(), title);
        QCOMPARE(inst.dm->TDok.field(u"Datei").asString(), datei);
        QCOMPARE(inst.dm->TDok.field(u"NrThema").asInteger(), 1);
        QVERIFY(QFileInfo::exists(inst.clientDir + QStringLiteral("/Files/") + datei));
        QCOMPARE(readBytes(inst.clientDir + QStringLiteral("/Files/Angebot00001.odt")), QByteArray("alt"));
        QCOMPARE(calls.size(), 1);
    }

    void newDocumentFollowsTheApplication_data() {
        QTest::addColumn<int>("application");
        QTest::addColumn<QString>("templates");
        QTest::addColumn<QString>("datei"); // empty: OK stays disabled
        QTest::newRow("odt") << 0 << "Brief.odt"
                             << "Notiz00001.odt";
        QTest::newRow("without templates") << 1 << ""
                                           << "";
        QTest::newRow("txt") << 2 << "Brief.txt"
                             << "Notiz00001.txt";
    }

    // The template list shows the templates of the application chosen in the grid; the document takes
    // that application's extension.
    void newDocumentFollowsTheApplication() {
        QFETCH(int, application);
        QFETCH(QString, templates);
        QFETCH(QString, datei);
        Installation inst;
        QStringList calls;
        auto window = newDocumentWindow(inst, calls);
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        const NewDocumentRun run =
            runNewDocument(*window, inst, QStringLiteral("Notiz"), {QStringLiteral("BtnOK")}, application);
        QCOMPARE(run.templates.join(u'|'), templates);
        QCOMPARE(run.okEnabled, !datei.isEmpty());
        QCOMPARE(run.openAfterOk, datei.isEmpty());
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before + (datei.isEmpty() ? 0 : 1));
        if (!datei.isEmpty()) {
            QCOMPARE(inst.dm->TDok.field(u"Datei").asString(), datei);
            QCOMPARE(inst.dm->TDok.field(u"Ext").asString(), QFileInfo(datei).suffix());
        }
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // "Hinzufügen" of an application without templates leads to TN03 for that application; a template
    // saved meanwhile shows in the list, and OK files a copy of it.
    void newDocumentAddsATemplate() {
        Installation inst;
        QStringList calls;
        auto window = newDocumentWindow(inst, calls);
        const QString saved = inst.program.paths.templates + QStringLiteral("/Mahnung.pdf");
        bool creationShown = false;
        QStringList before;
        QStringList after;
        QTimer::singleShot(0, window.get(), [&] {
            auto* dialog = activeDialogNamed(u"TN04");
            if (dialog == nullptr)
                return;
            dialog->findChild<QListWidget*>(QStringLiteral("Grid"))->setCurrentRow(1);
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("FLB"));
            for (int row = 0; row < list->count(); ++row)
                before << list->item(row)->text();
            QTimer::singleShot(0, dialog, [&] {
                auto* creation = activeDialogNamed(u"TN03");
                if (creation == nullptr)
                    return;
                creationShown = true;
                writeBytes(saved, "%PDF-1.4 Mahnung");
                creation->findChild<QPushButton*>(QStringLiteral("BtnStart"))->click();
            });
            dialog->findChild<QPushButton*>(QStringLiteral("BtnVorNeu"))->click();
            for (int row = 0; row < list->count(); ++row)
                after << list->item(row)->text();
            list->setCurrentRow(0);
            dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Mahnung"));
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_NeuDok")), Qt::LeftButton);
        QVERIFY(creationShown);
        QCOMPARE(before, QStringList());
        QCOMPARE(after, QStringList{QStringLiteral("Mahnung.pdf")});
        const QString program = inst.tmp.filePath(QStringLiteral("schreib-pdf"));
        const QString copy = inst.clientDir + QStringLiteral("/Files/Mahnung00001.pdf");
        QCOMPARE(calls, (QStringList{program + u'|', program + u'|' + copy}));
        QCOMPARE(readBytes(copy), QByteArray("%PDF-1.4 Mahnung"));
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    void newDocumentRefusesTitles_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("slash") << "Briefe/Müller"
                               << "Der Titel darf keinen Schrägstrich \"/\" enthalten, denn er wird Teil des "
                                  "Dateinamens.";
        QTest::newRow("NUL") << QStringLiteral("Brief") + QChar(0) + QStringLiteral("Müller")
                             << "Der Titel darf kein Nullzeichen enthalten, denn er wird Teil des Dateinamens.";
        QTest::newRow("only dots") << ".."
                                   << "Ein Titel nur aus Punkten ergibt keinen Dateinamen. Bitte geben Sie einen "
                                      "anderen Titel ein.";
    }

    // A refused title keeps the dialog open with its message; closing it then leaves nothing behind.
    void newDocumentRefusesTitles() {
        QFETCH(QString, title);
        QFETCH(QString, message);
        Installation inst;
        QStringList calls;
        auto window = newDocumentWindow(inst, calls);
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        const NewDocumentRun run =
            runNewDocument(*window, inst, title, {QStringLiteral("BtnOK"), QStringLiteral("Escape")});
        QVERIFY(run.okEnabled);
        QVERIFY(run.openAfterOk);
        QCOMPARE(inst.interaction.texts(), QStringList{message});
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before);
        QCOMPARE(filesOf(inst), QStringList());
        QCOMPARE(calls, QStringList());
    }

    // A "Files" folder that refuses the copy (read-only, also for root): a message, the dialog stays,
    // and closing it leaves no record.
    void newDocumentFailedCopyLeavesNoRecord() {
        test::SmallDisk disk(64 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        QVERIFY(disk.remountReadOnly());
        Installation inst;
        QVERIFY(QFile::link(disk.path(), inst.clientDir + QStringLiteral("/Files")));
        QStringList calls;
        auto window = newDocumentWindow(inst, calls);
        const int before = recordCount(inst, QStringLiteral("Dok.DB"));
        const NewDocumentRun run = runNewDocument(*window, inst, QStringLiteral("Angebot"),
                                                  {QStringLiteral("BtnOK"), QStringLiteral("BitBtn2")});
        QVERIFY(run.openAfterOk);
        QCOMPARE(
            inst.interaction.texts(),
            QStringList{QStringLiteral("Die Vorlage \"%1/Brief.odt\" konnte nicht nach \"%2/Files/Angebot00001.odt\" "
                                       "kopiert werden. Das Dokument wurde nicht angelegt.")
                            .arg(inst.program.paths.templates, inst.clientDir)});
        QCOMPARE(recordCount(inst, QStringLiteral("Dok.DB")), before);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList());
        QCOMPARE(calls, QStringList());
    }

    // A document filed under an address and a topic, deleted from the address view: TA03 offers no
    // file deletion, only the link to the address goes, and the list no longer shows it there.
    void deleteFromTheAddressViewUnlinks() {
        Installation inst;
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        QCOMPARE(inst.dm->TDok.field(u"Datei").asString(), QStringLiteral("r.pdf"));
        const qint64 nr = inst.dm->TDok.field(u"Nr").asInteger();
        bool shown = false;
        bool fileOffered = true;
        QString title;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TA03");
            if (dialog == nullptr)
                return;
            shown = true;
            fileOffered = !dialog->findChild<QCheckBox*>(QStringLiteral("CB"))->isHidden();
            title = dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text();
            dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Del")), Qt::LeftButton);
        QVERIFY(shown);
        QVERIFY(!fileOffered);
        QCOMPARE(title, QStringLiteral("Rechnung"));
        QVERIFY(!titles(inst.dm->dm1().QDok).contains(QStringLiteral("Rechnung")));
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        QVERIFY(dok.findKey({nr}));
        QCOMPARE(dok.field(u"NrFirma").asInteger(), -1);
        QCOMPARE(dok.field(u"NrThema").asInteger(), 2);
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    void deletionKeepsTheRow_data() {
        QTest::addColumn<int>("deleted"); // the row, from 1
        QTest::addColumn<int>("current"); // the row afterwards, from 1
        QTest::addColumn<int>("shown");   // the row, from 1 before the deletion, of the document shown then
        QTest::newRow("a middle row: the next document moves up into it") << 4 << 4 << 5;
        QTest::newRow("the second-to-last: the last moves up into it") << 7 << 7 << 8;
        QTest::newRow("the last: the new last") << 8 << 7 << 7;
    }

    // After "Dokument löschen" the list stands on the row the deleted document held.
    void deletionKeepsTheRow() {
        QFETCH(int, deleted);
        QFETCH(int, current);
        QFETCH(int, shown);
        const FixedClock clock(QDate(2026, 12, 7));
        Installation inst;
        inst.addResubmissionDocuments();
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->SelectView(2);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVD")), QStringLiteral("Alle"));
        Query& list = inst.dm->dm1().QDok;
        const QStringList before = titles(list);
        QCOMPARE(before.size(), 8);
        list.setRecNo(deleted);
        bool confirmed = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TA03");
            if (dialog == nullptr)
                return;
            dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
            confirmed = true;
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Del")), Qt::LeftButton);
        QVERIFY(confirmed);
        QCOMPARE(list.recNo(), current);
        QCOMPARE(list.field(u"Titel").asString(), before[shown - 1]);
        QCOMPARE(inst.dm->TDok.field(u"Nr").asInteger(), list.field(u"Nr").asInteger());
        QStringList after = before;
        after.removeAt(deleted - 1);
        QCOMPARE(titles(list), after); // walks the list
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // A Datei that is neither a bare name nor a full path: copying, moving, saving a copy, a serial
    // letter and deleting with the file are refused with the reason, and no file is touched, though the
    // working directory leads to one; deleting without the file still removes the record.
    void documentWithARelativeFileIsRefused() {
        Installation inst;
        const QString work = inst.tmp.filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(work) && QDir().mkpath(inst.tmp.filePath(QStringLiteral("outside"))));
        const QString outside = inst.tmp.filePath(QStringLiteral("outside/a.odt"));
        QVERIFY(writeBytes(outside, "fremd"));
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        const auto restore = qScopeGuard([&] { QDir::setCurrent(oldCurrent); });
        const QString trash = inst.tmp.filePath(QStringLiteral("xdg"));
        EnvironmentOverride environment({{"XDG_DATA_HOME", trash.toUtf8()}});
        {
            Table dok;
            test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
            QVERIFY(dok.findKey({1}));
            dok.edit();
            dok.field(u"Datei").setValue(QStringLiteral("../outside/a.odt"));
            dok.field(u"NrThema").setValue(-1);
            dok.post();
        }
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        window->setEntryPicker([](const QString&, const QString&, QWidget*) { return 3; });
        QList<int> copyTargets;
        window->setCopyDialogRunner([&](int target, QWidget*) { copyTargets << target; });
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(window->locateDocument(1));
        for (const char* command : {"PD_Copy", "PD_Move", "PD_Save", "MSer_Word"})
            child<QAction>(*window, QString::fromLatin1(command))->trigger();
        bool stayedOpen = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TA03");
            if (dialog == nullptr)
                return;
            dialog->findChild<QCheckBox*>(QStringLiteral("CB"))->setChecked(true);
            dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
            stayedOpen = dialog->isVisible();
            dialog->findChild<QCheckBox*>(QStringLiteral("CB"))->setChecked(false);
            dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Del")), Qt::LeftButton);

        const QString refusal = QStringLiteral("Die Datei \"../outside/a.odt\" ist weder ein bloßer Name (ohne \"/\") "
                                               "im Ordner \"Files\" des Mandanten noch ein vollständiger Pfad (mit "
                                               "\"/\" am Anfang); ZEP verwendet sie nicht.");
        QCOMPARE(inst.interaction.texts(), QStringList(5, refusal));
        QVERIFY(stayedOpen);
        QCOMPARE(copyTargets, QList<int>());
        QCOMPARE(readBytes(outside), QByteArray("fremd"));
        QVERIFY(!QFileInfo::exists(trash + QStringLiteral("/Trash/files/a.odt")));
        QCOMPARE(QDir(work).entryList(QDir::Files), QStringList());
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        QVERIFY(!dok.findKey({1})); // deleted without its file
    }

    // Deleting with its file a document whose file lies outside "Files" asks first, naming the full
    // path; No leaves the dialog open and everything in place. A file in "Files" goes without a question.
    void deletingAFileOutsideFilesAsks_data() {
        QTest::addColumn<bool>("outsideFiles");
        QTest::addColumn<bool>("yes");
        QTest::newRow("outside, No") << true << false;
        QTest::newRow("outside, Yes") << true << true;
        QTest::newRow("in Files: no question") << false << false;
    }
    void deletingAFileOutsideFilesAsks() {
        QFETCH(bool, outsideFiles);
        QFETCH(bool, yes);
        Installation inst;
        const QString trash = inst.tmp.filePath(QStringLiteral("xdg"));
        EnvironmentOverride environment({{"XDG_DATA_HOME", trash.toUtf8()}});
        const QString file = outsideFiles ? inst.tmp.filePath(QStringLiteral("Ablage extern/Brief.odt"))
                                          : inst.clientDir + QStringLiteral("/Files/Brief.odt");
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QVERIFY(writeBytes(file, "Brief"));
        {
            Table dok;
            test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
            QVERIFY(dok.findKey({1}));
            dok.edit();
            dok.field(u"Datei").setValue(outsideFiles ? file : QStringLiteral("Brief.odt"));
            dok.field(u"NrThema").setValue(-1);
            dok.post();
        }
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Alpha GmbH"));
        QVERIFY(window->locateDocument(1));
        if (outsideFiles)
            inst.interaction.setNextAnswer(yes ? Answer::Yes : Answer::No);
        bool stayedOpen = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TA03");
            if (dialog == nullptr)
                return;
            dialog->findChild<QCheckBox*>(QStringLiteral("CB"))->setChecked(true);
            dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
            stayedOpen = dialog->isVisible();
            if (stayedOpen)
                dialog->findChild<QPushButton*>(QStringLiteral("BitBtn3"))->click();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Del")), Qt::LeftButton);

        const bool deleted = !outsideFiles || yes;
        QCOMPARE(inst.interaction.texts(),
                 outsideFiles ? QStringList{QStringLiteral("Die Datei \"%1\" liegt nicht im Ordner \"Files\" des "
                                                           "Mandanten. Soll sie trotzdem in den Papierkorb verschoben "
                                                           "werden?")
                                                .arg(file)}
                              : QStringList());
        QCOMPARE(stayedOpen, !deleted);
        QCOMPARE(QFileInfo::exists(file), !deleted);
        QCOMPARE(QFileInfo::exists(trash + QStringLiteral("/Trash/files/Brief.odt")), deleted);
        Table dok;
        test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
        QCOMPARE(dok.findKey({1}), !deleted);
    }

    // A bare name typed as "Ziel-Datei" is a file in "Files": the copy is written there, not into the
    // working directory, and Datei names exactly that file.
    void addedFileGoesToABareTypedTargetInFiles() {
        Installation inst;
        const QString files = inst.clientDir + QStringLiteral("/Files/");
        QVERIFY(QDir().mkpath(files));
        const QString work = inst.tmp.filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(work));
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        const auto restore = qScopeGuard([&] { QDir::setCurrent(oldCurrent); });
        const QString source = inst.tmp.filePath(QStringLiteral("Eingang/Preise.odt"));
        QVERIFY(QDir().mkpath(QFileInfo(source).path()));
        QVERIFY(writeBytes(source, "Preise"));
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Zeta AG"));
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TN05");
            if (dialog == nullptr)
                return;
            dialog->findChild<QLineEdit*>(QStringLiteral("Lbl_Nach"))->setText(QStringLiteral("Angebot.odt"));
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        });
        emit window->documentGrid().OnDragFiles({source});

        QCOMPARE(readBytes(files + QStringLiteral("Angebot.odt")), QByteArray("Preise"));
        QCOMPARE(QDir(work).entryList(QDir::Files), QStringList());
        QCOMPARE(inst.dm->dm1().QDok.field(u"Datei").asString(), QStringLiteral("Angebot.odt"));
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // End to end with real processes: a recording program registered for the type, or the desktop's
    // opener (xdg-open in a private home whose mimeapps.list names the recorder), gets the document's
    // exact path, blank and umlaut included, as one argument.
    void openingEndToEnd_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<bool>("registered");
        QTest::newRow("registered program") << "Brief an Müller 1.txt" << true;
        QTest::newRow("the desktop's choice") << "Angebot für Müller 2.odt" << false;
    }

    void openingEndToEnd() {
        QFETCH(QString, datei);
        QFETCH(bool, registered);
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            QSKIP("xdg-open is not installed");
        Installation inst;
        QTemporaryDir home;
        const QString record = home.filePath(QStringLiteral("args"));
        const QString recorder = home.filePath(QStringLiteral("rekorder"));
        QVERIFY(writeExecutable(
            recorder,
            QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '<%s>' \"$a\" >> '%1'; done\n").arg(record)));
        QDir().mkpath(home.filePath(QStringLiteral("data/applications")));
        QDir().mkpath(home.filePath(QStringLiteral("config")));
        QVERIFY(writeBytes(home.filePath(QStringLiteral("data/applications/zep-rekorder.desktop")),
                           QStringLiteral("[Desktop Entry]\nType=Application\nName=Rekorder\nExec=%1 %f\nMimeType="
                                          "text/plain;application/vnd.oasis.opendocument.text;\n")
                               .arg(recorder)
                               .toUtf8()));
        QVERIFY(writeBytes(home.filePath(QStringLiteral("config/mimeapps.list")),
                           "[Default Applications]\ntext/plain=zep-rekorder.desktop\n"
                           "application/vnd.oasis.opendocument.text=zep-rekorder.desktop\n"));
        const QString ext = QFileInfo(datei).suffix();
        {
            Table dok;
            test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
            QVERIFY(dok.locate(u"Datei", QStringLiteral("r.pdf")));
            dok.edit();
            dok.field(u"Datei").setValue(datei);
            dok.field(u"Ext").setValue(ext);
            dok.post();
            if (registered) {
                Table pro;
                test::openTable(pro, inst.program.paths.general, QStringLiteral("Programm.DB"));
                appendRecord(pro, {{"Ext", ext}, {"Titel", "Rekorder"}, {"Anw", recorder}});
            }
        }
        QDir().mkpath(inst.clientDir + QStringLiteral("/Files"));
        const QString document = inst.clientDir + QStringLiteral("/Files/") + datei;
        QVERIFY(writeBytes(document, "Hallo"));
        EnvironmentOverride environment({{"XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8()},
                                         {"XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8()},
                                         {"XDG_CURRENT_DESKTOP", std::nullopt},
                                         {"LC_ALL", "C.UTF-8"},
                                         {"DISPLAY", qgetenv("DISPLAY").isEmpty() ? ":99" : qgetenv("DISPLAY")}});
        auto window = inst.makeWindow();
        // As the window launches: it never waits for the program.
        window->setProgramLauncher(std::make_unique<ProcessLauncher>(opener));
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        QCOMPARE(inst.dm->TDok.field(u"Datei").asString(), datei);
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Open")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(readBytes(record), (u'<' + document + u'>').toUtf8(), 20000);
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // The window hands the document to a running application without waiting for its answer; an
    // application that refuses it later leaves the opening to the registered program.
    void runningApplicationIsNotWaitedFor_data() {
        QTest::addColumn<bool>("takes");
        QTest::newRow("takes the file") << true;
        QTest::newRow("refuses it") << false;
    }
    void runningApplicationIsNotWaitedFor() {
        QFETCH(bool, takes);
        if (sessionBus_.address.isEmpty())
            QSKIP("no dbus-daemon on this machine");
        QThread serverThread;
        serverThread.start();
        HoldingApplication application(takes);
        application.moveToThread(&serverThread);
        const auto stop = qScopeGuard([&] {
            application.answer();
            serverThread.quit();
            serverThread.wait();
            QDBusConnection::disconnectFromBus(QStringLiteral("holding"));
        });
        QDBusConnection server = QDBusConnection::connectToBus(sessionBus_.address, QStringLiteral("holding"));
        QVERIFY(server.registerService(QStringLiteral("org.zep.test.Holding")));
        QVERIFY(server.registerObject(QStringLiteral("/org/zep/test/Holding"), &application,
                                      QDBusConnection::ExportAllSlots));
        Installation inst;
        const QString program = inst.tmp.filePath(QStringLiteral("viewer"));
        QVERIFY(writeBytes(program, "#!/bin/sh\n"));
        {
            Table pro;
            test::openTable(pro, inst.program.paths.general, QStringLiteral("Programm.DB"));
            appendRecord(pro, {{"Ext", "pdf"}, {"Titel", "Viewer"}, {"Anw", program}});
        }
        inst.associations.setFileType(QStringLiteral("pdf"),
                                      {QStringLiteral("application/pdf"), QStringLiteral("PDF")});
        inst.associations.setVerbCommand(QStringLiteral("application/pdf"), DocumentVerb::Open,
                                         {program + QStringLiteral(" %f"), QStringLiteral("%1"),
                                          QStringLiteral("org.zep.test.Holding.desktop"), QString()});
        QVERIFY(QDir().mkpath(inst.clientDir + QStringLiteral("/Files")));
        QVERIFY(writeBytes(inst.clientDir + QStringLiteral("/Files/r.pdf"), "%PDF"));
        QStringList calls;
        auto window = inst.makeWindow();
        window->setProgramLauncher(std::make_unique<RecordingLauncher>(calls));
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Open")), Qt::LeftButton);
        // Back in the window while the application still holds the request, with nothing else started.
        QTRY_VERIFY(application.holding());
        QVERIFY(!application.answered());
        QCOMPARE(calls, QStringList());
        application.answer();
        QTRY_VERIFY(application.answered());
        const QStringList opened{program + u'|' + inst.clientDir + QStringLiteral("/Files/r.pdf")};
        if (takes) {
            // Time for the answer to reach the window, which must not open the document a second time.
            QTest::qWait(300);
            QCOMPARE(calls, QStringList());
        } else {
            QTRY_COMPARE(calls, opened);
        }
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    // When nothing on the desktop opens a document (code 31), the user chooses from the applications
    // that declare its type, or another program; the choice can be remembered in the register, so the
    // next opening uses it without asking.
    void noApplicationOffersAChoice_data() {
        QTest::addColumn<bool>("other");
        QTest::addColumn<bool>("remember");
        QTest::newRow("declared application") << false << false;
        QTest::newRow("declared application, remembered") << false << true;
        QTest::newRow("other application, remembered") << true << true;
    }
    void noApplicationOffersAChoice() {
        QFETCH(bool, other);
        QFETCH(bool, remember);
        Installation inst;
        const QString viewer = inst.tmp.filePath(QStringLiteral("viewer"));
        const QString otherProgram = inst.tmp.filePath(QStringLiteral("anders"));
        QVERIFY(writeExecutable(viewer, QStringLiteral("#!/bin/sh\n")));
        QVERIFY(writeExecutable(otherProgram, QStringLiteral("#!/bin/sh\n")));
        const QString entry = inst.tmp.filePath(QStringLiteral("zep-viewer.desktop"));
        QVERIFY(
            writeBytes(entry, QStringLiteral("[Desktop Entry]\nType=Application\nName=Betrachter\nExec=%1 --zeige %f\n")
                                  .arg(viewer)
                                  .toUtf8()));
        DesktopApplication application;
        application.id = QStringLiteral("zep-viewer.desktop");
        application.entryFile = entry;
        application.name = QStringLiteral("Betrachter");
        application.program = viewer;
        // Declared for the type, but no default: the register stays empty and the desktop opens nothing.
        inst.associations.setApplications(QStringLiteral("pdf"), {application});
        const QString document = inst.clientDir + QStringLiteral("/Files/r.pdf");
        QVERIFY(QDir().mkpath(inst.clientDir + QStringLiteral("/Files")));
        QVERIFY(writeBytes(document, "%PDF"));
        if (other)
            inst.interaction.setNextFile(otherProgram);
        QStringList calls;
        auto window = inst.makeWindow();
        window->setProgramLauncher(std::make_unique<RecordingLauncher>(calls, shell_code::NoAssociation));
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        QStringList offered;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = activeDialogNamed(u"TOeffnenMit");
            if (dialog == nullptr)
                return;
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("LV_Anw"));
            // The declared application is chosen already; "Andere Anwendung..." adds another and chooses it.
            if (other)
                dialog->findChild<QPushButton*>(QStringLiteral("BtnAndere"))->click();
            for (int i = 0; i < list->count(); ++i)
                offered << list->item(i)->text();
            dialog->findChild<QCheckBox*>(QStringLiteral("CB_Merken"))->setChecked(remember);
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
            // A test that finds nothing chosen fails on its checks instead of waiting for ever.
            if (dialog->isVisible())
                dialog->reject();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Open")), Qt::LeftButton);
        QTRY_COMPARE(offered, other ? (QStringList{"Betrachter", "anders"}) : QStringList{"Betrachter"});
        const QString opened = other ? otherProgram + u'|' + document : viewer + QStringLiteral("|--zeige|") + document;
        QTRY_COMPARE(calls, (QStringList{u'|' + document, opened}));
        // The file dialog of "Andere Anwendung..." starts among the programs.
        QCOMPARE(inst.interaction.texts(), other ? QStringList{QStringLiteral("/usr/bin")} : QStringList());
        // Remembered, the register names the choice and the next opening goes straight to it; otherwise
        // the choice is offered again.
        calls.clear();
        bool offeredAgain = false;
        QTimer::singleShot(0, this, [&offeredAgain] {
            if (auto* dialog = activeDialogNamed(u"TOeffnenMit")) {
                offeredAgain = true;
                dialog->reject();
            }
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Open")), Qt::LeftButton);
        QCOMPARE(offeredAgain, !remember);
        QCOMPARE(calls, remember ? QStringList{opened} : QStringList{u'|' + document});
    }

    // "Drucken" hands the document, on the printer confirmed in the print dialog, to the print system (a
    // recording lp on a private PATH), an office document to the office suite's headless print (a
    // recording soffice), and copies the address to the clipboard as opening does. A type nothing
    // prints is refused in German, and the clipboard stays as it was. (Named printers other than the
    // preselected one need a print system with printers; the spooler's own test names one.)
    void printDocument_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("program");       // the recording program reached; empty: none
        QTest::addColumn<QStringList>("arguments"); // %D: the document, %P: the printer option
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("pdf through lp") << "r.pdf"
                                        << "lp" << QStringList{"%P", "%D"} << QStringList{} << "Meier\r\n";
        QTest::newRow("office document through the office")
            << "Angebot.odt"
            << "soffice" << QStringList{"--headless", "%P", "%D"} << QStringList{} << "Meier\r\n";
        QTest::newRow("unprintable type")
            << "k.zip"
            << "" << QStringList{} << QStringList{"Dokumente vom Typ \"Zip-Archiv\" kann ZEP nicht drucken."}
            << "vorher";
    }
    void printDocument() {
        QFETCH(QString, datei);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, messages);
        QFETCH(QString, clipboard);
        Installation inst;
        const QString bin = inst.tmp.filePath(QStringLiteral("bin"));
        const QString record = inst.tmp.filePath(QStringLiteral("record"));
        QVERIFY(QDir().mkpath(bin));
        for (const char* name : {"lp", "soffice"}) {
            QVERIFY(writeExecutable(bin + u'/' + QString::fromLatin1(name),
                                    QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '%1'\n").arg(record)));
        }
        EnvironmentOverride environment({{"PATH", (bin + u':' + qEnvironmentVariable("PATH")).toUtf8()}});
        {
            Table dok;
            test::openTable(dok, inst.clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
            QVERIFY(dok.locate(u"Datei", QStringLiteral("r.pdf")));
            dok.edit();
            dok.field(u"Datei").setValue(datei);
            dok.field(u"Ext").setValue(QFileInfo(datei).suffix().left(3));
            dok.post();
            Table templates;
            test::openTable(templates, inst.program.paths.general, QStringLiteral("AdrVorlage.DB"));
            inst.mandIni().writeInteger(u"Adressvorlage", u"Aktuell",
                                        int(appendRecord(templates, {{"Name", "N"}, {"Adr", "[Name1]"}})));
        }
        const QString document = inst.clientDir + QStringLiteral("/Files/") + datei;
        QVERIFY(QDir().mkpath(inst.clientDir + QStringLiteral("/Files")));
        QVERIFY(writeBytes(document, "Inhalt"));
        if (!program.isEmpty())
            inst.interaction.setNextPrinter([](QPrinter&) { return true; });
        auto window = inst.makeWindow();
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        QCOMPARE(inst.dm->TDok.field(u"Datei").asString(), datei);
        window->SetCurrentAddressTemplate(window->currentAddressTemplate());
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
        child<QAction>(*window, QStringLiteral("PD_Print"))->trigger();
        if (!program.isEmpty()) {
            // The printer the dialog preselects: the system's default, or none without a print system.
            const QString printer = QPrinter().printerName();
            QStringList option{program == u"lp" ? QStringLiteral("-d") : QStringLiteral("--pt"), printer};
            if (printer.isEmpty())
                option = program == u"lp" ? QStringList() : QStringList{QStringLiteral("-p")};
            const qsizetype at = arguments.indexOf(QStringLiteral("%P"));
            arguments.removeAt(at);
            for (const QString& word : std::as_const(option) | std::views::reverse)
                arguments.insert(at, word);
            arguments.replaceInStrings(QStringLiteral("%D"), document);
            QTRY_COMPARE(readBytes(record),
                         (QStringList{bin + u'/' + program} + arguments).join(u'\n').toUtf8() + '\n');
        }
        QCOMPARE(clipboardText(), clipboard);
        QStringList printDialogs;
        QStringList shown;
        for (const ScriptedInteraction::Shown& item : inst.interaction.shown())
            (item.kind == ScriptedInteraction::Kind::Printer ? printDialogs : shown) << item.caption + u'|' + item.text;
        QCOMPARE(printDialogs, program.isEmpty() ? QStringList() : QStringList{QStringLiteral("Drucken|")});
        messages.replaceInStrings(QRegularExpression(QStringLiteral("^")), QStringLiteral("ZEP|"));
        QCOMPARE(shown, messages);
        QVERIFY(!QFile::exists(record) || !program.isEmpty());
    }

    void openDocumentFromTheList_data() {
        QTest::addColumn<int>("programs");
        QTest::addColumn<bool>("chooseOk");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("no program") << 0 << false << "|%F/r.pdf"
                                    << "Meier\r\n";
        QTest::newRow("one program") << 1 << false << "%T/p1|%F/r.pdf"
                                     << "Meier\r\n";
        QTest::newRow("two, OK on the second") << 2 << true << "%T/p2|%F/r.pdf"
                                               << "Meier\r\n";
        QTest::newRow("two, Abort") << 2 << false << ""
                                    << "vorher";
    }
    void openDocumentFromTheList() {
        QFETCH(int, programs);
        QFETCH(bool, chooseOk);
        QFETCH(QString, call);
        QFETCH(QString, clipboard);
        Installation inst;
        {
            Table pro;
            test::openTable(pro, inst.program.paths.general, QStringLiteral("Programm.DB"));
            for (int i = 1; i <= programs; ++i)
                appendRecord(pro, {{"Ext", "pdf"},
                                   {"Titel", QStringLiteral("P%1").arg(i)},
                                   {"Anw", inst.tmp.filePath(QStringLiteral("p%1").arg(i))}});
            Table templates;
            test::openTable(templates, inst.program.paths.general, QStringLiteral("AdrVorlage.DB"));
            ProfileFile(inst.clientDir + QStringLiteral("/Mand.ini"))
                .writeInteger(u"Adressvorlage", u"Aktuell",
                              int(appendRecord(templates, {{"Name", "N"}, {"Adr", "[Name1]"}})));
        }
        for (int i = 1; i <= programs; ++i)
            QFile(inst.tmp.filePath(QStringLiteral("p%1").arg(i))).open(QIODevice::WriteOnly);
        QDir().mkpath(inst.clientDir + QStringLiteral("/Files"));
        QFile(inst.clientDir + QStringLiteral("/Files/r.pdf")).open(QIODevice::WriteOnly);
        QStringList calls;
        auto window = inst.makeWindow();
        window->setProgramLauncher(std::make_unique<RecordingLauncher>(calls));
        showAndOpen(*window, inst);
        selectNode(child<TTreeView2>(*window, QStringLiteral("TVA")), QStringLiteral("Meier Anna"));
        QCOMPARE(inst.dm->TDok.field(u"Datei").asString(), QStringLiteral("r.pdf"));
        window->SetCurrentAddressTemplate(window->currentAddressTemplate());
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
        bool chooserShown = false;
        QTimer::singleShot(0, this, [&chooserShown, chooseOk] {
            auto* dialog = activeDialogNamed(u"TN06");
            if (dialog == nullptr)
                return;
            chooserShown = true;
            dialog->findChild<QListWidget*>(QStringLiteral("DBCtrlGrid1"))->setCurrentRow(1);
            dialog->findChild<QPushButton*>(chooseOk ? QStringLiteral("BitBtn11") : QStringLiteral("BitBtn12"))
                ->click();
        });
        QTest::mouseClick(child<QToolButton>(*window, QStringLiteral("Btn_D_Open")), Qt::LeftButton);
        QCOMPARE(chooserShown, programs > 1);
        call.replace(QStringLiteral("%F"), inst.clientDir + QStringLiteral("/Files"))
            .replace(QStringLiteral("%T"), inst.tmp.path());
        QCOMPARE(calls, call.isEmpty() ? QStringList() : QStringList{call});
        QCOMPARE(clipboardText(), clipboard);
        QCOMPARE(inst.interaction.texts(), QStringList());
    }

    void ddeCommandNobodyAnswersIsNotTaken() {
        if (sessionBus_.address.isEmpty())
            QSKIP("no dbus-daemon on this machine");
        Installation inst;
        MainWindow window;
        bool notTaken = false;
        QVERIFY(window.ExecuteDdeCommand(false, QString(), QStringLiteral("org.zep.test.NotRunning.desktop"),
                                         QStringLiteral("System"), QStringLiteral("%1"), QStringLiteral("/a.txt"),
                                         [&notTaken] { notTaken = true; }));
        QTRY_VERIFY(notTaken);
    }

    void ddeCommandWithoutPlaceholderSendsNothing() {
        if (sessionBus_.address.isEmpty())
            QSKIP("no dbus-daemon on this machine");
        QThread serverThread;
        serverThread.start();
        FakeApplication application;
        application.moveToThread(&serverThread);
        QDBusConnection server = QDBusConnection::connectToBus(sessionBus_.address, QStringLiteral("server"));
        QVERIFY(server.registerService(QStringLiteral("org.example.X")));
        QVERIFY(server.registerObject(QStringLiteral("/org/example/X"), &application, QDBusConnection::ExportAllSlots));
        Installation inst;
        MainWindow window;
        const bool withoutPlaceholder =
            window.ExecuteDdeCommand(true, QStringLiteral("/usr/bin/x"), QStringLiteral("org.example.X.desktop"),
                                     QStringLiteral("System"), QStringLiteral("[Open]"), QStringLiteral("/a.txt"));
        const bool withPlaceholder = window.ExecuteDdeCommand(
            true, QStringLiteral("/usr/bin/x"), QStringLiteral("org.example.X.desktop"), QStringLiteral("System"),
            QStringLiteral("[Open(\"%1\")]"), QStringLiteral("/b.txt"));
        QTRY_COMPARE(application.received(), QStringList{QStringLiteral("file:///b.txt")});
        serverThread.quit();
        serverThread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
        QVERIFY(!withoutPlaceholder);
        QVERIFY(withPlaceholder);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
