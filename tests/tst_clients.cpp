#include "app/install_paths.h"
#include "app/program_info.h"
#include "app/registry.h"
#include "app/safe_file.h"
#include "app/settings.h"
#include "app/tmand.h"
#include "clients/client_creation.h"
#include "clients/client_list.h"
#include "clients/client_names.h"
#include "clients/client_opening.h"
#include "data/client_tables.h"
#include "data/engine_error.h"
#include "data/schema.h"
#include "data/table_file.h"
#include "file_bytes.h"
#include "tools/installation_layout.h"

#include "scripted_interaction.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace zep;
using zep::test::readBytes;
using namespace Qt::StringLiterals;
using zep::test::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

const QString clientsKey = QStringLiteral("SOFTWARE\\MORVEN\\ZEP\\Mandanten");

bool hasVersionMarker(const QString& tablePath) {
    return QFileInfo::exists(tablePath) && readTableLayout(tablePath).fieldIndex(u"VV34") >= 0;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Client tables that open like the data module's: all four tables of the data directory must be there
// and carry the version marker, else -2. A queue of results, when filled, answers first.
class FakeClientTables : public ClientTables {
public:
    QStringList calls;
    QList<int> results;
    bool failOnClose = false;
    bool open = false;

    void CloseClientTables() override {
        calls << QStringLiteral("close");
        open = false;
        if (failOnClose)
            throw EngineError(QStringLiteral("Tabelle Adressen.DB ist gesperrt."));
    }
    void CloseDocumentQuery() override { calls << QStringLiteral("closeQuery"); }
    void SetClientDataDir(const QString& dir) override {
        calls << QStringLiteral("dir ") + dir;
        dataDir_ = dir;
    }
    int OpenClientTables() override {
        calls << QStringLiteral("open");
        const int result = results.isEmpty() ? tablesResult() : results.takeFirst();
        open = result == 0;
        return result;
    }

private:
    int tablesResult() const {
        for (const TableLayout* layout : schema::clientTables()) {
            if (!hasVersionMarker(QDir(dataDir_).filePath(layout->name)))
                return -2;
        }
        return 0;
    }

    QString dataDir_;
};

// Records whether the opening notice was still visible when a message appeared.
class WatchedInteraction : public ScriptedInteraction {
public:
    QList<bool> infoAtMessage;

    void information(const QString& text, const QString& caption) override {
        infoAtMessage << infoVisible();
        ScriptedInteraction::information(text, caption);
    }
    void error(const QString& text, const QString& caption) override {
        infoAtMessage << infoVisible();
        ScriptedInteraction::error(text, caption);
    }
};

QString notice(const QString& name) {
    return QStringLiteral("Öffne Mandanten \"%1\"\n\r\n\rBitte warten...").arg(name);
}

QString failure(const QString& name) {
    return QStringLiteral("Es trat ein Fehler beim Öffnen des Mandanten \"%1\" auf.").arg(name);
}

const QString wrongVersion = QStringLiteral("Falsche Datenbankversion !\n\r\n\rDatenbank wird nun aktualisiert");

} // namespace

class TestClients : public QObject {
    Q_OBJECT

private slots:
    void init();

    void listIsSortedWithTheLastClientMarked();
    void listWithoutClientsKeyIsEmpty();
    void lastClientMissingFromTheListMarksNoRow();
    void namesDifferingInCaseAreOneClient();
    void removingTouchesOnlyTheEntry();
    void unnamedClientHasNoDirectory();

    void clientDirectoryIsParentSlashName_data();
    void clientDirectoryIsParentSlashName();
    void clientNamesTheRegistryCanHold_data();
    void clientNamesTheRegistryCanHold();
    void parentDirectoryMustBeAbsolute_data();
    void parentDirectoryMustBeAbsolute();

    void newClientGetsDirectoriesTablesSettingsAndEntry();
    void newClientDeclinedCreatesNothing();
    void existingDirectoryIsOnlyRegistered_data();
    void existingDirectoryIsOnlyRegistered();
    void existingDirectoryWithoutTablesIsNotRegistered_data();
    void existingDirectoryWithoutTablesIsNotRegistered();
    void failedCopyLeavesNoDirectoryAndARetryCreates();
    void directoriesThatCannotBeCreatedStopEverything_data();
    void directoriesThatCannotBeCreatedStopEverything();
    void missingTemplateIsReportedAndNotRegistered();
    void templateLackingATableIsReportedAndNotRegistered_data();
    void templateLackingATableIsReportedAndNotRegistered();
    void unwritableRegistryIsReported();
    void fullDiskAtRegistrationIsReportedWithCause();

    void lastClientOpensWithoutTheList();
    void lastClientThatFailsShowsTheList();
    void noLastClientShowsTheListAndOpensNothing();
    void countdownAndListModesReachTheDialog_data();
    void countdownAndListModesReachTheDialog();
    void chosenOpenClientIsNotReopened_data();
    void chosenOpenClientIsNotReopened();
    void secondAttemptOpensAnew();
    void sameNameElsewhereIsOpenedAnew();
    void emptyChoiceIsNeverOpen();
    void tableErrorClosesTablesAndIsReported();
    void oldTablesAreUpgradedAndOpened_data();
    void oldTablesAreUpgradedAndOpened();
    void escapingErrorIsPassedOnAfterTheNotice();
    void attemptShowsAnEscapingError();
    void oldTablesOnDiskAreUpgradedByTheLibrary();
    void networkFileSystemIsWarnedOnce_data();
    void networkFileSystemIsWarnedOnce();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    Registry registry() const { return Registry(paths_.registryFile); }
    ClientList clients() const { return ClientList(registry(), ProgramKey.toString()); }
    ClientCreation creation(Interaction& ui) const { return ClientCreation(paths_, clients(), ui); }
    // A registered client with current tables in its "Daten" directory.
    QString addClient(const QString& name);
    std::unique_ptr<ClientOpening> opening(Interaction& ui, ClientOpening::ClientDialog dialog);

    std::unique_ptr<QTemporaryDir> dir_;
    InstallPaths paths_;
    FakeClientTables tables_;
    TMand client_;
    QList<int> dialogCalls_;
};

void TestClients::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    ensureInstallationLayout(path(QStringLiteral("zep")));
    paths_ = InstallPaths::fromDirectory(path(QStringLiteral("zep")));
    tables_ = FakeClientTables();
    client_ = TMand();
    dialogCalls_.clear();
}

QString TestClients::addClient(const QString& name) {
    const QString dir = path(QStringLiteral("clients/") + name);
    test::createClientTables(dir + QStringLiteral("/Daten"));
    clients().registerClient(name, dir);
    return dir;
}

std::unique_ptr<ClientOpening> TestClients::opening(Interaction& ui, ClientOpening::ClientDialog dialog) {
    return std::make_unique<ClientOpening>(paths_, registry(), tables_, client_, ui, std::move(dialog));
}

void TestClients::listIsSortedWithTheLastClientMarked() {
    registry().writeString(clientsKey, u"zeta", u"/z");
    registry().writeString(clientsKey, u"Ärzte", u"/a2");
    registry().writeString(clientsKey, u"", u"berta");
    registry().writeString(clientsKey, u"Berta", u"/b");
    registry().writeString(clientsKey, u"anton", u"/a1");

    const ClientListing listing = clients().listing();
    QStringList names, dirs;
    for (const ClientEntry& entry : listing.clients) {
        names << entry.name;
        dirs << entry.directory;
    }
    QCOMPARE(names, (QStringList{u"anton"_s, u"Ärzte"_s, u"Berta"_s, u"zeta"_s}));
    QCOMPARE(dirs, (QStringList{u"/a1"_s, u"/a2"_s, u"/b"_s, u"/z"_s}));
    QCOMPARE(listing.lastClientRow, 2);
    QCOMPARE(clients().lastClient(), u"berta"_s);
}

void TestClients::listWithoutClientsKeyIsEmpty() {
    const ClientListing listing = clients().listing();
    QVERIFY(listing.clients.isEmpty());
    QCOMPARE(listing.lastClientRow, -1);
    QVERIFY(!QFileInfo::exists(paths_.registryFile));
}

void TestClients::lastClientMissingFromTheListMarksNoRow() {
    addClient(QStringLiteral("Meier"));
    clients().setLastClient(QStringLiteral("Weg"));
    QCOMPARE(clients().listing().lastClientRow, -1);
}

void TestClients::namesDifferingInCaseAreOneClient() {
    QVERIFY(clients().registerClient(QStringLiteral("Meier"), QStringLiteral("/daten/meier")));
    QVERIFY(clients().registerClient(QStringLiteral("MEIER"), QStringLiteral("/daten/MEIER")));
    const ClientListing listing = clients().listing();
    QCOMPARE(listing.clients.size(), 1);
    QCOMPARE(listing.clients.first().name, u"MEIER"_s);
    QCOMPARE(listing.clients.first().directory, u"/daten/MEIER"_s);
    QCOMPARE(clients().directoryOf(QStringLiteral("meier")), u"/daten/MEIER"_s);
}

void TestClients::removingTouchesOnlyTheEntry() {
    const QString meier = addClient(QStringLiteral("Meier"));
    addClient(QStringLiteral("Schulz"));
    clients().setLastClient(QStringLiteral("Meier"));
    QVERIFY(clients().remove(QStringLiteral("meier")));

    const ClientListing listing = clients().listing();
    QCOMPARE(listing.clients.size(), 1);
    QCOMPARE(listing.clients.first().name, u"Schulz"_s);
    QVERIFY(QFileInfo::exists(meier + QStringLiteral("/Daten/Adressen.DB")));
    QCOMPARE(clients().lastClient(), u"Meier"_s);
}

void TestClients::unnamedClientHasNoDirectory() {
    clients().setLastClient(QStringLiteral("Meier"));
    QVERIFY(clients().directoryOf(QString()).isEmpty());
    QVERIFY(!clients().registerClient(QString(), QStringLiteral("/x")));
    QCOMPARE(clients().lastClient(), u"Meier"_s);
}

void TestClients::clientDirectoryIsParentSlashName_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << u"/home/büro"_s << u"/home/büro/Meier"_s;
    QTest::newRow("parent ends in slash") << u"/home/"_s << u"/home//Meier"_s;
    QTest::newRow("root") << u"/"_s << u"//Meier"_s;
}

void TestClients::clientDirectoryIsParentSlashName() {
    QFETCH(QString, parent);
    QFETCH(QString, expected);
    QCOMPARE(clientDirectory(parent, QStringLiteral("Meier")), expected);
}

void TestClients::clientNamesTheRegistryCanHold_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << u"Meier"_s << true;
    QTest::newRow("umlaut") << u"Müller"_s << true;
    QTest::newRow("inner blank and dot") << u"A. Meier"_s << true;
    QTest::newRow("semicolon inside") << u"A;B"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("leading blank") << u" Meier"_s << false;
    QTest::newRow("trailing blank") << u"Meier "_s << false;
    QTest::newRow("equals") << u"a=b"_s << false;
    QTest::newRow("at") << u"@"_s << false;
    QTest::newRow("at inside") << u"a@b"_s << false;
    QTest::newRow("open bracket") << u"[Meier"_s << false;
    QTest::newRow("close bracket") << u"Mei]er"_s << false;
    QTest::newRow("leading semicolon") << u";Meier"_s << false;
    QTest::newRow("line feed") << u"Mei\ner"_s << false;
    QTest::newRow("carriage return") << u"Mei\rer"_s << false;
    QTest::newRow("tab") << u"Mei\ter"_s << false;
    QTest::newRow("slash") << u"a/b"_s << false;
    QTest::newRow("dot") << u"."_s << false;
    QTest::newRow("dot dot") << u".."_s << false;
}

// A valid name is registered exactly as typed; an invalid one is refused, the dialog stays open and
// nothing is created.
void TestClients::clientNamesTheRegistryCanHold() {
    QFETCH(QString, name);
    QFETCH(bool, valid);
    ScriptedInteraction ui;
    if (valid)
        ui.setNextAnswer(Answer::Ok);
    const QString parent = path(QStringLiteral("clients"));
    QVERIFY(QDir().mkpath(parent));

    QCOMPARE(creation(ui).confirm(parent, name), valid);

    const ClientListing listing = clients().listing();
    if (valid) {
        QCOMPARE(listing.clients.size(), 1);
        QCOMPARE(listing.clients.first().name, name);
        QCOMPARE(listing.clients.first().directory, parent + u'/' + name);
        QVERIFY(QFileInfo(parent + u'/' + name + QStringLiteral("/Daten")).isDir());
    } else {
        QVERIFY(listing.clients.isEmpty());
        QVERIFY(QDir(parent).isEmpty());
        QCOMPARE(ui.shown().size(), 1);
        QCOMPARE(ui.shown().first().kind, Kind::Warning);
        QVERIFY(ui.texts().first().startsWith(QStringLiteral("Der Name \"%1\" kann nicht").arg(name)));
    }
    QVERIFY(ui.errors().isEmpty());
}

void TestClients::parentDirectoryMustBeAbsolute_data() {
    QTest::addColumn<QString>("parent");
    QTest::newRow("empty") << QString();
    QTest::newRow("relative") << u"Mandanten"_s;
    QTest::newRow("leading blank") << u" /tmp"_s;
    QTest::newRow("line break") << u"/tmp\n/x"_s;
}

void TestClients::parentDirectoryMustBeAbsolute() {
    QFETCH(QString, parent);
    ScriptedInteraction ui;
    QVERIFY(!creation(ui).confirm(parent, QStringLiteral("Meier")));
    QCOMPARE(ui.texts(), QStringList{QStringLiteral("Das Verzeichnis \"%1\" kann nicht verwendet werden.\r\rBitte "
                                                    "geben Sie ein vollständiges Verzeichnis an, das mit \"/\" "
                                                    "beginnt und keinen Zeilenumbruch enthält.")
                                         .arg(parent)});
    QVERIFY(clients().listing().clients.isEmpty());
}

void TestClients::newClientGetsDirectoriesTablesSettingsAndEntry() {
    ScriptedInteraction ui;
    ui.setNextAnswer(Answer::Ok);
    const QString parent = path(QStringLiteral("clients"));
    QVERIFY(QDir().mkpath(parent));
    const QString clientDir = parent + QStringLiteral("/Meier");

    QVERIFY(creation(ui).confirm(parent, QStringLiteral("Meier")));

    QCOMPARE(ui.texts(), QStringList{u"Der Mandant \"Meier\" wird nun angelegt, Tabellen werden generiert"_s});
    QCOMPARE(ui.shown().first().kind, Kind::OkAbort);
    for (const QString& sub : {u"Daten"_s, u"Files"_s, u"Sicherung"_s})
        QVERIFY2(QFileInfo(clientDir + u'/' + sub).isDir(), qPrintable(sub));
    for (const TableLayout* layout : schema::clientTables())
        QVERIFY2(hasVersionMarker(clientDir + QStringLiteral("/Daten/") + layout->name), qPrintable(layout->name));
    for (const QString& tree : {u"Adressen.dat"_s, u"Themen.dat"_s}) // empty trees to load
        QVERIFY2(QFileInfo(clientDir + u"/Daten/"_s + tree).isFile(), qPrintable(tree));
    QCOMPARE(readBytes(clientDir + QStringLiteral("/Mand.ini")), readBytes(paths_.empty + QStringLiteral("/Mand.ini")));
    QVERIFY(!readBytes(clientDir + QStringLiteral("/Mand.ini")).isEmpty());
    QCOMPARE(clients().directoryOf(QStringLiteral("Meier")), clientDir);
}

void TestClients::newClientDeclinedCreatesNothing() {
    ScriptedInteraction ui;
    ui.setNextAnswer(Answer::Abort);
    QVERIFY(creation(ui).confirm(dir_->path(), QStringLiteral("Meier")));
    QCOMPARE(ui.texts(), QStringList{u"Der Mandant \"Meier\" wird nun angelegt, Tabellen werden generiert"_s});
    QCOMPARE(ui.shown().first().kind, Kind::OkAbort);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("Meier"))));
    QVERIFY(clients().listing().clients.isEmpty());
}

void TestClients::existingDirectoryIsOnlyRegistered_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestClients::existingDirectoryIsOnlyRegistered() {
    QFETCH(bool, yes);
    ScriptedInteraction ui;
    ui.setNextAnswer(yes ? Answer::Yes : Answer::No);
    const QString clientDir = path(QStringLiteral("Alt"));
    test::createClientTables(clientDir + QStringLiteral("/Daten"));

    QVERIFY(creation(ui).confirm(dir_->path(), QStringLiteral("Alt")));

    QCOMPARE(ui.texts(),
             QStringList{QStringLiteral("Das Verzeichnis \"%1\" existiert bereits!!!\n\r\n\rEs werden keine "
                                        "neuen Tabellen angelegt\n\r\n\r\n\rSoll der Mandant trotzdem in "
                                        "die Liste aufgenommen werden?")
                             .arg(clientDir)});
    QCOMPARE(QDir(clientDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"Daten"_s});
    QCOMPARE(clients().directoryOf(QStringLiteral("Alt")), yes ? clientDir : QString());
}

void TestClients::existingDirectoryWithoutTablesIsNotRegistered_data() {
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QString>("missing"); // as the message names them; empty: the client is listed
    QTest::newRow("no tables at all") << QStringList{u"Adressen.DB"_s, u"Thema.DB"_s, u"Dok.DB"_s, u"Serie.db"_s}
                                      << u"Adressen.DB, Thema.DB, Dok.DB"_s;
    QTest::newRow("documents missing") << QStringList{u"Dok.DB"_s} << u"Dok.DB"_s;
    QTest::newRow("only Serie.db missing, which opening copies") << QStringList{u"Serie.db"_s} << QString();
}

void TestClients::existingDirectoryWithoutTablesIsNotRegistered() {
    QFETCH(QStringList, removed);
    QFETCH(QString, missing);
    const QString clientDir = path(QStringLiteral("Alt"));
    const QString dataDir = clientDir + QStringLiteral("/Daten");
    test::createClientTables(dataDir);
    for (const QString& table : removed)
        QVERIFY(QFile::remove(dataDir + u'/' + table));
    ScriptedInteraction ui;
    if (missing.isEmpty())
        ui.setNextAnswer(Answer::Yes);

    QVERIFY(creation(ui).confirm(dir_->path(), QStringLiteral("Alt")));

    if (missing.isEmpty()) {
        QCOMPARE(ui.shown().first().kind, Kind::YesNo);
        QCOMPARE(clients().directoryOf(QStringLiteral("Alt")), clientDir);
        return;
    }
    QCOMPARE(ui.texts(), QStringList{QStringLiteral("Im Verzeichnis \"%1\" fehlen die Tabellen des Mandanten: %2.\rDer "
                                                    "Mandant wird nicht in die Liste aufgenommen.")
                                         .arg(dataDir, missing)});
    QCOMPARE(ui.shown().first().kind, Kind::Error);
    QVERIFY(clients().listing().clients.isEmpty());
    QVERIFY(QFileInfo(dataDir).isDir()); // the user's directory is never touched
}

// A creation that fails half-way leaves nothing behind, so that trying again creates the client
// afresh instead of offering the half-made directory as an existing one.
void TestClients::failedCopyLeavesNoDirectoryAndARetryCreates() {
    const QString templateIni = paths_.empty + QStringLiteral("/Mand.ini");
    const QByteArray ini = readBytes(templateIni);
    QVERIFY(QFile::remove(templateIni));
    ScriptedInteraction ui;
    ui.setNextAnswer(Answer::Ok);

    QVERIFY(creation(ui).confirm(dir_->path(), QStringLiteral("Meier")));

    QCOMPARE(ui.texts().last(), QStringLiteral("FEHLER beim Kopieren der Mandantenvorlage aus \"%1\".\rDer Mandant "
                                               "wird nicht in die Liste aufgenommen.")
                                    .arg(paths_.empty));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("Meier"))));
    QVERIFY(clients().listing().clients.isEmpty());

    writeBytes(templateIni, ini);
    ScriptedInteraction retry;
    retry.setNextAnswer(Answer::Ok);
    QVERIFY(creation(retry).confirm(dir_->path(), QStringLiteral("Meier")));
    QCOMPARE(retry.texts(), QStringList{u"Der Mandant \"Meier\" wird nun angelegt, Tabellen werden generiert"_s});
    QCOMPARE(readBytes(path(QStringLiteral("Meier/Mand.ini"))), ini);
    QCOMPARE(clients().directoryOf(QStringLiteral("Meier")), path(QStringLiteral("Meier")));
}

void TestClients::directoriesThatCannotBeCreatedStopEverything_data() {
    QTest::addColumn<QString>("parentFile");
    QTest::addColumn<QString>("name");
    // Root may write anywhere, so the directories are blocked by files of their names.
    QTest::newRow("client directory is a file") << QString() << u"Datei"_s;
    QTest::newRow("parent is a file") << u"Datei"_s << u"Meier"_s;
}

void TestClients::directoriesThatCannotBeCreatedStopEverything() {
    QFETCH(QString, parentFile);
    QFETCH(QString, name);
    QFile blocker(path(QStringLiteral("Datei")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString parent = parentFile.isEmpty() ? dir_->path() : path(parentFile);
    ScriptedInteraction ui;
    ui.setNextAnswer(Answer::Ok);

    QVERIFY(creation(ui).confirm(parent, name));

    QCOMPARE(ui.texts().last(), u"FEHLER bei Anlegen der Verzeichnisse"_s);
    QCOMPARE(ui.shown().last().kind, Kind::Error);
    QVERIFY(clients().listing().clients.isEmpty());
}

void TestClients::missingTemplateIsReportedAndNotRegistered() {
    QVERIFY(QDir(paths_.emptyData).removeRecursively());
    ScriptedInteraction ui;
    ui.setNextAnswer(Answer::Ok);

    QVERIFY(creation(ui).confirm(dir_->path(), QStringLiteral("Meier")));

    QCOMPARE(ui.texts().last(), QStringLiteral("FEHLER beim Kopieren der Mandantenvorlage aus \"%1\".\rDer Mandant "
                                               "wird nicht in die Liste aufgenommen.")
                                    .arg(paths_.empty));
    QVERIFY(clients().listing().clients.isEmpty());
}

void TestClients::templateLackingATableIsReportedAndNotRegistered_data() {
    QTest::addColumn<QString>("table");
    QTest::newRow("Adressen.DB") << u"Adressen.DB"_s;
    QTest::newRow("Dok.DB") << u"Dok.DB"_s;
    QTest::newRow("Serie.db") << u"Serie.db"_s;
}

// A client made from an incomplete template could never be opened: nothing is created or registered.
void TestClients::templateLackingATableIsReportedAndNotRegistered() {
    QFETCH(QString, table);
    QVERIFY(QFile::remove(paths_.emptyData + u'/' + table));
    ScriptedInteraction ui;
    ui.setNextAnswer(Answer::Ok);

    QVERIFY(creation(ui).confirm(dir_->path(), QStringLiteral("Meier")));

    QCOMPARE(ui.texts(), (QStringList{u"Der Mandant \"Meier\" wird nun angelegt, Tabellen werden generiert"_s,
                                      QStringLiteral("FEHLER beim Kopieren der Mandantenvorlage aus \"%1\".\rDer "
                                                     "Mandant wird nicht in die Liste aufgenommen.")
                                          .arg(paths_.empty)}));
    QCOMPARE(ui.shown().last().kind, Kind::Error);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("Meier"))));
    QVERIFY(clients().listing().clients.isEmpty());
}

void TestClients::unwritableRegistryIsReported() {
    QVERIFY(QDir().mkpath(paths_.registryFile)); // a directory cannot be written as a file
    ScriptedInteraction ui;
    ui.setNextAnswer(Answer::Ok);

    QVERIFY(creation(ui).confirm(dir_->path(), QStringLiteral("Meier")));

    QCOMPARE(ui.texts().last(), u"Der Mandant \"Meier\" konnte nicht in die Liste aufgenommen werden.\rDie Datei "
                                u"\"%1\" konnte nicht gespeichert werden: Unter diesem Namen steht ein Ordner."_s.arg(
                                    QDir::toNativeSeparators(paths_.registryFile)));
    QCOMPARE(ui.shown().last().kind, Kind::Error);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("Meier"))));
}

void TestClients::fullDiskAtRegistrationIsReportedWithCause() {
    const QString other = addClient(QStringLiteral("Alt"));
    const QByteArray before = [&] {
        QFile file(paths_.registryFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ScriptedInteraction ui;
    ui.setNextAnswer(Answer::Ok);
    {
        const InjectedWriteFailure failure(ENOSPC, 0);
        QVERIFY(creation(ui).confirm(dir_->path(), QStringLiteral("Meier")));
    }

    QCOMPARE(ui.texts().last(), u"Der Mandant \"Meier\" konnte nicht in die Liste aufgenommen werden.\rDie Datei "
                                u"\"%1\" konnte nicht gespeichert werden: Der Datenträger ist voll."_s.arg(
                                    QDir::toNativeSeparators(paths_.registryFile)));
    QFile file(paths_.registryFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(clients().directoryOf(QStringLiteral("Alt")), other);
}

void TestClients::lastClientOpensWithoutTheList() {
    const QString meier = addClient(QStringLiteral("Meier"));
    clients().setLastClient(QStringLiteral("Meier"));
    WatchedInteraction ui;
    auto open = opening(ui, [&](int n) {
        dialogCalls_ << n;
        return false;
    });

    QVERIFY(open->OpenClient(ProgramKey.toString(), QString(), 0));

    QVERIFY(dialogCalls_.isEmpty());
    QCOMPARE(tables_.calls, (QStringList{u"close"_s, u"closeQuery"_s, u"dir "_s + meier + u"/Daten"_s, u"open"_s}));
    QVERIFY(tables_.open);
    QCOMPARE(ui.texts(), QStringList{notice(QStringLiteral("Meier"))});
    QVERIFY(!ui.infoVisible());
    QCOMPARE(client_.ClientName, u"Meier"_s);
    QCOMPARE(client_.ClientDir, meier);
    QCOMPARE(client_.DataDir, meier + QStringLiteral("/Daten"));
    QCOMPARE(client_.IniFile, meier + QStringLiteral("/Mand.ini"));
}

void TestClients::lastClientThatFailsShowsTheList() {
    clients().registerClient(QStringLiteral("Weg"), path(QStringLiteral("gibt-es-nicht")));
    clients().setLastClient(QStringLiteral("Weg"));
    WatchedInteraction ui;
    auto open = opening(ui, [&](int n) {
        dialogCalls_ << n;
        return false;
    });
    open->setTableUpgrade([](const QString&, const QString&) { return 0; });

    QVERIFY(!open->OpenClient(ProgramKey.toString(), QString(), 0));

    QCOMPARE(ui.texts(), (QStringList{notice(u"Weg"_s), wrongVersion, notice(u"Weg"_s), failure(u"Weg"_s)}));
    QCOMPARE(ui.infoAtMessage, (QList<bool>{false, false}));
    QVERIFY(!ui.infoVisible());
    QCOMPARE(dialogCalls_, QList<int>{-1});
    QCOMPARE(tables_.calls.last(), u"close"_s);
    QVERIFY(!tables_.open);
    // The chosen client stays in TMand even though it did not open.
    QCOMPARE(client_.ClientName, u"Weg"_s);
    QCOMPARE(client_.ClientDir, path(QStringLiteral("gibt-es-nicht")));
}

void TestClients::noLastClientShowsTheListAndOpensNothing() {
    addClient(QStringLiteral("Meier"));
    ScriptedInteraction ui;
    auto open = opening(ui, [&](int n) {
        dialogCalls_ << n;
        return false;
    });

    QVERIFY(!open->OpenClient(ProgramKey.toString(), QString(), 0));

    QCOMPARE(dialogCalls_, QList<int>{-1});
    QVERIFY(tables_.calls.isEmpty());
    QVERIFY(ui.shown().isEmpty());
    QVERIFY(clients().lastClient().isEmpty());
}

void TestClients::countdownAndListModesReachTheDialog_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("countdown, OK") << 15 << true;
    QTest::newRow("countdown, not OK") << 3 << false;
    QTest::newRow("list, OK") << -1 << true;
    QTest::newRow("list, not OK") << -1 << false;
}

// The dialog opens the chosen client; OpenClient records it as the last client only when it returned OK.
void TestClients::countdownAndListModesReachTheDialog() {
    QFETCH(int, mode);
    QFETCH(bool, confirmed);
    const QString schulz = addClient(QStringLiteral("Schulz"));
    clients().setLastClient(QStringLiteral("Meier"));
    ScriptedInteraction ui;
    std::unique_ptr<ClientOpening> open;
    open = opening(ui, [&](int n) {
        dialogCalls_ << n;
        open->selection().chosenName = QStringLiteral("Schulz");
        open->selection().chosenDir = schulz;
        return open->attemptOpenSelectedClient() && confirmed;
    });

    QCOMPARE(open->OpenClient(ProgramKey.toString(), QStringLiteral("Meier"), mode), confirmed);

    QCOMPARE(dialogCalls_, QList<int>{mode});
    QVERIFY(tables_.open);
    QCOMPARE(client_.ClientName, u"Schulz"_s);
    QCOMPARE(client_.FilesDir, schulz + QStringLiteral("/Files/"));
    QCOMPARE(clients().lastClient(), confirmed ? u"Schulz"_s : u"Meier"_s);
}

void TestClients::chosenOpenClientIsNotReopened_data() {
    QTest::addColumn<QString>("current");
    QTest::newRow("same spelling") << u"Meier"_s;
    QTest::newRow("other case") << u"MEIER"_s;
}

void TestClients::chosenOpenClientIsNotReopened() {
    QFETCH(QString, current);
    const QString meier = addClient(QStringLiteral("Meier"));
    client_.SetClientPaths(current, meier); // the client open now
    ScriptedInteraction ui;
    std::unique_ptr<ClientOpening> open;
    QString openNameSeen;
    open = opening(ui, [&](int) {
        openNameSeen = open->selection().openName;
        open->selection().chosenName = QStringLiteral("Meier");
        open->selection().chosenDir = meier;
        return open->attemptOpenSelectedClient();
    });

    QVERIFY(open->OpenClient(ProgramKey.toString(), current, -1));

    QCOMPARE(openNameSeen, current);
    QVERIFY(tables_.calls.isEmpty());
    QVERIFY(ui.shown().isEmpty());
    QCOMPARE(clients().lastClient(), u"Meier"_s);
}

void TestClients::secondAttemptOpensAnew() {
    const QString meier = addClient(QStringLiteral("Meier"));
    client_.SetClientPaths(QStringLiteral("Meier"), meier);
    ScriptedInteraction ui;
    std::unique_ptr<ClientOpening> open;
    open = opening(ui, [&](int) {
        open->selection().chosenName = QStringLiteral("Meier");
        open->selection().chosenDir = meier;
        return open->attemptOpenSelectedClient() && open->attemptOpenSelectedClient();
    });

    QVERIFY(open->OpenClient(ProgramKey.toString(), QStringLiteral("Meier"), -1));

    QCOMPARE(tables_.calls.count(u"open"_s), 1);
    QVERIFY(open->selection().openName.isEmpty());
}

// A name registered anew with another directory is another client: it is opened, not kept.
void TestClients::sameNameElsewhereIsOpenedAnew() {
    const QString meier = addClient(QStringLiteral("Meier"));
    client_.SetClientPaths(QStringLiteral("Meier"), meier + QStringLiteral("-alt"));
    ScriptedInteraction ui;
    std::unique_ptr<ClientOpening> open;
    open = opening(ui, [&](int) {
        open->selection().chosenName = QStringLiteral("Meier");
        open->selection().chosenDir = meier;
        return open->attemptOpenSelectedClient();
    });
    QVERIFY(open->OpenClient(ProgramKey.toString(), QStringLiteral("Meier"), -1));
    QCOMPARE(tables_.calls.count(u"open"_s), 1);
    QCOMPARE(client_.ClientDir, meier);
}

void TestClients::emptyChoiceIsNeverOpen() {
    ScriptedInteraction ui;
    auto open = opening(ui, [&](int n) {
        dialogCalls_ << n;
        return true;
    });
    QVERIFY(!open->OpenSelectedClient());
    QVERIFY(tables_.calls.isEmpty());
    QVERIFY(ui.shown().isEmpty());
}

void TestClients::tableErrorClosesTablesAndIsReported() {
    const QString meier = addClient(QStringLiteral("Meier"));
    tables_.results = {-1};
    ScriptedInteraction ui;
    auto open = opening(ui, {});
    open->selection().chosenName = QStringLiteral("Meier");
    open->selection().chosenDir = meier;

    QVERIFY(!open->OpenSelectedClient());

    QCOMPARE(tables_.calls.count(u"open"_s), 1);
    QCOMPARE(tables_.calls.last(), u"close"_s);
    QCOMPARE(ui.texts(), (QStringList{notice(u"Meier"_s), failure(u"Meier"_s)}));
}

void TestClients::oldTablesAreUpgradedAndOpened_data() {
    QTest::addColumn<int>("upgradeResult");
    QTest::addColumn<int>("secondOpen");
    QTest::addColumn<bool>("opened");
    QTest::newRow("upgraded") << 1 << 0 << true;
    QTest::newRow("success only in the low byte") << 0x101 << 0 << true;
    QTest::newRow("high byte is no success") << 0x100 << 0 << false;
    QTest::newRow("upgrade failed") << 0 << 0 << false;
    QTest::newRow("still without marker") << 1 << -2 << false;
}

void TestClients::oldTablesAreUpgradedAndOpened() {
    QFETCH(int, upgradeResult);
    QFETCH(int, secondOpen);
    QFETCH(bool, opened);
    const QString meier = addClient(QStringLiteral("Meier"));
    tables_.results = {-2, secondOpen};
    WatchedInteraction ui;
    auto open = opening(ui, {});
    QStringList upgradeCalls;
    bool infoDuringUpgrade = false;
    open->setTableUpgrade([&](const QString& dataDir, const QString& marker) {
        upgradeCalls << dataDir << marker;
        infoDuringUpgrade = ui.infoVisible();
        return upgradeResult;
    });
    open->selection().chosenName = QStringLiteral("Meier");
    open->selection().chosenDir = meier;

    QCOMPARE(open->OpenSelectedClient(), opened);

    QVERIFY(infoDuringUpgrade);
    QCOMPARE(upgradeCalls, (QStringList{meier + QStringLiteral("/Daten"), u"VV34"_s}));
    QCOMPARE(tables_.calls.count(u"open"_s), (upgradeResult & 0xFF) ? 2 : 1);
    QCOMPARE(tables_.open, opened);
    QStringList expected{notice(u"Meier"_s), wrongVersion, notice(u"Meier"_s)};
    if (!opened)
        expected << failure(u"Meier"_s);
    QCOMPARE(ui.texts(), expected);
    QVERIFY(!ui.infoAtMessage.contains(true));
    QVERIFY(!ui.infoVisible());
}

void TestClients::escapingErrorIsPassedOnAfterTheNotice() {
    const QString meier = addClient(QStringLiteral("Meier"));
    tables_.failOnClose = true;
    WatchedInteraction ui;
    auto open = opening(ui, {});
    open->selection().chosenName = QStringLiteral("Meier");
    open->selection().chosenDir = meier;

    QVERIFY_THROWS_EXCEPTION(EngineError, open->OpenSelectedClient());

    QCOMPARE(ui.texts(), (QStringList{notice(u"Meier"_s), failure(u"Meier"_s)}));
    QCOMPARE(ui.infoAtMessage, QList<bool>{false});
}

void TestClients::attemptShowsAnEscapingError() {
    const QString meier = addClient(QStringLiteral("Meier"));
    tables_.failOnClose = true;
    ScriptedInteraction ui;
    auto open = opening(ui, {});
    open->selection() = {QStringLiteral("Meier"), meier, QStringLiteral("Schulz"), ProgramKey.toString()};

    QVERIFY(!open->attemptOpenSelectedClient());

    QCOMPARE(ui.texts(),
             (QStringList{notice(u"Meier"_s), failure(u"Meier"_s), u"Tabelle Adressen.DB ist gesperrt."_s}));
    QVERIFY(open->selection().openName.isEmpty());
}

// The real upgrade library: tables of an older layout, without the marker field, are brought to the
// current layout, after which they open.
void TestClients::oldTablesOnDiskAreUpgradedByTheLibrary() {
    const QString oldDir = path(QStringLiteral("alt/Daten"));
    QVERIFY(QDir().mkpath(oldDir));
    for (const TableLayout* layout : schema::clientTables()) {
        TableLayout old = *layout;
        std::erase_if(old.fields, [](const FieldDef& field) { return field.name == u"VV34"; });
        createTableFile(QDir(oldDir).filePath(old.name), old);
    }
    clients().registerClient(QStringLiteral("Alt"), path(QStringLiteral("alt")));
    clients().setLastClient(QStringLiteral("Alt"));
    ScriptedInteraction ui;
    auto open = opening(ui, [&](int n) {
        dialogCalls_ << n;
        return false;
    });

    QVERIFY(open->OpenClient(ProgramKey.toString(), QString(), 0));

    QVERIFY(dialogCalls_.isEmpty());
    QCOMPARE(tables_.calls.count(u"open"_s), 2);
    QVERIFY(hasVersionMarker(oldDir + QStringLiteral("/Dok.DB")));
    QVERIFY(ui.texts().contains(wrongVersion));
}

void TestClients::networkFileSystemIsWarnedOnce_data() {
    QTest::addColumn<bool>("network");
    QTest::addColumn<int>("warnings");
    QTest::newRow("local") << false << 0;
    QTest::newRow("network") << true << 1;
}

// Opened twice: the warning comes at the first opening only.
void TestClients::networkFileSystemIsWarnedOnce() {
    QFETCH(bool, network);
    QFETCH(int, warnings);
    const QString meier = addClient(QStringLiteral("Meier"));
    ScriptedInteraction ui;
    auto open = opening(ui, [](int) { return false; });
    QStringList checked;
    open->setNetworkFileSystemCheck([&](const QString& dir) {
        checked << dir;
        return network;
    });

    clients().setLastClient(QStringLiteral("Meier"));
    for (int round = 0; round < 2; ++round)
        QVERIFY(open->OpenClient(ProgramKey.toString(), QString(), 0));

    QCOMPARE(checked.first(), meier);
    QStringList shownWarnings;
    for (const ScriptedInteraction::Shown& shown : ui.shown())
        if (shown.text.contains(u"Netzlaufwerk"_s))
            shownWarnings << shown.text;
    QCOMPARE(shownWarnings.size(), warnings);
    if (warnings > 0)
        QCOMPARE(shownWarnings.first(),
                 u"Der Mandant \"Meier\" liegt auf einem Netzlaufwerk.\r\rDort schützt die Sperre der Tabellen nicht "
                 "zuverlässig: Arbeiten zwei Arbeitsplätze gleichzeitig mit diesem Mandanten, können die Tabellen "
                 "beschädigt werden. Sicher ist es, wenn immer nur ein Arbeitsplatz den Mandanten geöffnet hat. Legen "
                 "Sie regelmäßig Datensicherungen an.\r\rDieser Hinweis erscheint für diesen Mandanten nur einmal."_s);
    QCOMPARE(ClientSettings(meier + u"/Mand.ini"_s).networkWarningOff(), network);
    QVERIFY(ui.errors().isEmpty());
}

QTEST_GUILESS_MAIN(TestClients)
#include "tst_clients.moc"
