#include "app/install_paths.h"
#include "app/tmand.h"
#include "data/table.h"
#include "data/tdm.h"
#include "documents/command_line.h"
#include "documents/dde_lookup.h"
#include "documents/document_opening.h"
#include "documents/document_printing.h"
#include "documents/file_types.h"
#include "documents/launch_command.h"
#include "documents/process_launcher.h"
#include "documents/shell_open.h"
#include "fake_associations.h"
#include "mainwin/dde_command.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sqlite3.h>

#include <optional>

using namespace zep;
using zep::test::appendRecord;

Q_DECLARE_METATYPE(zep::DocumentVerb)

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A program that writes its arguments, each followed by a NUL, into a file, and ends with a code.
QString writeScript(const QString& path, const QString& body) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body.toUtf8()) < 0)
        return QString();
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString recorder(const QString& path, const QString& record, int exitCode = 0) {
    return writeScript(path,
                       QStringLiteral("#!/bin/sh\n: > '%1'\nfor a in \"$@\"; do printf '%s\\0' \"$a\" >> '%1'; done\n"
                                      "pwd > '%1.dir'\nexit %2\n")
                           .arg(record)
                           .arg(exitCode));
}

QStringList recorded(const QString& record) {
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<nichts aufgezeichnet>")};
    QStringList arguments = QString::fromUtf8(file.readAll()).split(QChar(0));
    arguments.removeLast(); // after the last NUL
    return arguments;
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// A launcher that records what it is asked and answers with a set code.
class RecordingLauncher : public ProgramLauncher {
public:
    int start(const QString& program, const QStringList& arguments, const QString& directory) override {
        calls << QStringList{QStringLiteral("open"), program, arguments.join(u'|'), directory}.join(u'|');
        return code;
    }
    int openWithDesktop(const QString& document, const QString& directory, std::function<void()>) override {
        calls << QStringLiteral("desktop|%1|%2").arg(document, directory);
        return desktopCode.value_or(code);
    }
    QStringList calls;
    int code = shell_code::Started;
    std::optional<int> desktopCode; // what the desktop answers, when other than a program
};

// Records the print jobs it is asked for, as "way|document|printer".
class RecordingSpooler : public PrintSpooler {
public:
    QString missingProgram(PrintWay way) const override {
        return way == PrintWay::Office && !officeThere ? QStringLiteral("<kein Büroprogramm>") : QString();
    }
    void print(PrintWay way, const QString& document, const QString& printer) override {
        const QString kind = way == PrintWay::Office ? QStringLiteral("office") : QStringLiteral("system");
        jobs << QStringList{kind, document, printer}.join(u'|');
    }
    QStringList jobs;
    bool officeThere = true;
};

// A client whose files are r.pdf, "Notiz a.txt", b.odt and k.zip, and a register with an editor for
// txt and two programs for odt; TDok stands on a document of the given Datei and Ext.
class OpeningSetup {
public:
    bool create(const QString& datei, const QString& ext) {
        ensureInstallationLayout(paths.root);
        if (!QDir().mkpath(bin))
            return false;
        for (const char* name : {"edit", "office", "writer"})
            touch(bin + u'/' + QString::fromUtf8(name));
        {
            Table pro;
            test::openTable(pro, paths.general, QStringLiteral("Programm.DB"));
            appendRecord(pro, {{"Ext", "txt"}, {"Titel", "Editor"}, {"Anw", bin + QStringLiteral("/edit")}});
            appendRecord(pro, {{"Ext", "odt"}, {"Titel", "Writer"}, {"Anw", bin + QStringLiteral("/writer")}});
            appendRecord(pro, {{"Ext", "odt"}, {"Titel", "Office"}, {"Anw", bin + QStringLiteral("/office")}});
        }
        client.SetClientPaths(QStringLiteral("Kunde"), clientDir);
        if (!QDir().mkpath(client.FilesDir))
            return false;
        test::createClientTables(client.DataDir);
        for (const char* name : {"r.pdf", "Notiz a.txt", "b.odt", "k.zip"})
            touch(client.FilesDir + QString::fromUtf8(name));
        qint64 nr = 0;
        {
            Table dok;
            test::openTable(dok, client.DataDir, QStringLiteral("Dok.DB"));
            appendRecord(dok, {{"NrFirma", 1}, {"Ext", "zzz"}, {"Datei", "x.zzz"}});
            nr = appendRecord(dok, {{"NrFirma", 1}, {"Ext", ext}, {"Datei", datei}});
        }
        associations.setFileType(QStringLiteral("txt"), {QStringLiteral("text/plain"), QStringLiteral("Text")});
        associations.setVerbCommand(
            QStringLiteral("text/plain"), DocumentVerb::Open,
            {bin + QStringLiteral("/edit %f"), QStringLiteral("[open(%1)]"), QString(), QString()});
        associations.setVerbCommand(
            QStringLiteral("text/plain"), DocumentVerb::Play,
            {bin + QStringLiteral("/edit %f"), QStringLiteral("[play(%1)]"), QString(), QString()});
        dm = std::make_unique<TDM>(paths, interaction, associations);
        if (!dm->DMCreate())
            return false;
        dm->SetClientDataDir(client.DataDir);
        return dm->OpenClientTables() == 0 && dm->TDok.locate(u"Nr", nr);
    }

    // Windows that count the chooser (answering choice; "-" for Abort) and the address copies.
    OpeningWindows windows(const QString& choice) {
        OpeningWindows windows;
        windows.chooseApplication = [this, choice]() -> std::optional<QString> {
            ++chooserShown;
            if (choice == u"-")
                return std::nullopt;
            return QString(choice).replace(QStringLiteral("%B"), bin);
        };
        windows.copyAddress = [this] {
            ++copies;
        };
        return windows;
    }

    void open(DocumentVerb verb, const OpeningWindows& windows) {
        DocumentOpener opener(*dm, client, associations, launcher, spooler, windows);
        opener.OpenDocument(verb);
    }

    // %B the program directory, %F/ the files directory, %K the client directory.
    QString fill(QString text) const {
        return text.replace(QStringLiteral("%B"), bin)
            .replace(QStringLiteral("%F/"), client.FilesDir)
            .replace(QStringLiteral("%K"), clientDir);
    }

    QTemporaryDir dir;
    const InstallPaths paths = InstallPaths::fromDirectory(dir.filePath(QStringLiteral("inst")));
    const QString bin = dir.filePath(QStringLiteral("bin"));
    const QString clientDir = dir.filePath(QStringLiteral("Kunde"));
    TMand client;
    test::ScriptedInteraction interaction;
    test::FakeAssociations associations;
    std::unique_ptr<TDM> dm;
    RecordingLauncher launcher;
    RecordingSpooler spooler;
    int chooserShown = 0;
    int copies = 0;
};

} // namespace

class DocumentOpeningTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;

private slots:
    // The program file of a command line: the first word, quoted or not, found on the path.
    void cutAfterProgramFile_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("program");
        const QString bin = tmp_.filePath(QStringLiteral("bin"));
        QTest::newRow("absolute with field code") << "/opt/office/soffice --writer %U"
                                                  << "/opt/office/soffice";
        QTest::newRow("quoted path with blank") << "\"/opt/my office/run\" %f"
                                                << "/opt/my office/run";
        QTest::newRow("bare name on the path") << "zepdummy %F" << bin + QStringLiteral("/zepdummy");
        QTest::newRow("bare name nowhere") << "nirgendwo-zep %F"
                                           << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void cutAfterProgramFile() {
        QFETCH(QString, command);
        QFETCH(QString, program);
        const QString bin = tmp_.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        QVERIFY(!recorder(bin + QStringLiteral("/zepdummy"), tmp_.filePath(QStringLiteral("unused"))).isEmpty());
        QCOMPARE(CutAfterProgramFile(command, {bin}), program);
    }

    // Words as a desktop entry's Exec key writes them.
    void splitCommandLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words"); // {"<keine>"}: does not split
        QTest::newRow("blanks and tabs") << "  app  -x\t%U " << QStringList{"app", "-x", "%U"};
        QTest::newRow("double quotes group")
            << "\"/opt/my office/run\" --a=\"b c\"" << QStringList{"/opt/my office/run", "--a=b c"};
        QTest::newRow("escapes inside double quotes")
            << "\"a \\\"q\\\" \\$HOME \\\\ \\`x\\`\"" << QStringList{"a \"q\" $HOME \\ `x`"};
        QTest::newRow("single quotes as written")
            << "sh -c 'echo \"$1\"' %f" << QStringList{"sh", "-c", "echo \"$1\"", "%f"};
        QTest::newRow("backslash outside quotes") << "a\\ b c" << QStringList{"a b", "c"};
        QTest::newRow("empty quoted word") << "app \"\" x" << QStringList{"app", "", "x"};
        QTest::newRow("open double quote") << "app \"x" << QStringList{"<keine>"};
        QTest::newRow("open single quote") << "app 'x" << QStringList{"<keine>"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitCommandLine() {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        QCOMPARE(zep::splitCommandLine(line).value_or(QStringList{QStringLiteral("<keine>")}), words);
    }

    // Field codes filled for one document; %P is its path, %L its file URL.
    void fillFieldCodes_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<bool>("withDocument");
        QTest::addColumn<QStringList>("filled");
        QTest::newRow("%f") << QStringList{"app", "%f"} << true << QStringList{"app", "%P"};
        QTest::newRow("%F") << QStringList{"app", "%F"} << true << QStringList{"app", "%P"};
        QTest::newRow("%u") << QStringList{"app", "%u"} << true << QStringList{"app", "%L"};
        QTest::newRow("%U") << QStringList{"app", "--", "%U"} << true << QStringList{"app", "--", "%L"};
        QTest::newRow("inside a word") << QStringList{"app", "--file=%f"} << true << QStringList{"app", "--file=%P"};
        QTest::newRow("flatpak forwarding") << QStringList{"flatpak", "run", "org.x.App", "@@u", "%U", "@@"} << true
                                            << QStringList{"flatpak", "run", "org.x.App", "@@u", "%L", "@@"};
        QTest::newRow("no file code: document appended")
            << QStringList{"app", "-n"} << true << QStringList{"app", "-n", "%P"};
        QTest::newRow("no document: file codes vanish")
            << QStringList{"app", "%U", "--file=%f"} << false << QStringList{"app", "--file="};
        QTest::newRow("icon, name, location, percent")
            << QStringList{"app", "%i", "--title=%c", "%k", "100%%"} << true
            << QStringList{"app", "--icon", "zep-edit", "--title=Editor", "/e/zep.desktop", "100%", "%P"};
        QTest::newRow("deprecated codes vanish")
            << QStringList{"app", "%d", "%n", "%m", "%f"} << true << QStringList{"app", "%P"};
    }
    void fillFieldCodes() {
        QFETCH(QStringList, words);
        QFETCH(bool, withDocument);
        QFETCH(QStringList, filled);
        const QString document = QStringLiteral("/d/Brief an Müller.txt");
        const QString url = QString::fromUtf8(QUrl::fromLocalFile(document).toEncoded());
        QCOMPARE(url, QStringLiteral("file:///d/Brief%20an%20M%C3%BCller.txt"));
        filled.replaceInStrings(QStringLiteral("%P"), document).replaceInStrings(QStringLiteral("%L"), url);
        const EntryFields entry{QStringLiteral("zep-edit"), QStringLiteral("Editor"), QStringLiteral("/e/zep.desktop")};
        QCOMPARE(zep::fillFieldCodes(words, withDocument ? document : QString(), entry), filled);
    }

    // What a register's program value starts: a program file, a desktop entry or a command line. %B is
    // the test's program directory, %D the document, %E the entry directory.
    void launchCommand_data() {
        QTest::addColumn<QString>("registered");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("missing");
        QTest::newRow("program file") << "%B/edit"
                                      << "%B/edit" << QStringList{"%D"} << "";
        QTest::newRow("program file with blank") << "%B/mein edit"
                                                 << "%B/mein edit" << QStringList{"%D"} << "";
        QTest::newRow("desktop entry with env") << "%E/env.desktop"
                                                << "/usr/bin/env" << QStringList{"A=1", "edit", "--neu", "%D"} << "";
        QTest::newRow("desktop entry without file code") << "%E/plain.desktop"
                                                         << "%B/edit" << QStringList{"%D"} << "";
        QTest::newRow("desktop entry, program missing") << "%E/gone.desktop"
                                                        << "" << QStringList{} << "zep-nirgends";
        QTest::newRow("desktop entry, env's program missing") << "%E/envgone.desktop"
                                                              << "" << QStringList{} << "zep-nirgends";
        QTest::newRow("desktop entry that does not split") << "%E/broken.desktop"
                                                           << "" << QStringList{} << "%E/broken.desktop";
        QTest::newRow("typed command line with field code") << "edit --neu %f"
                                                            << "%B/edit" << QStringList{"--neu", "%D"} << "";
        QTest::newRow("typed command line without field code")
            << "env A=1 edit -x"
            << "/usr/bin/env" << QStringList{"A=1", "edit", "-x", "%D"} << "";
        QTest::newRow("missing program file") << "%B/nicht da"
                                              << "" << QStringList{} << "%B/nicht da";
        QTest::newRow("missing program of a command line") << "zep-nirgends %f"
                                                           << "" << QStringList{} << "zep-nirgends %f";
    }
    void launchCommand() {
        QFETCH(QString, registered);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, missing);
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString entries = dir.filePath(QStringLiteral("entries"));
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(entries));
        QVERIFY(!recorder(bin + QStringLiteral("/edit"), dir.filePath(QStringLiteral("unused"))).isEmpty());
        QVERIFY(!recorder(bin + QStringLiteral("/mein edit"), dir.filePath(QStringLiteral("unused"))).isEmpty());
        const auto entry = [&](const char* name, const char* exec) {
            QVERIFY(!writeScript(entries + u'/' + QString::fromLatin1(name),
                                 QStringLiteral("[Desktop Entry]\nType=Application\nName=E\nExec=%1\n")
                                     .arg(QString::fromLatin1(exec)))
                         .isEmpty());
        };
        entry("env.desktop", "env A=1 edit --neu %U");
        entry("plain.desktop", "edit");
        entry("gone.desktop", "zep-nirgends %f");
        entry("envgone.desktop", "env A=1 zep-nirgends %f");
        entry("broken.desktop", "edit \"%f");
        const QString document = dir.filePath(QStringLiteral("Brief.txt"));
        touch(document);
        const auto fill = [&](QString text) {
            return text.replace(QStringLiteral("%B"), bin).replace(QStringLiteral("%E"), entries);
        };
        const LaunchCommand command = zep::launchCommand(fill(registered), document, {bin, QStringLiteral("/usr/bin")});
        QCOMPARE(command.missing, fill(missing));
        QCOMPARE(command.program, fill(program));
        const QString url = QString::fromUtf8(QUrl::fromLocalFile(document).toEncoded());
        arguments.replaceInStrings(QStringLiteral("%D"), registered.endsWith(u"env.desktop") ? url : document);
        QCOMPARE(command.arguments, arguments);
    }

    // The register is filled with the desktop entry that opens the type, else with the program its command runs.
    void lookupFileType_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("program");
        QTest::newRow("desktop entry") << "env A=1 /opt/edit %U"
                                       << "/e/edit.desktop"
                                       << "/e/edit.desktop";
        QTest::newRow("command only, after env") << "env A=1 /opt/edit %U"
                                                 << ""
                                                 << "/opt/edit";
        QTest::newRow("nothing registered") << ""
                                            << ""
                                            << "";
    }
    void lookupFileType() {
        QFETCH(QString, command);
        QFETCH(QString, entry);
        QFETCH(QString, program);
        test::FakeAssociations associations;
        associations.setFileType(QStringLiteral("txt"), {QStringLiteral("text/plain"), QStringLiteral("Text")});
        associations.setVerbCommand(QStringLiteral("text/plain"), DocumentVerb::Open,
                                    {command, QString(), QString(), QString(), entry});
        const FileTypeInfo info = LookupFileType(associations, QStringLiteral("txt"));
        QCOMPARE(info.description, QStringLiteral("Text"));
        QCOMPARE(info.program, program);
    }

    // The request of the document's type and verb, only for the program the type's command runs.
    void findDdeCommand_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("document");
        QTest::addColumn<DocumentVerb>("verb");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("command");
        const auto open = DocumentVerb::Open;
        const auto play = DocumentVerb::Play;
        const auto print = DocumentVerb::Print;
        QTest::newRow("same program") << "/opt/Office/Writer.bin"
                                      << "/d/a.odt" << open << true << "Writer"
                                      << ""
                                      << "[open(%1)]";
        QTest::newRow("program in other letter case") << "/opt/office/writer.bin"
                                                      << "/d/a.odt" << open << false << ""
                                                      << ""
                                                      << "";
        QTest::newRow("extension in upper case") << "/opt/Office/Writer.bin"
                                                 << "/d/A.ODT" << open << true << "Writer"
                                                 << ""
                                                 << "[open(%1)]";
        QTest::newRow("play verb has its own request") << "/opt/Office/Writer.bin"
                                                       << "/d/a.odt" << play << true << "org.office.Writer"
                                                       << "Wiedergabe"
                                                       << "[play(\"%1\")]";
        QTest::newRow("print verb registers none") << "/opt/Office/Writer.bin"
                                                   << "/d/a.odt" << print << false << ""
                                                   << ""
                                                   << "";
        QTest::newRow("quotes around the whole request go") << "/usr/bin/viewer"
                                                            << "/d/b.pdf" << open << true << "viewer"
                                                            << ""
                                                            << "%1";
        QTest::newRow("the register names the type's entry") << "/e/viewer.desktop"
                                                             << "/d/b.pdf" << open << true << "viewer"
                                                             << ""
                                                             << "%1";
        QTest::newRow("the register names another entry") << "/e/other.desktop"
                                                          << "/d/b.pdf" << open << false << ""
                                                          << ""
                                                          << "";
        QTest::newRow("command without request") << "/usr/bin/editor"
                                                 << "/d/c.txt" << open << false << ""
                                                 << ""
                                                 << "";
        QTest::newRow("unregistered type, no program") << ""
                                                       << "/d/x.zzz" << open << false << ""
                                                       << ""
                                                       << "";
        QTest::newRow("type whose command names no program, no program") << ""
                                                                         << "/d/n.nop" << open << true << ""
                                                                         << ""
                                                                         << "go %1";
        QTest::newRow("document without extension") << "/opt/Office/Writer.bin"
                                                    << "/d/ohne" << open << false << ""
                                                    << ""
                                                    << "";
    }
    void findDdeCommand() {
        QFETCH(QString, program);
        QFETCH(QString, document);
        QFETCH(DocumentVerb, verb);
        QFETCH(bool, found);
        QFETCH(QString, service);
        QFETCH(QString, topic);
        QFETCH(QString, command);
        test::FakeAssociations associations;
        associations.setFileType(QStringLiteral("odt"), {QStringLiteral("application/vnd.oasis.opendocument.text"),
                                                         QStringLiteral("Textdokument")});
        associations.setVerbCommand(
            QStringLiteral("application/vnd.oasis.opendocument.text"), DocumentVerb::Open,
            {QStringLiteral("/opt/Office/Writer.bin --writer %U"), QStringLiteral("[open(%1)]"), QString(), QString()});
        associations.setVerbCommand(QStringLiteral("application/vnd.oasis.opendocument.text"), DocumentVerb::Play,
                                    {QStringLiteral("\"/opt/Office/Writer.bin\" %U"), QStringLiteral("[play(\"%1\")]"),
                                     QStringLiteral("\"org.office.Writer\""), QStringLiteral("Wiedergabe")});
        associations.setFileType(QStringLiteral("pdf"), {QStringLiteral("application/pdf"), QStringLiteral("PDF")});
        associations.setVerbCommand(QStringLiteral("application/pdf"), DocumentVerb::Open,
                                    {QStringLiteral("/usr/bin/viewer %f"), QStringLiteral("\"%1\""), QString(),
                                     QString(), QStringLiteral("/e/viewer.desktop")});
        associations.setFileType(QStringLiteral("txt"), {QStringLiteral("text/plain"), QStringLiteral("Text")});
        associations.setVerbCommand(QStringLiteral("text/plain"), DocumentVerb::Open,
                                    {QStringLiteral("/usr/bin/editor %f"), QString(), QString(), QString()});
        associations.setFileType(QStringLiteral("nop"), {QStringLiteral("application/x-nop"), QString()});
        associations.setVerbCommand(QStringLiteral("application/x-nop"), DocumentVerb::Open,
                                    {QString(), QStringLiteral("go %1"), QString(), QString()});
        const auto result = FindDdeCommand(associations, program, document, verb);
        QCOMPARE(result.has_value(), found);
        if (!found)
            return;
        QCOMPARE(result->service, service);
        QCOMPARE(result->topic, topic);
        QCOMPARE(result->command, command);
    }

    // What the application is sent: the first "%1" becomes the file, quotes written around it stay.
    void requestText_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("sent");
        QTest::newRow("quotes around %1") << "[open(\"%1\")]"
                                          << "[open(\"/d/mein Brief.odt\")]";
        QTest::newRow("only the first %1") << "[open(%1)][print(%1)]"
                                           << "[open(/d/mein Brief.odt)][print(%1)]";
        QTest::newRow("no %1: nothing sent") << "[open()]"
                                             << "<nichts>";
    }
    void requestText() {
        QFETCH(QString, request);
        QFETCH(QString, sent);
        QCOMPARE(ddeCommandText(request, QStringLiteral("/d/mein Brief.odt")).value_or(QStringLiteral("<nichts>")),
                 sent);
    }

    // Missing files are named (the document first); a code of 32 or less is a refusal.
    void shellOpenMessages_data() {
        QTest::addColumn<bool>("programThere");
        QTest::addColumn<bool>("documentThere");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("both there, started") << true << true << 42 << "";
        QTest::newRow("code 33 is success") << true << true << 33 << "";
        QTest::newRow("code 32 is a refusal") << true << true << 32 << "Fehler beim Öffnen des Dokuments\n\rFehler: 32";
        QTest::newRow("no association") << true << true << 31 << "Fehler beim Öffnen des Dokuments\n\rFehler: 31";
        QTest::newRow("program missing") << false << true << 42 << "Kann Anwendung \"%P\" nicht finden";
        QTest::newRow("document missing") << true << false << 42 << "Kann Datei \"%D\" nicht finden";
        QTest::newRow("both missing: the document") << false << false << 42 << "Kann Datei \"%D\" nicht finden";
    }
    void shellOpenMessages() {
        QFETCH(bool, programThere);
        QFETCH(bool, documentThere);
        QFETCH(int, code);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("prog"));
        const QString document = dir.filePath(text("Brief Müller.odt"));
        if (programThere)
            touch(program);
        if (documentThere)
            touch(document);
        test::ScriptedInteraction interaction;
        RecordingLauncher launcher;
        launcher.code = code;
        const int result = ShellOpen(launcher, program, document, dir.path());
        message.replace(QStringLiteral("%P"), program).replace(QStringLiteral("%D"), document);
        QCOMPARE(interaction.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        const bool reached = programThere && documentThere;
        QCOMPARE(launcher.calls, reached
                                     ? QStringList{QStringLiteral("open|%1|%2|%3").arg(program, document, dir.path())}
                                     : QStringList());
        QCOMPARE(result, reached ? code : 0);
    }

    void shellOpenWithoutProgramUsesTheDesktop() {
        QTemporaryDir dir;
        const QString document = dir.filePath(QStringLiteral("a.odt"));
        touch(document);
        test::ScriptedInteraction interaction;
        RecordingLauncher launcher;
        ShellOpen(launcher, QString(), document, QString());
        QCOMPARE(launcher.calls, QStringList{QStringLiteral("desktop|%1|").arg(document)});
        QVERIFY(interaction.texts().isEmpty());
    }

    // When the desktop has nothing that opens the document, the caller's offer replaces the message: at
    // once, or later when the desktop's opener tells so; once the launcher is gone, the message is back.
    void noApplicationIsOffered_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("at once") << "at once";
        QTest::newRow("later, from the opener") << "later";
        QTest::newRow("later, launcher gone") << "launcher gone";
    }
    void noApplicationIsOffered() {
        QFETCH(QString, how);
        QTemporaryDir dir;
        const QString document = dir.filePath(QStringLiteral("a.zzz"));
        touch(document);
        test::ScriptedInteraction interaction;
        int offers = 0;
        const auto offer = [&offers] {
            ++offers;
        };
        if (how == u"at once") {
            RecordingLauncher launcher;
            launcher.code = shell_code::NoAssociation;
            QCOMPARE(ShellOpen(launcher, QString(), document, dir.path(), offer), shell_code::NoAssociation);
            QCOMPARE(offers, 1);
            QCOMPARE(interaction.texts(), QStringList());
            return;
        }
        const QString opener = recorder(dir.filePath(QStringLiteral("xdg-open")), dir.filePath(QStringLiteral("r")), 3);
        auto launcher = std::make_unique<ProcessLauncher>(opener);
        QCOMPARE(ShellOpen(*launcher, QString(), document, dir.path(), offer), shell_code::Started);
        if (how == u"launcher gone")
            launcher.reset();
        const QStringList message{shellFailureMessage(shell_code::NoAssociation)};
        QTRY_COMPARE(interaction.texts().size() + offers, 1);
        QCOMPARE(offers, how == u"later" ? 1 : 0);
        QCOMPARE(interaction.texts(), how == u"later" ? QStringList() : message);
    }

    // A choice the register cannot keep (another program holds its write lock) is reported with the
    // engine's message; the document is opened with it all the same, and no half-made record stays.
    void rememberedChoiceRefusedByTheRegister() {
        OpeningSetup setup;
        QVERIFY(setup.create(QStringLiteral("k.zip"), QStringLiteral("zip")));
        setup.launcher.desktopCode = shell_code::NoAssociation;
        OpeningWindows windows = setup.windows(QString());
        QStringList offered;
        windows.chooseOtherApplication = [&](const QString& path, const QString& ext,
                                             const QList<DesktopApplication>&) -> std::optional<ApplicationChoice> {
            offered << path + u'|' + ext;
            return ApplicationChoice{setup.bin + QStringLiteral("/edit"), QStringLiteral("Editor"), true};
        };
        sqlite3* other = nullptr;
        const QByteArray registerFile = (setup.paths.general + QStringLiteral("/Programm.DB")).toUtf8();
        QCOMPARE(sqlite3_open(registerFile.constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        setup.open(DocumentVerb::Open, windows);
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(offered, QStringList{setup.fill(QStringLiteral("%F/k.zip|zip"))});
        QCOMPARE(setup.interaction.texts().size(), 1);
        QVERIFY2(setup.interaction.texts().value(0).contains(QStringLiteral("database is locked")),
                 qPrintable(setup.interaction.texts().value(0)));
        QCOMPARE(setup.launcher.calls, (QStringList{setup.fill(QStringLiteral("desktop|%F/k.zip|%K")),
                                                    setup.fill(QStringLiteral("open|%B/edit|%F/k.zip|%K"))}));
        QCOMPARE(setup.dm->TPro.state(), DataSetState::Browse);
        Table pro;
        test::openTable(pro, setup.paths.general, QStringLiteral("Programm.DB"));
        QVERIFY(!pro.locate(u"Ext", QStringLiteral("zip")));
    }

    // Names with blanks, umlauts, quotes and shell characters reach the program as one argument.
    void launcherPassesTheExactPath_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("blank and umlaut") << text("Brief an Müller.odt");
        QTest::newRow("quotes") << text("Angebot \"neu\" 'b'.odt");
        QTest::newRow("shell characters") << text("a;b $(touch x) `y` & z*.txt");
        QTest::newRow("leading dash") << text("-rf.txt");
    }
    void launcherPassesTheExactPath() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString record = dir.filePath(QStringLiteral("args"));
        const QString program = recorder(dir.filePath(QStringLiteral("opener")), record);
        const QString document = dir.filePath(name);
        touch(document);
        test::ScriptedInteraction interaction;
        ProcessLauncher launcher(QStringLiteral("/nicht/da"), 5000);
        QVERIFY(ShellOpen(launcher, program, document, dir.path()) > 32);
        QCOMPARE(recorded(record), QStringList{document});
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x"))));
        QVERIFY(interaction.texts().isEmpty());
    }

    // A program that cannot run or ends with an error is reported, never passed over.
    void launcherCodes_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("code");
        QTest::newRow("ends with an error") << "exit 1" << shell_code::ProgramFailed;
        QTest::newRow("not executable") << "no x" << shell_code::AccessDenied;
        QTest::newRow("missing") << "missing" << shell_code::NotFound;
        QTest::newRow("desktop opener without handler") << "desktop exit 3" << shell_code::NoAssociation;
        QTest::newRow("desktop opener: file missing") << "desktop exit 2" << shell_code::NotFound;
        QTest::newRow("desktop opener failing otherwise") << "desktop exit 4" << shell_code::ProgramFailed;
        QTest::newRow("desktop opener not installed") << "no desktop opener" << shell_code::NoAssociation;
        QTest::newRow("desktop opener succeeds") << "desktop exit 0" << shell_code::Started;
    }
    void launcherCodes() {
        QFETCH(QString, kind);
        QFETCH(int, code);
        QTemporaryDir dir;
        const QString record = dir.filePath(QStringLiteral("args"));
        const QString document = dir.filePath(text("Akte Ölmühle.txt"));
        touch(document);
        QString program = dir.filePath(QStringLiteral("prog"));
        QString opener = QStringLiteral("/nicht/da");
        if (kind == u"exit 1")
            recorder(program, record, 1);
        else if (kind == u"no x")
            touch(program);
        else if (kind.startsWith(u"desktop exit"))
            opener = recorder(dir.filePath(QStringLiteral("xdg-open")), record, kind.right(1).toInt());
        ProcessLauncher launcher(opener, 5000);
        const bool desktop = kind.contains(u"desktop");
        QCOMPARE(desktop ? launcher.openWithDesktop(document, QString(), {})
                         : launcher.start(program, {document}, QString()),
                 code);
        if (kind == u"desktop exit 0")
            QCOMPARE(recorded(record), QStringList{document});
    }

    void lateFailureIsReported_data() {
        QTest::addColumn<int>("graceMs");
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("withInteraction");
        QTest::newRow("after the grace time") << 50 << "#!/bin/sh\nsleep 0.4\nexit 7\n" << true;
        // Fails at once, yet the launcher that never waits has already answered "started".
        QTest::newRow("the window's launcher, which never waits") << 0 << "#!/bin/sh\nexit 7\n" << true;
        QTest::newRow("after the windows have gone") << 0 << "#!/bin/sh\nexit 7\n" << false;
    }

    // A program still running after the grace time is reported when it ends with an error: to the
    // user, or to the log when no window is left to tell.
    void lateFailureIsReported() {
        QFETCH(int, graceMs);
        QFETCH(QString, script);
        QFETCH(bool, withInteraction);
        QTemporaryDir dir;
        const QString program = writeScript(dir.filePath(QStringLiteral("failing")), script);
        std::optional<test::ScriptedInteraction> interaction;
        if (withInteraction)
            interaction.emplace();
        static QStringList logged;
        logged.clear();
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type == QtWarningMsg)
                    logged << text;
            });
        const auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });
        ProcessLauncher launcher(QString(), graceMs);
        QCOMPARE(launcher.start(program, {}, dir.path()), shell_code::Started);
        if (interaction) {
            QVERIFY(interaction->texts().isEmpty());
            QTRY_COMPARE(interaction->texts(), QStringList{shellFailureMessage(shell_code::ProgramFailed)});
        } else {
            QTRY_COMPARE(logged, QStringList{shellFailureMessage(shell_code::ProgramFailed)});
        }
    }

    // A program that ran past the start-up window had opened the document: its error at the end
    // (an editor closed hours later) is not reported as a failure to open.
    void endOfALongRunningProgramIsNoOpeningFailure() {
        QTemporaryDir dir;
        const QString program =
            writeScript(dir.filePath(QStringLiteral("editor")), QStringLiteral("#!/bin/sh\nsleep 0.4\nexit 7\n"));
        const QString done = dir.filePath(QStringLiteral("done"));
        const QString marker = writeScript(dir.filePath(QStringLiteral("marker")),
                                           QStringLiteral("#!/bin/sh\nsleep 0.6\ntouch \"%1\"\n").arg(done));
        test::ScriptedInteraction interaction;
        ProcessLauncher launcher(QString(), 0, 100);
        QCOMPARE(launcher.start(program, {}, dir.path()), shell_code::Started);
        QCOMPARE(launcher.start(marker, {}, dir.path()), shell_code::Started);
        QTRY_VERIFY(QFile::exists(done));
        QTest::qWait(100);
        QVERIFY(interaction.texts().isEmpty());
    }

    void programRunsInTheWorkingDirectory() {
        QTemporaryDir dir;
        const QString record = dir.filePath(QStringLiteral("args"));
        const QString program = recorder(dir.filePath(QStringLiteral("p")), record);
        const QString work = dir.filePath(text("Mandant Süd"));
        QVERIFY(QDir().mkpath(work));
        ProcessLauncher launcher(QString(), 5000);
        QCOMPARE(launcher.start(program, {}, work), shell_code::Started);
        QCOMPARE(recorded(record), QStringList());
        QFile pwd(record + QStringLiteral(".dir"));
        QVERIFY(pwd.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(pwd.readAll()).trimmed(), work);
    }

    // The register decides the program: none (the desktop's choice), one, or the chooser among several,
    // whose Abort opens nothing and copies no address.
    void openDocument_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("choice"); // what the chooser answers; "-" for Abort
        QTest::addColumn<DocumentVerb>("verb");
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("chooserShown");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("ddeAnswer"); // "takes", "not sent" or "refused later"
        QTest::addColumn<QString>("ddeCall");   // what it was sent: application flag|service|request|file
        const QStringList none;
        QTest::newRow("no application: the desktop")
            << "r.pdf"
            << "pdf"
            << "" << DocumentVerb::Open << "desktop|%F/r.pdf|%K" << 0 << 1 << none << "not sent"
            << "";
        QTest::newRow("one application") << "Notiz a.txt"
                                         << "txt"
                                         << "" << DocumentVerb::Open << "open|%B/edit|%F/Notiz a.txt|%K" << 0 << 1
                                         << none << "not sent"
                                         << "0|edit|[open(%1)]|%F/Notiz a.txt";
        QTest::newRow("play request refused: the program opens it")
            << "Notiz a.txt"
            << "txt"
            << "" << DocumentVerb::Play << "open|%B/edit|%F/Notiz a.txt|%K" << 0 << 1 << none << "not sent"
            << "1|edit|[play(%1)]|%F/Notiz a.txt";
        QTest::newRow("two applications, second chosen")
            << "b.odt"
            << "odt"
            << "%B/office" << DocumentVerb::Open << "open|%B/office|%F/b.odt|%K" << 1 << 1 << none << "not sent"
            << "";
        QTest::newRow("two applications, Abort") << "b.odt"
                                                 << "odt"
                                                 << "-" << DocumentVerb::Open << "" << 1 << 0 << none << "not sent"
                                                 << "";
        QTest::newRow("note") << ""
                              << "---"
                              << "" << DocumentVerb::Open << "" << 0 << 0
                              << QStringList{QStringLiteral("Das ist eine Notiz, keine Datei")} << "not sent"
                              << "";
        QTest::newRow("file elsewhere, missing: no request sent")
            << "/nicht/da.txt"
            << "txt"
            << "" << DocumentVerb::Open << "" << 0 << 1
            << QStringList{QStringLiteral("Kann Datei \"/nicht/da.txt\" nicht finden")} << "not sent"
            << "";
        // Neither a bare name nor a full path: refused before anything is asked, started or printed,
        // though the working directory holds a file of that name.
        const auto refusal = [](const char* datei) {
            return QStringList{QStringLiteral("Die Datei \"%1\" ist weder ein bloßer Name (ohne \"/\") im Ordner "
                                              "\"Files\" des Mandanten noch ein vollständiger Pfad (mit \"/\" am "
                                              "Anfang); ZEP verwendet sie nicht.")
                                   .arg(QString::fromUtf8(datei))};
        };
        for (const char* datei : {"sub/x.txt", "../outside/x.txt", "./x.txt"}) {
            for (const DocumentVerb verb : {DocumentVerb::Open, DocumentVerb::Print})
                QTest::addRow("relative %s, verb %d", datei, int(verb))
                    << QString::fromUtf8(datei) << "txt"
                    << "" << verb << "" << 0 << 0 << refusal(datei) << "not sent"
                    << "";
        }
        QTest::newRow("running application takes the request")
            << "Notiz a.txt"
            << "txt"
            << "" << DocumentVerb::Open << "" << 0 << 1 << none << "takes"
            << "0|edit|[open(%1)]|%F/Notiz a.txt";
        QTest::newRow("request refused later: the program opens it")
            << "Notiz a.txt"
            << "txt"
            << "" << DocumentVerb::Open << "open|%B/edit|%F/Notiz a.txt|%K" << 0 << 1 << none << "refused later"
            << "0|edit|[open(%1)]|%F/Notiz a.txt";
        QTest::newRow("play request may start the application")
            << "Notiz a.txt"
            << "txt"
            << "" << DocumentVerb::Play << "" << 0 << 1 << none << "takes"
            << "1|edit|[play(%1)]|%F/Notiz a.txt";
    }

    void openDocument() {
        QFETCH(QString, datei);
        QFETCH(QString, ext);
        QFETCH(QString, choice);
        QFETCH(DocumentVerb, verb);
        QFETCH(QString, call);
        QFETCH(int, chooserShown);
        QFETCH(int, copies);
        QFETCH(QStringList, messages);
        QFETCH(QString, ddeAnswer);
        QFETCH(QString, ddeCall);
        OpeningSetup setup;
        QVERIFY(setup.create(datei, ext));
        OpeningWindows windows = setup.windows(choice);
        const QString work = setup.dir.filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(work + QStringLiteral("/sub")) &&
                QDir().mkpath(setup.dir.filePath(QStringLiteral("outside"))));
        for (const char* relative : {"sub/x.txt", "../outside/x.txt", "x.txt"})
            touch(QDir(work).filePath(QString::fromUtf8(relative)));
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        const auto restore = qScopeGuard([&] { QDir::setCurrent(oldCurrent); });
        QStringList ddeCalls;
        std::function<void()> notTaken;
        windows.executeDde = [&](bool setApplication, const QString&, const QString& service, const QString&,
                                 const QString& command, const QString& fileName, std::function<void()> refused) {
            ddeCalls << QStringLiteral("%1|%2|%3|%4").arg(int(setApplication)).arg(service, command, fileName);
            notTaken = std::move(refused);
            return ddeAnswer != u"not sent";
        };
        setup.open(verb, windows);
        // The application's refusal comes after the opening has returned.
        if (ddeAnswer == u"refused later") {
            QVERIFY(setup.launcher.calls.isEmpty());
            QVERIFY(notTaken);
            notTaken();
        }
        QCOMPARE(setup.launcher.calls, call.isEmpty() ? QStringList() : QStringList{setup.fill(call)});
        QCOMPARE(ddeCalls, ddeCall.isEmpty() ? QStringList() : QStringList{setup.fill(ddeCall)});
        QCOMPARE(setup.chooserShown, chooserShown);
        QCOMPARE(setup.copies, copies);
        QCOMPARE(setup.interaction.texts(), messages);
        QCOMPARE(setup.spooler.jobs, QStringList());
    }

    // "Drucken" needs no application of the register: the type decides the way, the user the printer.
    // What cannot be printed is told before a printer is asked for, and only a document handed on
    // copies the address.
    void printDocument_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("printer"); // what the print dialog answers; "-" for Cancel
        QTest::addColumn<bool>("officeThere");
        QTest::addColumn<int>("printerAsked");
        QTest::addColumn<QString>("job"); // way|document|printer
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        QTest::newRow("pdf to the chosen printer") << "r.pdf"
                                                   << "pdf"
                                                   << "Buero" << true << 1 << "system|%F/r.pdf|Buero" << none;
        QTest::newRow("text to the default printer") << "Notiz a.txt"
                                                     << "txt"
                                                     << "" << true << 1 << "system|%F/Notiz a.txt|" << none;
        QTest::newRow("office document, two applications: no chooser")
            << "b.odt"
            << "odt"
            << "Buero" << true << 1 << "office|%F/b.odt|Buero" << none;
        QTest::newRow("printer choice cancelled") << "r.pdf"
                                                  << "pdf"
                                                  << "-" << true << 1 << "" << none;
        QTest::newRow("type nothing prints")
            << "k.zip"
            << "zip"
            << "Buero" << true << 0 << ""
            << QStringList{QStringLiteral("Dokumente vom Typ \"Zip-Archiv\" kann ZEP nicht drucken.")};
        QTest::newRow("office not installed") << "b.odt"
                                              << "odt"
                                              << "Buero" << false << 0 << "" << QStringList{"<kein Büroprogramm>"};
        QTest::newRow("file missing") << "/nicht/da.pdf"
                                      << "pdf"
                                      << "Buero" << true << 0 << ""
                                      << QStringList{QStringLiteral("Kann Datei \"/nicht/da.pdf\" nicht finden")};
        QTest::newRow("note") << ""
                              << "---"
                              << "Buero" << true << 0 << ""
                              << QStringList{QStringLiteral("Das ist eine Notiz, keine Datei")};
    }
    void printDocument() {
        QFETCH(QString, datei);
        QFETCH(QString, ext);
        QFETCH(QString, printer);
        QFETCH(bool, officeThere);
        QFETCH(int, printerAsked);
        QFETCH(QString, job);
        QFETCH(QStringList, messages);
        OpeningSetup setup;
        QVERIFY(setup.create(datei, ext));
        setup.spooler.officeThere = officeThere;
        OpeningWindows windows = setup.windows(QString());
        int asked = 0;
        windows.choosePrinter = [&]() -> std::optional<QString> {
            ++asked;
            return printer == u"-" ? std::nullopt : std::optional(printer);
        };
        setup.open(DocumentVerb::Print, windows);
        QCOMPARE(asked, printerAsked);
        QCOMPARE(setup.spooler.jobs, job.isEmpty() ? QStringList() : QStringList{setup.fill(job)});
        QCOMPARE(setup.copies, job.isEmpty() ? 0 : 1);
        QCOMPARE(setup.chooserShown, 0);
        QCOMPARE(setup.launcher.calls, QStringList());
        QCOMPARE(setup.interaction.texts(), messages);
    }
};

QTEST_GUILESS_MAIN(DocumentOpeningTest)
#include "tst_document_opening.moc"
