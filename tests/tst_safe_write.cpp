#include "app/profile_file.h"
#include "app/registry.h"
#include "app/safe_file.h"
#include "data/catalog_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/table_file.h"
#include "data/treefile.h"
#include "documents/column_file.h"
#include "durable_steps.h"
#include "file_bytes.h"
#include "small_disk.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>
#include <sys/stat.h>

using namespace zep;
using zep::test::readBytes;
using zep::test::SmallDisk;

namespace {

bool writePlain(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

mode_t fileMode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(0);
}

QList<TreeFileRecord> treeRecords(int count) {
    QList<TreeFileRecord> records;
    for (int i = 1; i <= count; ++i)
        records.append({QStringLiteral("Eintrag %1").arg(i), 1, i, 1});
    return records;
}

QStringList catalogLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("Katalogeintrag Nummer %1").arg(i, 5, 10, QLatin1Char('0')));
    return lines;
}

QList<ColumnRow> columnRows(int count) {
    QList<ColumnRow> rows;
    for (int i = 0; i < count; ++i)
        rows.append({QStringLiteral("Feld%1").arg(i), QStringLiteral("Überschrift der Spalte Nummer %1").arg(i),
                     QStringLiteral("120")});
    return rows;
}

QString longValue() {
    return QString(3000, u'x');
}

// One writer of a small file of the program: its file name and a call that replaces the file with
// a new content of about 10 KB. The call returns the error message, or nothing on success.
struct SmallFileWriter {
    QString fileName;
    std::function<QString(const QString& dir)> write;
};

QString caught(const std::function<void()>& work) {
    try {
        work();
        return {};
    } catch (const FileError& error) {
        return error.message();
    }
}

QList<SmallFileWriter> smallFileWriters() {
    return {
        {QStringLiteral("Adressen.dat"),
         [](const QString& dir) {
             return caught(
                 [&] { writeTreeFile(QDir(dir).filePath(QStringLiteral("Adressen.dat")), treeRecords(150)); });
         }},
        {QStringLiteral("4.kat"),
         [](const QString& dir) {
             return caught([&] { SaveCatalog(catalogLines(400), 4, dir); });
         }},
        {QStringLiteral("Tab.dat"),
         [](const QString& dir) {
             return caught([&] { writeColumnFile(QDir(dir).filePath(QStringLiteral("Tab.dat")), columnRows(150)); });
         }},
        {QStringLiteral("Mand.ini"),
         [](const QString& dir) {
             const ProfileFile ini(QDir(dir).filePath(QStringLiteral("Mand.ini")));
             const bool ok = ini.writeString(u"Neu", u"Wert", longValue()) &&
                             ini.writeString(u"Noch", u"Wert", longValue()) &&
                             ini.writeString(u"Mehr", u"Wert", longValue());
             return ok ? QString() : ini.lastError();
         }},
        {QStringLiteral("Registry.ini"),
         [](const QString& dir) {
             const Registry registry(QDir(dir).filePath(QStringLiteral("Registry.ini")));
             const bool ok = registry.writeString(u"SOFTWARE\\MORVEN\\ZEP\\Mandanten", u"Neu", longValue()) &&
                             registry.writeString(u"SOFTWARE\\MORVEN\\ZEP\\Mandanten", u"Neu2", longValue()) &&
                             registry.writeString(u"SOFTWARE\\MORVEN\\ZEP\\Mandanten", u"Neu3", longValue());
             return ok ? QString() : registry.lastError();
         }},
    };
}

// Old content of each writer's file: a valid file of its kind, a little over 19 KB.
QByteArray oldContent(const QString& fileName) {
    if (fileName == QStringLiteral("Tab.dat"))
        return encodeColumnFile(columnRows(300));
    if (fileName.endsWith(QStringLiteral(".dat"))) {
        QByteArray bytes;
        for (const TreeFileRecord& record : treeRecords(300))
            bytes.append(encodeTreeRecord(record));
        return bytes;
    }
    if (fileName.endsWith(QStringLiteral(".kat")))
        return QByteArray("Alter Eintrag\r\n").repeated(1300);
    return QByteArray("[SOFTWARE\\MORVEN\\ZEP\\Mandanten]\nMandant1=/daten/mandant1\n[Alt]\n") +
           QByteArray("Schluessel=Wert\n").repeated(1200);
}

QStringList leftovers(const QString& dir, const QStringList& expected) {
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : expected)
        names.removeAll(name);
    return names;
}

} // namespace

class SafeWriteTest : public QObject {
    Q_OBJECT

private slots:
    void replacesContentAndKeepsPermissions();
    void createsMissingFileWithUsualPermissions();
    void followsSymbolicLink();
    void removesTemporaryFilesLeftByAKill();
    void injectedFailureKeepsOldFile_data();
    void injectedFailureKeepsOldFile();
    void missingDirectoryIsReported();
    void readOnlyDiskIsReported();
    void causesAreGerman_data();
    void causesAreGerman();
    void smallFileWritersKeepOldFileOnFailure_data();
    void smallFileWritersKeepOldFileOnFailure();
    void fullDiskKeepsEveryOldFile_data();
    void fullDiskKeepsEveryOldFile();
    void readFailuresNameTheCauseInGerman();
    void writeIsOnDiskBeforeItReturns();
    void copyKeepsContentAndPermissions();
    void copyOnAFullDiskKeepsTheOldTarget();
    void copyOfAnUnreadableSourceNamesTheSource();
    void copyKeepsTheSourceTimeWhenAsked();
};

void SafeWriteTest::replacesContentAndKeepsPermissions() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mand.ini"));
    QVERIFY(writePlain(path, "alt"));
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    writeFileSafely(path, "neuer Inhalt");
    QCOMPARE(readBytes(path), QByteArray("neuer Inhalt"));
    QCOMPARE(fileMode(path), mode_t(0640));
    QCOMPARE(leftovers(dir.path(), {QStringLiteral("Mand.ini")}), QStringList());
}

void SafeWriteTest::createsMissingFileWithUsualPermissions() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("4.kat"));
    const mode_t previous = ::umask(022);
    writeFileSafely(path, QByteArray());
    ::umask(previous);
    QVERIFY(QFile::exists(path));
    QCOMPARE(readBytes(path), QByteArray());
    QCOMPARE(fileMode(path), mode_t(0644));
}

void SafeWriteTest::followsSymbolicLink() {
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("echt.ini"));
    const QString link = dir.filePath(QStringLiteral("zep.ini"));
    QVERIFY(writePlain(real, "alt"));
    QVERIFY(QFile::link(real, link));
    writeFileSafely(link, "neu");
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(real), QByteArray("neu"));
}

void SafeWriteTest::removesTemporaryFilesLeftByAKill() {
    QTemporaryDir dir;
    const QStringList stale = {QStringLiteral(".Mand.ini.0badc0de.tmp"), QStringLiteral(".Mand.ini.12345678.tmp")};
    const QStringList others = {QStringLiteral(".zep.ini.0badc0de.tmp"), QStringLiteral("Mand.ini.tmp"),
                                QStringLiteral(".Mand.ini.notes.tmp")};
    for (const QString& name : stale + others)
        QVERIFY(writePlain(dir.filePath(name), "Rest"));
    writeFileSafely(dir.filePath(QStringLiteral("Mand.ini")), "neu");
    QStringList expected = others;
    expected << QStringLiteral("Mand.ini");
    expected.sort();
    QStringList found = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    found.sort();
    QCOMPARE(found, expected);
}

void SafeWriteTest::injectedFailureKeepsOldFile_data() {
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<qint64>("bytesAccepted");
    QTest::addColumn<QString>("cause");
    QTest::newRow("full at once") << ENOSPC << qint64(0) << QStringLiteral("Der Datenträger ist voll.");
    QTest::newRow("full after 4 KB") << ENOSPC << qint64(4096) << QStringLiteral("Der Datenträger ist voll.");
    QTest::newRow("quota") << EDQUOT << qint64(100) << QStringLiteral("Der Datenträger ist voll.");
    QTest::newRow("i/o error") << EIO << qint64(9000)
                               << QStringLiteral("Der Datenträger meldet einen Ein-/Ausgabefehler.");
}

void SafeWriteTest::injectedFailureKeepsOldFile() {
    QFETCH(int, errorNumber);
    QFETCH(qint64, bytesAccepted);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Themen.dat"));
    const QByteArray old(19200, 'a');
    QVERIFY(writePlain(path, old));
    try {
        const InjectedWriteFailure failure(errorNumber, bytesAccepted);
        writeFileSafely(path, QByteArray(9600, 'n'));
        QFAIL("a failed write was reported as success");
    } catch (const FileError& error) {
        QCOMPARE(error.message(),
                 QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: %2").arg(path, cause));
    }
    QCOMPARE(readBytes(path), old);
    QCOMPARE(leftovers(dir.path(), {QStringLiteral("Themen.dat")}), QStringList());
    writeFileSafely(path, "wieder frei");
    QCOMPARE(readBytes(path), QByteArray("wieder frei"));
}

void SafeWriteTest::missingDirectoryIsReported() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fehlt/Adressen.dat"));
    try {
        writeFileSafely(path, "x");
        QFAIL("writing into a missing directory was accepted");
    } catch (const FileError& error) {
        QCOMPARE(error.message(), QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: Der Ordner "
                                                 "oder die Datei existiert nicht.")
                                      .arg(path));
    }
}

void SafeWriteTest::readOnlyDiskIsReported() {
    SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.skipText()));
    const QString path = QDir(disk.path()).filePath(QStringLiteral("zep.ini"));
    QVERIFY(writePlain(path, "[General]\nA=1\n"));
    QVERIFY(disk.remountReadOnly());
    try {
        writeFileSafely(path, "[General]\nA=2\n");
        QFAIL("writing onto a read-only disk was accepted");
    } catch (const FileError& error) {
        QVERIFY2(error.message().endsWith(QStringLiteral(": Der Datenträger ist schreibgeschützt.")),
                 qPrintable(error.message()));
    }
    QCOMPARE(readBytes(path), QByteArray("[General]\nA=1\n"));
}

void SafeWriteTest::causesAreGerman_data() {
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("cause");
    QTest::newRow("no space") << ENOSPC << QStringLiteral("Der Datenträger ist voll");
    QTest::newRow("read-only") << EROFS << QStringLiteral("Der Datenträger ist schreibgeschützt");
    QTest::newRow("access") << EACCES << QStringLiteral("Der Zugriff wurde verweigert");
    QTest::newRow("permission") << EPERM << QStringLiteral("Der Zugriff wurde verweigert");
    QTest::newRow("not found") << ENOENT << QStringLiteral("Der Ordner oder die Datei existiert nicht");
    QTest::newRow("directory") << EISDIR << QStringLiteral("Unter diesem Namen steht ein Ordner");
}

void SafeWriteTest::causesAreGerman() {
    QFETCH(int, errorNumber);
    QFETCH(QString, cause);
    QCOMPARE(fileErrorCause(errorNumber), cause);
}

void SafeWriteTest::smallFileWritersKeepOldFileOnFailure_data() {
    QTest::addColumn<int>("writer");
    QTest::addColumn<qint64>("bytesAccepted");
    const QList<SmallFileWriter> writers = smallFileWriters();
    for (int i = 0; i < writers.size(); ++i) {
        QTest::addRow("%s, nothing free", qPrintable(writers[i].fileName)) << i << qint64(0);
        QTest::addRow("%s, 4 KB free", qPrintable(writers[i].fileName)) << i << qint64(4096);
    }
}

void SafeWriteTest::smallFileWritersKeepOldFileOnFailure() {
    QFETCH(int, writer);
    QFETCH(qint64, bytesAccepted);
    const SmallFileWriter target = smallFileWriters().at(writer);
    QTemporaryDir dir;
    const QString path = dir.filePath(target.fileName);
    const QByteArray old = oldContent(target.fileName);
    QVERIFY(writePlain(path, old));
    QString message;
    {
        const InjectedWriteFailure failure(ENOSPC, bytesAccepted);
        message = target.write(dir.path());
    }
    QVERIFY2(!message.isEmpty(), "a failed write was reported as success");
    QVERIFY2(message.contains(QStringLiteral("Der Datenträger ist voll")), qPrintable(message));
    QCOMPARE(readBytes(path), old);
    QCOMPARE(leftovers(dir.path(), {target.fileName}), QStringList());
}

void SafeWriteTest::fullDiskKeepsEveryOldFile_data() {
    QTest::addColumn<qint64>("freeBytes");
    QTest::newRow("nothing free") << qint64(0);
    QTest::newRow("4 KB free") << qint64(4096);
}

void SafeWriteTest::fullDiskKeepsEveryOldFile() {
    QFETCH(qint64, freeBytes);
    SmallDisk disk(256 * 1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.skipText()));
    const QList<SmallFileWriter> writers = smallFileWriters();
    for (const SmallFileWriter& writer : writers)
        QVERIFY(writePlain(QDir(disk.path()).filePath(writer.fileName), oldContent(writer.fileName)));
    QVERIFY(disk.fill(freeBytes));
    for (const SmallFileWriter& writer : writers) {
        const QString message = writer.write(disk.path());
        QVERIFY2(!message.isEmpty(), qPrintable(writer.fileName + QStringLiteral(": failure reported as success")));
        QVERIFY2(message.contains(QStringLiteral("Der Datenträger ist voll")), qPrintable(message));
        QCOMPARE(readBytes(QDir(disk.path()).filePath(writer.fileName)), oldContent(writer.fileName));
    }
    QStringList expected = {QStringLiteral("ballast")};
    for (const SmallFileWriter& writer : writers)
        expected.append(writer.fileName);
    QCOMPARE(leftovers(disk.path(), expected), QStringList());
}

// Files that cannot be read or created are reported with a German cause; Qt's English text follows
// only as a detail line.
void SafeWriteTest::readFailuresNameTheCauseInGerman() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("Tab.dat"));
    const QString columnMessage = caught([&] { readColumnFile(missing); });
    QVERIFY2(columnMessage.startsWith(QStringLiteral("Die Spaltendatei \"%1\" konnte nicht geöffnet werden: Der "
                                                     "Ordner oder die Datei existiert nicht.\nEinzelheiten: ")
                                          .arg(missing)),
             qPrintable(columnMessage));

    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("4.kat")));
    QStringList lines;
    const QString catalogMessage = caught([&] { LoadCatalog(lines, 4, dir.path()); });
    QVERIFY2(catalogMessage.startsWith(QStringLiteral("Der Katalog \"4.kat\" konnte nicht gelesen werden: Unter "
                                                      "diesem Namen steht ein Ordner.\nEinzelheiten: ")),
             qPrintable(catalogMessage));

    const QString table = dir.filePath(QStringLiteral("fehlt/Adressen.DB"));
    QString tableMessage;
    try {
        createTableFile(table, TableLayout{QStringLiteral("Adressen.DB"), {}, {}});
    } catch (const EngineError& error) {
        tableMessage = error.message();
    }
    QVERIFY2(tableMessage.startsWith(QStringLiteral("Die Tabelle \"%1\" kann nicht angelegt werden: Der Ordner oder "
                                                    "die Datei existiert nicht.\nEinzelheiten: ")
                                         .arg(table)),
             qPrintable(tableMessage));
}

// The content is synced before the rename, and the rename is synced by its folder before the call returns.
void SafeWriteTest::writeIsOnDiskBeforeItReturns() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mand.ini"));
    test::DurableStepLog log;
    writeFileSafely(path, "neu");
    QCOMPARE(log.entries().size(), 3);
    QCOMPARE(log.entries()[0].step, DurableStep::FileSynced);
    QVERIFY(log.entries()[0].path.startsWith(dir.filePath(QStringLiteral(".Mand.ini."))));
    QCOMPARE(log.indexOf(DurableStep::Renamed, path), 1);
    QCOMPARE(log.indexOf(DurableStep::FolderSynced, dir.path()), 2);
}

void SafeWriteTest::copyKeepsContentAndPermissions() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("Dok.DB"));
    const QString target = dir.filePath(QStringLiteral("Dok.DB.upgrade-alt"));
    const QByteArray content = QByteArray("Tabelle ").repeated(300000);
    QVERIFY(writePlain(source, content));
    QCOMPARE(::chmod(QFile::encodeName(source).constData(), 0640), 0);
    QVERIFY(writePlain(target, "alt"));
    test::DurableStepLog log;
    copyFileSafely(source, target);
    QCOMPARE(readBytes(target), content);
    QCOMPARE(fileMode(target), mode_t(0640));
    QCOMPARE(log.entries().first().step, DurableStep::FileSynced);
    QVERIFY(log.indexOf(DurableStep::Renamed, target) > 0);
    QCOMPARE(log.changesNotSynced(), QStringList());
    QCOMPARE(leftovers(dir.path(), {QStringLiteral("Dok.DB"), QStringLiteral("Dok.DB.upgrade-alt")}), QStringList());
}

void SafeWriteTest::copyOnAFullDiskKeepsTheOldTarget() {
    SmallDisk disk(256 * 1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.skipText()));
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("Dok.DB"));
    QVERIFY(writePlain(source, QByteArray(100000, 't')));
    const QString target = QDir(disk.path()).filePath(QStringLiteral("Dok.DB"));
    QVERIFY(writePlain(target, "alt"));
    QVERIFY(disk.fill(4096));
    try {
        copyFileSafely(source, target);
        QFAIL("a copy that did not fit was reported as done");
    } catch (const FileError& error) {
        QVERIFY2(error.message().contains(QStringLiteral("Der Datenträger ist voll")), qPrintable(error.message()));
    }
    QCOMPARE(readBytes(target), QByteArray("alt"));
    QCOMPARE(leftovers(disk.path(), {QStringLiteral("Dok.DB"), QStringLiteral("ballast")}), QStringList());
}

void SafeWriteTest::copyOfAnUnreadableSourceNamesTheSource() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("fehlt.DB"));
    const QString target = dir.filePath(QStringLiteral("Ziel.DB"));
    QVERIFY(writePlain(target, "alt"));
    QCOMPARE(caught([&] { copyFileSafely(source, target); }),
             QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: Der Ordner oder die Datei existiert nicht.")
                 .arg(source));
    QCOMPARE(readBytes(target), QByteArray("alt"));
}

void SafeWriteTest::copyKeepsTheSourceTimeWhenAsked() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("Quelle"));
    const QString target = dir.filePath(QStringLiteral("Ziel"));
    QVERIFY(writePlain(source, "Inhalt"));
    const QDateTime past(QDate(2020, 5, 4), QTime(3, 2, 1));
    {
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(past, QFileDevice::FileModificationTime));
    }
    copyFileSafely(source, target, CopiedTime::Source);
    QCOMPARE(QFileInfo(target).lastModified(), past);
    copyFileSafely(source, target);
    QVERIFY(QFileInfo(target).lastModified() > past.addYears(1));
}

QTEST_GUILESS_MAIN(SafeWriteTest)
#include "tst_safe_write.moc"
