// What a crash leaves in the register and the files, and how the next opening of the client sets it
// right: states as a crash leaves them, and a real filing process killed at every point where it
// writes to disk.
#include "app/install_paths.h"
#include "app/program_info.h"
#include "app/registry.h"
#include "app/tmand.h"
#include "clients/client_opening.h"
#include "data/schema.h"
#include "data/table.h"
#include "data/table_upgrade.h"
#include "data/tdm.h"
#include "documents/document_path.h"
#include "documents/filing_marks.h"
#include "documents/filing_recovery.h"
#include "fake_associations.h"
#include "file_bytes.h"
#include "register_audit.h"
#include "required_tool.h"
#include "scripted_interaction.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::faults::FaultClient;
using zep::test::readBytes;
using zep::test::writeBytes;

namespace {

const QString Marker = QString::fromUtf16(schema::kVersionMarker);

// A client's documents table with one filed document ("Angebot.odt" in "Files"), and a folder of the
// user's outside the client.
class Client {
public:
    Client() {
        test::createClientTables(dataDir);
        QDir().mkpath(filesDir);
        QDir().mkpath(outside);
        writeBytes(filesDir + QStringLiteral("Angebot.odt"), "Angebot");
        test::openTable(dok, dataDir, QStringLiteral("Dok.DB"));
        filed =
            test::appendRecord(dok, {{"NrFirma", 2}, {"Ext", "odt"}, {"Titel", "Angebot"}, {"Datei", "Angebot.odt"}});
    }
    bool hasRecord(qint64 nr) {
        Table fresh;
        test::openTable(fresh, dataDir, QStringLiteral("Dok.DB"));
        return fresh.findKey({nr});
    }
    QString markOf(qint64 nr) {
        Table fresh;
        test::openTable(fresh, dataDir, QStringLiteral("Dok.DB"));
        return fresh.findKey({nr}) ? fresh.field(Marker).asString() : QStringLiteral("<weg>");
    }

    QTemporaryDir tmp;
    QString dataDir = tmp.filePath(QStringLiteral("Daten"));
    QString filesDir = tmp.filePath(QStringLiteral("Files/"));
    QString outside = tmp.filePath(QStringLiteral("Ablage"));
    Table dok;
    qint64 filed = 0;
};

// Opens the client as the program's main window does: the real data module, the table upgrade and
// the recovery; what it shows goes to ui.
bool openAsTheProgramDoes(const FaultClient& client, test::ScriptedInteraction& ui,
                          const std::function<void(TDM&)>& whileOpen = {}) {
    const InstallPaths paths = InstallPaths::fromDirectory(client.install);
    test::FakeAssociations associations;
    TDM dm(paths, ui, associations);
    if (!dm.DMCreate())
        return false;
    TMand opened;
    ClientOpening opening(paths, Registry(paths.registryFile), dm, opened, ui, [](int) { return false; });
    opening.setTableUpgrade(&DO_UPDATE_DATA);
    opening.setFilingRecovery(&recoverFilingAtOpening);
    const bool result = opening.OpenClient(ProgramKey.toString(), QString(), 0);
    if (result && whileOpen)
        whileOpen(dm);
    dm.CloseClientTables();
    return result;
}

QStringList recoveryMessages(const test::ScriptedInteraction& ui) {
    QStringList found;
    for (const auto& shown : ui.shown())
        if (shown.text.startsWith(QStringLiteral("ZEP wurde zuletzt beendet")))
            found << shown.text;
    return found;
}

// The kill loop's program, run for one step under strace, which kills it as it enters the n-th call
// of one system call. True when it was killed there, false when the step ran to its end.
bool stepKilledAt(const FaultClient& client, const QString& step, const QString& call, int n) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), client.dataHome);
    process.setProcessEnvironment(environment);
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"),
                          QStringLiteral("/dev/null")};
    if (!call.isEmpty())
        arguments << QStringLiteral("-e") << QStringLiteral("trace=") + call << QStringLiteral("-e")
                  << QStringLiteral("inject=%1:signal=KILL:when=%2").arg(call).arg(n);
    arguments << QStringLiteral(ZEP_REGISTER_LOOP) << QStringLiteral("step") << client.work << step;
    process.start(QStringLiteral("strace"), arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitStatus() == QProcess::CrashExit;
}

// The kills are of the process, not of the machine: a memory file system, where syncs cost nothing,
// keeps every order the same.
QString workPattern() {
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    return (memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath()) +
           QStringLiteral("/zep-absturz-XXXXXX");
}

// The calls of one step as strace shows them, descriptors with their paths.
QStringList tracedCalls(const FaultClient& client, const QString& step) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), client.dataHome);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("strace"),
                  {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-y"), QStringLiteral("-e"),
                   QStringLiteral("trace=rename,renameat,renameat2,fsync,fdatasync,unlink"),
                   QStringLiteral(ZEP_REGISTER_LOOP), QStringLiteral("step"), client.work, step});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class FilingRecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void markedRecordIsSetRight_data() {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("datei"); // "<outside>" stands for a full path in the user's folder
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<QString>("markAfter"); // "<weg>": the record is removed
        QTest::addColumn<QString>("line");      // of the message; empty: no message at all
        QTest::newRow("provisional, naming nothing")
            << "V"
            << "" << false << "<weg>"
            << "1 leerer Eintrag eines nicht beendeten Dialogs wurde entfernt.";
        // A copy provisional while its dialog was open, naming the source's file as copies once did:
        // it goes, the file stays with its document.
        QTest::newRow("provisional, naming a filed document's file")
            << "V"
            << "Angebot.odt" << true << "<weg>"
            << "1 leerer Eintrag eines nicht beendeten Dialogs wurde entfernt.";
        QTest::newRow("provisional, naming a file of its own")
            << "V"
            << "Brief00001.odt" << true << ""
            << "1 Eintrag eines nicht beendeten Dialogs wurde behalten, weil seine Datei vorhanden ist.";
        QTest::newRow("placing, the file in Files")
            << "A"
            << "Brief00001.odt" << true << ""
            << "1 Dokument wurde fertig abgelegt; seine Datei lag schon an ihrem Platz.";
        QTest::newRow("placing, the file in another folder")
            << "A"
            << "<outside>" << true << ""
            << "1 Dokument wurde fertig abgelegt; seine Datei lag schon an ihrem Platz.";
        QTest::newRow("placing, the file never arrived")
            << "A"
            << "Brief00001.odt" << false << "<weg>"
            << "1 angefangenes Dokument wurde entfernt; seine Datei war noch nicht abgelegt.";
        QTest::newRow("deleting, the file in the trash")
            << "L"
            << "Brief00001.odt" << false << "<weg>"
            << "1 Dokument wurde fertig gelöscht; seine Datei lag schon im Papierkorb.";
        QTest::newRow("deleting, the file still there")
            << "L"
            << "Brief00001.odt" << true << ""
            << "1 Dokument wurde nicht gelöscht, weil seine Datei noch vorhanden ist.";
        QTest::newRow("a value the program never writes") << "x"
                                                          << "Brief00001.odt" << true << "x"
                                                          << "";
    }

    // A record as a crash leaves it, set right by the recovery; no file is ever deleted, and the
    // filed document beside it is not touched.
    void markedRecordIsSetRight() {
        QFETCH(QString, mark);
        QFETCH(QString, datei);
        QFETCH(bool, fileThere);
        QFETCH(QString, markAfter);
        QFETCH(QString, line);
        Client client;
        if (datei == u"<outside>")
            datei = client.outside + QStringLiteral("/Brief.odt");
        const QString path = ResolveDocumentPath(datei, client.filesDir).path;
        if (fileThere && !QFileInfo::exists(path))
            QVERIFY(writeBytes(path, "Brief"));
        const qint64 nr = test::appendRecord(
            client.dok, {{"NrFirma", 3}, {"Ext", "odt"}, {"Titel", "Brief"}, {"Datei", datei}, {Marker, mark}});

        const FilingRecovery done = recoverFiling(client.dataDir, client.filesDir);
        QCOMPARE(done.failures, QStringList());
        QCOMPARE(client.markOf(nr), markAfter);
        if (line.isEmpty())
            QCOMPARE(done.message(), QString());
        else
            QVERIFY2(done.message().split(u'\n').contains(line), qPrintable(done.message()));
        QCOMPARE(QFileInfo::exists(path), fileThere);
        QCOMPARE(client.markOf(client.filed), QString());
        QCOMPARE(readBytes(client.filesDir + QStringLiteral("Angebot.odt")), QByteArray("Angebot"));
        // A second opening finds nothing more.
        QVERIFY(recoverFiling(client.dataDir, client.filesDir).message().isEmpty() || mark == u"x");
    }

    void unreachableFolderKeepsTheMark_data() {
        QTest::addColumn<QString>("mark");
        QTest::newRow("placing, folder missing") << "A";
        QTest::newRow("deleting, folder missing") << "L";
    }

    // A folder that is not there (an unmounted share, a removed stick) says nothing about the file: the
    // record keeps its mark and is listed as not set right, and nothing else is claimed.
    void unreachableFolderKeepsTheMark() {
        QFETCH(QString, mark);
        Client client;
        const QString folder = client.tmp.filePath(QStringLiteral("Freigabe"));
        const qint64 nr = test::appendRecord(
            client.dok,
            {{"NrFirma", 3}, {"Ext", "odt"}, {"Datei", folder + QStringLiteral("/Brief.odt")}, {Marker, mark}});

        const FilingRecovery done = recoverFiling(client.dataDir, client.filesDir);
        QCOMPARE(client.markOf(nr), mark);
        QCOMPARE(done.failures,
                 QStringList{
                     QStringLiteral("Dokument Nr. %1: Der Ordner \"%2\" ist nicht erreichbar.").arg(nr).arg(folder)});
        QCOMPARE(done.message(),
                 QStringLiteral("ZEP wurde zuletzt beendet, während Dokumente abgelegt, kopiert oder gelöscht wurden."
                                "\n\nFolgendes konnte nicht in Ordnung gebracht werden:\n") +
                     done.failures.first());
    }

    // Unfinished copies of the copier go, in "Files" and beside a file being placed elsewhere; the
    // user's own hidden files and files that merely end in ".copy" stay.
    void partialCopiesAreRemoved() {
        Client client;
        const QString target = client.outside + QStringLiteral("/Brief.odt");
        test::appendRecord(client.dok, {{"NrFirma", 3}, {"Ext", "odt"}, {"Datei", target}, {Marker, "A"}});
        const QStringList partial{client.filesDir + QStringLiteral(".Angebot00001.odt.1k9z3q.copy"),
                                  client.filesDir + QStringLiteral(".Quelle 7.txt.a.copy"),
                                  client.outside + QStringLiteral("/.Brief.odt.x4.copy")};
        const QStringList kept{client.filesDir + QStringLiteral(".versteckt"),
                               client.filesDir + QStringLiteral("Notiz.copy"),
                               client.outside + QStringLiteral("/.Anderes.odt.x4.copy")};
        for (const QString& path : partial + kept)
            QVERIFY(writeBytes(path, "halb"));
        const FilingRecovery done = recoverFiling(client.dataDir, client.filesDir);
        QCOMPARE(done.partialCopiesRemoved, 3);
        QVERIFY(done.message().contains(QStringLiteral("3 unvollständige Kopien von Dateien wurden gelöscht.")));
        for (const QString& path : partial)
            QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
        for (const QString& path : kept)
            QVERIFY2(QFileInfo::exists(path), qPrintable(path));
    }

    // The user is told once, through the interaction seam, and the opened tables show the register
    // as the recovery left it.
    void openingTellsOnce() {
        QTemporaryDir work;
        const FaultClient client(work.path());
        faults::prepareFaultClient(client);
        QVERIFY(writeBytes(client.filesDir + QStringLiteral("Brief00001.odt"), "Brief"));
        {
            Table dok;
            test::openTable(dok, client.dataDir, QStringLiteral("Dok.DB"));
            test::appendRecord(dok, {{"NrFirma", 1}, {"Offen", 1}, {Marker, "V"}});
            test::appendRecord(dok, {{"NrFirma", 1}, {"Ext", "odt"}, {"Datei", "Brief00001.odt"}, {Marker, "A"}});
        }
        test::ScriptedInteraction ui;
        int documents = -1;
        QVERIFY(openAsTheProgramDoes(client, ui, [&](TDM& dm) { documents = dm.TDok.recordCount(); }));
        QCOMPARE(recoveryMessages(ui),
                 QStringList{QStringLiteral("ZEP wurde zuletzt beendet, während Dokumente abgelegt, kopiert oder "
                                            "gelöscht wurden. Beim Öffnen des Mandanten wurde das in Ordnung "
                                            "gebracht:\n\n1 Dokument wurde fertig abgelegt; seine Datei lag schon an "
                                            "ihrem Platz.\n1 leerer Eintrag eines nicht beendeten Dialogs wurde "
                                            "entfernt.")});
        QCOMPARE(documents, 1);
        QVERIFY(!ui.infoVisible());
        test::ScriptedInteraction again;
        QVERIFY(openAsTheProgramDoes(client, again));
        QCOMPARE(recoveryMessages(again), QStringList());
    }

    void placedFileIsSyncedWithItsFolder_data() {
        QTest::addColumn<QString>("step");
        QTest::newRow("copied into Files") << "hinzufuegen-kopieren";
        QTest::newRow("moved into Files") << "hinzufuegen-verschieben";
    }

    // A file put in place by a rename is on disk with its name only once its folder is synced: that
    // happens before the record stops saying that its file is being placed.
    void placedFileIsSyncedWithItsFolder() {
        QFETCH(QString, step);
        REQUIRE_TOOL("strace", "strace fehlt: apt-get install strace");
        QTemporaryDir work(workPattern());
        const FaultClient client(work.path());
        faults::prepareFaultClient(client);
        const QStringList calls = tracedCalls(client, step);
        if (calls.isEmpty())
            SKIP_OR_FAIL_UNDER_CI("strace kann hier keinen Prozess verfolgen");
        const QString files = QDir::cleanPath(client.filesDir);
        const auto renamed = std::find_if(calls.begin(), calls.end(), [&](const QString& call) {
            return call.contains(QStringLiteral("rename")) && call.contains(QStringLiteral("\"%1/").arg(files));
        });
        QVERIFY2(renamed != calls.end(), qPrintable(calls.join(u'\n')));
        const auto synced = std::find_if(renamed, calls.end(), [&](const QString& call) {
            return call.contains(QStringLiteral("fsync(")) && call.contains(QStringLiteral("<%1>").arg(files));
        });
        const auto committed = std::find_if(renamed, calls.end(), [](const QString& call) {
            return call.contains(QStringLiteral("unlink(")) && call.contains(QStringLiteral("Dok.DB-journal"));
        });
        QVERIFY2(synced != calls.end() && synced < committed, qPrintable(calls.join(u'\n')));
    }

    void crashAtEveryWritePoint_data() {
        QTest::addColumn<QString>("step");
        for (const char* step : {"hinzufuegen-kopieren", "hinzufuegen-verschieben", "hinzufuegen-behalten",
                                 "mehrere-kopieren", "mehrere-verschieben", "neu", "kopieren",
                                 "kopieren-anderer-ordner", "loeschen", "eintrag-loeschen", "notiz"})
            QTest::newRow(step) << QString::fromLatin1(step);
    }

    // One step of the kill loop's program, killed as it enters every call that makes something last on
    // disk, one after the other: the copier's syncs, every rename (a copy put in place, a file moved
    // or put into the trash) and every removal (each commit of a table ends by removing its journal;
    // a kill at one of its data syncs before leaves the same: a commit that did not happen). After
    // each kill the client is opened as the program does, and nothing may be left that the register
    // does not account for.
    void crashAtEveryWritePoint() {
        QFETCH(QString, step);
        REQUIRE_TOOL("strace", "strace fehlt: apt-get install strace");
        QTemporaryDir work(workPattern());
        const FaultClient client(work.path());
        faults::prepareFaultClient(client);
        // A filed document for the steps that copy or delete one; strace runs it without killing.
        if (stepKilledAt(client, QStringLiteral("hinzufuegen-kopieren"), QString(), 0) ||
            auditRegister(client).records != 1)
            SKIP_OR_FAIL_UNDER_CI("strace kann hier keinen Prozess verfolgen");
        int kills = 0;
        for (const char* call : {"fsync", "rename", "renameat", "renameat2", "unlink", "unlinkat"}) {
            for (int n = 1;; ++n) {
                if (auditRegister(client).records == 0) // the last step deleted the only document
                    QVERIFY(!stepKilledAt(client, QStringLiteral("hinzufuegen-kopieren"), QString(), 0));
                const bool killed = stepKilledAt(client, step, QString::fromLatin1(call), n);
                test::ScriptedInteraction ui;
                QVERIFY(openAsTheProgramDoes(client, ui));
                const faults::RegisterAudit audit = auditRegister(client);
                QVERIFY2(audit.clean(), qPrintable(QStringLiteral("%1, getötet bei %2 Nr. %3: %4")
                                                       .arg(step, QString::fromLatin1(call))
                                                       .arg(n)
                                                       .arg(audit.line())));
                if (!killed)
                    break;
                ++kills;
            }
        }
        QVERIFY(kills > 0);
    }
};

QTEST_GUILESS_MAIN(FilingRecoveryTest)
#include "tst_filing_recovery.moc"
