#include "data/application_register.h"
#include "data/schema.h"
#include "data/table.h"
#include "documents/command_line.h"
#include "documents/desktop_entry.h"
#include "documents/process_launcher.h"
#include "documents/shell_open.h"
#include "environment_override.h"
#include "fake_associations.h"
#include "platform/desktop_associations.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>

using namespace zep;
using zep::test::FakeAssociations;

namespace {

const QString fixtures = QStringLiteral(ZEP_TEST_DATA "/desktop");

DesktopApplication application(const QString& id, const QString& name, const QString& program, const QString& icon) {
    DesktopApplication app;
    app.id = id;
    app.name = name;
    app.program = program;
    app.icon = icon;
    return app;
}

// The register's records as "Ext|Anw|Titel|IconNr", in key order.
QStringList registerRecords(const QString& generalDir) {
    Table table;
    table.setIndexName(QStringLiteral("iExt"));
    test::openTable(table, generalDir, QStringLiteral("Programm.DB"));
    QStringList records;
    for (table.first(); !table.eof(); table.next()) {
        records << QStringList{table.field(u"Ext").asString(), table.field(u"Anw").asString(),
                               table.field(u"Titel").asString(), table.field(u"IconNr").asString()}
                       .join(u'|');
    }
    return records;
}

void writeText(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Records what it is asked to start, one line per start: the program, then each argument.
class RecordingLauncher : public ProgramLauncher {
public:
    int start(const QString& program, const QStringList& arguments, const QString&) override {
        starts << QStringList{program} + arguments;
        return shell_code::Started;
    }
    int openWithDesktop(const QString& document, const QString&, std::function<void()>) override {
        starts << QStringList{QStringLiteral("<desktop>"), document};
        return shell_code::Started;
    }
    QList<QStringList> starts;
};

} // namespace

class AssociationsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString bin_;

    // The fixture desktop; its programs lie in a directory of the test's own, never on the machine's PATH.
    DesktopAssociations fixtureDesktop() const {
        DesktopDirectories dirs;
        dirs.config = {fixtures + QStringLiteral("/config")};
        dirs.data = {fixtures + QStringLiteral("/data")};
        dirs.programPath = {bin_};
        return DesktopAssociations(dirs);
    }

    QString program(const QString& name) const { return QDir(bin_).filePath(name); }

    void createProgram(const QString& name) const {
        QFile file(program(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    QString newGeneralDir(const QString& name) const {
        const QString dir = tmp_.filePath(name);
        QDir().mkpath(dir);
        createTableFile(QDir(dir).filePath(QStringLiteral("Programm.DB")), schema::applications());
        return dir;
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        bin_ = tmp_.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin_));
        // "zep-other" is run only by a desktop action, which must not count as the entry's program.
        for (const QString& name : {QStringLiteral("zep office"), QStringLiteral("zep-viewer"),
                                    QStringLiteral("zep-other"), QStringLiteral("zep-dialer")})
            createProgram(name);
    }

    // What a type's verb runs: the default application's command; a D-Bus activatable one also takes
    // the file while it runs. Printing is no verb of the desktop.
    void verbCommands_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("verb");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("service");
        QTest::newRow("open") << "odt" << int(DocumentVerb::Open) << "\"zep office\" --writer %U"
                              << ""
                              << "";
        QTest::newRow("play is open") << "odt" << int(DocumentVerb::Play) << "\"zep office\" --writer %U"
                                      << ""
                                      << "";
        QTest::newRow("print: nothing") << "odt" << int(DocumentVerb::Print) << ""
                                        << ""
                                        << "";
        QTest::newRow("activatable") << "pdf" << int(DocumentVerb::Open) << "zep-viewer %f"
                                     << "%1"
                                     << "zep-viewer.desktop";
        QTest::newRow("no application") << "odp" << int(DocumentVerb::Open) << ""
                                        << ""
                                        << "";
    }
    void verbCommands() {
        QFETCH(QString, extension);
        QFETCH(int, verb);
        QFETCH(QString, command);
        QFETCH(QString, request);
        QFETCH(QString, service);
        const DesktopAssociations desktop = fixtureDesktop();
        const FileType type = desktop.fileType(extension);
        QVERIFY(!type.name.isEmpty());
        QVERIFY(!type.description.isEmpty());
        const VerbCommand found = desktop.verbCommand(type.name, DocumentVerb(verb));
        QCOMPARE(found.command, command);
        QCOMPARE(found.ddeExec, request);
        QCOMPARE(found.ddeApplication, service);
    }

    // The program speaks German whatever the locale: a type's description is its German comment.
    void descriptionIsGerman_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("description");
        QTest::newRow("text") << "txt"
                              << "Einfaches Textdokument";
        QTest::newRow("pdf") << "pdf"
                             << "PDF-Dokument";
        QTest::newRow("png") << "png"
                             << "PNG-Bild";
    }
    void descriptionIsGerman() {
        QFETCH(QString, extension);
        QFETCH(QString, description);
        const QLocale previous;
        const auto restore = qScopeGuard([previous] { QLocale::setDefault(previous); });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(fixtureDesktop().fileType(extension).description, description);
        QCOMPARE(QLocale().language(), QLocale::English);
    }

    void unknownExtensionHasNoType() {
        const DesktopAssociations desktop = fixtureDesktop();
        QVERIFY(desktop.fileType(QStringLiteral("qqqzz")).name.isEmpty());
        QVERIFY(desktop.fileType(QString()).name.isEmpty());
        const QStringList extensions = desktop.registeredExtensions();
        QVERIFY(extensions.contains(QStringLiteral("odt")));
        QVERIFY(std::is_sorted(extensions.cbegin(), extensions.cend()));
        QVERIFY(std::none_of(extensions.cbegin(), extensions.cend(), [](const QString& e) { return e.size() > 3; }));
    }

    // The desktop's own opener, with a private home whose mimeapps.list names a recording program,
    // hands it the document's exact path as one argument.
    void desktopOpenerReceivesTheExactPath() {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            QSKIP("xdg-open is not installed");
        QTemporaryDir home;
        const QString record = home.filePath(QStringLiteral("args"));
        const QString recorder = home.filePath(QStringLiteral("recorder"));
        writeText(recorder,
                  QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '<%s>' \"$a\" >> '%1'; done\n").arg(record));
        QFile::setPermissions(recorder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(home.filePath(QStringLiteral("data/applications")));
        QDir().mkpath(home.filePath(QStringLiteral("config")));
        writeText(home.filePath(QStringLiteral("data/applications/zep-recorder.desktop")),
                  QStringLiteral("[Desktop Entry]\nType=Application\nName=Rekorder\nExec=%1 %f\nMimeType=text/plain;\n")
                      .arg(recorder));
        writeText(home.filePath(QStringLiteral("config/mimeapps.list")),
                  QStringLiteral("[Default Applications]\ntext/plain=zep-recorder.desktop\n"));
        const QString document = home.filePath(QStringLiteral("Brief an Müller \"neu\" $(x).txt"));
        writeText(document, QStringLiteral("Hallo"));
        const char* names[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CURRENT_DESKTOP", "LC_ALL", "DISPLAY"};
        QList<std::optional<QByteArray>> saved;
        for (const char* name : names)
            saved.append(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
        qputenv("LC_ALL", "C.UTF-8");
        // The opener asks desktop entries only in a graphical session; the recorder itself needs none.
        if (!saved[4])
            qputenv("DISPLAY", ":99");
        ProcessLauncher launcher(opener, 20000);
        const int code = launcher.openWithDesktop(document, home.path(), {});
        for (int i = 0; i < saved.size(); ++i) {
            if (saved[i])
                qputenv(names[i], *saved[i]);
            else
                qunsetenv(names[i]);
        }
        QCOMPARE(code, shell_code::Started);
        QTRY_COMPARE(readText(record), u'<' + document + u'>');
    }

    // A desktop entry's whole command runs with the document in place of its field code: "env" with its
    // settings and a Flatpak entry's "flatpak run" are no programs of their own. The register names the
    // entry. The fixtures lie in a private XDG_DATA_DIRS, their programs on a private PATH.
    void entryCommandOpensTheDocument_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("programName");   // on the private PATH, or a path
        QTest::addColumn<QStringList>("arguments"); // %U: the document's file URL
        QTest::newRow("env with a setting")
            << "txt"
            << "zep-env-editor.desktop"
            << "/usr/bin/env" << QStringList{"ZEP_MODE=eins", "zep-edit", "--neu", "%U"};
        QTest::newRow("flatpak run") << "odt"
                                     << "org.zep.Flat.desktop"
                                     << "flatpak" << QStringList{"run",
                                                                 "--branch=stable",
                                                                 "--arch=x86_64",
                                                                 "--command=zep-flat",
                                                                 "--file-forwarding",
                                                                 "org.zep.Flat",
                                                                 "@@u",
                                                                 "%U",
                                                                 "@@"};
    }
    void entryCommandOpensTheDocument() {
        QFETCH(QString, extension);
        QFETCH(QString, entry);
        QFETCH(QString, programName);
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString record = dir.filePath(QStringLiteral("record"));
        QVERIFY(QDir().mkpath(bin));
        // What the started command reaches: its arguments and the setting env made.
        for (const char* name : {"zep-edit", "flatpak"}) {
            const QString script = QDir(bin).filePath(QString::fromLatin1(name));
            writeText(script,
                      QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"mode=$ZEP_MODE\" \"$@\" > '%1'\n").arg(record));
            QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        const QString data = QStringLiteral(ZEP_TEST_DATA "/desktop-exec");
        const QString empty = dir.filePath(QStringLiteral("leer"));
        QVERIFY(QDir().mkpath(empty));
        // The MIME database comes along, without the machine's desktop entries beside it.
        const QString mime = dir.filePath(QStringLiteral("mime"));
        QVERIFY(QDir().mkpath(mime));
        const QString systemMime = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("mime"),
                                                          QStandardPaths::LocateDirectory);
        QVERIFY(!systemMime.isEmpty());
        QVERIFY(QFile::link(systemMime, mime + QStringLiteral("/mime")));
        test::EnvironmentOverride environment({{"XDG_DATA_DIRS", (data + u':' + mime).toUtf8()},
                                               {"XDG_DATA_HOME", empty.toUtf8()},
                                               {"XDG_CONFIG_HOME", empty.toUtf8()},
                                               {"XDG_CONFIG_DIRS", empty.toUtf8()},
                                               {"XDG_CURRENT_DESKTOP", std::nullopt},
                                               {"PATH", (bin + u':' + qEnvironmentVariable("PATH")).toUtf8()}});
        const QString general = newGeneralDir(QStringLiteral("exec-") + extension);
        QVERIFY(START_01(general, DesktopAssociations()));
        const QString entryFile = data + QStringLiteral("/applications/") + entry;
        const QStringList records = registerRecords(general);
        const auto record_ = std::find_if(records.cbegin(), records.cend(),
                                          [&](const QString& r) { return r.startsWith(extension + u'|'); });
        QVERIFY2(record_ != records.cend(), qPrintable(records.join(u';')));
        const QString registered = record_->section(u'|', 1, 1);
        QCOMPARE(registered, entryFile);

        const QString document = dir.filePath(QStringLiteral("Brief an Müller.") + extension);
        writeText(document, QStringLiteral("Hallo"));
        const QString url = QString::fromUtf8(QUrl::fromLocalFile(document).toEncoded());
        arguments.replaceInStrings(QStringLiteral("%U"), url);
        const QString program = programName.startsWith(u'/') ? programName : QDir(bin).filePath(programName);
        RecordingLauncher launcher;
        QCOMPARE(ShellOpen(launcher, registered, document, dir.path()), shell_code::Started);
        QCOMPARE(launcher.starts, QList<QStringList>{QStringList{program} + arguments});

        // Started for real, the command reaches its program with the setting and the document.
        ProcessLauncher real(QString(), 5000);
        QCOMPARE(ShellOpen(real, registered, document, dir.path()), shell_code::Started);
        const QStringList reached = extension == u"txt" ? QStringList{"mode=eins", "--neu", url}
                                                        : QStringList{QStringLiteral("mode=")} + arguments;
        QTRY_COMPARE(readText(record).split(u'\n', Qt::SkipEmptyParts), reached);
    }

    void defaultApplication_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("programName");
        QTest::newRow("listed by one entry") << "odt"
                                             << "zep-writer.desktop"
                                             << "zep office";
        QTest::newRow("extension in capitals") << "ODT"
                                               << "zep-writer.desktop"
                                               << "zep office";
        QTest::newRow("own type before its parent") << "csv"
                                                    << "zep-calc.desktop"
                                                    << "zep office";
        QTest::newRow("default before id order") << "txt"
                                                 << "zep-writer.desktop"
                                                 << "zep office";
        QTest::newRow("parent type, own handler broken") << "rtf"
                                                         << "zep-writer.desktop"
                                                         << "zep office";
        QTest::newRow("default with missing program skipped") << "pdf"
                                                              << "zep-viewer.desktop"
                                                              << "zep-viewer";
        QTest::newRow("added under an alias") << "bmp"
                                              << "zep-viewer.desktop"
                                              << "zep-viewer";
        QTest::newRow("association removed") << "jpg"
                                             << ""
                                             << "";
        QTest::newRow("only a missing program") << "gif"
                                                << ""
                                                << "";
        QTest::newRow("only a terminal program") << "tif"
                                                 << ""
                                                 << "";
        QTest::newRow("only a hidden entry") << "png"
                                             << ""
                                             << "";
        QTest::newRow("type without applications") << "odp"
                                                   << ""
                                                   << "";
        QTest::newRow("unknown extension") << "qqq"
                                           << ""
                                           << "";
        QTest::newRow("empty extension") << ""
                                         << ""
                                         << "";
    }

    void defaultApplication() {
        QFETCH(QString, extension);
        QFETCH(QString, id);
        QFETCH(QString, programName);
        const auto found = fixtureDesktop().defaultApplication(extension);
        QCOMPARE(found.has_value(), !id.isEmpty());
        if (found) {
            QCOMPARE(found->id, id);
            QCOMPARE(found->program, program(programName));
        }
    }

    // What the user may choose from: the applications declaring the type, then its ancestors, each once,
    // the default first; removed, hidden, terminal and broken entries are not offered.
    void applicationsFor_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("default first") << "txt" << QStringList{"zep-writer.desktop", "zep-calc.desktop"};
        QTest::newRow("own type, then the parent's") << "csv" << QStringList{"zep-calc.desktop", "zep-writer.desktop"};
        QTest::newRow("broken default left out") << "pdf" << QStringList{"zep-viewer.desktop"};
        QTest::newRow("association removed") << "jpg" << QStringList{};
        QTest::newRow("hidden and terminal") << "png" << QStringList{};
        QTest::newRow("unknown extension") << "qqq" << QStringList{};
    }
    void applicationsFor() {
        QFETCH(QString, extension);
        QFETCH(QStringList, ids);
        QStringList found;
        for (const DesktopApplication& application : fixtureDesktop().applicationsFor(extension))
            found << application.id;
        QCOMPARE(found, ids);
    }

    // A user hides an application with an entry of the same id in a directory of higher precedence.
    void entryHiddenByUser() {
        DesktopDirectories dirs;
        dirs.config = {fixtures + QStringLiteral("/config")};
        dirs.data = {fixtures + QStringLiteral("/home"), fixtures + QStringLiteral("/data")};
        dirs.programPath = {bin_};
        const DesktopAssociations desktop(dirs);
        QVERIFY(!desktop.defaultApplication(QStringLiteral("odt")));
        const auto text = desktop.defaultApplication(QStringLiteral("txt"));
        QVERIFY(text);
        QCOMPARE(text->id, QStringLiteral("zep-calc.desktop"));
        QCOMPARE(desktop.programIcons(program(QStringLiteral("zep office"))),
                 (QStringList{"zep-calc", "zep", "application-x-executable"}));
    }

    void entryDetails() {
        const DesktopAssociations desktop = fixtureDesktop();
        const auto writer = desktop.defaultApplication(QStringLiteral("odt"));
        QVERIFY(writer);
        QCOMPARE(writer->name, QStringLiteral("Textverarbeitung"));
        QCOMPARE(writer->exec, QStringLiteral("\"zep office\" --writer %U"));
        QCOMPARE(writer->icon, QStringLiteral("zep-writer"));
        QVERIFY(!writer->dbusActivatable);

        const auto calc = desktop.defaultApplication(QStringLiteral("ods"));
        QVERIFY(calc);
        QCOMPARE(calc->name, QStringLiteral("Calc"));
        QCOMPARE(calc->program, program(QStringLiteral("zep office")));

        const auto viewer = desktop.defaultApplication(QStringLiteral("pdf"));
        QVERIFY(viewer);
        QCOMPARE(viewer->icon, QStringLiteral("/usr/share/zep/viewer.png"));
        QVERIFY(viewer->dbusActivatable);
    }

    void programIcons_data() {
        QTest::addColumn<QString>("programName");
        QTest::addColumn<QStringList>("icons");
        // The entries' own icons first, then the theme's fallbacks (shortened at each dash).
        QTest::newRow("two entries, id order")
            << "zep office" << QStringList{"zep-calc", "zep-writer", "zep", "application-x-executable"};
        QTest::newRow("hidden and terminal entries left out")
            << "zep-viewer" << QStringList{"/usr/share/zep/viewer.png", "application-x-executable"};
        QTest::newRow("program of an action only") << "zep-other" << QStringList{};
    }

    void programIcons() {
        QFETCH(QString, programName);
        QFETCH(QStringList, icons);
        QCOMPARE(fixtureDesktop().programIcons(program(programName)), icons);
    }

    // A register that names a desktop entry shows the entry's own icon first.
    void programIconsOfAnEntry() {
        QCOMPARE(fixtureDesktop().programIcons(fixtures + QStringLiteral("/data/applications/zep-writer.desktop")),
                 (QStringList{"zep-writer", "zep", "application-x-executable"}));
    }

    void programIconsOfUnknownPrograms() {
        const DesktopAssociations desktop = fixtureDesktop();
        QVERIFY(desktop.programIcons(QStringLiteral("/nonexistent/zep-missing")).isEmpty());
        QVERIFY(desktop.programIcons(QString()).isEmpty());
    }

    void nothingRegistered() {
        QTemporaryDir empty;
        DesktopDirectories dirs;
        dirs.config = {empty.filePath(QStringLiteral("config"))};
        dirs.data = {empty.path(), empty.filePath(QStringLiteral("missing"))};
        dirs.programPath = {bin_};
        const DesktopAssociations desktop(dirs);
        for (const char* extension : {"odt", "pdf", "txt"})
            QVERIFY(!desktop.defaultApplication(QString::fromLatin1(extension)));
        QVERIFY(desktop.programIcons(program(QStringLiteral("zep office"))).isEmpty());
        QVERIFY(!desktop.schemeHandler(QStringLiteral("tel")));
    }

    // Dialling and web pages ask first whether anything handles the address's scheme.
    void schemeHandlers() {
        const DesktopAssociations desktop = fixtureDesktop();
        const auto dialer = desktop.schemeHandler(QStringLiteral("TEL"));
        QVERIFY(dialer.has_value());
        QCOMPARE(dialer->name, QStringLiteral("Telefon"));
        QVERIFY(!desktop.schemeHandler(QStringLiteral("https")));
        QVERIFY(!desktop.schemeHandler(QString()));
    }

    void execProgramWord_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QString>("word");
        QTest::newRow("bare with field code") << "zep-viewer %f"
                                              << "zep-viewer";
        QTest::newRow("quoted with blank") << "\"zep office\" --writer %U"
                                           << "zep office";
        QTest::newRow("quoted with escapes") << "\"/opt/My \\\"App\\\"/run\" %F"
                                             << "/opt/My \"App\"/run";
        QTest::newRow("leading blanks") << "   /usr/bin/app\t-x"
                                        << "/usr/bin/app";
        QTest::newRow("percent sign kept") << "app%%1 %u"
                                           << "app%1";
        QTest::newRow("field code inside the word") << "app%k"
                                                    << "app";
        QTest::newRow("only a field code") << "%U"
                                           << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void execProgramWord() {
        QFETCH(QString, exec);
        QFETCH(QString, word);
        QCOMPARE(zep::execProgramWord(exec), word);
    }

    void unescapeDesktopValue_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("blank") << "zep\\soffice"
                               << "zep office";
        QTest::newRow("backslash") << "a\\\\b"
                                   << "a\\b";
        QTest::newRow("line break and tab") << "a\\nb\\tc"
                                            << "a\nb\tc";
        QTest::newRow("other escape kept") << "a\\;b"
                                           << "a\\;b";
        QTest::newRow("trailing backslash kept") << "a\\"
                                                 << "a\\";
    }

    void unescapeDesktopValue() {
        QFETCH(QString, value);
        QFETCH(QString, text);
        QCOMPARE(zep::unescapeDesktopValue(value), text);
    }

    void startFillsEmptyRegister() {
        FakeAssociations desktop;
        const auto writer = application("writer.desktop", "Textverarbeitung", "/opt/office/writer", "writer");
        const auto calc = application("calc.desktop", "Tabellen", "/opt/office/calc", "calc-doc");
        const auto viewer = application("viewer.desktop", "Bilder", "/opt/viewer", "viewer");
        desktop.setApplication("doc", writer);
        desktop.setApplication("docx", application("other.desktop", "Andere", "/opt/other", "other"));
        desktop.setApplication("odt", writer);
        desktop.setApplication("xlsx", calc); // "xls" itself has no application: "xlsx" takes its key
        desktop.setApplication("jpg", viewer);
        desktop.setApplication("jpeg", viewer);
        desktop.setApplication("tif", viewer);
        desktop.setApplication("tiff", application("other.desktop", "Andere", "/opt/other", "other"));
        desktop.setApplication("pdf", application("long.desktop", "Lang", "/" + QString(300, u'p'), "long"));
        desktop.setApplication("qqq", viewer); // not an office extension
        desktop.setProgramIcons("/opt/office/writer", {"calc", "writer"});
        desktop.setProgramIcons("/opt/office/calc", {"a", "b", "calc-doc"});

        const QString general = newGeneralDir(QStringLiteral("fill"));
        QVERIFY(START_01(general, desktop));
        QCOMPARE(registerRecords(general),
                 (QStringList{"doc|/opt/office/writer|Textverarbeitung|1", "jpe|/opt/viewer|Bilder|0",
                              "jpg|/opt/viewer|Bilder|0", "odt|/opt/office/writer|Textverarbeitung|1",
                              "tif|/opt/viewer|Bilder|0", "xls|/opt/office/calc|Tabellen|2"}));
    }

    void startLeavesFilledRegisterAlone() {
        const QString general = newGeneralDir(QStringLiteral("filled"));
        {
            Table table;
            test::openTable(table, general, QStringLiteral("Programm.DB"));
            test::appendRecord(table, {{"Ext", "abc"}, {"Anw", "/opt/abc"}, {"Titel", "Abc"}, {"IconNr", 3}});
        }
        FakeAssociations desktop;
        desktop.setApplication("doc", application("writer.desktop", "Writer", "/opt/office/writer", "writer"));
        QVERIFY(START_01(general, desktop));
        QCOMPARE(registerRecords(general), QStringList{"abc|/opt/abc|Abc|3"});
    }

    void startWithNothingRegistered() {
        const QString general = newGeneralDir(QStringLiteral("empty"));
        QVERIFY(START_01(general, FakeAssociations()));
        QVERIFY(registerRecords(general).isEmpty());
    }

    void startWithoutRegisterFails() {
        FakeAssociations desktop;
        desktop.setApplication("doc", application("writer.desktop", "Writer", "/opt/office/writer", "writer"));
        QVERIFY(!START_01(tmp_.filePath(QStringLiteral("no-such-dir")), desktop));
    }

    // The register names each application by its desktop entry, whose own icon comes first.
    void startFromDesktopEntries() {
        const QString general = newGeneralDir(QStringLiteral("desktop"));
        QVERIFY(START_01(general, fixtureDesktop()));
        const QString entries = fixtures + QStringLiteral("/data/applications/");
        const QString writer = entries + QStringLiteral("zep-writer.desktop|Textverarbeitung|0");
        const QString calc = entries + QStringLiteral("zep-calc.desktop|Calc|0");
        const QString viewer = entries + QStringLiteral("zep-viewer.desktop|Viewer|0");
        QCOMPARE(registerRecords(general),
                 (QStringList{"bmp|" + viewer, "csv|" + calc, "eml|" + writer, "htm|" + writer, "ods|" + calc,
                              "odt|" + writer, "pdf|" + viewer, "rtf|" + writer, "txt|" + writer, "xml|" + writer}));
    }
};

QTEST_GUILESS_MAIN(AssociationsTest)
#include "tst_associations.moc"
