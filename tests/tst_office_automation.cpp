#include "data/cp1252.h"
#include "data/table.h"
#include "file_bytes.h"
#include "platform/office_automation.h"
#include "platform/office_loader.h"
#include "platform/uno_bridge.h"
#include "required_tool.h"
#include "scripted_interaction.h"
#include "serial/serial_data_file.h"
#include "serial/serial_recipients.h"
#include "serial/serial_texts.h"
#include "serial/word_session.h"
#include "serial_tables.h"
#include "test_install.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/frame/XTerminateListener.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sdb/CommandType.hpp>
#include <com/sun/star/sdb/DatabaseContext.hpp>
#include <com/sun/star/sdbc/XConnection.hpp>
#include <com/sun/star/sdbc/XDataSource.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/text/MailMergeType.hpp>
#include <com/sun/star/text/XDependentTextField.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>

#include <cppuhelper/implbase1.hxx>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <csignal>
#include <optional>

using namespace zep;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

const QString sourceName = QStringLiteral("ZEP Serienbrief Test");

css::beans::NamedValue namedValue(const char* name, const Any& value) {
    return css::beans::NamedValue(rtl::OUString::createFromAscii(name), value);
}

rtl::OUString fileUrl(const QString& path) {
    return toUno(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
}

QVariantList openArguments(const QString& letter) {
    return {letter, false, false, false, QString(), QString(), false, QString(), QString(), 0};
}

QVariantList dataSourceArguments(const QString& dataFile) {
    return {dataFile,  0,     false,     true,      false,     false,     QString(),
            QString(), false, QString(), QString(), QString(), QString(), QString()};
}

// The data file as the serial letters write it: TAB-separated, Windows-1252, CR LF, a header line.
void writeDataFile(const QString& path, const QStringList& lines) {
    QVERIFY(test::writeBytes(path, toCp1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))));
}

// A letter whose merge fields name the columns Name1 and Ort of another data source, as a letter
// prepared for the old program's data would.
void writeLetter(const Reference<css::uno::XComponentContext>& office, const QString& path) {
    Reference<css::frame::XComponentLoader> loader(css::frame::Desktop::create(office), UNO_QUERY_THROW);
    const auto hidden = unoSequence({unoProperty("Hidden", Any(true))});
    Reference<css::text::XTextDocument> letter(
        loader->loadComponentFromURL("private:factory/swriter", "_blank", 0, hidden), UNO_QUERY_THROW);
    Reference<css::lang::XMultiServiceFactory> factory(letter, UNO_QUERY_THROW);
    auto text = letter->getText();
    auto insertField = [&](const char* column) {
        Reference<css::beans::XPropertySet> master(factory->createInstance("com.sun.star.text.fieldmaster.Database"),
                                                   UNO_QUERY_THROW);
        master->setPropertyValue("DataBaseName", Any(rtl::OUString("Alte Adressen")));
        master->setPropertyValue("DataTableName", Any(rtl::OUString("Kunden")));
        master->setPropertyValue("DataCommandType", Any(css::sdb::CommandType::TABLE));
        master->setPropertyValue("DataColumnName", Any(rtl::OUString::createFromAscii(column)));
        Reference<css::text::XDependentTextField> field(factory->createInstance("com.sun.star.text.textfield.Database"),
                                                        UNO_QUERY_THROW);
        field->attachTextFieldMaster(master);
        text->insertTextContent(text->getEnd(), Reference<css::text::XTextContent>(field, UNO_QUERY_THROW), false);
    };
    text->insertString(text->getEnd(), "An ", false);
    insertField("Name1");
    text->insertString(text->getEnd(), " in ", false);
    insertField("Ort");
    Reference<css::frame::XStorable>(letter, UNO_QUERY_THROW)->storeToURL(fileUrl(path), {});
    Reference<css::util::XCloseable>(letter, UNO_QUERY_THROW)->close(true);
}

// The letter as the office holds it (with the data source attached), not as it lies on disk.
Reference<css::frame::XModel> openLetter(const Reference<css::uno::XComponentContext>& office, const QString& path) {
    auto components = css::frame::Desktop::create(office)->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
        Reference<css::frame::XModel> model(components->nextElement(), UNO_QUERY);
        if (model.is() && model->getURL() == fileUrl(path))
            return model;
    }
    return {};
}

// Merges the open letter with its registered data into one PDF and returns the PDF's text.
QString mergedText(const Reference<css::uno::XComponentContext>& office, const QString& letterPath,
                   const QString& table, const QString& outputDir) {
    QDir(outputDir).removeRecursively();
    if (!QDir().mkpath(outputDir))
        return QStringLiteral("Ausgabeordner fehlt");
    auto letter = openLetter(office, letterPath);
    if (!letter.is())
        return QStringLiteral("Brief nicht geöffnet");
    // The merge service takes no open document: it merges a copy of the letter as the office holds it.
    const QString copy = QDir(outputDir).filePath(QStringLiteral("Brief-Kopie.odt"));
    Reference<css::frame::XStorable>(letter, UNO_QUERY_THROW)->storeToURL(fileUrl(copy), {});
    Reference<css::task::XJob> merge(
        office->getServiceManager()->createInstanceWithContext("com.sun.star.text.MailMerge", office), UNO_QUERY_THROW);
    merge->execute(unoSequence(
        {namedValue("DocumentURL", Any(fileUrl(copy))), namedValue("DataSourceName", Any(toUno(sourceName))),
         namedValue("Command", Any(toUno(table))), namedValue("CommandType", Any(css::sdb::CommandType::TABLE)),
         namedValue("OutputType", Any(css::text::MailMergeType::FILE)),
         namedValue("OutputURL", Any(fileUrl(outputDir + QLatin1Char('/')))),
         namedValue("FileNamePrefix", Any(rtl::OUString("serienbrief"))), namedValue("SaveAsSingleFile", Any(true)),
         namedValue("SaveFilter", Any(rtl::OUString("writer_pdf_Export")))}));
    const QStringList pdfs = QDir(outputDir).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    if (pdfs.size() != 1)
        return QStringLiteral("PDF-Dateien: %1").arg(pdfs.join(u' '));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QDir(outputDir).filePath(pdfs.first()), QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000))
        return QStringLiteral("pdftotext hängt");
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// A connection as the office's own views hold one on the registered data source.
Reference<css::sdbc::XConnection> connectionOnSource(const Reference<css::uno::XComponentContext>& office) {
    Reference<css::sdbc::XDataSource> source(css::sdb::DatabaseContext::create(office)->getByName(toUno(sourceName)),
                                             UNO_QUERY_THROW);
    return source->getConnection(rtl::OUString(), rtl::OUString());
}

bool closedOrGone(const Reference<css::sdbc::XConnection>& connection) {
    try {
        return connection->isClosed();
    } catch (const css::lang::DisposedException&) {
        return true;
    }
}

bool waitUntilEnded(qint64 process, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (processRuns(process)) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

// Learns, on the bridge's thread, that the office has terminated.
class TerminationSeen : public cppu::WeakImplHelper1<css::frame::XTerminateListener> {
public:
    bool seen() const { return m_seen.load(); }
    void SAL_CALL queryTermination(const css::lang::EventObject&) override {}
    void SAL_CALL notifyTermination(const css::lang::EventObject&) override { m_seen = true; }
    void SAL_CALL disposing(const css::lang::EventObject&) override {}

private:
    std::atomic<bool> m_seen{false};
};

qint64 pidFromFile(const QString& path) {
    return test::readBytes(path).trimmed().toLongLong();
}

} // namespace

// One client's Adressen.DB and Serie.db with the recipients of one letter, as the serial-letter window
// holds them, and the session that drives the word processor from them.
struct SerialClient {
    static constexpr qint32 letter = 7;
    const QStringList mergeFields{QStringLiteral("Name1"), QStringLiteral("Ort")};
    test::SerialTables tables;
    Table& addresses = tables.addresses;
    Table& recipients = tables.recipients;
    Table& recipientWriter = tables.recipientWriter;
    QList<qint64> addressNumbers;
    QStringList statuses;

    explicit SerialClient(const QString& dir) : tables(dir, letter) {}
    qint64 recipient(const QString& name1, const QString& ort) {
        if (!addresses.isActive())
            addresses.open();
        const qint64 number = tables.address(name1, ort);
        addRecipient(recipientWriter, letter, qint32(number), name1);
        addressNumbers << number;
        recipients.refresh();
        return number;
    }
    qint64 firstAddress() const { return addressNumbers.first(); }
    void deleteAddress(qint64 number) {
        if (!addresses.isActive())
            addresses.open();
        QVERIFY(addresses.locate(u"Nr", number));
        addresses.deleteRecord();
        addresses.close(); // the data file opens it itself
        recipients.refresh();
    }
    WordSession session(Automation& word, Interaction& interaction, const QString& dataFile) {
        WordSession session(word, interaction, dataFile);
        session.setVersion(8);
        session.showStatus = [this](const QString& text) {
            statuses << text;
        };
        session.writeDataFile = [this, dataFile, &interaction] {
            return createSerialDataFile(dataFile, mergeFields, recipients, addresses, interaction);
        };
        return session;
    }
};

// A failing office step fails the test with its reason instead of ending the test program.
#define CATCH_OFFICE_ERRORS                                                                                            \
    catch (const AutomationError& error) {                                                                             \
        QFAIL(qPrintable(error.why()));                                                                                \
    }                                                                                                                  \
    catch (const css::uno::Exception& error) {                                                                         \
        QFAIL(qPrintable(fromUno(error.Message)));                                                                     \
    }

class OfficeAutomationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void connectingIsBounded_data();
    void connectingIsBounded();
    void refusesWhatItDoesNotServe();
    void mergesTheLivingRecipients();
    void refreshMergesTheNewRecipients();
    void loaderConnectsThroughTheLibrary();
    void quitEndsTheOffice();
    void windowedQuitReturnsWhenTheOfficeEnded();
    void officeBreakingOffDuringTheQuestionEndsTheQuit_data();
    void officeBreakingOffDuringTheQuestionEndsTheQuit();
    void lostOfficeIsReported();

private:
    OfficeOptions testOptions(const QString& pipe) const;
    OfficeOptions windowedOptions(const QString& name) const;
    void startOffice();

    QTemporaryDir m_dir;
    QString m_letter;
    QString m_dataFile;
    std::optional<OfficeAutomation> m_word;
    std::optional<SerialClient> m_client;
    qint64 m_office = 0;
};

OfficeOptions OfficeAutomationTest::testOptions(const QString& pipe) const {
    OfficeOptions options = OfficeOptions::defaults();
    options.pipeName = pipe;
    options.headless = true;
    options.userInstallation = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profil"))).toString();
    options.dataSourceName = sourceName;
    return options;
}

// With windows, drawn into memory so no display is needed (the caller sets SAL_USE_VCLPLUGIN=svp).
OfficeOptions OfficeAutomationTest::windowedOptions(const QString& name) const {
    OfficeOptions options =
        testOptions(QStringLiteral("zep_test_%1_%2").arg(name).arg(QCoreApplication::applicationPid()));
    options.headless = false;
    options.userInstallation = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profil-") + name)).toString();
    return options;
}

void OfficeAutomationTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_letter = m_dir.filePath(QStringLiteral("Brief.odt"));
    m_dataFile = m_dir.filePath(QStringLiteral("serie0.rtf"));
}

void OfficeAutomationTest::startOffice() {
    if (m_word && m_word->isConnected())
        return;
    m_word.emplace(testOptions(QStringLiteral("zep_test_%1").arg(QCoreApplication::applicationPid())));
    m_word->connect(QStringLiteral("Word.Application"), Automation::Connect::RunningOrNew);
    m_office = m_word->startedProcess();
    QVERIFY(m_office > 0);
}

void OfficeAutomationTest::cleanupTestCase() {
    if (m_word && m_word->isConnected()) {
        try {
            m_word->call(QStringLiteral("Quit"), {-2, 0, 0});
        } catch (const AutomationError&) {
        }
    }
    if (m_office > 0 && !waitUntilEnded(m_office, 30000)) {
        ::kill(-static_cast<pid_t>(m_office), SIGKILL);
        QFAIL("Das Textprogramm endete nicht nach Quit");
    }
}

void OfficeAutomationTest::connectingIsBounded_data() {
    QTest::addColumn<QString>("script"); // empty: a start program that does not exist
    QTest::addColumn<int>("boundSeconds");
    QTest::addColumn<int>("earliestMs");
    QTest::addColumn<int>("latestMs");

    const QString silent = QStringLiteral("#!/bin/sh\n"
                                          "echo $$ > \"$0.pid\"\n"
                                          "sleep 120 &\n"
                                          "echo $! > \"$0.child\"\n"
                                          "wait\n");
    const QString ending = QStringLiteral("#!/bin/sh\n"
                                          "echo $$ > \"$0.pid\"\n"
                                          "echo $$ > \"$0.child\"\n"
                                          "exit 1\n");
    // The upper limits only tell a bounded wait from an unbounded one; they leave room for a busy machine.
    QTest::newRow("kein Programm") << QString() << 3 << 0 << 10000;
    QTest::newRow("Programm meldet sich nie") << silent << 3 << 3000 << 20000;
    // An ended start program may have handed over to a running office: a short grace, not the bound.
    QTest::newRow("Programm endet sofort") << ending << 60 << 0 << 30000;
}

// Neither a missing office nor one that never answers or ends at once may hang the program or leave a
// process behind.
void OfficeAutomationTest::connectingIsBounded() {
    QFETCH(QString, script);
    QFETCH(int, boundSeconds);
    QFETCH(int, earliestMs);
    QFETCH(int, latestMs);
    const QString program = m_dir.filePath(QStringLiteral("soffice-%1").arg(QTest::currentDataTag()));
    if (!script.isEmpty()) {
        QVERIFY(test::writeBytes(program, script.toUtf8()));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
    }
    OfficeOptions options = testOptions(QStringLiteral("zep_test_stumm_%1").arg(QCoreApplication::applicationPid()));
    options.sofficePath = program;
    options.connectBound = std::chrono::seconds(boundSeconds);
    OfficeAutomation word(options);

    QElapsedTimer timer;
    timer.start();
    QVERIFY_THROWS_EXCEPTION(AutomationError,
                             word.connect(QStringLiteral("Word.Application"), Automation::Connect::RunningOrNew));
    QVERIFY2(timer.elapsed() >= earliestMs && timer.elapsed() < latestMs, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!word.isConnected());
    if (script.isEmpty())
        return;
    const qint64 shell = pidFromFile(program + QStringLiteral(".pid"));
    const qint64 child = pidFromFile(program + QStringLiteral(".child"));
    QVERIFY(shell > 0 && child > 0);
    QVERIFY(waitUntilEnded(shell, 2000));
    QVERIFY(waitUntilEnded(child, 2000));
}

void OfficeAutomationTest::refusesWhatItDoesNotServe() {
    OfficeAutomation unconnected(testOptions(QStringLiteral("zep_test_leer")));
    QVERIFY_THROWS_EXCEPTION(AutomationError,
                             unconnected.connect(QStringLiteral("Word.Basic"), Automation::Connect::New));
    QVERIFY(!unconnected.isConnected());
    QVERIFY_THROWS_EXCEPTION(AutomationError, unconnected.property(QStringLiteral("Version")));

    REQUIRE_TOOL("soffice", "LibreOffice (soffice) fehlt");
    try {
        startOffice();
    }
    CATCH_OFFICE_ERRORS
    OfficeAutomation word(m_word->options());
    try {
        word.connect(QStringLiteral("Word.Application"), Automation::Connect::RunningOrNew);
        QVERIFY(word.property(QStringLiteral("Version")).toString().startsWith(QStringLiteral("LibreOffice")));
    }
    CATCH_OFFICE_ERRORS
    QCOMPARE(word.startedProcess(), 0); // the running office answered
    writeDataFile(m_dataFile, {QStringLiteral("Name1\tOrt")});
    QVERIFY_THROWS_EXCEPTION(AutomationError, word.call(QStringLiteral("ActiveDocument.MailMerge.OpenDataSource"),
                                                        dataSourceArguments(m_dataFile)));
    QVERIFY_THROWS_EXCEPTION(AutomationError,
                             word.setProperty(QStringLiteral("ActiveDocument.MailMerge.MainDocumentType"), 0));
    QVERIFY_THROWS_EXCEPTION(AutomationError, word.call(QStringLiteral("Documents.Open"),
                                                        openArguments(m_dir.filePath(QStringLiteral("fehlt.odt")))));
    QVERIFY_THROWS_EXCEPTION(AutomationError, word.call(QStringLiteral("Documents.Close"), {}));
    QVERIFY_THROWS_EXCEPTION(AutomationError, word.property(QStringLiteral("Name")));
    QVERIFY_THROWS_EXCEPTION(AutomationError, word.setProperty(QStringLiteral("WindowState"), 1));
    QVERIFY(word.isConnected());
}

// The serial letter's own path: recipients on Serie.db, their addresses on Adressen.DB, the data file
// written by the core and the word processor driven by the session. Umlauts (Windows-1252) and quotes
// must arrive as written; a recipient whose address was deleted must not be merged.
void OfficeAutomationTest::mergesTheLivingRecipients() {
    REQUIRE_TOOL("soffice", "LibreOffice (soffice) fehlt");
    REQUIRE_TOOL("pdftotext", "pdftotext (poppler-utils) fehlt");
    m_client.emplace(m_dir.filePath(QStringLiteral("Daten")));
    // Values that look like numbers must merge as written, not as numbers ("7.00", "12.50").
    const qint64 baker = m_client->recipient(QStringLiteral("Bäckerei \"Zum Korn\""), QStringLiteral("7"));
    const qint64 gone = m_client->recipient(QStringLiteral("Gelöscht GmbH"), QStringLiteral("Gotha"));
    m_client->recipient(QStringLiteral("Weiß & Söhne"), QStringLiteral("12,5"));
    m_client->deleteAddress(gone);
    Q_UNUSED(baker);

    QString text;
    test::ScriptedInteraction interaction;
    try {
        startOffice();
        writeLetter(connectToOffice(m_word->options().pipeName), m_letter);
        WordSession session = m_client->session(*m_word, interaction, m_dataFile);
        QCOMPARE(session.start({m_letter, m_letter}, true), WordSession::Outcome::Done);
        text = mergedText(connectToOffice(m_word->options().pipeName), m_letter, QStringLiteral("serie0"),
                          m_dir.filePath(QStringLiteral("pdf1")));
    }
    CATCH_OFFICE_ERRORS
    QCOMPARE(interaction.texts(), QStringList());
    QCOMPARE(m_client->statuses.last(), serial_texts::statusDone());
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("serie0.odb"))));
    QVERIFY2(text.contains(QStringLiteral("An Bäckerei \"Zum Korn\" in 7")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("An Weiß & Söhne in 12,5")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("Gelöscht")) && !text.contains(QStringLiteral("Gotha")), qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("An ")), 2);
}

// "Adressen aktualisieren": the file is rewritten and attached again; the office must not merge
// the rows it read before, nor keep a connection that still reads them.
void OfficeAutomationTest::refreshMergesTheNewRecipients() {
    REQUIRE_TOOL("soffice", "LibreOffice (soffice) fehlt");
    REQUIRE_TOOL("pdftotext", "pdftotext (poppler-utils) fehlt");
    if (!m_client || !m_word || !m_word->isConnected())
        QSKIP("braucht den gestarteten Serienbrief aus mergesTheLivingRecipients");
    m_client->deleteAddress(m_client->firstAddress());
    m_client->recipient(QStringLiteral("Schmidt"), QStringLiteral("Bonn"));

    QString text;
    Reference<css::sdbc::XConnection> earlier;
    test::ScriptedInteraction interaction;
    try {
        earlier = connectionOnSource(connectToOffice(m_word->options().pipeName));
        QVERIFY(!closedOrGone(earlier));
        WordSession session = m_client->session(*m_word, interaction, m_dataFile);
        session.refresh();
        text = mergedText(connectToOffice(m_word->options().pipeName), m_letter, QStringLiteral("serie0"),
                          m_dir.filePath(QStringLiteral("pdf2")));
    }
    CATCH_OFFICE_ERRORS
    QCOMPARE(interaction.texts(), QStringList());
    QCOMPARE(m_client->statuses.last(), serial_texts::statusDone());
    QVERIFY2(closedOrGone(earlier), "eine Verbindung der alten Anmeldung liest noch die alte Datei");
    QVERIFY2(text.contains(QStringLiteral("An Schmidt in Bonn")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("An Weiß & Söhne in 12,5")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("Zum Korn")), qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("An ")), 2);
}

void OfficeAutomationTest::quitEndsTheOffice() {
    REQUIRE_TOOL("soffice", "LibreOffice (soffice) fehlt");
    try {
        startOffice();
        m_word->call(QStringLiteral("Quit"), {-2, 0, 0});
    }
    CATCH_OFFICE_ERRORS
    QVERIFY(!m_word->isConnected());
    QVERIFY(waitUntilEnded(m_office, 30000));
    // Collected, not left as a zombie of this program.
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QStringLiteral("/proc/%1").arg(m_office)), 5000);
    QVERIFY_THROWS_EXCEPTION(AutomationError, m_word->property(QStringLiteral("Version")));
}

// With windows the office's own quit runs, which may ask the user; Quit returns only once the office
// has terminated.
void OfficeAutomationTest::windowedQuitReturnsWhenTheOfficeEnded() {
    REQUIRE_TOOL("soffice", "LibreOffice (soffice) fehlt");
    qputenv("SAL_USE_VCLPLUGIN", "svp");
    qint64 office = 0;
    const auto cleanUp = qScopeGuard([&office] {
        qunsetenv("SAL_USE_VCLPLUGIN");
        if (office > 0 && processRuns(office))
            ::kill(-static_cast<pid_t>(office), SIGKILL);
    });
    const OfficeOptions options = windowedOptions(QStringLiteral("fenster"));
    OfficeAutomation word(options);
    auto* termination = new TerminationSeen;
    const Reference<css::frame::XTerminateListener> listener(termination);
    try {
        word.connect(QStringLiteral("Word.Application"), Automation::Connect::RunningOrNew);
        office = word.startedProcess();
        QVERIFY(office > 0);
        css::frame::Desktop::create(connectToOffice(options.pipeName))->addTerminateListener(listener);
        word.call(QStringLiteral("Quit"), {-2, 0, 0});
    }
    CATCH_OFFICE_ERRORS
    QVERIFY(termination->seen());
    QVERIFY(!word.isConnected());
    QVERIFY(waitUntilEnded(office, 30000));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QStringLiteral("/proc/%1").arg(office)), 5000);
}

// The office asks about an unsaved document and is killed meanwhile: the wait ends, the quit fails
// and nothing stays connected.
void OfficeAutomationTest::officeBreakingOffDuringTheQuestionEndsTheQuit_data() {
    QTest::addColumn<bool>("officeKilled");
    QTest::newRow("Office bricht ab") << true;
    QTest::newRow("keine Antwort") << false;
}

// The office asks about an unsaved letter: killed meanwhile, the quit fails and lets go; left without an
// answer past the bound, the quit fails and stays connected, as the office still holds the letter.
void OfficeAutomationTest::officeBreakingOffDuringTheQuestionEndsTheQuit() {
    QFETCH(bool, officeKilled);
    REQUIRE_TOOL("soffice", "LibreOffice (soffice) fehlt");
    qputenv("SAL_USE_VCLPLUGIN", "svp");
    qint64 office = 0;
    const auto cleanUp = qScopeGuard([&office] {
        qunsetenv("SAL_USE_VCLPLUGIN");
        if (office > 0 && processRuns(office))
            ::kill(-static_cast<pid_t>(office), SIGKILL);
    });
    OfficeOptions options = windowedOptions(QStringLiteral("abbruch"));
    options.quitAnswerBound = std::chrono::seconds(officeKilled ? 600 : 3);
    OfficeAutomation word(options);
    try {
        word.connect(QStringLiteral("Word.Application"), Automation::Connect::RunningOrNew);
        office = word.startedProcess();
        QVERIFY(office > 0);
        Reference<css::frame::XComponentLoader> loader(css::frame::Desktop::create(connectToOffice(options.pipeName)),
                                                       UNO_QUERY_THROW);
        Reference<css::util::XModifiable> unsaved(
            loader->loadComponentFromURL("private:factory/swriter", "_blank", 0, {}), UNO_QUERY_THROW);
        unsaved->setModified(true);
    }
    CATCH_OFFICE_ERRORS
    // Runs from the event loop the quit keeps turning while the question waits.
    if (officeKilled)
        QTimer::singleShot(3000, [office] { ::kill(-static_cast<pid_t>(office), SIGKILL); });
    QVERIFY_THROWS_EXCEPTION(AutomationError, word.call(QStringLiteral("Quit"), {-2, 0, 0}));
    QCOMPARE(word.isConnected(), !officeKilled);
    if (!officeKilled)
        ::kill(-static_cast<pid_t>(office), SIGKILL);
    QVERIFY(waitUntilEnded(office, 10000));
}

// An office that went away under a connection is reported by the next call, which never crashes.
void OfficeAutomationTest::lostOfficeIsReported() {
    REQUIRE_TOOL("soffice", "LibreOffice (soffice) fehlt");
    try {
        startOffice();
        QVERIFY(!m_word->property(QStringLiteral("Version")).toString().isEmpty());
    }
    CATCH_OFFICE_ERRORS
    ::kill(-static_cast<pid_t>(m_office), SIGKILL);
    // The bridge learns of the loss when the office's end of the pipe closes, a moment after the kill.
    auto versionFails = [this] {
        try {
            m_word->property(QStringLiteral("Version"));
            return false;
        } catch (const AutomationError&) {
            return true;
        }
    };
    QTRY_VERIFY_WITH_TIMEOUT(versionFails(), 10000);
    QVERIFY_THROWS_EXCEPTION(AutomationError, m_word->call(QStringLiteral("Activate"), {}));
    m_word->disconnect();
}

// The program reaches the office only through its library; without the library (no office runtime)
// every connection fails with the reason, and the program itself still runs.
void OfficeAutomationTest::loaderConnectsThroughTheLibrary() {
    OfficeAutomationLoader missing(testOptions(QStringLiteral("zep_test_fehlt")),
                                   m_dir.filePath(QStringLiteral("libzep_office.so")));
    QVERIFY_THROWS_EXCEPTION(AutomationError,
                             missing.connect(QStringLiteral("Word.Application"), Automation::Connect::RunningOrNew));
    QVERIFY(!missing.isConnected());
    QVERIFY_THROWS_EXCEPTION(AutomationError, missing.property(QStringLiteral("Version")));

    REQUIRE_TOOL("soffice", "LibreOffice (soffice) fehlt");
    try {
        startOffice();
    }
    CATCH_OFFICE_ERRORS
    OfficeAutomationLoader word(m_word->options(), OfficeAutomationLoader::libraryBesideProgram());
    try {
        word.connect(QStringLiteral("Word.Application"), Automation::Connect::RunningOrNew);
        QVERIFY(word.property(QStringLiteral("Version")).toString().startsWith(QStringLiteral("LibreOffice")));
    }
    CATCH_OFFICE_ERRORS
    word.disconnect();
    QVERIFY(!word.isConnected());
}

QTEST_GUILESS_MAIN(OfficeAutomationTest)
#include "tst_office_automation.moc"
