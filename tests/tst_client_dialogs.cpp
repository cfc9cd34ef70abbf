#include "app/install_paths.h"
#include "app/program_info.h"
#include "app/registry.h"
#include "app/settings.h"
#include "app/tmand.h"
#include "app/ui/window_placer.h"
#include "clients/client_creation.h"
#include "clients/client_list.h"
#include "clients/client_opening.h"
#include "clients/ui/client_list_dialog.h"
#include "clients/ui/new_client_dialog.h"
#include "data/client_tables.h"
#include "data/table_file.h"
#include "tools/installation_layout.h"

#include "scripted_interaction.h"
#include "test_install.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace zep;
using namespace Qt::StringLiterals;
using zep::test::ScriptedInteraction;

namespace {

// Opens a client whose "Daten" directory exists; anything else lacks its tables (-2).
class FakeClientTables : public ClientTables {
public:
    QStringList openedDirs;
    bool open = false;

    void CloseClientTables() override { open = false; }
    void CloseDocumentQuery() override {}
    void SetClientDataDir(const QString& dir) override { dataDir_ = dir; }
    int OpenClientTables() override {
        open = QFileInfo(dataDir_).isDir();
        if (open)
            openedDirs << dataDir_;
        return open ? 0 : -2;
    }

private:
    QString dataDir_;
};

template <typename T> T* child(QWidget* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (found == nullptr)
        qWarning("no child %s", qPrintable(name));
    return found;
}

QStringList rowsOf(QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + u'|' + list->topLevelItem(i)->text(1);
    return rows;
}

void tick(QWidget* dialog) {
    QVERIFY(QMetaObject::invokeMethod(child<QTimer>(dialog, u"Timer"_s), "timeout"));
}

QString countdownText(QWidget* dialog) {
    return child<QLabel>(dialog, u"SBSeconds"_s)->text();
}

// Types text key by key; QTest::keyClicks takes only ASCII.
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), {});
}

const QString failedWeg = u"Es trat ein Fehler beim Öffnen des Mandanten \"Weg\" auf."_s;

} // namespace

class TestClientDialogs : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listDialogControls();
    void listShowsClientsWithTheLastChosen();
    void emptyListDisablesOKAndDeleteAndStartsNoCountdown();
    void countdownRunsDownAndConfirmsAtTheNextTick_data();
    void countdownRunsDownAndConfirmsAtTheNextTick();
    void keyOrClickStopsTheCountdown_data();
    void keyOrClickStopsTheCountdown();
    void deleteRemovesOnlyTheEntry_data();
    void deleteRemovesOnlyTheEntry();
    void clientThatCannotOpenKeepsTheListOpen();
    void chosenOpenClientIsNotReopened();
    void failedAttemptForgetsTheOpenClient();
    void windowCloseOpensTheClientButIsNotOK();
    void beendenAndEscapeOpenNothing_data();
    void beendenAndEscapeOpenNothing();
    void confirmingWithoutChoiceKeepsTheListOpen();
    void showClientDialogReturnsWhetherOK();
    void listOpensCentredOnTheScreenWhateverItsOwner();

    void newClientDialogControls();
    void pathAndOKFollowTheTyping();
    void directoryButtonUsesThePicker();
    void existingDirectoryQuestion();
    void invalidNameKeepsTheDialogOpen();
    void newButtonCreatesAndListsTheClient();
    void caseVariantOfAListedClient_data();
    void caseVariantOfAListedClient();
    void refusedNameIsSelectedForCorrection();
    void clientCreatedOnANetworkFileSystemIsWarnedOnce();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    Registry registry() const { return Registry(paths_.registryFile); }
    ClientList clients() const { return ClientList(registry(), ProgramKey.toString()); }
    QString addClient(const QString& name);
    std::unique_ptr<ClientListDialog> showList(int countdown);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedInteraction> ui_;
    InstallPaths paths_;
    FakeClientTables tables_;
    TMand client_;
    std::unique_ptr<ClientOpening> opening_;
};

void TestClientDialogs::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    ui_ = std::make_unique<ScriptedInteraction>();
    ensureInstallationLayout(path(u"zep"_s));
    paths_ = InstallPaths::fromDirectory(path(u"zep"_s));
    tables_ = FakeClientTables();
    client_ = TMand();
    opening_ = std::make_unique<ClientOpening>(paths_, registry(), tables_, client_, *ui_,
                                               [this](int n) { return ShowClientDialog(*opening_, n); });
    opening_->setTableUpgrade([](const QString&, const QString&) { return 0; });
}

void TestClientDialogs::cleanup() {
    if (ui_)
        QVERIFY2(ui_->errors().isEmpty(), qPrintable(ui_->errors().join(u'\n')));
    opening_.reset();
    ui_.reset();
}

QString TestClientDialogs::addClient(const QString& name) {
    const QString dir = path(u"clients/"_s + name);
    QDir().mkpath(dir + u"/Daten"_s);
    clients().registerClient(name, dir);
    return dir;
}

std::unique_ptr<ClientListDialog> TestClientDialogs::showList(int countdown) {
    auto dialog = std::make_unique<ClientListDialog>(*opening_, countdown);
    dialog->show();
    return dialog;
}

void TestClientDialogs::listDialogControls() {
    auto dialog = showList(0);
    QCOMPARE(dialog->objectName(), u"TW_Mand"_s);
    QCOMPARE(dialog->windowTitle(), u"Mandanten auswählen"_s);
    auto* list = child<QTreeWidget>(dialog.get(), u"LV"_s);
    QCOMPARE(list->headerItem()->text(0), u"Mandant"_s);
    QCOMPARE(list->headerItem()->text(1), u"Pfad"_s);
    QCOMPARE(list->columnWidth(0), 100);
    QCOMPARE(list->columnWidth(1), 380);
    QCOMPARE(dialog->focusWidget(), list);
    QVERIFY(child<QLabel>(dialog.get(), u"Panel2"_s)->font().bold());
    QCOMPARE(child<QPushButton>(dialog.get(), u"BtnNeu"_s)->text(), u"Neu"_s);
    QCOMPARE(child<QPushButton>(dialog.get(), u"BtnDel"_s)->text(), u"Löschen"_s);
    QCOMPARE(child<QPushButton>(dialog.get(), u"BtnOK"_s)->text(), u"OK"_s);
    QVERIFY(child<QPushButton>(dialog.get(), u"BtnOK"_s)->isDefault());
    QCOMPARE(child<QPushButton>(dialog.get(), u"BtnEnde"_s)->text(), u"Beenden"_s);
    QVERIFY(child<QStatusBar>(dialog.get(), u"SB"_s)->isHidden());
    QCOMPARE(child<QLabel>(dialog.get(), u"SBStart"_s)->text(), u"Automatischer Start in"_s);
    QCOMPARE(child<QLabel>(dialog.get(), u"SBUnit"_s)->text(), u"Sekunden"_s);
    QCOMPARE(child<QTimer>(dialog.get(), u"Timer"_s)->interval(), 1000);
    QVERIFY(!child<QTimer>(dialog.get(), u"Timer"_s)->isActive());
}

void TestClientDialogs::listShowsClientsWithTheLastChosen() {
    const QString schulz = addClient(u"Schulz"_s);
    const QString meier = addClient(u"Meier"_s);
    clients().setLastClient(u"Schulz"_s);
    auto dialog = showList(0);
    auto* list = child<QTreeWidget>(dialog.get(), u"LV"_s);

    QCOMPARE(rowsOf(list), (QStringList{u"Meier|"_s + meier, u"Schulz|"_s + schulz}));
    QCOMPARE(list->currentItem(), list->topLevelItem(1));
    QCOMPARE(child<QLabel>(dialog.get(), u"Panel2"_s)->text(), u"Schulz  "_s + schulz);
    QVERIFY(child<QPushButton>(dialog.get(), u"BtnOK"_s)->isEnabled());
    QVERIFY(child<QPushButton>(dialog.get(), u"BtnDel"_s)->isEnabled());

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
    QCOMPARE(opening_->selection().chosenName, u"Meier"_s);
    QCOMPARE(opening_->selection().chosenDir, meier);
    QCOMPARE(child<QLabel>(dialog.get(), u"Panel2"_s)->text(), u"Meier  "_s + meier);
}

void TestClientDialogs::emptyListDisablesOKAndDeleteAndStartsNoCountdown() {
    auto dialog = showList(5);
    QCOMPARE(child<QTreeWidget>(dialog.get(), u"LV"_s)->topLevelItemCount(), 0);
    QVERIFY(!child<QPushButton>(dialog.get(), u"BtnOK"_s)->isEnabled());
    QVERIFY(!child<QPushButton>(dialog.get(), u"BtnDel"_s)->isEnabled());
    QVERIFY(!child<QTimer>(dialog.get(), u"Timer"_s)->isActive());
    QVERIFY(child<QStatusBar>(dialog.get(), u"SB"_s)->isHidden());
}

void TestClientDialogs::countdownRunsDownAndConfirmsAtTheNextTick_data() {
    QTest::addColumn<int>("seconds");
    QTest::newRow("1") << 1;
    QTest::newRow("15") << 15;
}

void TestClientDialogs::countdownRunsDownAndConfirmsAtTheNextTick() {
    QFETCH(int, seconds);
    const QString meier = addClient(u"Meier"_s);
    clients().setLastClient(u"Meier"_s);
    auto dialog = showList(seconds);
    QVERIFY(child<QStatusBar>(dialog.get(), u"SB"_s)->isVisible());
    QVERIFY(child<QTimer>(dialog.get(), u"Timer"_s)->isActive());

    QStringList shown{countdownText(dialog.get())};
    for (int i = 0; i < seconds; ++i) {
        tick(dialog.get());
        shown << countdownText(dialog.get());
    }
    QStringList expected;
    for (int n = seconds; n >= 0; --n)
        expected << QString::number(n);
    QCOMPARE(shown, expected);
    QVERIFY(dialog->isVisible());
    QVERIFY(tables_.openedDirs.isEmpty());

    tick(dialog.get());
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(tables_.openedDirs, QStringList{meier + u"/Daten"_s});
}

void TestClientDialogs::keyOrClickStopsTheCountdown_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("key");
    QTest::newRow("key in the list") << u"LV"_s << true;
    QTest::newRow("key on the dialog") << QString() << true;
    QTest::newRow("click on the list") << u"LV"_s << false;
    QTest::newRow("click on the panel") << u"Panel2"_s << false;
    QTest::newRow("click on the button panel") << u"Panel1"_s << false;
    QTest::newRow("click on the status bar") << u"SB"_s << false;
}

void TestClientDialogs::keyOrClickStopsTheCountdown() {
    QFETCH(QString, target);
    QFETCH(bool, key);
    addClient(u"Meier"_s);
    clients().setLastClient(u"Meier"_s);
    auto dialog = showList(15);
    tick(dialog.get());
    QWidget* widget = target.isEmpty() ? dialog.get() : child<QWidget>(dialog.get(), target);
    if (auto* list = qobject_cast<QTreeWidget*>(widget); list != nullptr && !key)
        widget = list->viewport();

    if (key)
        QTest::keyClick(widget, Qt::Key_Shift);
    else
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(2, 2));

    QVERIFY(!child<QTimer>(dialog.get(), u"Timer"_s)->isActive());
    QVERIFY(child<QStatusBar>(dialog.get(), u"SB"_s)->isHidden());
    QVERIFY(dialog->isVisible());
    QVERIFY(tables_.openedDirs.isEmpty());
}

void TestClientDialogs::deleteRemovesOnlyTheEntry_data() {
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("OK") << true;
    QTest::newRow("Abort") << false;
}

void TestClientDialogs::deleteRemovesOnlyTheEntry() {
    QFETCH(bool, confirmed);
    const QString meier = addClient(u"Meier"_s);
    const QString schulz = addClient(u"Schulz"_s);
    clients().setLastClient(u"Meier"_s);
    auto dialog = showList(0);
    ui_->setNextAnswer(confirmed ? Answer::Ok : Answer::Abort);

    QTest::mouseClick(child<QPushButton>(dialog.get(), u"BtnDel"_s), Qt::LeftButton);

    QCOMPARE(ui_->texts(), QStringList{u"Der Mandant \"Meier\" wird aus der Liste gelöscht.\r\rDaten auf dem "
                                       "Datenträger bleiben bestehen.\rLöschen Sie die Daten gegebenfalls selbst!"_s});
    QCOMPARE(ui_->shown().first().kind, ScriptedInteraction::Kind::OkAbort);
    const QStringList expected =
        confirmed ? QStringList{u"Schulz|"_s + schulz} : QStringList{u"Meier|"_s + meier, u"Schulz|"_s + schulz};
    QCOMPARE(rowsOf(child<QTreeWidget>(dialog.get(), u"LV"_s)), expected);
    QCOMPARE(clients().listing().clients.size(), expected.size());
    // Nothing is selected once the removed client is gone, so nothing stays chosen.
    QCOMPARE(opening_->selection().chosenName, confirmed ? QString() : u"Meier"_s);
    QVERIFY(QFileInfo(meier + u"/Daten"_s).isDir());
    QVERIFY(dialog->isVisible());
    QVERIFY(tables_.openedDirs.isEmpty());
}

void TestClientDialogs::clientThatCannotOpenKeepsTheListOpen() {
    clients().registerClient(u"Weg"_s, path(u"gibt-es-nicht"_s));
    clients().setLastClient(u"Weg"_s);
    auto dialog = showList(0);

    QTest::mouseClick(child<QPushButton>(dialog.get(), u"BtnOK"_s), Qt::LeftButton);

    QVERIFY(dialog->isVisible());
    QCOMPARE(ui_->texts().last(), failedWeg);
    QVERIFY(!tables_.open);
    QVERIFY(!ui_->infoVisible());
}

void TestClientDialogs::chosenOpenClientIsNotReopened() {
    const QString meier = addClient(u"Meier"_s);
    clients().setLastClient(u"Meier"_s);
    client_.SetClientPaths(u"Meier"_s, meier); // open now
    opening_->selection().openName = u"Meier"_s;
    auto dialog = showList(0);

    QTest::mouseClick(child<QPushButton>(dialog.get(), u"BtnOK"_s), Qt::LeftButton);

    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(tables_.openedDirs.isEmpty());
    QVERIFY(ui_->shown().isEmpty());
}

void TestClientDialogs::failedAttemptForgetsTheOpenClient() {
    const QString meier = addClient(u"Meier"_s);
    clients().registerClient(u"Weg"_s, path(u"gibt-es-nicht"_s));
    clients().setLastClient(u"Weg"_s);
    opening_->selection().openName = u"Meier"_s;
    auto dialog = showList(0);
    QTest::mouseClick(child<QPushButton>(dialog.get(), u"BtnOK"_s), Qt::LeftButton);
    QVERIFY(dialog->isVisible());

    auto* list = child<QTreeWidget>(dialog.get(), u"LV"_s);
    list->setCurrentItem(list->topLevelItem(0));
    QTest::mouseClick(child<QPushButton>(dialog.get(), u"BtnOK"_s), Qt::LeftButton);

    QVERIFY(!dialog->isVisible());
    QCOMPARE(tables_.openedDirs, QStringList{meier + u"/Daten"_s});
}

void TestClientDialogs::windowCloseOpensTheClientButIsNotOK() {
    const QString meier = addClient(u"Meier"_s);
    clients().setLastClient(u"Meier"_s);
    auto dialog = showList(0);

    QVERIFY(dialog->close());

    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(tables_.openedDirs, QStringList{meier + u"/Daten"_s});
}

void TestClientDialogs::beendenAndEscapeOpenNothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Beenden") << false;
    QTest::newRow("Esc") << true;
}

void TestClientDialogs::beendenAndEscapeOpenNothing() {
    QFETCH(bool, escape);
    addClient(u"Meier"_s);
    clients().setLastClient(u"Meier"_s);
    auto dialog = showList(10);

    if (escape)
        QTest::keyClick(child<QTreeWidget>(dialog.get(), u"LV"_s), Qt::Key_Escape);
    else
        QTest::mouseClick(child<QPushButton>(dialog.get(), u"BtnEnde"_s), Qt::LeftButton);

    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(tables_.openedDirs.isEmpty());
    QVERIFY(ui_->shown().isEmpty());
}

void TestClientDialogs::confirmingWithoutChoiceKeepsTheListOpen() {
    addClient(u"Meier"_s);
    clients().setLastClient(u"Weg"_s);
    auto dialog = showList(5);
    QVERIFY(!child<QTimer>(dialog.get(), u"Timer"_s)->isActive());

    QTest::mouseClick(child<QPushButton>(dialog.get(), u"BtnOK"_s), Qt::LeftButton);

    QVERIFY(dialog->isVisible());
    QCOMPARE(ui_->texts(), QStringList{u"Bitte wählen Sie einen Mandanten aus der Liste aus."_s});
    QVERIFY(tables_.openedDirs.isEmpty());
}

void TestClientDialogs::showClientDialogReturnsWhetherOK() {
    const QString meier = addClient(u"Meier"_s);
    clients().setLastClient(u"Meier"_s);
    QTimer::singleShot(0, this, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr && dialog->objectName() == u"TW_Mand"_s);
        QTest::mouseClick(child<QPushButton>(dialog, u"BtnOK"_s), Qt::LeftButton);
    });

    QVERIFY(opening_->OpenClient(ProgramKey.toString(), QString(), -1));

    QCOMPARE(tables_.openedDirs, QStringList{meier + u"/Daten"_s});
    QCOMPARE(client_.ClientName, u"Meier"_s);
}

void TestClientDialogs::listOpensCentredOnTheScreenWhateverItsOwner() {
    WindowPlacer placer;
    qApp->installEventFilter(&placer);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.show();
    owner.setGeometry(QRect(screen.topLeft() + QPoint(10, 10), QSize(300, 200)));
    QCoreApplication::processEvents();
    ClientListDialog dialog(*opening_, -1, &owner);
    dialog.show();
    const QPoint offCentre = dialog.frameGeometry().center() - screen.center();
    QVERIFY2(offCentre.manhattanLength() <= 2, qPrintable(u"%1,%2"_s.arg(offCentre.x()).arg(offCentre.y())));
}

void TestClientDialogs::newClientDialogControls() {
    const ClientCreation creation(paths_, clients(), *ui_);
    NewClientDialog dialog(creation, u"/home/büro"_s);
    QCOMPARE(dialog.objectName(), u"TW_MandNeu"_s);
    QCOMPARE(dialog.windowTitle(), u"Einen neuen Mandanten anlegen"_s);
    QCOMPARE(child<QLineEdit>(&dialog, u"Edit_Mand"_s)->maxLength(), 8);
    QCOMPARE(child<QLineEdit>(&dialog, u"Edit_Verz"_s)->text(), u"/home/büro"_s);
    QVERIFY(child<QLineEdit>(&dialog, u"Edit_MandPath"_s)->isReadOnly());
    QCOMPARE(child<QPushButton>(&dialog, u"BtnVerz"_s)->text(), u"..."_s);
    QVERIFY(!child<QPushButton>(&dialog, u"BtnOK"_s)->isEnabled());
    QCOMPARE(child<QPushButton>(&dialog, u"BitBtn12"_s)->text(), u"Abbrechen"_s);
}

void TestClientDialogs::pathAndOKFollowTheTyping() {
    const ClientCreation creation(paths_, clients(), *ui_);
    NewClientDialog dialog(creation, u"/daten"_s);
    dialog.show();
    auto* name = child<QLineEdit>(&dialog, u"Edit_Mand"_s);
    auto* result = child<QLineEdit>(&dialog, u"Edit_MandPath"_s);
    auto* ok = child<QPushButton>(&dialog, u"BtnOK"_s);
    QCOMPARE(result->text(), u"/daten/"_s);

    typeText(name, u"Mü"_s);
    QCOMPARE(result->text(), u"/daten/Mü"_s);
    QVERIFY(ok->isEnabled());
    QTest::keyClicks(name, u"ller12345"_s);
    QCOMPARE(name->text(), u"Müller12"_s);
    QCOMPARE(result->text(), u"/daten/Müller12"_s);

    auto* parent = child<QLineEdit>(&dialog, u"Edit_Verz"_s);
    parent->clear();
    QTest::keyClicks(parent, u"/neu/"_s);
    QCOMPARE(result->text(), u"/neu//Müller12"_s);

    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(result->text(), u"/neu//"_s);
    QVERIFY(!ok->isEnabled());
}

void TestClientDialogs::directoryButtonUsesThePicker() {
    const ClientCreation creation(paths_, clients(), *ui_);
    NewClientDialog dialog(creation, u"/daten"_s);
    QTest::keyClicks(child<QLineEdit>(&dialog, u"Edit_Mand"_s), u"Meier"_s);
    ui_->setNextDirectory(u"/gewählt"_s);

    QTest::mouseClick(child<QPushButton>(&dialog, u"BtnVerz"_s), Qt::LeftButton);

    QCOMPARE(ui_->shown().first().kind, ScriptedInteraction::Kind::Directory);
    QCOMPARE(ui_->shown().first().text, u"/daten"_s);
    QCOMPARE(child<QLineEdit>(&dialog, u"Edit_Verz"_s)->text(), u"/gewählt"_s);
    QCOMPARE(child<QLineEdit>(&dialog, u"Edit_MandPath"_s)->text(), u"/gewählt/Meier"_s);
}

void TestClientDialogs::existingDirectoryQuestion() {
    test::createClientTables(path(u"Alt/Daten"_s));
    const ClientCreation creation(paths_, clients(), *ui_);
    NewClientDialog dialog(creation, dir_->path());
    dialog.show();
    QTest::keyClicks(child<QLineEdit>(&dialog, u"Edit_Mand"_s), u"Alt"_s);
    ui_->setNextAnswer(Answer::Yes);

    QTest::mouseClick(child<QPushButton>(&dialog, u"BtnOK"_s), Qt::LeftButton);

    QCOMPARE(ui_->texts(), QStringList{u"Das Verzeichnis \"%1\" existiert bereits!!!\n\r\n\rEs werden keine neuen "
                                       "Tabellen angelegt\n\r\n\r\n\rSoll der Mandant trotzdem in die Liste "
                                       "aufgenommen werden?"_s.arg(path(u"Alt"_s))});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(clients().directoryOf(u"Alt"_s), path(u"Alt"_s));
    QCOMPARE(QDir(path(u"Alt"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"Daten"_s});
}

void TestClientDialogs::invalidNameKeepsTheDialogOpen() {
    const ClientCreation creation(paths_, clients(), *ui_);
    NewClientDialog dialog(creation, dir_->path());
    dialog.show();
    QTest::keyClicks(child<QLineEdit>(&dialog, u"Edit_Mand"_s), u"a=b"_s);

    QTest::mouseClick(child<QPushButton>(&dialog, u"BtnOK"_s), Qt::LeftButton);

    QVERIFY(dialog.isVisible());
    QCOMPARE(ui_->shown().size(), 1);
    QCOMPARE(ui_->shown().first().kind, ScriptedInteraction::Kind::Warning);
    QVERIFY(!QFileInfo::exists(path(u"a=b"_s)));
    QVERIFY(clients().listing().clients.isEmpty());
}

void TestClientDialogs::newButtonCreatesAndListsTheClient() {
    auto dialog = showList(0);
    ui_->setNextAnswer(Answer::Ok);
    QString proposed;
    QTimer::singleShot(0, this, [&] {
        QWidget* newClient = QApplication::activeModalWidget();
        QVERIFY(newClient != nullptr && newClient->objectName() == u"TW_MandNeu"_s);
        auto* parent = child<QLineEdit>(newClient, u"Edit_Verz"_s);
        proposed = parent->text();
        parent->setText(dir_->path());
        QTest::keyClicks(child<QLineEdit>(newClient, u"Edit_Mand"_s), u"Neu1"_s);
        QTest::mouseClick(child<QPushButton>(newClient, u"BtnOK"_s), Qt::LeftButton);
    });

    QTest::mouseClick(child<QPushButton>(dialog.get(), u"BtnNeu"_s), Qt::LeftButton);

    const QString clientDir = path(u"Neu1"_s);
    QCOMPARE(proposed, paths_.root);
    QCOMPARE(ui_->texts(), QStringList{u"Der Mandant \"Neu1\" wird nun angelegt, Tabellen werden generiert"_s});
    QCOMPARE(rowsOf(child<QTreeWidget>(dialog.get(), u"LV"_s)), QStringList{u"Neu1|"_s + clientDir});
    QVERIFY(QFileInfo(clientDir + u"/Files"_s).isDir());
    QVERIFY(QFileInfo(clientDir + u"/Sicherung"_s).isDir());
    QVERIFY(QFileInfo(clientDir + u"/Mand.ini"_s).isFile());
    QVERIFY(readTableLayout(clientDir + u"/Daten/Dok.DB"_s).fieldIndex(u"VV34") >= 0);
    QVERIFY(dialog->isVisible());
    QCOMPARE(opening_->selection().chosenName, u"Neu1"_s); // ready to be opened with OK
}

void TestClientDialogs::caseVariantOfAListedClient_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("openClient");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("declined") << u"muster"_s << QString() << QList<Answer>{Answer::No} << false;
    QTest::newRow("agreed") << u"muster"_s << QString() << QList<Answer>{Answer::Yes, Answer::Ok} << true;
    QTest::newRow("listed client is open") << u"muster"_s << u"MUSTER"_s << QList<Answer>{} << false;
    QTest::newRow("same spelling, declined") << u"Muster"_s << QString() << QList<Answer>{Answer::No} << false;
}

void TestClientDialogs::caseVariantOfAListedClient() {
    QFETCH(QString, typed);
    QFETCH(QString, openClient);
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, replaced);
    const QString listedDir = addClient(u"Muster"_s);
    for (Answer answer : answers)
        ui_->setNextAnswer(answer);
    const ClientCreation creation(paths_, clients(), *ui_, openClient);
    NewClientDialog dialog(creation, dir_->path());
    dialog.show();
    QTest::keyClicks(child<QLineEdit>(&dialog, u"Edit_Mand"_s), typed);

    QTest::mouseClick(child<QPushButton>(&dialog, u"BtnOK"_s), Qt::LeftButton);

    const QString first = ui_->texts().value(0);
    const QString caseNote = typed == u"Muster"_s ? QString()
                                                  : u" Groß- und Kleinschreibung werden bei Mandantennamen nicht "
                                                    "unterschieden."_s;
    if (openClient.isEmpty()) {
        QCOMPARE(first, u"Der Mandant \"Muster\" im Verzeichnis \"%1\" steht bereits in der Liste.%2\r\rSoll dieser "
                        "Eintrag ersetzt werden? Das Verzeichnis \"%1\" bleibt auf dem Datenträger bestehen."_s.arg(
                            listedDir, caseNote));
        QCOMPARE(ui_->shown().first().kind, ScriptedInteraction::Kind::YesNo);
    } else {
        QCOMPARE(ui_->texts(), QStringList{u"Der Mandant \"Muster\" ist geöffnet und kann nicht ersetzt "
                                           "werden.\rBitte wählen Sie einen anderen Namen."_s});
    }
    QCOMPARE(dialog.isVisible(), !replaced);
    QCOMPARE(QFileInfo::exists(path(u"muster"_s)), replaced);
    const ClientListing listing = clients().listing();
    QCOMPARE(listing.clients.size(), 1);
    QCOMPARE(listing.clients.first().name, replaced ? u"muster"_s : u"Muster"_s);
    QCOMPARE(listing.clients.first().directory, replaced ? path(u"muster"_s) : listedDir);
}

void TestClientDialogs::refusedNameIsSelectedForCorrection() {
    const ClientCreation creation(paths_, clients(), *ui_);
    NewClientDialog dialog(creation, dir_->path());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* name = child<QLineEdit>(&dialog, u"Edit_Mand"_s);
    QTest::keyClicks(name, u"a/b"_s);
    QTest::mouseClick(child<QPushButton>(&dialog, u"BtnOK"_s), Qt::LeftButton);

    QCOMPARE(QApplication::focusWidget(), name);
    QCOMPARE(name->selectedText(), u"a/b"_s);
    QTest::keyClicks(name, u"ab"_s);
    QCOMPARE(name->text(), u"ab"_s);
}

// Created on a network file system: one warning after the creation, remembered in the client's
// settings, so that opening it afterwards does not warn again; nothing is refused.
void TestClientDialogs::clientCreatedOnANetworkFileSystemIsWarnedOnce() {
    ClientCreation creation(paths_, clients(), *ui_);
    QStringList checked;
    creation.setNetworkFileSystemCheck([&](const QString& dir) {
        checked << dir;
        return true;
    });
    NewClientDialog dialog(creation, dir_->path());
    dialog.show();
    QTest::keyClicks(child<QLineEdit>(&dialog, u"Edit_Mand"_s), u"Netz"_s);
    ui_->setNextAnswer(Answer::Ok);

    QTest::mouseClick(child<QPushButton>(&dialog, u"BtnOK"_s), Qt::LeftButton);

    const QString clientDir = path(u"Netz"_s);
    QCOMPARE(checked, QStringList{clientDir});
    QCOMPARE(ui_->shown().size(), 2);
    QCOMPARE(ui_->shown().at(1).kind, ScriptedInteraction::Kind::Warning);
    QVERIFY(ui_->shown().at(1).text.startsWith(u"Der Mandant \"Netz\" liegt auf einem Netzlaufwerk."_s));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(clients().directoryOf(u"Netz"_s), clientDir);
    QVERIFY(ClientSettings(clientDir + u"/Mand.ini"_s).networkWarningOff());
}

QTEST_MAIN(TestClientDialogs)
#include "tst_client_dialogs.moc"
