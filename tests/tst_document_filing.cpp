#include "data/table.h"
#include "documents/document_copying.h"
#include "documents/document_creation.h"
#include "documents/document_filing.h"
#include "documents/document_path.h"
#include "documents/filing_marks.h"
#include "file_bytes.h"
#include "small_disk.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace zep;
using zep::test::readBytes;
using zep::test::SmallDisk;
using zep::test::writeBytes;

Q_DECLARE_METATYPE(zep::FileHandling)

namespace {

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Another program holds the write lock of a table file for its lifetime.
class WriteLock {
public:
    explicit WriteLock(const QString& path) {
        sqlite3_open(QFile::encodeName(path).constData(), &db_);
        locked_ = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~WriteLock() {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    bool locked() const { return locked_; }

private:
    sqlite3* db_ = nullptr;
    bool locked_ = false;
};

} // namespace

// A client with an empty documents table, its "Files" folder and an incoming folder outside it.
class FilingClient {
public:
    explicit FilingClient(const QString& filesDir = {}) : filesDir_(filesDir) {
        test::createClientTables(dataDir);
        QDir().mkpath(incoming);
        if (filesDir_.isEmpty()) {
            filesDir_ = tmp.filePath(QStringLiteral("Files/"));
            QDir().mkpath(filesDir_);
        }
        test::openTable(dok, dataDir, QStringLiteral("Dok.DB"));
    }
    QString incomingFile(const QString& name, const QByteArray& bytes = "Inhalt") const {
        const QString path = QDir(incoming).filePath(name);
        return writeBytes(path, bytes) ? path : QString();
    }
    FilingTarget target() const { return {QStringLiteral("NrFirma"), 3, filesDir_}; }
    const QString& filesDir() const { return filesDir_; }
    int records() {
        Table fresh;
        test::openTable(fresh, dataDir, QStringLiteral("Dok.DB"));
        return fresh.recordCount();
    }

    QTemporaryDir tmp;
    QString dataDir = tmp.filePath(QStringLiteral("Daten"));
    QString incoming = tmp.filePath(QStringLiteral("Eingang"));
    Table dok;

private:
    QString filesDir_;
};

class DocumentFilingTest : public QObject {
    Q_OBJECT

private slots:
    void proposals_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("target");
        QTest::newRow("plain") << "/e/Brief.doc"
                               << "Brief"
                               << "doc"
                               << "Brief00001.doc";
        QTest::newRow("running number dropped") << "/e/Angebot00012.odt"
                                                << "Angebot"
                                                << "odt"
                                                << "Angebot00001.odt";
        QTest::newRow("dots in the name") << "/e/Stand 1.2.txt"
                                          << "Stand 1.2"
                                          << "txt"
                                          << "Stand 1.200001.txt";
        QTest::newRow("long extension") << "/e/Foto.jpeg"
                                        << "Foto"
                                        << "jpeg"
                                        << "Foto00001.jpeg";
        QTest::newRow("no extension") << "/e/LIESMICH"
                                      << "LIESMICH"
                                      << ""
                                      << "LIESMICH00001";
    }

    void proposals() {
        QFETCH(QString, source);
        QFETCH(QString, title);
        QFETCH(QString, extension);
        QFETCH(QString, target);
        QTemporaryDir files;
        QCOMPARE(proposedTitle(source), title);
        QCOMPARE(extensionOf(source), extension);
        QCOMPARE(proposedTarget(source, files.path() + u'/'), files.filePath(target));
    }

    void storedNames_data() {
        QTest::addColumn<QString>("filed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("in Files") << "/k/Muster/Files/a.odt"
                                  << "a.odt";
        QTest::newRow("other letter case is another folder") << "/k/Muster/files/a.odt"
                                                             << "/k/Muster/files/a.odt";
        QTest::newRow("below Files") << "/k/Muster/Files/alt/a.odt"
                                     << "/k/Muster/Files/alt/a.odt";
        QTest::newRow("elsewhere") << "/home/anna/a.odt"
                                   << "/home/anna/a.odt";
    }

    void storedNames() {
        QFETCH(QString, filed);
        QFETCH(QString, stored);
        QCOMPARE(storedFileName(filed, QStringLiteral("/k/Muster/Files/")), stored);
    }

    void addingOneFile_data() {
        QTest::addColumn<FileHandling>("handling");
        QTest::addColumn<bool>("fromFiles");
        QTest::addColumn<QString>("datei"); // "<source>" for the source's full path
        QTest::addColumn<bool>("sourceKept");
        QTest::newRow("keep, outside") << FileHandling::Keep << false << "<source>" << true;
        QTest::newRow("keep, inside Files: bare name") << FileHandling::Keep << true << "Preise.odt" << true;
        QTest::newRow("copy") << FileHandling::Copy << false << "Preise00001.odt" << true;
        QTest::newRow("move") << FileHandling::Move << false << "Preise00001.odt" << false;
        QTest::newRow("copy from inside Files") << FileHandling::Copy << true << "Preise00001.odt" << true;
    }

    // The provisional record is completed by filing: title, Datei, the file's date; the file is where
    // the choice put it.
    void addingOneFile() {
        QFETCH(FileHandling, handling);
        QFETCH(bool, fromFiles);
        QFETCH(QString, datei);
        QFETCH(bool, sourceKept);
        FilingClient client;
        const QString source = fromFiles ? QDir(client.filesDir()).filePath(QStringLiteral("Preise.odt"))
                                         : client.incomingFile(QStringLiteral("Preise.odt"));
        QVERIFY(writeBytes(source, "Preisliste"));
        const QDateTime written(QDate(2025, 3, 14), QTime(9, 30));
        QFile sourceFile(source);
        QVERIFY(sourceFile.open(QIODevice::ReadWrite));
        QVERIFY(sourceFile.setFileTime(written, QFileDevice::FileModificationTime));
        sourceFile.close();

        DocumentAdding adding(client.dok);
        adding.begin(client.target(), source);
        QCOMPARE(client.records(), 1);
        QVERIFY(adding.canFile());
        const QString target = proposedTarget(source, client.filesDir());
        QCOMPARE(adding.file(QStringLiteral("Preise"), source, target, handling), QString());
        const qint64 nr = adding.finish();

        Table fresh;
        test::openTable(fresh, client.dataDir, QStringLiteral("Dok.DB"));
        QVERIFY(fresh.findKey({nr}));
        QCOMPARE(fresh.recordCount(), 1);
        QCOMPARE(fresh.field(u"Datei").asString(), datei == u"<source>" ? source : datei);
        QCOMPARE(fresh.field(u"Titel").asString(), QStringLiteral("Preise"));
        QCOMPARE(fresh.field(u"Ext").asString(), QStringLiteral("odt"));
        QCOMPARE(fresh.field(u"Offen").asInteger(), 1);
        QCOMPARE(fresh.field(u"NrFirma").asInteger(), 3);
        QCOMPARE(fresh.field(u"EDatum").asDate(), written.date());
        QCOMPARE(QFileInfo::exists(source), sourceKept);
        const QString filed = ResolveDocumentPath(fresh.field(u"Datei").asString(), client.filesDir()).path;
        QCOMPARE(readBytes(filed), QByteArray("Preisliste"));
    }

    // Closing without filing removes the provisional record and touches no file.
    void abortedAddingLeavesNothing() {
        FilingClient client;
        const QString source = client.incomingFile(QStringLiteral("Brief.doc"));
        {
            DocumentAdding adding(client.dok);
            adding.begin(client.target(), source);
            QCOMPARE(client.records(), 1);
            QVERIFY(adding.finish() > 0);
        }
        QCOMPARE(client.records(), 0);
        QCOMPARE(filesIn(client.filesDir()), QStringList());
        QVERIFY(QFileInfo::exists(source));
    }

    void failedPlacement_data() {
        QTest::addColumn<FileHandling>("handling");
        QTest::addColumn<QString>("fault"); // "readonly", "full", "missing", "exists", "long"
        QTest::addColumn<QString>("message");
        QTest::newRow("copy into a read-only Files")
            << FileHandling::Copy << "readonly"
            << "Die Datei \"%1\" konnte nicht nach \"%2\" kopiert werden: Der Datenträger ist schreibgeschützt.";
        QTest::newRow("move into a read-only Files")
            << FileHandling::Move << "readonly"
            << "Die Datei \"%1\" konnte nicht nach \"%2\" verschoben werden: Der Datenträger ist schreibgeschützt.";
        QTest::newRow("copy onto a full disk")
            << FileHandling::Copy << "full"
            << "Die Datei \"%1\" konnte nicht nach \"%2\" kopiert werden: Der Datenträger ist voll.";
        QTest::newRow("move onto a full disk: the source stays")
            << FileHandling::Move << "full"
            << "Die Datei \"%1\" konnte nicht nach \"%2\" verschoben werden: Der Datenträger ist voll.";
        QTest::newRow("source gone") << FileHandling::Copy << "missing"
                                     << "Die Datei \"%1\" wurde nicht gefunden.";
        QTest::newRow("kept file gone") << FileHandling::Keep << "missing"
                                        << "Die Datei \"%1\" wurde nicht gefunden.";
        QTest::newRow("target taken") << FileHandling::Copy << "exists"
                                      << "Die Zieldatei \"%2\" ist bereits vorhanden.";
    }

    // A file that cannot be put in place gives a German message, no record and no lost file; the
    // "Files" folder is another file system, so a move has to copy before it may remove.
    void failedPlacement() {
        QFETCH(FileHandling, handling);
        QFETCH(QString, fault);
        QFETCH(QString, message);
        SmallDisk disk(64 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        FilingClient client(disk.path() + u'/');
        const QByteArray content(fault == u"full" ? 256 * 1024 : 100, 'x');
        const QString source = client.incomingFile(QStringLiteral("Brief.doc"), content);
        const QString target = proposedTarget(source, client.filesDir());
        if (fault == u"readonly")
            QVERIFY(disk.remountReadOnly());
        else if (fault == u"exists")
            QVERIFY(writeBytes(target, "anderes Dokument"));
        DocumentAdding adding(client.dok);
        adding.begin(client.target(), source);
        if (fault == u"missing")
            QVERIFY(QFile::remove(source));
        QCOMPARE(adding.file(QStringLiteral("Brief"), source, target, handling),
                 QString(message).replace(QStringLiteral("%1"), source).replace(QStringLiteral("%2"), target));
        adding.finish();
        QCOMPARE(client.records(), 0);
        if (fault != u"missing")
            QCOMPARE(readBytes(source), content);
        QCOMPARE(filesIn(client.filesDir()),
                 fault == u"exists" ? QStringList{QFileInfo(target).fileName()} : QStringList());
        if (fault == u"exists")
            QCOMPARE(readBytes(target), QByteArray("anderes Dokument"));
    }

    // A refused post takes the file back: a copy is removed, a moved file returns to its place.
    void refusedPostTakesTheFileBack_data() {
        QTest::addColumn<FileHandling>("handling");
        QTest::newRow("copy") << FileHandling::Copy;
        QTest::newRow("move") << FileHandling::Move;
    }

    void refusedPostTakesTheFileBack() {
        QFETCH(FileHandling, handling);
        FilingClient client;
        const QString source = client.incomingFile(QStringLiteral("Brief.doc"));
        DocumentAdding adding(client.dok);
        adding.begin(client.target(), source);
        {
            const WriteLock lock(client.dataDir + QStringLiteral("/Dok.DB"));
            QVERIFY(lock.locked());
            QVERIFY(!adding.file(QStringLiteral("Brief"), source, proposedTarget(source, client.filesDir()), handling)
                         .isEmpty());
        }
        QCOMPARE(filesIn(client.filesDir()), QStringList());
        QCOMPARE(readBytes(source), QByteArray("Inhalt"));
        adding.finish();
        QCOMPARE(client.records(), 0);
    }

    // A full path that Datei cannot hold would name another file: refused before anything moves.
    void pathLongerThanDateiIsRefused() {
        FilingClient client;
        const QString deep = client.incoming + u'/' + QString(120, u'o') + u'/' + QString(120, u'p');
        QVERIFY(QDir().mkpath(deep));
        const QString source = QDir(deep).filePath(QStringLiteral("Brief.doc"));
        QVERIFY(writeBytes(source, "Inhalt"));
        DocumentAdding adding(client.dok);
        adding.begin(client.target(), source);
        const QString refused = adding.file(QStringLiteral("Brief"), source, QString(), FileHandling::Keep);
        QVERIFY(refused.contains(QStringLiteral("länger als die 200 Zeichen")));
        adding.finish();
        QCOMPARE(client.records(), 0);
        QVERIFY(QFileInfo::exists(source));
    }

    // What is typed as the target resolves like a stored Datei: a bare name is a file in "Files" and is
    // stored as that name; anything else is refused before a file is written, never placed from the
    // working directory. With "keep" the typed source is the filed file and resolves the same way.
    void typedTargetResolvesLikeADatei_data() {
        QTest::addColumn<FileHandling>("handling");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: filed as the typed name; %F the "Files" folder
        const QString relative = QStringLiteral("Die Datei \"%1\" ist weder ein bloßer Name (ohne \"/\") im Ordner "
                                                "\"Files\" des Mandanten noch ein vollständiger Pfad (mit \"/\" am "
                                                "Anfang); ZEP verwendet sie nicht.");
        QTest::newRow("copy to a bare name") << FileHandling::Copy << "Angebot.odt"
                                             << "";
        QTest::newRow("move to a bare name") << FileHandling::Move << "Angebot.odt"
                                             << "";
        QTest::newRow("bare name of another document's file") << FileHandling::Copy << "Fremd.odt"
                                                              << "Die Zieldatei \"%FFremd.odt\" ist bereits vorhanden.";
        const QString hint =
            QStringLiteral(" Geben Sie einen Dateinamen ohne \"/\" oder einen vollständigen Pfad ein.");
        QTest::newRow("copy into a folder")
            << FileHandling::Copy << "sub/Angebot.odt" << relative.arg(QStringLiteral("sub/Angebot.odt")) + hint;
        QTest::newRow("move out of the client") << FileHandling::Move << "../outside/Angebot.odt"
                                                << relative.arg(QStringLiteral("../outside/Angebot.odt")) + hint;
        QTest::newRow("copy to the parent folder") << FileHandling::Copy << ".."
                                                   << "\"..\" ist kein Dateiname; ZEP verwendet ihn nicht.";
        QTest::newRow("keep a relative source")
            << FileHandling::Keep << "sub/Angebot.odt" << relative.arg(QStringLiteral("sub/Angebot.odt"));
    }
    void typedTargetResolvesLikeADatei() {
        QFETCH(FileHandling, handling);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        FilingClient client;
        QVERIFY(writeBytes(client.filesDir() + QStringLiteral("Fremd.odt"), "fremdes Dokument"));
        const QString source = client.incomingFile(QStringLiteral("Angebot.odt"), "Angebot");
        const QString work = client.tmp.filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(work + QStringLiteral("/sub")));
        QVERIFY(QDir().mkpath(client.tmp.filePath(QStringLiteral("outside"))));
        if (handling == FileHandling::Keep)
            QVERIFY(writeBytes(QDir(work).filePath(typed), "im Arbeitsordner"));
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        const auto restore = qScopeGuard([&] { QDir::setCurrent(oldCurrent); });

        DocumentAdding adding(client.dok);
        adding.begin(client.target(), source);
        const bool keep = handling == FileHandling::Keep;
        const QString result =
            adding.file(QStringLiteral("Angebot"), keep ? typed : source, keep ? QString() : typed, handling);
        const qint64 nr = adding.finish();

        QCOMPARE(result, QString(message).replace(QStringLiteral("%F"), client.filesDir()));
        QCOMPARE(readBytes(client.filesDir() + QStringLiteral("Fremd.odt")), QByteArray("fremdes Dokument"));
        QCOMPARE(QDir(work).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(work + QStringLiteral("/sub")).entryList(QDir::Files),
                 keep ? QStringList{QStringLiteral("Angebot.odt")} : QStringList());
        QCOMPARE(QDir(client.tmp.filePath(QStringLiteral("outside"))).entryList(QDir::Files), QStringList());
        if (!message.isEmpty()) {
            QCOMPARE(client.records(), 0);
            QCOMPARE(readBytes(source), QByteArray("Angebot"));
            return;
        }
        Table fresh;
        test::openTable(fresh, client.dataDir, QStringLiteral("Dok.DB"));
        QVERIFY(fresh.findKey({nr}));
        QCOMPARE(fresh.field(u"Datei").asString(), typed);
        QCOMPARE(readBytes(client.filesDir() + typed), QByteArray("Angebot"));
        QCOMPARE(QFileInfo::exists(source), handling != FileHandling::Move);
    }

    void pathAtTheWidthOfDatei_data() {
        QTest::addColumn<bool>("several");
        QTest::addColumn<int>("overWidth"); // characters beyond the 200 of Datei
        QTest::newRow("one file, exactly the width") << false << 0;
        QTest::newRow("one file, one character more") << false << 1;
        QTest::newRow("several files, exactly the width") << true << 0;
        QTest::newRow("several files, one character more") << true << 1;
    }

    // A kept file outside "Files" is filed by its full path: one that fills Datei exactly is filed
    // whole, one character more is refused, as a cut path would name another file.
    void pathAtTheWidthOfDatei() {
        QFETCH(bool, several);
        QFETCH(int, overWidth);
        FilingClient client;
        const QString folder = client.incoming + u'/' + QString(100, u'o');
        QVERIFY(QDir().mkpath(folder));
        const qsizetype nameLength = 200 + overWidth - folder.size() - 1;
        QVERIFY(nameLength > 4 && nameLength < 200);
        const QString source = folder + u'/' + QString(nameLength - 4, u'b') + QStringLiteral(".odt");
        QCOMPARE(source.size(), 200 + overWidth);
        QVERIFY(writeBytes(source, "Inhalt"));
        QString message;
        if (several) {
            message = fileDocuments(client.dok, client.target(), {source}, FileHandling::Keep, nullptr).error;
        } else {
            DocumentAdding adding(client.dok);
            adding.begin(client.target(), source);
            message = adding.file(QStringLiteral("Brief"), source, QString(), FileHandling::Keep);
            adding.finish();
        }
        Table fresh;
        test::openTable(fresh, client.dataDir, QStringLiteral("Dok.DB"));
        if (overWidth > 0) {
            QCOMPARE(message, QStringLiteral("Der Pfad \"%1\" ist länger als die 200 Zeichen, die ein Dokument "
                                             "aufnehmen kann; die Datei wurde nicht abgelegt.")
                                  .arg(source));
            QCOMPARE(fresh.recordCount(), 0);
        } else {
            QCOMPARE(message, QString());
            QCOMPARE(fresh.recordCount(), 1);
            QCOMPARE(fresh.field(u"Datei").asString(), source);
        }
        QVERIFY(QFileInfo::exists(source));
    }

    // Several files in one run: titles keep the extension, two files of one name get consecutive
    // numbers, Ext is cut to its width while the file keeps its name, nothing is "in work".
    void severalFilesInOneRun() {
        FilingClient client;
        const QString first = client.incomingFile(QStringLiteral("Brief.doc"), "eins");
        QVERIFY(QDir().mkpath(client.incoming + QStringLiteral("/alt")));
        const QString second = client.incoming + QStringLiteral("/alt/Brief.doc");
        QVERIFY(writeBytes(second, "zwei"));
        const QString photo = client.incomingFile(QStringLiteral("Foto.jpeg"), "drei");
        QList<int> asked;
        const FilingRun run = fileDocuments(client.dok, client.target(), {first, second, photo}, FileHandling::Copy,
                                            [&](int done, int total) {
                                                asked << done << total;
                                                return true;
                                            });
        QCOMPARE(run.error, QString());
        QCOMPARE(run.filed, 3);
        QVERIFY(!run.stopped);
        QCOMPARE(asked, (QList<int>{0, 3, 1, 3, 2, 3}));
        Table fresh;
        test::openTable(fresh, client.dataDir, QStringLiteral("Dok.DB"));
        QCOMPARE(test::columnValues(fresh, QStringLiteral("Datei")),
                 (QVariantList{"Brief00001.doc", "Brief00002.doc", "Foto00001.jpeg"}));
        QCOMPARE(test::columnValues(fresh, QStringLiteral("Titel")),
                 (QVariantList{"Brief.doc", "Brief.doc", "Foto.jpeg"}));
        QCOMPARE(test::columnValues(fresh, QStringLiteral("Ext")), (QVariantList{"doc", "doc", "jpe"}));
        QCOMPARE(test::columnValues(fresh, QStringLiteral("Offen")), (QVariantList{0, 0, 0}));
        QCOMPARE(run.lastNumber, fresh.field(u"Nr").asInteger());
        QCOMPARE(readBytes(client.filesDir() + QStringLiteral("Brief00002.doc")), QByteArray("zwei"));
    }

    // Stopped between files, or ended by a file that cannot be filed: what was filed stays filed, the
    // rest is untouched.
    void runStopsBetweenFiles() {
        FilingClient client;
        QStringList paths;
        for (int i = 1; i <= 5; ++i)
            paths << client.incomingFile(QStringLiteral("Beleg %1.pdf").arg(i));
        paths[3] = client.incoming + QStringLiteral("/fehlt.pdf");
        const FilingRun stopped = fileDocuments(client.dok, client.target(), paths, FileHandling::Move,
                                                [](int done, int) { return done < 2; });
        QVERIFY(stopped.stopped);
        QCOMPARE(stopped.filed, 2);
        QCOMPARE(client.records(), 2);
        QVERIFY(QFileInfo::exists(paths[2]));
        const FilingRun failed = fileDocuments(client.dok, client.target(), paths.mid(2), FileHandling::Move, nullptr);
        QCOMPARE(failed.filed, 1);
        QCOMPARE(failed.error, QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(paths[3]));
        QCOMPARE(client.records(), 3);
        QCOMPARE(filesIn(client.filesDir()).size(), 3);
        QVERIFY(QFileInfo::exists(paths[4]));
    }
    void copySources_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("extension");
        QTest::newRow("bare name: in Files") << "a.odt"
                                             << "/k/Files/a.odt"
                                             << "/k/Files/"
                                             << ".odt";
        QTest::newRow("full path") << "/home/anna/Post/b.pdf"
                                   << "/home/anna/Post/b.pdf"
                                   << "/home/anna/Post/"
                                   << ".pdf";
        QTest::newRow("no extension") << "/home/anna/LIESMICH"
                                      << "/home/anna/LIESMICH"
                                      << "/home/anna/"
                                      << "";
        // Neither a bare name nor a full path: no source, never one below the working directory.
        for (const char* relative : {"Post/b.pdf", "../Post/b.pdf", "./b.pdf"})
            QTest::addRow("relative %s", relative) << QString::fromLatin1(relative) << ""
                                                   << ""
                                                   << "";
    }

    void copySources() {
        QFETCH(QString, datei);
        QFETCH(QString, path);
        QFETCH(QString, directory);
        QFETCH(QString, extension);
        const CopySource source = copySourceOf(datei, QStringLiteral("/k/Files/"));
        QCOMPARE(source.path, path);
        QCOMPARE(source.directory, directory);
        QCOMPARE(source.extension, extension);
        QCOMPARE(source.refusal, ResolveDocumentPath(datei, QStringLiteral("/k/Files/")).refusal);
        QCOMPARE(source.refusal.isEmpty(), !path.isEmpty());
    }

    // The copy is a record of its own table object: the documents table sees it at once, it takes
    // over the source's fields but not its resubmission, a title that cannot name a file is refused,
    // and only a completed copy stays.
    void copyOfADocument() {
        FilingClient client;
        QVERIFY(writeBytes(client.filesDir() + QStringLiteral("Angebot.odt"), "Angebot"));
        const qint64 sourceNr = test::appendRecord(client.dok, {{"NrFirma", 2},
                                                                {"NrThema", 5},
                                                                {"Ext", "odt"},
                                                                {"Titel", "Angebot"},
                                                                {"Art", "Brief"},
                                                                {"Datei", "Angebot.odt"},
                                                                {"Autor", "AM"},
                                                                {"Feld3", "Los 3"},
                                                                {"Notice", "dringend"},
                                                                {"WTyp", "W"},
                                                                {"WTag", 6620},
                                                                {"Offen", 0}});
        const QDateTime now(QDate(2026, 12, 7), QTime(10, 0));
        const CopySource source = copySourceOf(QStringLiteral("Angebot.odt"), client.filesDir());
        for (const bool complete : {false, true}) {
            QVERIFY(client.dok.locate(u"Nr", sourceNr));
            DocumentCopying copying(client.dataDir);
            copying.begin(client.dok, QStringLiteral("NrFirma"), 3, now);
            const qint64 copyNr = copying.TZiel.field(u"Nr").asInteger();
            QVERIFY(client.dok.locate(u"Nr", copyNr));
            QCOMPARE(client.dok.field(u"NrFirma").asInteger(), 3);
            QCOMPARE(client.dok.field(u"NrThema").asInteger(), 5);
            for (const char* name : {"Art", "Autor", "Feld3", "Notice", "Titel", "Ext"})
                QVERIFY(!client.dok.field(QString::fromLatin1(name)).isNull());
            QVERIFY(client.dok.field(u"WTyp").isNull());
            // Until its own file is placed the copy names none, so a copy left provisional never holds
            // the source's file.
            QVERIFY(client.dok.field(u"Datei").isNull());
            QCOMPARE(filingMarkOf(client.dok), FilingMark::Provisional);
            QVERIFY(client.dok.field(u"WTag").isNull());
            QCOMPARE(client.dok.field(u"Offen").asInteger(), 1);
            QCOMPARE(client.dok.field(u"EDatum").asDate(), now.date());
            QVERIFY(copying.canFile());
            const QString target = copyTargetFile(source.directory, QStringLiteral("Angebot"), source.extension);
            QCOMPARE(target, client.filesDir() + QStringLiteral("Angebot00001.odt"));
            QCOMPARE(copying.file(QStringLiteral("Angebot 1/2"), source.path, target, client.filesDir()),
                     titleRefusal(QStringLiteral("Angebot 1/2")));
            if (complete)
                QCOMPARE(copying.file(QStringLiteral("Angebot"), source.path, target, client.filesDir()), QString());
            QCOMPARE(copying.finish(), copyNr);
            QCOMPARE(client.records(), complete ? 2 : 1);
            QCOMPARE(QFileInfo::exists(target), complete);
        }
        Table fresh;
        test::openTable(fresh, client.dataDir, QStringLiteral("Dok.DB"));
        fresh.last();
        QCOMPARE(fresh.field(u"Datei").asString(), QStringLiteral("Angebot00001.odt"));
        QCOMPARE(readBytes(client.filesDir() + QStringLiteral("Angebot00001.odt")), QByteArray("Angebot"));
    }

    void copyTargetIsCheckedBeforeCopying_data() {
        QTest::addColumn<int>("length");      // of the target's full path outside "Files"; 0: a relative target
        QTest::addColumn<QString>("message"); // %1 the target as typed; empty: copied
        QTest::newRow("as wide as Datei") << 200 << "";
        QTest::newRow("one character wider")
            << 201
            << "Der Pfad \"%1\" ist länger als die 200 Zeichen, die ein Dokument aufnehmen kann; die Datei wurde "
               "nicht kopiert.";
        QTest::newRow("a relative target")
            << 0
            << "Die Datei \"%1\" ist weder ein bloßer Name (ohne \"/\") im Ordner \"Files\" des Mandanten noch ein "
               "vollständiger Pfad (mit \"/\" am Anfang); ZEP verwendet sie nicht.";
    }

    // A copy's target is resolved and must fit Datei whole, or nothing is copied and no record stays.
    void copyTargetIsCheckedBeforeCopying() {
        QFETCH(int, length);
        QFETCH(QString, message);
        FilingClient client;
        QVERIFY(writeBytes(client.filesDir() + QStringLiteral("Angebot.odt"), "Angebot"));
        const qint64 sourceNr = test::appendRecord(
            client.dok, {{"NrFirma", 2}, {"Ext", "odt"}, {"Titel", "Angebot"}, {"Datei", "Angebot.odt"}});
        const QString folder = client.tmp.filePath(QStringLiteral("Ablage"));
        QVERIFY(QDir().mkpath(folder));
        QString target = QStringLiteral("Ablage/Angebot.odt");
        if (length > 0) {
            const qsizetype nameLength = length - folder.size() - 1;
            QVERIFY(nameLength > 4);
            target = folder + u'/' + QString(nameLength - 4, u'c') + QStringLiteral(".odt");
            QCOMPARE(target.size(), length);
        }
        QVERIFY(client.dok.locate(u"Nr", sourceNr));
        DocumentCopying copying(client.dataDir);
        copying.begin(client.dok, QStringLiteral("NrFirma"), 3, QDateTime::currentDateTime());
        const QString result = copying.file(
            QStringLiteral("Angebot"), client.filesDir() + QStringLiteral("Angebot.odt"), target, client.filesDir());
        copying.finish();
        QCOMPARE(result, message.arg(target));
        QCOMPARE(client.records(), message.isEmpty() ? 2 : 1);
        QCOMPARE(QFileInfo::exists(QDir(folder).filePath(QFileInfo(target).fileName())), message.isEmpty());
    }

    // A document added with others is titled with its file name; its copy carries the extension once.
    void copyOfADocumentAddedWithOthers() {
        FilingClient client;
        const QStringList paths{client.incomingFile(QStringLiteral("Rechnung_117.pdf"), "Rechnung"),
                                client.incomingFile(QStringLiteral("Lieferschein.pdf"))};
        const FilingRun run = fileDocuments(client.dok, client.target(), paths, FileHandling::Copy, nullptr);
        QCOMPARE(run.filed, 2);
        QVERIFY(client.dok.locate(u"Titel", QStringLiteral("Rechnung_117.pdf")));
        const CopySource source = copySourceOf(client.dok.field(u"Datei").asString(), client.filesDir());
        const QString target =
            copyTargetFile(source.directory, client.dok.field(u"Titel").asString(), source.extension);
        QCOMPARE(target, client.filesDir() + QStringLiteral("Rechnung_11700002.pdf"));
        DocumentCopying copying(client.dataDir);
        copying.begin(client.dok, QStringLiteral("NrFirma"), 4, QDateTime::currentDateTime());
        QCOMPARE(copying.file(QStringLiteral("Rechnung_117.pdf"), source.path, target, client.filesDir()), QString());
        copying.finish();
        QCOMPARE(readBytes(target), QByteArray("Rechnung"));
        QCOMPARE(filesIn(client.filesDir()),
                 (QStringList{"Lieferschein00001.pdf", "Rechnung_11700001.pdf", "Rechnung_11700002.pdf"}));
    }
};

QTEST_GUILESS_MAIN(DocumentFilingTest)
#include "tst_document_filing.moc"
