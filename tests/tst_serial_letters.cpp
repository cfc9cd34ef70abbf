#include "app/registry.h"
#include "data/table.h"
#include "file_bytes.h"
#include "mainwin/tree_model.h"
#include "recording_automation.h"
#include "scripted_interaction.h"
#include "serial/serial_data_file.h"
#include "serial/serial_recipients.h"
#include "serial/serial_texts.h"
#include "serial/word_session.h"
#include "serial/word_version.h"
#include "serial_tables.h"
#include "small_disk.h"
#include "test_install.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zep;
using namespace zep::test;

namespace {

constexpr qint32 letter = 7;

// One client's tables in a directory of their own.
struct SerialFixture {
    QTemporaryDir dir;
    SerialTables tables{dir.path(), letter};
    Table& addresses = tables.addresses;
    Table& recipients = tables.recipients;
    Table& recipientWriter = tables.recipientWriter;

    qint64 address(const QString& name1, const QString& ort) { return tables.address(name1, ort); }
    void recipient(qint64 addressNumber, qint32 letterNumber = letter) {
        addRecipient(recipientWriter, letterNumber, qint32(addressNumber),
                     QStringLiteral("Eintrag %1").arg(addressNumber));
    }
    QString dataFile() const { return dir.filePath(QStringLiteral("serie0.rtf")); }
};

const QStringList mergeFields{QStringLiteral("Name1"), QStringLiteral("Ort")};

} // namespace

class TestSerialLetters : public QObject {
    Q_OBJECT

private slots:
    void dataFileHoldsTheLivingRecipientsInOrder();
    void dataFileWithoutMergeFields();
    void controlCharactersBecomeBlanks_data();
    void controlCharactersBecomeBlanks();
    void dataFileFailuresAreTold();
    void versionFromTheRegistry_data();
    void versionFromTheRegistry();
    void officeIsRegisteredOnlyWhereNothingIs();
    void applicationPathCallsInOrder();
    void applicationPathFailures_data();
    void applicationPathFailures();
    void basicPathCallsInOrder();
    void basicPathFailures_data();
    void basicPathFailures();
    void refreshAndEnd();
    void refreshAndEndFailures_data();
    void refreshAndEndFailures();
    void cancelledQuitKeepsTheConnection();
    void lostConnectionIsTold();
    void startNeedsRecipientsAndAVersion();
    void branchEntries_data();
    void branchEntries();
    void removingRecipients();
};

// Umlauts in Windows-1252, an empty value, a deleted address skipped, a TAB and a line break made blanks,
// an address listed twice, another letter's recipient left out.
void TestSerialLetters::dataFileHoldsTheLivingRecipientsInOrder() {
    SerialFixture f;
    const qint64 mueller = f.address(QStringLiteral("Müller & Söhne"), QStringLiteral("Köln"));
    const qint64 gone = f.address(QStringLiteral("Gelöscht"), QStringLiteral("Nirgendwo"));
    const qint64 weiss = f.address(QStringLiteral("Weiß"), QString());
    const qint64 tab = f.address(QStringLiteral("Tab\tName"), QStringLiteral("Bonn\r\nBad Godesberg"));
    f.recipient(mueller);
    f.recipient(gone);
    f.recipient(weiss, letter + 1);
    f.recipient(weiss);
    f.recipient(tab);
    f.recipient(mueller);
    QVERIFY(f.addresses.locate(u"Nr", gone));
    f.addresses.deleteRecord();
    f.addresses.close();
    f.recipients.refresh();
    f.recipients.last();

    writeSerialDataFile(f.dataFile(), mergeFields, f.recipients, f.addresses);

    QCOMPARE(readBytes(f.dataFile()), QByteArray("Name1\tOrt\r\n"
                                                 "M\xfcller & S\xf6hne\tK\xf6ln\r\n"
                                                 "Wei\xdf\t\r\n"
                                                 "Tab Name\tBonn  Bad Godesberg\r\n"
                                                 "M\xfcller & S\xf6hne\tK\xf6ln\r\n"));
    QCOMPARE(f.recipients.recordCount(), 5); // the deleted address stays a recipient
    QCOMPARE(f.recipients.recNo(), 1);
    QVERIFY(!f.recipients.controlsDisabled());
    QVERIFY(!f.addresses.isActive());
}

void TestSerialLetters::dataFileWithoutMergeFields() {
    SerialFixture f;
    f.recipient(f.address(QStringLiteral("A"), QStringLiteral("B")));
    f.recipient(f.address(QStringLiteral("C"), QStringLiteral("D")));
    f.addresses.close();
    f.recipients.refresh();
    writeSerialDataFile(f.dataFile(), {}, f.recipients, f.addresses);
    QCOMPARE(readBytes(f.dataFile()), QByteArray("\r\n\r\n\r\n"));
}

void TestSerialLetters::controlCharactersBecomeBlanks_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("NUL") << QStringLiteral("A") + QChar(0) + QStringLiteral("B") << QByteArray("A B");
    QTest::newRow("VT") << QStringLiteral("A\vB") << QByteArray("A B");
    QTest::newRow("FF") << QStringLiteral("A\fB") << QByteArray("A B");
    QTest::newRow("0x1A") << QStringLiteral("A\x1A"
                                            "B")
                          << QByteArray("A B");
    QTest::newRow("ESC and umlaut") << QStringLiteral("\x1B"
                                                      "Köln")
                                    << QByteArray(" K\xf6ln");
    QTest::newRow("TAB and CR LF") << QStringLiteral("A\tB\r\nC") << QByteArray("A B  C");
}

// No control character reaches the data file: the word processor would cut the line there or end
// the file early.
void TestSerialLetters::controlCharactersBecomeBlanks() {
    QFETCH(QString, value);
    QFETCH(QByteArray, written);
    QCOMPARE(serialDataText(mergeFields, {{value, QStringLiteral("Ort")}}),
             QByteArray("Name1\tOrt\r\n") + written + QByteArray("\tOrt\r\n"));
}

// A merge field the address table lacks, and a full disk: the message, the old file untouched, the
// recipients' controls back on.
void TestSerialLetters::dataFileFailuresAreTold() {
    SerialFixture f;
    f.recipient(f.address(QString(2000, u'x'), QStringLiteral("Ort")));
    f.addresses.close();
    f.recipients.refresh();
    ScriptedInteraction interaction;

    QVERIFY(!createSerialDataFile(f.dataFile(), {QStringLiteral("Name1"), QStringLiteral("Fehlt")}, f.recipients,
                                  f.addresses, interaction));
    QCOMPARE(interaction.shown().size(), 1);
    QVERIFY(interaction.shown()[0].text.startsWith(serial_texts::dataFileFailed() + u'\r'));
    QVERIFY(interaction.shown()[0].text.contains(QStringLiteral("Fehlt")));
    QVERIFY(!QFile::exists(f.dataFile()));
    QVERIFY(!f.recipients.controlsDisabled());

    Table unreachable;
    unreachable.setDirectory(f.dir.filePath(QStringLiteral("fehlt")));
    unreachable.setTableName(QStringLiteral("Adressen.DB"));
    QVERIFY(!createSerialDataFile(f.dataFile(), mergeFields, f.recipients, unreachable, interaction));
    QCOMPARE(interaction.shown().size(), 2);
    QVERIFY(interaction.shown()[1].text.startsWith(serial_texts::dataFileFailed() + u'\r'));
    QVERIFY(!f.recipients.controlsDisabled());

    SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.skipText()));
    const QString onDisk = disk.path() + QStringLiteral("/serie0.rtf");
    writeBytes(onDisk, "alt");
    QVERIFY(disk.fill(1000));
    QVERIFY(!createSerialDataFile(onDisk, mergeFields, f.recipients, f.addresses, interaction));
    QCOMPARE(interaction.shown().size(), 3);
    QVERIFY(interaction.shown()[2].text.startsWith(serial_texts::dataFileFailed() + u'\r'));
    QCOMPARE(readBytes(onDisk), QByteArray("alt"));
}

void TestSerialLetters::versionFromTheRegistry_data() {
    QTest::addColumn<QString>("curVer");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("path");
    QTest::newRow("8") << "Word.Document.8" << 8 << int(WordPath::WordApplication);
    QTest::newRow("9") << "Word.Document.9" << 9 << int(WordPath::WordApplication);
    QTest::newRow("6") << "Word.Document.6" << 6 << int(WordPath::WordBasic);
    QTest::newRow("7") << "Word.Document.7" << 7 << int(WordPath::WordBasic);
    QTest::newRow("5") << "Word.Document.5" << 5 << int(WordPath::None);
    QTest::newRow("not a digit") << "Word.Document.X" << 0 << int(WordPath::None);
    QTest::newRow("missing") << "" << 0 << int(WordPath::None);
}

void TestSerialLetters::versionFromTheRegistry() {
    QFETCH(QString, curVer);
    QFETCH(int, version);
    QFETCH(int, path);
    QTemporaryDir dir;
    const Registry registry(dir.filePath(QStringLiteral("Registry.ini")));
    if (!curVer.isEmpty())
        QVERIFY(registry.writeString(WordCurVerKey, {}, curVer));
    QCOMPARE(readWordVersion(registry), version);
    QCOMPARE(int(wordPathFor(version)), path);
}

void TestSerialLetters::officeIsRegisteredOnlyWhereNothingIs() {
    QTemporaryDir dir;
    const Registry registry(dir.filePath(QStringLiteral("Registry.ini")));
    QVERIFY(registerOfficeAsWordProcessor(registry, QString()));
    QCOMPARE(readWordVersion(registry), 0);

    QVERIFY(registerOfficeAsWordProcessor(registry, QStringLiteral("/opt/office/soffice")));
    QCOMPARE(readWordVersion(registry), 8);
    QCOMPARE(registeredWordServer(registry), QStringLiteral("/opt/office/soffice"));

    QVERIFY(registry.writeString(WordCurVerKey, {}, u"Word.Document.6"));
    QVERIFY(registerOfficeAsWordProcessor(registry, QStringLiteral("/usr/bin/soffice")));
    QCOMPARE(readWordVersion(registry), 6);
    QCOMPARE(registeredWordServer(registry), QStringLiteral("/opt/office/soffice"));
}

namespace {

const QString dataFile = QStringLiteral("/inst/serie0.rtf");
const SerialLetterFile letterFile{QStringLiteral("/daten/Files/Brief.odt"), QStringLiteral("/daten/Files/BRIEF.ODT")};

struct SessionRun {
    RecordingAutomation automation;
    ScriptedInteraction interaction;
    WordSession session{automation, interaction, dataFile};
    QStringList statuses;
    int dataFileWrites = 0;
    bool dataFileSucceeds = true;

    // A started session whose start is forgotten: only what follows is recorded.
    void startAndForget() {
        session.start(letterFile, true);
        automation.clearSteps();
        statuses.clear();
    }

    explicit SessionRun(int version) {
        session.setVersion(version);
        session.showStatus = [this](const QString& text) {
            statuses.append(text);
        };
        session.writeDataFile = [this] {
            ++dataFileWrites;
            return dataFileSucceeds;
        };
    }
};

const QStringList applicationStart{
    QStringLiteral("connect Word.Application running-or-new"),
    QStringLiteral(R"(call Documents.Open("/daten/Files/Brief.odt", false, false, false, "", "", false, "", "", 0))"),
    QStringLiteral("set ActiveDocument.MailMerge.MainDocumentType = 0"),
    QStringLiteral(
        R"(call ActiveDocument.MailMerge.OpenDataSource("/inst/serie0.rtf", 0, false, true, false, false, "", "", false, "", "", "", "", ""))"),
    QStringLiteral("set Visible = true"),
    QStringLiteral("call Activate()")};

const QStringList basicStart{
    QStringLiteral("connect Word.Basic new"),
    QStringLiteral(R"(call AnwVerbergen("Microsoft Word"))"),
    QStringLiteral("call AnwInfo(16)"),
    QStringLiteral(R"(call DateiÖffnen("/daten/Files/BRIEF.ODT"))"),
    QStringLiteral("call SeriendruckHauptdokumentArt(0)"),
    QStringLiteral(
        R"(call SeriendruckÖffnenDatenquelle("/inst/serie0.rtf", 0, 0, 1, 0, "", "", 0, "", "", "", "", ""))"),
    QStringLiteral(R"(call AnwAnzeigen("Microsoft Word"))")};

} // namespace

void TestSerialLetters::applicationPathCallsInOrder() {
    SessionRun run(8);
    QCOMPARE(run.session.start(letterFile, true), WordSession::Outcome::Done);
    QCOMPARE(run.automation.steps(), applicationStart);
    QCOMPARE(run.dataFileWrites, 1);
    QCOMPARE(run.statuses, QStringList({"Prüfe Adressdaten", "Erzeuge Datendatei", "Starte Word", "Versionsprüfung",
                                        "Lade Dokument", "Lade Datendatei", "Aktion erfolgreich ausgeführt"}));
    QVERIFY(run.interaction.shown().isEmpty());
    QVERIFY(run.automation.isConnected());
}

// The step that fails, its message, the steps taken, and whether the connection is kept.
void TestSerialLetters::applicationPathFailures_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("connected");
    const QStringList dropped{QStringLiteral("disconnect")};
    QTest::newRow("connect") << "connect"
                             << "Es konnte keine Verbindung zu Word hergestellt werden" << applicationStart.mid(0, 1)
                             << false;
    QTest::newRow("open") << "Documents.Open"
                          << "Das Dokument konnte nicht geladen werden" << applicationStart.mid(0, 2) << true;
    QTest::newRow("type") << "ActiveDocument.MailMerge.MainDocumentType"
                          << "Adressdaten konnten in Word NICHT geladen werden" << applicationStart.mid(0, 3) << true;
    QTest::newRow("data") << "ActiveDocument.MailMerge.OpenDataSource"
                          << "Adressdaten konnten in Word NICHT geladen werden" << applicationStart.mid(0, 4) << true;
    QTest::newRow("show") << "Visible"
                          << "Keine Verbindung zu Word" << applicationStart.mid(0, 5) + dropped << false;
    QTest::newRow("activate") << "Activate"
                              << "Keine Verbindung zu Word" << applicationStart + dropped << false;
}

void TestSerialLetters::applicationPathFailures() {
    QFETCH(QString, member);
    QFETCH(QString, message);
    QFETCH(QStringList, steps);
    QFETCH(bool, connected);
    SessionRun run(8);
    run.automation.failAt(member);
    run.session.start(letterFile, true);
    QCOMPARE(run.automation.steps(), steps);
    QCOMPARE(run.interaction.texts(), QStringList{message});
    QCOMPARE(run.automation.isConnected(), connected);
    QVERIFY(!run.statuses.contains(serial_texts::statusDone()));
}

void TestSerialLetters::basicPathCallsInOrder() {
    SessionRun run(6);
    QCOMPARE(run.session.start(letterFile, true), WordSession::Outcome::Done);
    QCOMPARE(run.automation.steps(), basicStart);
    QCOMPARE(run.statuses.last(), serial_texts::statusDone());
    QVERIFY(run.interaction.shown().isEmpty());

    run.automation.clearSteps();
    run.session.close();
    QCOMPARE(run.automation.steps(),
             QStringList({R"(call AnwAktivieren("", 1))", R"(call AnwSchließen("Microsoft Word"))", "disconnect"}));
}

// Once the language test passed, the word processor is shown again whatever failed.
void TestSerialLetters::basicPathFailures_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("closesWindow");
    QTest::newRow("connect") << "connect"
                             << "Es konnte keine Verbindung zu Word hergestellt werden" << basicStart.mid(0, 1)
                             << false;
    QTest::newRow("hide") << "AnwVerbergen"
                          << "Es konnte keine Verbindung zu Word hergestellt werden" << basicStart.mid(0, 2) << false;
    QTest::newRow("language") << "AnwInfo"
                              << "Diese Version von ZEP unterstützt nur die deutsche Word-Version"
                              << basicStart.mid(0, 3) << true;
    QTest::newRow("open") << "DateiÖffnen"
                          << "Das Dokument konnte nicht geladen werden" << basicStart.mid(0, 4) + basicStart.mid(6)
                          << false;
    QTest::newRow("data") << "SeriendruckÖffnenDatenquelle"
                          << "Adressdaten konnten in Word NICHT geladen werden" << basicStart << false;
}

void TestSerialLetters::basicPathFailures() {
    QFETCH(QString, member);
    QFETCH(QString, message);
    QFETCH(QStringList, steps);
    QFETCH(bool, closesWindow);
    SessionRun run(7);
    run.automation.failAt(member);
    QCOMPARE(run.session.start(letterFile, true),
             closesWindow ? WordSession::Outcome::CloseWindow : WordSession::Outcome::Done);
    QCOMPARE(run.automation.steps(), steps);
    QCOMPARE(run.interaction.texts(), QStringList{message});
    QVERIFY(!run.statuses.contains(serial_texts::statusDone()));
}

void TestSerialLetters::refreshAndEnd() {
    SessionRun run(8);
    run.startAndForget();
    run.session.refresh();
    QCOMPARE(run.automation.steps(),
             QStringList{"get Version"} + applicationStart.mid(2, 2) + QStringList{"call Activate()"});
    QCOMPARE(run.statuses, QStringList({"Erzeuge Datendatei", "Lade Datendatei", "Aktion erfolgreich ausgeführt"}));
    QCOMPARE(run.dataFileWrites, 2);

    // A step that fails is told and the later ones still run, but nothing is called a success.
    run.automation.clearSteps();
    run.statuses.clear();
    run.dataFileSucceeds = false;
    run.session.refresh();
    QCOMPARE(run.automation.steps(),
             QStringList{"get Version"} + applicationStart.mid(2, 2) + QStringList{"call Activate()"});
    QCOMPARE(run.statuses, QStringList({"Erzeuge Datendatei", "Lade Datendatei"}));

    run.automation.clearSteps();
    run.statuses.clear();
    run.session.end();
    QCOMPARE(run.automation.steps(),
             QStringList({"get Version", "call Activate()", "call Quit(-2, 0, 0)", "disconnect"}));
    QCOMPARE(run.statuses, QStringList({"Beende Word", "Aktion erfolgreich ausgeführt"}));
    QVERIFY(!run.automation.isConnected());

    // The window closing leaves the application path's word processor alone.
    run.automation.clearSteps();
    run.session.close();
    QVERIFY(run.automation.steps().isEmpty());

    SessionRun basic(6);
    basic.session.start(letterFile, true);
    basic.automation.clearSteps();
    basic.session.refresh();
    QCOMPARE(basic.automation.steps(), basicStart.mid(4, 2) + QStringList{R"(call AnwAktivieren("", 1))"});
    basic.automation.clearSteps();
    basic.session.end();
    QCOMPARE(basic.automation.steps(),
             QStringList({R"(call AnwAktivieren("", 1))", R"(call AnwSchließen("Microsoft Word"))", "disconnect"}));
    QVERIFY(basic.interaction.shown().isEmpty());
}

// A failing step of "Adressen aktualisieren" is told and the later steps still run; a failing end is
// told and the connection dropped. Nothing is then called a success.
void TestSerialLetters::refreshAndEndFailures_data() {
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("ending");
    QTest::addColumn<QString>("member");
    QTest::addColumn<bool>("losesConnection");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("steps");
    const QString activate = QStringLiteral(R"(call AnwAktivieren("", 1))");
    QTest::newRow("refresh: attach") << 8 << false << "ActiveDocument.MailMerge.OpenDataSource" << false
                                     << "Adressdaten konnten in Word NICHT geladen werden"
                                     << QStringList{"get Version"} + applicationStart.mid(2, 2) +
                                            QStringList{"call Activate()"};
    QTest::newRow("refresh: activate") << 8 << false << "Activate" << false << "Keine Verbindung zu Word"
                                       << QStringList{"get Version"} + applicationStart.mid(2, 2) +
                                              QStringList{"call Activate()", "disconnect"};
    QTest::newRow("basic refresh: attach")
        << 6 << false << "SeriendruckHauptdokumentArt" << false << "Adressdaten konnten in Word NICHT geladen werden"
        << basicStart.mid(4, 1) + QStringList{activate};
    QTest::newRow("end: activate") << 8 << true << "Activate" << false << "Keine Verbindung zu Word"
                                   << QStringList({"get Version", "call Activate()", "disconnect"});
    QTest::newRow("end: quit, word processor gone")
        << 8 << true << "Quit" << true << "Keine Verbindung zu Word"
        << QStringList({"get Version", "call Activate()", "call Quit(-2, 0, 0)", "disconnect"});
    QTest::newRow("basic end: close") << 6 << true << "AnwSchließen" << false << "Keine Verbindung zu Word"
                                      << QStringList(
                                             {activate, R"(call AnwSchließen("Microsoft Word"))", "disconnect"});
}

void TestSerialLetters::refreshAndEndFailures() {
    QFETCH(int, version);
    QFETCH(bool, ending);
    QFETCH(QString, member);
    QFETCH(bool, losesConnection);
    QFETCH(QString, message);
    QFETCH(QStringList, steps);
    SessionRun run(version);
    run.startAndForget();
    losesConnection ? run.automation.loseConnectionAt(member) : run.automation.failAt(member);
    ending ? run.session.end() : run.session.refresh();
    QCOMPARE(run.automation.steps(), steps);
    QCOMPARE(run.interaction.texts(), QStringList{message});
    QVERIFY(!run.statuses.contains(serial_texts::statusDone()));
}

// The user cancelled the word processor's question about unsaved changes: it runs on with the letter.
// Nothing is told and nothing called a success; the connection stays for the next refresh and end.
void TestSerialLetters::cancelledQuitKeepsTheConnection() {
    SessionRun run(8);
    run.startAndForget();
    run.automation.failAt(QStringLiteral("Quit"));
    run.session.end();
    QCOMPARE(run.automation.steps(), QStringList({"get Version", "call Activate()", "call Quit(-2, 0, 0)"}));
    QCOMPARE(run.statuses, QStringList{"Beende Word"});
    QVERIFY(run.interaction.shown().isEmpty());
    QVERIFY(run.automation.isConnected());

    run.automation.succeedAt(QStringLiteral("Quit"));
    run.automation.clearSteps();
    run.statuses.clear();
    run.session.refresh();
    QCOMPARE(run.automation.steps(),
             QStringList{"get Version"} + applicationStart.mid(2, 2) + QStringList{"call Activate()"});
    QCOMPARE(run.statuses.last(), serial_texts::statusDone());

    run.automation.clearSteps();
    run.statuses.clear();
    run.session.end();
    QCOMPARE(run.automation.steps(),
             QStringList({"get Version", "call Activate()", "call Quit(-2, 0, 0)", "disconnect"}));
    QCOMPARE(run.statuses, QStringList({"Beende Word", "Aktion erfolgreich ausgeführt"}));
    QVERIFY(run.interaction.shown().isEmpty());
    QVERIFY(!run.automation.isConnected());
}

// The word processor went away: the check fails, the connection is dropped, nothing else is called.
void TestSerialLetters::lostConnectionIsTold() {
    for (bool ending : {false, true}) {
        SessionRun run(8);
        run.session.start(letterFile, true);
        run.automation.failAt(QStringLiteral("Version"));
        run.automation.clearSteps();
        ending ? run.session.end() : run.session.refresh();
        QCOMPARE(run.automation.steps(), QStringList({"get Version", "disconnect"}));
        QCOMPARE(run.interaction.texts(), QStringList{"Keine Verbindung zu Word"});
        QCOMPARE(run.dataFileWrites, 1);
    }
    SessionRun never(8);
    never.session.end();
    QCOMPARE(never.automation.steps(), QStringList{"disconnect"});
    QCOMPARE(never.interaction.texts(), QStringList{"Keine Verbindung zu Word"});
}

void TestSerialLetters::startNeedsRecipientsAndAVersion() {
    SessionRun empty(8);
    empty.session.start(letterFile, false);
    QCOMPARE(empty.interaction.texts(), QStringList{"Keine Adressdaten vorhanden"});
    QCOMPARE(empty.dataFileWrites, 0);
    QVERIFY(empty.automation.steps().isEmpty());

    SessionRun failedFile(8);
    failedFile.dataFileSucceeds = false;
    failedFile.session.start(letterFile, true);
    QVERIFY(failedFile.automation.steps().isEmpty());
    QCOMPARE(failedFile.statuses.last(), serial_texts::statusWritingDataFile());

    SessionRun noVersion(0);
    noVersion.session.start(letterFile, true);
    noVersion.session.refresh();
    noVersion.session.end();
    QCOMPARE(noVersion.dataFileWrites, 1);
    QCOMPARE(noVersion.interaction.texts(), QStringList(3, "Es wurde keine Word-Version in der Registry gefunden"));
    QVERIFY(noVersion.automation.steps().isEmpty());
}

// Tree: Firma (selected) > {Abt (main) > {Meier}, Berger, Zentrale (main)}; another top-level entry.
void TestSerialLetters::branchEntries_data() {
    QTest::addColumn<bool>("allBelow");
    QTest::addColumn<bool>("mainEntries");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("children, no main entries") << false << false << QStringList{"Berger"};
    QTest::newRow("children with main entries") << false << true << QStringList{"Abt", "Berger", "Zentrale"};
    QTest::newRow("all below, no main entries") << true << false << QStringList{"Meier", "Berger"};
    QTest::newRow("all below with main entries") << true << true << QStringList{"Abt", "Meier", "Berger", "Zentrale"};
}

void TestSerialLetters::branchEntries() {
    QFETCH(bool, allBelow);
    QFETCH(bool, mainEntries);
    QFETCH(QStringList, captions);
    TreeModel tree;
    TreeModel::Node* root = tree.addChild(nullptr, QStringLiteral("Adressen"), 0, TreeModel::RootNode);
    TreeModel::Node* firma = tree.addChild(root, QStringLiteral("Firma"), 1, TreeModel::MainEntry);
    TreeModel::Node* abteilung = tree.addChild(firma, QStringLiteral("Abt"), 2, TreeModel::MainEntry);
    tree.addChild(abteilung, QStringLiteral("Meier"), 3, TreeModel::OtherEntry);
    tree.addChild(firma, QStringLiteral("Berger"), 4, TreeModel::OtherEntry);
    tree.addChild(firma, QStringLiteral("Zentrale"), 5, TreeModel::MainEntry);
    tree.addChild(root, QStringLiteral("Zoller"), 6, TreeModel::OtherEntry);

    SerialFixture f;
    QVERIFY(!addEntryRecipient(f.recipientWriter, letter, root));
    QVERIFY(!addEntryRecipient(f.recipientWriter, letter, nullptr));
    QCOMPARE(addBranchRecipients(f.recipientWriter, letter, firma, allBelow, mainEntries), captions.size());
    f.recipients.refresh();
    QCOMPARE(columnValues(f.recipients, QStringLiteral("NameAdresse")), QVariant(captions).toList());
    for (f.recipients.first(); !f.recipients.eof(); f.recipients.next())
        QCOMPARE(tree.findNumber(qint32(f.recipients.field(u"NRAdresse").asInteger()))->caption(),
                 f.recipients.field(u"NameAdresse").asString());
}

void TestSerialLetters::removingRecipients() {
    SerialFixture f;
    for (qint64 number : {11, 12, 13, 14})
        f.recipient(number);
    f.recipient(15, letter + 1);
    f.recipients.refresh();
    const QVariantList records = columnValues(f.recipients, QStringLiteral("NR"));
    QCOMPARE(recipientsToRemove({records[1], records[3]}, f.recipients),
             QList<qint64>({records[1].toLongLong(), records[3].toLongLong()}));
    f.recipients.setRecNo(3);
    QCOMPARE(recipientsToRemove({}, f.recipients), QList<qint64>{records[2].toLongLong()});
    removeRecipients(f.recipients, {records[1].toLongLong(), records[3].toLongLong(), 999});
    QCOMPARE(columnValues(f.recipients, QStringLiteral("NRAdresse")), numbers({11, 13}));

    removeAllRecipients(f.recipients);
    QCOMPARE(f.recipients.recordCount(), 0);
    f.recipientWriter.refresh();
    QCOMPARE(columnValues(f.recipientWriter, QStringLiteral("NRAdresse")), numbers({15}));
}

QTEST_GUILESS_MAIN(TestSerialLetters)
#include "tst_serial_letters.moc"
